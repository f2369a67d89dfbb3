// "Fichero > Abrir..." and a file dropped on the window: what the file is and holds (the
// summary of `pasarela-cli info`) and the commands that can convert it; the user picks one.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/core/coordinate_systems.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace frontend {

class AbrirFichero : public QDialog {
 public:
  // Detects and reads `path`; the conversions offered are those of the registry that read its
  // format and find their data in it.
  // `systems` are the session's coordinate systems, which the chosen conversion of points or a
  // surface starts with ("Sistemas de coordenadas..." changes them for this conversion).
  AbrirFichero(const std::string& path, QWidget* parent = nullptr, const SystemOptions& systems = SystemOptions());

  // The command chosen with "Convertir" (null when the dialog was cancelled or none fits).
  const MenuCommand* chosen = nullptr;
  // The format the file was detected as (it chooses the export of the LandXML export commands).
  detect::Format sourceFormat = detect::Format::kUnknown;
  // The coordinate systems of the chosen conversion.
  SystemOptions systems;

  QPlainTextEdit* summary() const { return summary_; }
  QListWidget* commands() const { return commands_; }
  QPushButton* systemsButton() const { return systemsButton_; }

 private:
  void Accept();
  // The systems button is offered for the conversions whose points or surface can move.
  void ShowSystems();

  QPlainTextEdit* summary_;
  QListWidget* commands_;
  QPushButton* systemsButton_;
  QLabel* systemsLine_;
  std::vector<const MenuCommand*> candidates_;
};

}  // namespace frontend
