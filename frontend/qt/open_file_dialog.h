// "Fichero > Abrir..." and a file dropped on the window: what the file is and holds (the
// summary of `pasarela-cli info`) and the commands that can convert it; the user picks one.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"

class QListWidget;
class QPlainTextEdit;

namespace frontend {

class AbrirFichero : public QDialog {
 public:
  // Detects and reads `path`; the conversions offered are those of the registry that read its
  // format and find their data in it.
  AbrirFichero(const std::string& path, QWidget* parent = nullptr);

  // The command chosen with "Convertir" (null when the dialog was cancelled or none fits).
  const MenuCommand* chosen = nullptr;
  // The format the file was detected as (it chooses the export of the LandXML export commands).
  detect::Format sourceFormat = detect::Format::kUnknown;

  QPlainTextEdit* summary() const { return summary_; }
  QListWidget* commands() const { return commands_; }

 private:
  void Accept();

  QPlainTextEdit* summary_;
  QListWidget* commands_;
  std::vector<const MenuCommand*> candidates_;
};

}  // namespace frontend
