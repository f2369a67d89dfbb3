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
  // Detects and reads `path`; `commands` are the commands that read its format.
  AbrirFichero(const std::string& path, QWidget* parent = nullptr);

  // The command chosen with "Convertir" (null when the dialog was cancelled or none fits).
  const MenuCommand* chosen = nullptr;

  QPlainTextEdit* summary() const { return summary_; }
  QListWidget* commands() const { return commands_; }

 private:
  void Accept();

  QPlainTextEdit* summary_;
  QListWidget* commands_;
  std::vector<const MenuCommand*> candidates_;
};

}  // namespace frontend
