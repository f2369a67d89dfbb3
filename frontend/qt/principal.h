// The main window "Principal": the menu tree of the command table, a picture and a label.
// Each menu item runs its command through the command flow with the Qt dialogs.
#pragma once

#include <QMainWindow>
#include <memory>
#include <string>

#include "frontend/core/command_flow.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/core/library_loader.h"
#include "frontend/qt/qt_command_host.h"

class QAction;
class QLabel;
class QMenu;

namespace view_widgets {
class WindowViews;
}

namespace frontend {

class Principal : public QMainWindow {
 public:
  explicit Principal(const std::string& libraryDirectory = DefaultLibraryDirectory(), QWidget* parent = nullptr);

  // The menu item of a control name (a QAction named after it); null when there is none.
  QAction* CommandAction(const QString& control) const;

  // Opens a menu and one of its submenus, as a user pointing at them would.
  void OpenMenu(const QString& menuControl, const QString& submenuControl);

  // Shows what `path` holds and the commands that convert it; runs the one chosen.
  void OpenFile(const std::string& path);

  // The coordinate systems the conversions of points and surfaces take (none set: nothing moves).
  const SystemOptions& sessionSystems() const { return sessionSystems_; }
  void SetSessionSystems(const SystemOptions& systems);

  // The views of what a file holds: shown after each conversion and for files opened.
  view_widgets::WindowViews& views() { return *views_; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void AddOpenItem(QMenu* fileMenu);
  void AddSystemsItem(QMenu* fileMenu);
  // A command ended: logged, and its target shown in the views.
  void ShowOutcome(const MenuCommand& command, CommandOutcome outcome);

  LibraryLoader loader_;
  LibraryExportCaller exports_;
  QtCommandHost host_;
  CommandRunner runner_;
  std::shared_ptr<view_widgets::WindowViews> views_;
  SystemOptions sessionSystems_;
  QLabel* systemsLabel_ = nullptr;  // in the status bar while systems are set
};

}  // namespace frontend
