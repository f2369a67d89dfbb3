// The desktop program's answers to a command: Qt file dialogs, the selection dialogs, message
// boxes with the program's title and the About box.
#pragma once

#include <QStringList>
#include <string>

#include "frontend/core/command_flow.h"

class QWidget;

namespace frontend {

// "description|pattern|description|pattern" as the name filters of a Qt file dialog:
// each description with its patterns in parentheses, blank-separated.
QStringList DialogFilters(const std::string& filter);

QString FromLocalText(const std::string& text);
std::string ToLocalPath(const QString& path);

class QtCommandHost : public CommandHost {
 public:
  explicit QtCommandHost(QWidget* window);

  bool AskSource(const std::string& filter, std::string& path) override;
  bool AskTarget(const std::string& filter, std::string& path) override;
  int ChooseFromList(ListKind kind, const std::string& caption, const std::vector<std::string>& lines) override;
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void ShowLibraryMessage(const std::string& caption, const std::string& text) override;
  // The "Sistemas de coordenadas" dialog, starting with `options` (and, for an alignment's map,
  // the profile its heights come from).
  bool AskSystems(const MenuCommand& command, const std::string& source, SystemOptions& options,
                  std::string& profile) override;
  void ShowAbout() override;
  void Quit() override;

  // The target chosen in the last save dialog of a command; empty when none was chosen.
  const std::string& lastTarget() const { return lastTarget_; }

 private:
  bool AskFile(bool save, const std::string& filter, std::string& path);

  QWidget* window_;
  std::string lastTarget_;
  std::string chosenEntry_;  // the list entry chosen in this command, for the proposed target
};

// `target` with the chosen list entry in its name, before the extension ("ejes.eje" with the
// alignment "Eje 1" gives "ejes_Eje_1.eje"), by the rule of pasarela-cli's --all: ASCII letters,
// digits, "-", "_" and "." kept, each run of other characters one "_", at most 100 characters.
std::string TargetWithEntry(const std::string& target, const std::string& entry);

// Shows a library's message in a message box (installed as the libraries' message hook).
void ShowLibraryMessage(const char* caption, const char* text);

}  // namespace frontend
