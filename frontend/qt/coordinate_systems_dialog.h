// "Sistemas de coordenadas": the source's system, the target's (empty: none; a GeoJSON or KML
// map is always WGS84) and whether a ballpark operation is accepted, as `pasarela-cli convert
// --s_srs --t_srs --allow-ballpark` takes them. Asked by a conversion of the georeferencing
// library (a map, a change of system), and from Fichero > Sistemas de coordenadas... and
// Abrir's options for the conversions of points and surfaces.
#pragma once

#include <QDialog>
#include <QString>

#include "frontend/core/coordinate_systems.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace frontend {

class SistemasCoordenadas : public QDialog {
 public:
  // The fields start with `start`; `note` (when given) says where the systems apply. An
  // alignment's map (`withProfile`) also asks for the native profile its heights come from.
  explicit SistemasCoordenadas(QWidget* parent = nullptr, const SystemOptions& start = SystemOptions(),
                               const QString& note = QString(), bool withProfile = false);

  QLineEdit* source() const { return source_; }
  QLineEdit* target() const { return target_; }
  QCheckBox* ballpark() const { return ballpark_; }
  // Null unless the dialog asks for a profile.
  QLineEdit* profile() const { return profile_; }

  // What the fields hold, trimmed.
  SystemOptions options() const;

 private:
  QLineEdit* source_;
  QLineEdit* target_;
  QCheckBox* ballpark_;
  QLineEdit* profile_ = nullptr;
};

// The line that tells which systems are set ("EPSG:23030 → EPSG:25830"); empty when none is.
QString SystemsLine(const SystemOptions& options);

}  // namespace frontend
