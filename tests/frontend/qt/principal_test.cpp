// The desktop program's windows on Qt's offscreen platform: the menu tree against the command
// table, commands driven through the real main window with scripted dialog answers, the
// selection dialogs and the About box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

#include "frontend/core/command_table.h"
#include "frontend/qt/about_dialog.h"
#include "frontend/qt/principal.h"
#include "frontend/qt/views/view_panel.h"
#include "frontend/qt/qt_command_host.h"
#include "frontend/qt/selection_dialogs.h"
#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::unique_ptr<QApplication> application;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "frontend_qt_tests";
  static char* argv[] = {name, nullptr};
  if (!application) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = std::make_unique<QApplication>(argc, argv);
  }
  return *application;
}

// The application goes when the tests end, before the program's static objects: Qt's own
// global objects are gone by then, and deleting it later crashes the program at exit.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void TearDown() override { application.reset(); }
};

[[maybe_unused]] ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

// Answers each modal window as it opens, in order. A step runs outside the timer's own
// call, so a window that opens inside a step (the overwrite prompt of a save dialog) is
// answered by the next step.
class DialogScript {
 public:
  using Step = std::function<void(QWidget*)>;

  explicit DialogScript(std::deque<Step> steps) : steps_(std::move(steps)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      // A window no step answers is closed after a while: the test fails instead of hanging.
      if (modal != nullptr && clock_.elapsed() > 20000) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
      }
      if (modal == nullptr || !modal->isVisible() || steps_.empty() || Answered(modal)) return;
      answered_.emplace_back(modal);
      Step step = std::move(steps_.front());
      steps_.pop_front();
      QPointer<QWidget> target(modal);
      QTimer::singleShot(0, [step, target] {
        if (target) step(target);
      });
    });
    clock_.start();
    timer_.start(10);
  }
  bool finished() const { return steps_.empty(); }

 private:
  bool Answered(QWidget* modal) const {
    for (const QPointer<QWidget>& widget : answered_) {
      if (widget == modal) return true;
    }
    return false;
  }

  std::deque<Step> steps_;
  std::vector<QPointer<QWidget>> answered_;
  QElapsedTimer clock_;
  QTimer timer_;
};

DialogScript::Step ChooseFile(const std::string& path, std::string* title = nullptr) {
  return [path, title](QWidget* window) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr) << window->metaObject()->className();
    if (title != nullptr) *title = dialog->windowTitle().toStdString();
    // Typed into the name field, as a user would, then Open or Save.
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
  };
}

DialogScript::Step ReadMessage(std::string& text) {
  return [&text](QWidget* window) {
    auto* box = qobject_cast<QMessageBox*>(window);
    ASSERT_NE(box, nullptr) << window->metaObject()->className();
    text = box->windowTitle().toStdString() + "|" + box->text().toStdString();
    box->button(QMessageBox::Ok)->click();
  };
}

class Desktop : public testing::Test {
 protected:
  void SetUp() override { Application(); }
};

}  // namespace

TEST_F(Desktop, MenuTreeMatchesTheCommandTable) {
  frontend::Principal window;
  EXPECT_EQ(window.windowTitle().toStdString(), "Conversor de Formatos");
  EXPECT_EQ(window.objectName().toStdString(), "Principal");

  // Walk the menu bar depth first: "menu/submenu:caption" (separators as "-").
  std::vector<std::string> shown;
  std::vector<std::string> menus;
  for (QAction* top : window.menuBar()->actions()) {
    menus.push_back(top->menu()->title().toStdString());
    for (QAction* item : top->menu()->actions()) {
      if (item->property(view_widgets::WindowViews::kViewsItem).toBool()) continue;  // Abrir..., Recientes
      const std::string where = top->menu()->title().toStdString();
      if (item->menu() != nullptr) {
        for (QAction* inner : item->menu()->actions()) {
          shown.push_back(where + "/" + item->text().toStdString() + ":" +
                          (inner->isSeparator() ? "-" : inner->text().toStdString()) + "=" +
                          inner->objectName().toStdString());
        }
      } else {
        shown.push_back(where + ":" + (item->isSeparator() ? "-" : item->text().toStdString()) + "=" +
                        item->objectName().toStdString());
      }
    }
  }
  std::vector<std::string> expected;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    expected.push_back(command.menu.caption + (command.submenu.control.empty() ? "" : "/" + command.submenu.caption) +
                       ":" + command.caption + "=" + command.control);
  }
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(menus, (std::vector<std::string>{"Fichero", "Importar", "Exportar", "Ayuda"}));
}

TEST_F(Desktop, CommandThroughTheMainWindowWritesItsTarget) {
  TempDir dir;
  const std::string source = dir.File("eje.eje");
  WriteFile(source, "0 1 2 0 0 0\n");
  frontend::Principal window;
  window.show();

  std::string sourceTitle;
  std::string targetTitle;
  std::string message;
  DialogScript script({ChooseFile(source, &sourceTitle), ChooseFile(dir.File("eje.gts"), &targetTitle),
                       ReadMessage(message)});
  window.CommandAction("ejeGTS")->trigger();

  EXPECT_TRUE(script.finished());
  EXPECT_EQ(sourceTitle, "Fichero Origen");
  EXPECT_EQ(targetTitle, "Fichero Destino");
  EXPECT_EQ(ReadFile(dir.File("eje.gts")), "START 0.000, 1.0000, 2.0000\r\n");
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("eje.gts"));

  // The same file as target: refused with the exclamation icon.
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  auto confirmOverwrite = [](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    box->button(QMessageBox::Yes)->click();
  };
  DialogScript refused({ChooseFile(source), ChooseFile(source), confirmOverwrite, [&](QWidget* w) {
                          auto* box = qobject_cast<QMessageBox*>(w);
                          ASSERT_NE(box, nullptr);
                          icon = box->icon();
                          message = box->text().toStdString();
                          box->button(QMessageBox::Ok)->click();
                        }});
  window.CommandAction("ejeGTS")->trigger();
  EXPECT_TRUE(refused.finished());
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(message, "El fichero destino debe ser diferente al origen");
}

TEST_F(Desktop, LandXmlCommandChoosesTheClickedAlignment) {
  TempDir dir;
  ::setenv("TEMP", dir.path().c_str(), 1);
  const std::string source = dir.File("variante.xml");
  WriteFile(source, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.xml"));
  frontend::Principal window;
  window.show();

  std::string caption;
  std::string message;
  DialogScript script({ChooseFile(source),
                       [&](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::EjeSelecLandxml*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         caption = dialog->windowTitle().toStdString();
                         ASSERT_EQ(dialog->list()->count(), 1);
                         dialog->list()->setCurrentRow(0);
                         dialog->findChild<QPushButton*>("BtnAce")->click();
                       },
                       ChooseFile(dir.File("elegido.eje")), ReadMessage(message)});
  window.CommandAction("importarEjeLandXML")->trigger();
  ::unsetenv("TEMP");

  EXPECT_TRUE(script.finished());
  EXPECT_EQ(caption, "Selección de tramos desde LandXML");
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("elegido.eje"));
  EXPECT_FALSE(ReadFile(dir.File("elegido.eje")).empty());
}

TEST_F(Desktop, SelectionDialogsReturnWhatWasClicked) {
  const QStringList lines{"Eje 1: Terreno", "Eje 2: Terreno"};
  {
    frontend::EjeSelecLandxml dialog("Seleccione la superficie a convertir", lines);
    EXPECT_EQ(dialog.windowTitle(), "Seleccione la superficie a convertir");
    dialog.list()->setCurrentRow(1);
    dialog.findChild<QPushButton*>("BtnAce")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.itemSelec, 1);
    EXPECT_EQ(dialog.dataSelec, "Eje 2: Terreno");
  }
  {
    frontend::EjeSelecLandxml dialog("x", lines);
    dialog.findChild<QPushButton*>("BtnAce")->click();  // nothing selected
    EXPECT_EQ(dialog.itemSelec, -1);
    EXPECT_TRUE(dialog.dataSelec.isEmpty());
    EXPECT_EQ(dialog.findChild<QPushButton*>("BtnCan")->text(), "&Cancelar");
  }
  {
    frontend::SeleccionCapa dialog("Seleccione la capa donde estan dibujadas las caras 3D", {"0", "CARAS", "EJE"});
    auto* list = dialog.list();
    EXPECT_EQ(list->objectName(), "ListCapasDibujo");
    emit list->itemDoubleClicked(list->item(1));
    list->setCurrentRow(1);
    emit list->itemDoubleClicked(list->item(1));
    EXPECT_EQ(dialog.mCapaSeleccionada, "CARAS");
    EXPECT_EQ(dialog.chosenIndex, 1);
  }
  {
    frontend::SeleccionCapa dialog("x", {"0", "CARAS"});
    dialog.list()->setCurrentRow(0);
    dialog.findChild<QPushButton*>("CommandCancelar")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.mCapaSeleccionada.isEmpty());
  }
}

TEST_F(Desktop, FileDialogFiltersAndAboutBox) {
  EXPECT_EQ(frontend::DialogFilters("Eje Inroads (*.asc;*.txt)|*.asc;*.txt"), QStringList{"Eje Inroads (*.asc *.txt)"});
  EXPECT_EQ(frontend::DialogFilters("Eje CLIP (*.plt)|*.plt|(*.txt)|*.txt"), (QStringList{"Eje CLIP (*.plt)", "(*.txt)"}));
  EXPECT_EQ(frontend::DialogFilters("Superficie Terrex v4(*.sup)|*.sup"), QStringList{"Superficie Terrex v4(*.sup)"});
  EXPECT_EQ(frontend::DialogFilters("Archivo de puntos (*.pun))|*.pun"),
            QStringList{"Archivo de puntos (*.pun)) (*.pun)"});

  frontend::AcercaConv about;
  EXPECT_EQ(about.windowTitle(), "Acerca de Conversiones");
  EXPECT_EQ(about.findChild<QLabel*>("Version")->text(), "1.0.0");
}
