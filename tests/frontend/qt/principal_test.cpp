// The desktop program's windows on Qt's offscreen platform: the menu tree against the command
// table, commands driven through the real main window with scripted dialog answers, the
// selection dialogs and the About box.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

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
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QSettings>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

#include "frontend/core/command_table.h"
#include "frontend/detect/spanish_numbers.h"
#include "frontend/qt/about_dialog.h"
#include "frontend/qt/coordinate_systems_dialog.h"
#include "frontend/qt/open_file_dialog.h"
#include "frontend/qt/menu_mnemonics.h"
#include "frontend/qt/principal.h"
#include "frontend/qt/views/view_panel.h"
#include "frontend/qt/qt_command_host.h"
#include "frontend/qt/selection_dialogs.h"
#include "georref/geo_test_support.h"
#include "support/test_support.h"
#include "tests/frontend/qt/private_settings.h"

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
    // The desktop program runs under a Spanish locale, whose decimal separator is a comma: so
    // do its tests (where the locale is generated).
    ::setenv("LC_ALL", "es_ES.UTF-8", 1);
    // Files opened by the tests are remembered in settings of the tests, not the user's.
    testing_support::PrivateSettingsFolder();
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

// Keeps a message box's text in `said` and closes it.
DialogScript::Step CollectMessage(std::vector<std::string>& said) {
  return [&said](QWidget* window) {
    auto* box = qobject_cast<QMessageBox*>(window);
    ASSERT_NE(box, nullptr) << window->metaObject()->className();
    said.push_back(box->text().toStdString());
    box->button(QMessageBox::Ok)->click();
  };
}

std::string Made(const TempDir& dir, const std::string& name, const std::string& bytes) {
  WriteFile(dir.File(name), bytes);
  return dir.File(name);
}

// A fresh folder that is the libraries' temporary folder (TEMP) while the object lives, holding
// a copy of samples/`sample` named `name`.
struct ScratchWithSample {
  ScratchWithSample(const std::string& sample, const std::string& name) : source(dir.File(name)) {
    ::setenv("TEMP", dir.path().c_str(), 1);
    WriteFile(source, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/" + sample));
  }
  ~ScratchWithSample() { ::unsetenv("TEMP"); }
  ScratchWithSample(const ScratchWithSample&) = delete;
  ScratchWithSample& operator=(const ScratchWithSample&) = delete;

  TempDir dir;
  std::string source;
};

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
      // "Abrir...", "Sistemas de coordenadas...", Recientes and Registro are the program's own
      // items, not commands of the table.
      if (item->objectName() == "abrir" || item->objectName() == "sistemas" || item->objectName() == "sepAbrir") {
        continue;
      }
      if (item->property(view_widgets::WindowViews::kViewsItem).toBool()) continue;
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
  // The table's captions as shown: exactly as given, without their mnemonics.
  std::vector<std::string> expected;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    std::string caption = command.caption;
    expected.push_back(command.menu.caption + (command.submenu.control.empty() ? "" : "/" + command.submenu.caption) +
                       ":" + caption + "=" + command.control);
  }
  for (std::string& line : shown) line.erase(std::remove(line.begin(), line.end(), '&'), line.end());
  for (std::string& line : expected) line.erase(std::remove(line.begin(), line.end(), '&'), line.end());
  for (std::string& line : menus) line.erase(std::remove(line.begin(), line.end(), '&'), line.end());
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(menus, (std::vector<std::string>{"Fichero", "Importar", "Exportar", "Ayuda"}));
  // The captions the program was described with, typos and all.
  EXPECT_EQ(window.windowTitle(), "Conversor de Formatos");
  QString about = window.CommandAction("acercade")->text();
  EXPECT_EQ(about.remove('&'), "Acerca de Conversor Formatos");
  QString ter = window.CommandAction("puntosTraClipTer")->text();
  EXPECT_EQ(ter.remove('&'), "Exportar  a Clip (TER)...");
}

// Every menu and every item of a menu (submenus included) has a mnemonic no other item of
// that menu has, and every item of the program's own that opens a dialog says so with "..."
// (the command table's items keep their captions as given).
void ExpectMnemonicsIn(const QList<QAction*>& actions, const std::string& where) {
  std::set<QChar> seen;
  for (QAction* action : actions) {
    if (action->isSeparator()) continue;
    const QString text = action->text();
    const QChar mnemonic = frontend::MnemonicOf(text);
    EXPECT_FALSE(mnemonic.isNull()) << where << ": " << text.toStdString();
    EXPECT_TRUE(seen.insert(mnemonic).second) << where << ": " << text.toStdString() << " repeats its mnemonic";
    const bool opensDialog = action->menu() == nullptr && action->objectName() != "salir" && !action->isCheckable() &&
                             action->parent() != nullptr && action->parent()->objectName() != "recientes" &&
                             frontend::FindCommand(action->objectName().toStdString()) == nullptr;
    if (opensDialog) {
      EXPECT_TRUE(text.trimmed().endsWith("...")) << where << ": " << text.toStdString();
    }
    if (action->menu() != nullptr) ExpectMnemonicsIn(action->menu()->actions(), where + "/" + text.toStdString());
  }
}

TEST_F(Desktop, EveryMenuAndItemHasItsOwnMnemonicAndAltIOpensImportar) {
  ASSERT_TRUE(testing_support::SettingsArePrivate()) << QSettings().fileName().toStdString();
  frontend::Principal window;
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  ExpectMnemonicsIn(window.menuBar()->actions(), "barra");

  QMenu* import = window.menuBar()->findChild<QMenu*>("importar");
  ASSERT_NE(import, nullptr);
  EXPECT_EQ(import->title(), "&Importar");
  ASSERT_FALSE(import->isVisible());
  QTest::keyClick(&window, Qt::Key_I, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return import->isVisible(); }, 2000)) << "Alt+I did not open Importar";
  import->close();
}

TEST(Mnemonics, RarestWordFirstThenAnyFreeLetterAndKeptWhereGiven) {
  const QStringList marked = frontend::WithMnemonics(
      {"Importar de Clip...", "Importar de Cartomap...", "&Salir", "Importar de Ispol (res) ...", "Importar de Ispol..."});
  EXPECT_EQ(marked, (QStringList{"Importar de &Clip...", "Importar de C&artomap...", "&Salir",
                                 "Importar de Ispol (&res) ...", "Importar de &Ispol..."}));
  EXPECT_EQ(frontend::MnemonicOf("A&&B &Copiar"), QChar('c'));
  EXPECT_TRUE(frontend::MnemonicOf("A&&B").isNull());
  // Nothing left to take: the caption stays as it is.
  EXPECT_EQ(frontend::WithMnemonics({"&A", "a"}), (QStringList{"&A", "a"}));
}

TEST_F(Desktop, CommandThroughTheMainWindowWritesItsTarget) {
  TempDir dir;
  const std::string source = dir.File("eje.eje");
  WriteFile(source, "0 1 2 0 0 0\n100 101 2 0 0 0\n");
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
  EXPECT_EQ(ReadFile(dir.File("eje.gts")).substr(0, 29), "START 0.000, 1.0000, 2.0000\r\n");
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("eje.gts") + "\n1 elemento");

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
  ScratchWithSample scratch("ejes/variante.xml", "variante.xml");
  TempDir& dir = scratch.dir;
  const std::string& source = scratch.source;
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

  EXPECT_TRUE(script.finished());
  EXPECT_EQ(caption, "Selección de tramos desde LandXML");
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("elegido.eje") + "\n8 elementos, 1\u202F660,000 m");
  EXPECT_FALSE(ReadFile(dir.File("elegido.eje")).empty());
}

TEST_F(Desktop, FailureReasonsAndEmptyListsAreShownInAMessageBox) {
  // A drawing given to the LandXML alignment import: no list is offered, the box says why.
  ScratchWithSample scratch("dxf/levantamiento.dxf", "dibujo.xml");
  const std::string& source = scratch.source;
  frontend::Principal window;
  window.show();
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  std::string message;
  DialogScript script({ChooseFile(source), [&](QWidget* w) {
                         auto* box = qobject_cast<QMessageBox*>(w);
                         ASSERT_NE(box, nullptr) << w->metaObject()->className();
                         icon = box->icon();
                         message = box->text().toStdString();
                         box->button(QMessageBox::Ok)->click();
                       }});
  window.CommandAction("importarEjeLandXML")->trigger();
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(icon, QMessageBox::Warning);
  EXPECT_EQ(message.rfind("Error en la conversión\n", 0), 0u) << message;
  EXPECT_NE(message.find(source), std::string::npos) << message;
}

TEST_F(Desktop, AcceptingAListWithoutALineSaysSo) {
  ScratchWithSample scratch("superficies/terreno-caras.dxf", "superficie.dxf");
  const std::string& source = scratch.source;
  frontend::Principal window;
  window.show();
  std::string message;
  DialogScript script({ChooseFile(source),
                       [&](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::SeleccionCapa*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         dialog->list()->clearSelection();
                         dialog->findChild<QPushButton*>("CommandAceptar")->click();
                       },
                       ReadMessage(message)});
  window.CommandAction("importarSuperficieCaras3D")->trigger();
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(message, "Pasarela|No se ha elegido ninguna línea de la lista");
}

TEST_F(Desktop, OpeningAFileShowsWhatItHoldsAndRunsTheChosenCommand) {
  ScratchWithSample scratch("ejes/variante.xml", "variante.xml");
  TempDir& dir = scratch.dir;
  const std::string& source = scratch.source;
  frontend::Principal window;
  window.show();
  ASSERT_NE(window.CommandAction("abrir"), nullptr);
  EXPECT_EQ(window.CommandAction("abrir")->text(), "&Abrir...");

  std::string summary;
  std::vector<std::string> offered;
  std::string message;
  DialogScript script({ChooseFile(source),
                       [&](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         summary = dialog->summary()->toPlainText().toStdString();
                         int alignmentRow = 0;
                         for (int row = 0; row < dialog->commands()->count(); ++row) {
                           offered.push_back(dialog->commands()->item(row)->text().toStdString());
                           if (offered.back() == "Importar > Ejes > Importar de LandXML...") alignmentRow = row;
                         }
                         dialog->commands()->setCurrentRow(alignmentRow);
                         dialog->findChild<QPushButton*>("BtnConvertir")->click();
                       },
                       // The document's only alignment comes selected.
                       [](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::EjeSelecLandxml*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         dialog->findChild<QPushButton*>("BtnAce")->click();
                       },
                       ChooseFile(dir.File("abierto.eje")), ReadMessage(message)});
  window.CommandAction("abrir")->trigger();
  EXPECT_TRUE(script.finished());
  EXPECT_NE(summary.find("Formato: LandXML\n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("Eje \"variante\": 8 elementos"), std::string::npos) << summary;
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Importar > Ejes > Importar de LandXML..."), offered.end());
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("abierto.eje") + "\n8 elementos, 1\u202F660,000 m");
}

// A map asks for the coordinate systems before its target, and names the operation used.
TEST_F(Desktop, AMapOfPointsAsksForTheSystemsAndNamesTheOperation) {
  ScratchWithSample scratch("puntos/levantamiento.pun", "levantamiento.pun");
  frontend::Principal window;
  window.show();
  std::string operation;
  std::string message;
  DialogScript script({ChooseFile(scratch.source),
                       [](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         auto found = dialog->commands()->findItems("Puntos a mapa GeoJSON", Qt::MatchExactly);
                         ASSERT_EQ(found.size(), 1);
                         dialog->commands()->setCurrentItem(found.front());
                         dialog->findChild<QPushButton*>("BtnConvertir")->click();
                       },
                       [](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::SistemasCoordenadas*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         dialog->source()->setText("EPSG:25830");
                         dialog->accept();
                       },
                       ChooseFile(scratch.dir.File("puntos.geojson")), ReadMessage(operation), ReadMessage(message)});
  window.CommandAction("abrir")->trigger();
  EXPECT_TRUE(script.finished());
  EXPECT_NE(operation.find("ETRS89 to WGS 84 (1), 1 m"), std::string::npos) << operation;
  EXPECT_NE(message.find("Generado correctamente fichero"), std::string::npos) << message;
  EXPECT_TRUE(testing_support::FileExists(scratch.dir.File("puntos.geojson")));
}

// The first point of a LandXML document's CgPoints: northing, easting.
std::vector<double> FirstCgPoint(const std::string& path) {
  const std::string text = ReadFile(path);
  const std::size_t start = text.find('>', text.find("<CgPoint "));
  if (start == std::string::npos) return {};
  std::istringstream numbers(text.substr(start + 1));
  std::vector<double> values(2);
  numbers >> values[0] >> values[1];
  return values;
}

// Systems set for the session move the points of the menu's point commands (and say the
// operation), stay named in the status bar, and leave the commands that move nothing as they
// were; systems chosen in Abrir move one conversion.
TEST_F(Desktop, CoordinateSystemsMoveThePointsOfTheMenuAndOfAbrir) {
  ScratchWithSample scratch("puntos/levantamiento.pun", "levantamiento.pun");
  const std::string alignment = scratch.dir.File("eje.eje");
  WriteFile(alignment, "0 1 2 0 0 0\n100 101 2 0 0 0\n");
  const std::vector<double> expected = geo_testing::Cs2cs("EPSG:23030", "EPSG:25830", "442350.125 4471820.340 712.455\\n");
  ASSERT_GE(expected.size(), 2u);
  frontend::Principal window;
  window.show();
  ASSERT_NE(window.CommandAction("sistemas"), nullptr);
  auto* status = window.findChild<QLabel*>("sistemasActivos");
  ASSERT_NE(status, nullptr);
  EXPECT_FALSE(status->isVisible());

  DialogScript set({[](QWidget* w) {
    auto* dialog = dynamic_cast<frontend::SistemasCoordenadas*>(w);
    ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
    dialog->source()->setText(" EPSG:23030 ");
    dialog->target()->setText("EPSG:25830");
    dialog->accept();
  }});
  window.CommandAction("sistemas")->trigger();
  EXPECT_TRUE(set.finished());
  EXPECT_TRUE(status->isVisible());
  EXPECT_EQ(status->text().toStdString(), "Sistemas de coordenadas: EPSG:23030 \u2192 EPSG:25830");

  std::vector<std::string> said;
  const DialogScript::Step read = CollectMessage(said);
  DialogScript menu({ChooseFile(scratch.source), read, ChooseFile(scratch.dir.File("menu.xml")), read});
  window.CommandAction("exportarPuntosLandXML")->trigger();
  EXPECT_TRUE(menu.finished());
  ASSERT_EQ(said.size(), 2u);
  EXPECT_NE(said[0].find("ED50 to ETRS89 (7), 1,5 m"), std::string::npos) << said[0];
  EXPECT_NE(said[1].find("Generado correctamente fichero"), std::string::npos) << said[1];
  EXPECT_NE(ReadFile(scratch.dir.File("menu.xml")).find("epsgCode=\"25830\""), std::string::npos);
  std::vector<double> point = FirstCgPoint(scratch.dir.File("menu.xml"));
  ASSERT_EQ(point.size(), 2u);
  EXPECT_NEAR(point[1], expected[0], 0.0006);
  EXPECT_NEAR(point[0], expected[1], 0.0006);

  // An alignment has nothing these systems move: it converts as ever.
  std::string message;
  DialogScript axis({ChooseFile(alignment), ChooseFile(scratch.dir.File("eje.gts")), ReadMessage(message)});
  window.CommandAction("ejeGTS")->trigger();
  EXPECT_TRUE(axis.finished());
  EXPECT_NE(message.find("Generado correctamente fichero"), std::string::npos) << message;

  // Cleared for the session, chosen for one conversion in Abrir.
  window.SetSessionSystems(frontend::SystemOptions());
  EXPECT_FALSE(status->isVisible());
  said.clear();
  bool offered = false;
  DialogScript opened({[&offered](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         auto found = dialog->commands()->findItems("Exportar > Puntos > Exportar a LandXML...",
                                                                    Qt::MatchExactly);
                         ASSERT_EQ(found.size(), 1);
                         dialog->commands()->setCurrentItem(found.front());
                         offered = dialog->systemsButton()->isVisible();
                         dialog->systems = frontend::SystemOptions{"EPSG:23030", "EPSG:25830", false};
                         dialog->findChild<QPushButton*>("BtnConvertir")->click();
                       },
                       read, ChooseFile(scratch.dir.File("abierto.xml")), read});
  window.OpenFile(scratch.source);
  EXPECT_TRUE(opened.finished());
  EXPECT_TRUE(offered);
  ASSERT_EQ(said.size(), 2u);
  EXPECT_NE(said[0].find("ED50 to ETRS89 (7), 1,5 m"), std::string::npos) << said[0];
  EXPECT_EQ(ReadFile(scratch.dir.File("abierto.xml")).find("<CgPoint"),
            ReadFile(scratch.dir.File("menu.xml")).find("<CgPoint"));
  point = FirstCgPoint(scratch.dir.File("abierto.xml"));
  ASSERT_EQ(point.size(), 2u);
  EXPECT_NEAR(point[1], expected[0], 0.0006);
}

// An alignment's map asks for the profile its heights come from, beside the systems.
TEST_F(Desktop, AnAlignmentsMapTakesItsHeightsFromTheProfileGiven) {
  ScratchWithSample scratch("ejes/variante.eje", "variante.eje");
  const std::string profile = std::string(PASARELA_SOURCE_DIR) + "/samples/rasantes/variante.ras";
  frontend::Principal window;
  window.show();
  std::vector<std::string> said;
  const DialogScript::Step read = CollectMessage(said);
  DialogScript script({[](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         auto found = dialog->commands()->findItems("Eje a mapa GeoJSON", Qt::MatchExactly);
                         ASSERT_EQ(found.size(), 1);
                         dialog->commands()->setCurrentItem(found.front());
                         // A map asks for its systems when it runs.
                         EXPECT_FALSE(dialog->systemsButton()->isVisible());
                         dialog->findChild<QPushButton*>("BtnConvertir")->click();
                       },
                       [&profile](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::SistemasCoordenadas*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         ASSERT_NE(dialog->profile(), nullptr);
                         dialog->source()->setText("EPSG:25830");
                         dialog->profile()->setText(QString::fromStdString(profile));
                         dialog->accept();
                       },
                       ChooseFile(scratch.dir.File("variante.geojson")), read, read});
  window.OpenFile(scratch.source);
  EXPECT_TRUE(script.finished());
  ASSERT_FALSE(said.empty());
  EXPECT_NE(said.back().find("Generado correctamente fichero"), std::string::npos) << said.back();
  // Every vertex of the line has its height: three numbers, none of them a zero height.
  const std::string map = ReadFile(scratch.dir.File("variante.geojson"));
  const std::size_t line = map.find("\"LineString\"");
  ASSERT_NE(line, std::string::npos) << map.substr(0, 400);
  const std::size_t first = map.find("[ [", line) != std::string::npos ? map.find("[ [", line) : map.find("[[", line);
  ASSERT_NE(first, std::string::npos);
  const std::string vertex = map.substr(first, map.find(']', first) - first);
  EXPECT_EQ(std::count(vertex.begin(), vertex.end(), ','), 2) << vertex;
  EXPECT_EQ(vertex.find(", 0.0"), std::string::npos) << vertex;
}

TEST_F(Desktop, ADroppedFileIsOpened) {
  TempDir dir;
  const std::string source = Made(dir, "tramo.tra", ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/transversales/tramo.tra"));
  frontend::Principal window;
  window.show();
  std::string summary;
  DialogScript script({[&](QWidget* w) {
    auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
    ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
    summary = dialog->summary()->toPlainText().toStdString();
    dialog->findChild<QPushButton*>("BtnCancelar")->click();
  }});
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(source))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  QElapsedTimer clock;
  clock.start();
  while (!script.finished() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_TRUE(script.finished());
  EXPECT_NE(summary.find("Transversales: 3 secciones, 27 puntos"), std::string::npos) << summary;
}

TEST_F(Desktop, AFileNoCommandConvertsOffersNone) {
  TempDir dir;
  frontend::AbrirFichero dialog(Made(dir, "notas.txt", "esto no es\nningún formato\n"));
  EXPECT_EQ(dialog.commands()->count(), 0);
  EXPECT_FALSE(dialog.findChild<QPushButton*>("BtnConvertir")->isEnabled());
  EXPECT_NE(dialog.summary()->toPlainText().indexOf("Formato desconocido"), -1);
}

// Abrir offers the conversions whose data the file holds: a document with one surface and
// nothing else, the surface import only (selected, as a list of one); a Clip TRV listing its
// import and the LandXML export, which then reads it by its format.
TEST_F(Desktop, OpenOffersOnlyWhatTheFileHolds) {
  frontend::AbrirFichero surface(std::string(PASARELA_SOURCE_DIR) + "/samples/superficies/terreno.xml");
  ASSERT_EQ(surface.commands()->count(), 1);
  EXPECT_EQ(surface.commands()->item(0)->text().toStdString(), "Importar > Superficies > Importar de LandXML...");
  EXPECT_EQ(surface.commands()->currentRow(), 0);

  frontend::AbrirFichero trv(std::string(PASARELA_SOURCE_DIR) + "/samples/transversales/clip.trv");
  std::vector<std::string> offered;
  for (int row = 0; row < trv.commands()->count(); ++row) offered.push_back(trv.commands()->item(row)->text().toStdString());
  EXPECT_EQ(offered, (std::vector<std::string>{"Importar > Transversales > Importar de Clip (TRV)...",
                                               "Exportar > Transversales > Exportar a LandXML..."}));
  EXPECT_EQ(trv.sourceFormat, detect::Format::kClipTrv);

  // A conversion with no menu item shows its caption alone.
  frontend::AbrirFichero listing(std::string(PASARELA_SOURCE_DIR) + "/samples/calzada/variante-plroad.txt");
  ASSERT_EQ(listing.commands()->count(), 2);
  EXPECT_EQ(listing.commands()->item(0)->text().toStdString(), "Exportar > Ejes > Exportar a IFC...");
  EXPECT_EQ(listing.commands()->item(1)->text().toStdString(), "Importar eje de PL-Road");
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
    // The only entry there is comes selected.
    frontend::EjeSelecLandxml single("x", QStringList{"variante"});
    single.findChild<QPushButton*>("BtnAce")->click();
    EXPECT_EQ(single.itemSelec, 0);
    frontend::SeleccionCapa layer("x", QStringList{"CARAS"});
    layer.findChild<QPushButton*>("CommandAceptar")->click();
    EXPECT_EQ(layer.mCapaSeleccionada, "CARAS");
  }
  {
    frontend::EjeSelecLandxml dialog("x", lines);
    dialog.list()->clearSelection();
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

// Under es_ES every number a person reads is in one form, the one of detect::SpanishNumber:
// the summary of Fichero > Abrir..., the message box after the conversion and the view pane
// beside it (summary and the line under the cursor). The C library's own formatting under this
// locale gives "2118,971", which the grouping once cut into "21 18, 971".
TEST_F(Desktop, NumbersAreInOneFormUnderTheSpanishLocale) {
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  if (std::string(probe) != "1,5") GTEST_SKIP() << "the es_ES.UTF-8 locale is not generated here";
  ScratchWithSample scratch("ejes/variante.xml", "variante.xml");
  TempDir& dir = scratch.dir;
  frontend::Principal window;
  window.show();

  const std::string length = detect::SpanishNumber(1660, 3);
  ASSERT_EQ(length, "1\u202F660,000");
  std::string summary;
  std::string proposed;
  std::string message;
  DialogScript script({ChooseFile(scratch.source),
                       [&](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::AbrirFichero*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         summary = dialog->summary()->toPlainText().toStdString();
                         for (int row = 0; row < dialog->commands()->count(); ++row) {
                           if (dialog->commands()->item(row)->text() == "Importar > Ejes > Importar de LandXML...") {
                             dialog->commands()->setCurrentRow(row);
                           }
                         }
                         QTest::keyClick(dialog->commands(), Qt::Key_Return);
                       },
                       // The first entry comes selected: Enter takes it.
                       [](QWidget* w) {
                         auto* dialog = dynamic_cast<frontend::EjeSelecLandxml*>(w);
                         ASSERT_NE(dialog, nullptr) << w->metaObject()->className();
                         EXPECT_EQ(dialog->list()->selectedItems().size(), 1);
                         QTest::keyClick(dialog->list(), Qt::Key_Return);
                       },
                       // The proposed target carries the alignment's name.
                       [&](QWidget* w) {
                         auto* name = w->findChild<QLineEdit*>("fileNameEdit");
                         ASSERT_NE(name, nullptr);
                         proposed = name->text().toStdString();
                         name->setText(QString::fromStdString(dir.File("abierto.eje")));
                         static_cast<QDialog*>(w)->accept();
                       },
                       ReadMessage(message)});
  // Ctrl+O opens the file, whatever has the focus.
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(script.finished());
  EXPECT_EQ(proposed, "variante_variante.eje");
  EXPECT_NE(summary.find("longitud " + length + " m"), std::string::npos) << summary;
  EXPECT_EQ(message, "Pasarela|Generado correctamente fichero \n" + dir.File("abierto.eje") + "\n8 elementos, " + length + " m");

  // The view pane shows the target with the same numbers.
  view_widgets::ViewPanel* panel = window.views().panel();
  ASSERT_EQ(panel->model().kind, view::DataKind::kAlignment);
  // The pane's text as it holds it (the plain text form turns every no-break space into a blank).
  const std::string pane = panel->details()->document()->toRawText().toStdString();
  EXPECT_NE(pane.find("Longitud: " + length + " m"), std::string::npos) << pane;
  const view::Extents extents = panel->model().Drawing();
  EXPECT_NE(pane.find("Extensión: X " + detect::SpanishNumber(extents.minX, 3) + " a "), std::string::npos) << pane;
  const std::string under = panel->canvas()->DescribeAt(QPointF(panel->canvas()->width() / 2.0, 5));
  EXPECT_NE(under.find("X "), std::string::npos) << under;
  EXPECT_EQ(under.find('.'), std::string::npos) << under;
  EXPECT_NE(under.find(','), std::string::npos) << under;
}

TEST_F(Desktop, ListDialogsAcceptTheirFirstEntryAndTitlesFit) {
  frontend::EjeSelecLandxml entries("Selección de tramos desde LandXML", {"Eje 1", "Eje 2"});
  EXPECT_EQ(entries.list()->currentRow(), 0);
  emit entries.list()->itemDoubleClicked(entries.list()->item(1));
  EXPECT_EQ(entries.result(), QDialog::Accepted);
  entries.list()->setCurrentRow(1);
  emit entries.list()->itemDoubleClicked(entries.list()->item(1));
  EXPECT_EQ(entries.itemSelec, 1);

  const QString caption = "Seleccione la capa donde estan dibujadas las caras 3D";
  frontend::SeleccionCapa layers(caption, {"0", "CARAS"});
  EXPECT_EQ(layers.windowTitle(), caption);  // as the command gives it, without its accent
  EXPECT_EQ(layers.list()->currentRow(), 0);
  EXPECT_GT(layers.width(), layers.fontMetrics().horizontalAdvance(caption) + 60);
  EXPECT_TRUE(layers.findChild<QPushButton*>("CommandAceptar")->isDefault());
  layers.findChild<QPushButton*>("CommandAceptar")->click();
  EXPECT_EQ(layers.mCapaSeleccionada, "0");

  EXPECT_EQ(frontend::TargetWithEntry("/d/ejes.eje", "Eje 1: Rasante/2"), "/d/ejes_Eje_1_Rasante_2.eje");
  EXPECT_EQ(frontend::TargetWithEntry("/d/sin", "Ñandú"), "/d/sin__and_");
}
