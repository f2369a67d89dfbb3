// "Sistemas de coordenadas": the options of a conversion of the georeferencing library (a map
// of points, a surface or an alignment, points or a surface moved to another system), asked
// before it runs: the source's system, the target's (empty: none; a GeoJSON or KML map is
// always WGS84) and whether a ballpark operation is accepted. They are handed to the library
// as `pasarela-cli convert --s_srs --t_srs --allow-ballpark` hands them.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;

namespace frontend {

class ExportCaller;
struct MenuCommand;

class SistemasCoordenadas : public QDialog {
 public:
  explicit SistemasCoordenadas(QWidget* parent = nullptr);

  QLineEdit* source() const { return source_; }
  QLineEdit* target() const { return target_; }
  QCheckBox* ballpark() const { return ballpark_; }

 private:
  QLineEdit* source_;
  QLineEdit* target_;
  QCheckBox* ballpark_;
};

// Whether `command` is a conversion of the georeferencing library (it needs the systems).
bool NeedsCoordinateSystems(const MenuCommand& command);

// Asks for the systems and hands them to the library. False when the dialog is cancelled or
// the library refuses them (it says why through its message hook).
bool AskCoordinateSystems(QWidget* parent, ExportCaller& exports);

}  // namespace frontend
