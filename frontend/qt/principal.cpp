#include "frontend/qt/principal.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>
#include <map>

#include "frontend/qt/road_picture.h"
#include "frontend/qt/views/view_panel.h"

namespace frontend {

Principal::Principal(const std::string& libraryDirectory, QWidget* parent)
    : QMainWindow(parent),
      loader_(libraryDirectory),
      exports_(loader_, &ShowLibraryMessage),
      host_(this),
      runner_(host_, exports_, ProgramDirectory()) {
  setObjectName("Principal");
  setWindowTitle(kMainWindowCaption);

  auto* central = new QWidget(this);
  auto* picture = new QLabel(central);
  picture->setObjectName("picture");
  picture->setPixmap(RoadPicture(QSize(480, 260)));
  picture->setAlignment(Qt::AlignCenter);
  auto* label = new QLabel(
      "Ejes, rasantes, transversales, peraltes, puntos y superficies\n"
      "entre los formatos de Zemta y los de otros programas e instrumentos.",
      central);
  label->setObjectName("label");
  label->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(picture);
  layout->addWidget(label);
  setCentralWidget(central);

  BuildMenus();
  views_ = std::make_shared<view_widgets::WindowViews>(*this, menuBar()->findChild<QMenu*>("ficheros"));
}

void Principal::BuildMenus() {
  std::map<std::string, QMenu*> menus;
  for (const MenuCommand& command : CommandTable()) {
    QMenu*& menu = menus[command.menu.control];
    if (menu == nullptr) {
      menu = menuBar()->addMenu(QString::fromUtf8(command.menu.caption.c_str()));
      menu->setObjectName(QString::fromStdString(command.menu.control));
    }
    QMenu* parent = menu;
    if (!command.submenu.control.empty()) {
      QMenu*& submenu = menus[command.menu.control + "/" + command.submenu.control];
      if (submenu == nullptr) {
        submenu = menu->addMenu(QString::fromUtf8(command.submenu.caption.c_str()));
        submenu->setObjectName(QString::fromStdString(command.submenu.control));
      }
      parent = submenu;
    }
    QAction* action = command.kind == ItemKind::Separator ? parent->addSeparator()
                                                          : parent->addAction(QString::fromUtf8(command.caption.c_str()));
    action->setObjectName(QString::fromStdString(command.control));
    if (command.kind == ItemKind::Command) {
      const MenuCommand* row = &command;
      connect(action, &QAction::triggered, this, [this, row] {
        const CommandOutcome outcome = runner_.Run(*row);
        if (outcome == CommandOutcome::Done) return;
        views_->ConversionFinished(QString::fromUtf8(row->caption.c_str()).remove('&'), outcome == CommandOutcome::Converted,
                                   FromLocalText(host_.lastTarget()), QString::fromUtf8(runner_.lastFailure().c_str()));
      });
    }
  }
}

QAction* Principal::CommandAction(const QString& control) const {
  for (QAction* action : findChildren<QAction*>(control)) {
    if (!action->menu()) return action;
  }
  return nullptr;
}

void Principal::OpenMenu(const QString& menuControl, const QString& submenuControl) {
  auto* menu = menuBar()->findChild<QMenu*>(menuControl);
  if (menu == nullptr) return;
  menuBar()->setActiveAction(menu->menuAction());
  if (auto* submenu = menu->findChild<QMenu*>(submenuControl)) {
    menu->setActiveAction(submenu->menuAction());
    submenu->popup(menu->mapToGlobal(menu->actionGeometry(submenu->menuAction()).topRight()));
  }
}

}  // namespace frontend
