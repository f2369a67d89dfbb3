#include "frontend/qt/principal.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QMimeData>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <map>

#include "frontend/qt/coordinate_systems_dialog.h"
#include "frontend/qt/menu_mnemonics.h"
#include "frontend/qt/open_file_dialog.h"
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
  setAcceptDrops(true);
  systemsLabel_ = new QLabel(this);
  systemsLabel_->setObjectName("sistemasActivos");
  statusBar()->addPermanentWidget(systemsLabel_);
  systemsLabel_->hide();

  BuildMenus();
  // Abrir... and dropped files are the window's own; the views add Recientes and the log.
  views_ = std::make_shared<view_widgets::WindowViews>(*this, menuBar()->findChild<QMenu*>("ficheros"), false);
  AssignMnemonics(*menuBar());
}

namespace {

// The caption a menu item shows: the command table's, exactly as the program was described
// ("Acerca de Conversor Formatos", "Exportar  a Clip (TER)..."); only a mnemonic is added.
QString ItemCaption(const MenuCommand& command) { return QString::fromUtf8(command.caption.c_str()); }

}  // namespace

void Principal::BuildMenus() {
  std::map<std::string, QMenu*> menus;
  for (const MenuCommand& command : CommandTable()) {
    QMenu*& menu = menus[command.menu.control];
    if (menu == nullptr) {
      menu = menuBar()->addMenu(QString::fromUtf8(command.menu.caption.c_str()));
      menu->setObjectName(QString::fromStdString(command.menu.control));
      if (menus.size() == 1) {  // the first menu is "Fichero"
        AddOpenItem(menu);
        AddSystemsItem(menu);
      }
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
                                                          : parent->addAction(ItemCaption(command));
    action->setObjectName(QString::fromStdString(command.control));
    if (command.kind == ItemKind::Command) {
      const MenuCommand* row = &command;
      connect(action, &QAction::triggered, this, [this, row] {
        ShowOutcome(*row, runner_.Run(*row));
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

// "Abrir...": the program's own item, ahead of the command table's items of the menu.
void Principal::AddOpenItem(QMenu* fileMenu) {
  QAction* open = fileMenu->addAction("&Abrir...");
  open->setObjectName("abrir");
  // Ctrl+O, wherever the focus is in the window (the menu need not be open).
  open->setShortcut(QKeySequence::Open);
  open->setShortcutContext(Qt::WindowShortcut);
  addAction(open);
  connect(open, &QAction::triggered, this, [this] {
    QFileDialog dialog(this, kSourceDialogTitle);
    dialog.setObjectName("dialAbrir");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenFile(ToLocalPath(dialog.selectedFiles().front()));
  });
}

// "Sistemas de coordenadas...": the systems the conversions of points and surfaces take in
// this session, from the menu and from Abrir, named in the status bar while set.
void Principal::AddSystemsItem(QMenu* fileMenu) {
  QAction* systems = fileMenu->addAction("Sistemas de coordenadas...");
  systems->setObjectName("sistemas");
  connect(systems, &QAction::triggered, this, [this] {
    SistemasCoordenadas dialog(this, sessionSystems_,
                               "Las órdenes de puntos y superficies transforman sus coordenadas del sistema de "
                               "origen al de destino. Deje el destino vacío para no transformar.");
    if (dialog.exec() == QDialog::Accepted) SetSessionSystems(dialog.options());
  });
  fileMenu->addSeparator()->setObjectName("sepAbrir");
}

void Principal::SetSessionSystems(const SystemOptions& systems) {
  sessionSystems_ = systems;
  if (sessionSystems_.target.empty()) sessionSystems_ = SystemOptions();
  runner_.SetSystems(sessionSystems_, CommandRunner::SystemScope::kWhereTheyApply);
  const QString line = SystemsLine(sessionSystems_);
  systemsLabel_->setText(line.isEmpty() ? QString() : "Sistemas de coordenadas: " + line);
  systemsLabel_->setVisible(!line.isEmpty());
}

void Principal::OpenFile(const std::string& path) {
  // The views show the file when they know its kind, behind the choice of a conversion.
  views_->Show(FromLocalText(path));
  AbrirFichero dialog(path, this, sessionSystems_);
  if (dialog.exec() != QDialog::Accepted || dialog.chosen == nullptr) return;
  // The systems chosen for this conversion; the session's again afterwards.
  runner_.SetSystems(dialog.systems, CommandRunner::SystemScope::kWhereTheyApply);
  const CommandOutcome outcome = runner_.RunWithSource(*dialog.chosen, path, dialog.sourceFormat);
  runner_.SetSystems(sessionSystems_, CommandRunner::SystemScope::kWhereTheyApply);
  ShowOutcome(*dialog.chosen, outcome);
}

void Principal::ShowOutcome(const MenuCommand& command, CommandOutcome outcome) {
  if (outcome == CommandOutcome::Done) return;
  views_->ConversionFinished(QString::fromUtf8(command.caption.c_str()).remove('&'),
                             outcome == CommandOutcome::Converted, FromLocalText(host_.lastTarget()),
                             QString::fromUtf8(runner_.lastFailure().c_str()),
                             QString::fromUtf8(runner_.lastSummary().c_str()));
}

void Principal::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls() && !event->mimeData()->urls().isEmpty() &&
      event->mimeData()->urls().front().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void Principal::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = ToLocalPath(urls.front().toLocalFile());
  // The dialogs open after the drop has ended, not inside the drag and drop machinery.
  QMetaObject::invokeMethod(this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

}  // namespace frontend
