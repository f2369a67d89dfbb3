#include "frontend/qt/qt_command_host.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

#include "common/paths.h"
#include "frontend/qt/about_dialog.h"
#include "frontend/qt/coordinate_systems_dialog.h"
#include "frontend/qt/selection_dialogs.h"

namespace frontend {

QString FromLocalText(const std::string& text) { return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())); }

std::string ToLocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QStringList DialogFilters(const std::string& filter) {
  const QStringList parts = FromLocalText(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString& pattern = parts[i + 1];
    QString patterns = pattern;
    patterns.replace(';', ' ');
    // A description that already ends with its patterns in parentheses keeps its words.
    const QString written = "(" + pattern + ")";
    if (description.endsWith(written)) {
      filters << description.left(description.size() - written.size()) + "(" + patterns + ")";
    } else {
      filters << description + " (" + patterns + ")";
    }
  }
  return filters;
}

QtCommandHost::QtCommandHost(QWidget* window) : window_(window) {}

bool QtCommandHost::AskFile(bool save, const std::string& filter, std::string& path) {
  QFileDialog dialog(window_, save ? kTargetDialogTitle : kSourceDialogTitle);
  dialog.setObjectName("dialFicheros");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilters(DialogFilters(filter));
  if (!path.empty()) {
    const QFileInfo start(QFile::decodeName(path.c_str()));
    dialog.setDirectory(start.absolutePath());
    dialog.selectFile(start.fileName());
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = ToLocalPath(dialog.selectedFiles().front());
  return true;
}

std::string TargetWithEntry(const std::string& target, const std::string& entry) {
  std::string part;
  for (const char c : entry) {
    const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '_' || c == '.';
    if (kept) {
      part += c;
    } else if (part.empty() || part.back() != '_') {
      part += '_';
    }
  }
  if (part.size() > 100) part.resize(100);
  if (part.empty() || part == "_") part = "entrada";
  return common::AppendSuffix(target, "_" + part);
}

bool QtCommandHost::AskSystems(const MenuCommand& command, const std::string& /*source*/, SystemOptions& options,
                               std::string& profile) {
  const bool alignmentMap = command.exportName == "Georref_Eje_Mapa";
  SistemasCoordenadas dialog(window_, options, QString(), alignmentMap);
  if (alignmentMap) dialog.profile()->setText(FromLocalText(profile));
  if (dialog.exec() != QDialog::Accepted) return false;
  options = dialog.options();
  if (alignmentMap) profile = ToLocalPath(dialog.profile()->text().trimmed());
  return true;
}

bool QtCommandHost::AskSource(const std::string& filter, std::string& path) {
  // A command starts with its source: no entry is chosen yet.
  chosenEntry_.clear();
  return AskFile(false, filter, path);
}

bool QtCommandHost::AskTarget(const std::string& filter, std::string& path) {
  lastTarget_.clear();
  // The proposed target tells which entry of the source it holds.
  if (!chosenEntry_.empty() && !path.empty()) path = TargetWithEntry(path, chosenEntry_);
  chosenEntry_.clear();
  const bool chosen = AskFile(true, filter, path);
  if (chosen) lastTarget_ = path;
  return chosen;
}

int QtCommandHost::ChooseFromList(ListKind kind, const std::string& caption, const std::vector<std::string>& lines) {
  QStringList entries;
  for (const std::string& line : lines) entries << FromLocalText(line);
  const QString title = QString::fromUtf8(caption.c_str());
  int chosen = -1;
  if (kind == ListKind::DxfLayers) {
    SeleccionCapa dialog(title, entries, window_);
    if (dialog.exec() != QDialog::Accepted) return -1;
    chosen = dialog.chosenIndex < 0 ? kNothingChosen : dialog.chosenIndex;
  } else {
    EjeSelecLandxml dialog(title, entries, window_);
    if (dialog.exec() != QDialog::Accepted) return -1;
    chosen = dialog.itemSelec < 0 ? kNothingChosen : dialog.itemSelec;
  }
  if (chosen >= 0 && static_cast<std::size_t>(chosen) < lines.size()) chosenEntry_ = lines[static_cast<std::size_t>(chosen)];
  return chosen;
}

void QtCommandHost::ShowMessage(const std::string& text, MessageIcon icon) {
  QMessageBox::Icon shown = QMessageBox::NoIcon;
  if (icon == MessageIcon::Exclamation) shown = QMessageBox::Warning;
  if (icon == MessageIcon::Critical) shown = QMessageBox::Critical;
  QString message = QString::fromUtf8(text.c_str());
  message.replace("\r\n", "\n");
  QMessageBox box(shown, kProgramTitle, message, QMessageBox::Ok, window_);
  box.setObjectName("mensaje");
  box.exec();
}

void QtCommandHost::ShowLibraryMessage(const std::string& caption, const std::string& text) {
  frontend::ShowLibraryMessage(caption.c_str(), text.c_str());
}

void QtCommandHost::ShowAbout() {
  AcercaConv about(window_);
  about.exec();
}

void QtCommandHost::Quit() {
  if (window_ != nullptr) window_->close();
  QApplication::quit();
}

void ShowLibraryMessage(const char* caption, const char* text) {
  QMessageBox box(QMessageBox::NoIcon, FromLocalText(caption != nullptr ? caption : ""),
                  FromLocalText(text != nullptr ? text : ""), QMessageBox::Ok, QApplication::activeWindow());
  box.setObjectName("mensajeBiblioteca");
  box.exec();
}

}  // namespace frontend
