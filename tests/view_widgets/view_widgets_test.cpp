// The desktop program's views on Qt's offscreen platform: what lies under the cursor, zoom
// about the cursor, pan, the section selector, the summary with the checks, and the main
// window's Abrir..., Recientes and log of conversions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QComboBox>
#include <QSettings>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWheelEvent>
#include <cstdlib>
#include <memory>

#include "frontend/qt/principal.h"
#include "frontend/qt/views/view_panel.h"
#include "tests/frontend/qt/private_settings.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<QApplication> application;

class WidgetsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Recent files go to a settings file of the tests, not the user's.
    testing_support::PrivateSettingsFolder();
    static int argc = 1;
    static char name[] = "view_widgets_tests";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName("pasarela-pruebas-vistas");
  }
  void TearDown() override { application.reset(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new WidgetsEnvironment);

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

std::unique_ptr<view_widgets::ViewPanel> OpenPanel(const std::string& path) {
  auto panel = std::make_unique<view_widgets::ViewPanel>();
  panel->resize(1000, 640);
  panel->show();
  std::string error;
  EXPECT_TRUE(panel->OpenFile(path, error)) << error;
  QApplication::processEvents();
  return panel;
}

TEST(ViewPanel, TellsTheSurfacesElevationUnderTheCursor) {
  auto panel = OpenPanel(Sample("superficies/terreno.xml"));
  ASSERT_EQ(panel->model().kind, view::DataKind::kSurface);
  const auto& s = panel->model().surface;
  ASSERT_FALSE(s.triangles.empty());
  // The centre of the first triangle: its elevation is the mean of its corners'.
  const auto& t = s.triangles.front();
  double x = 0, y = 0, z = 0;
  for (const int32_t corner : t) {
    x += s.points[corner].x / 3;
    y += s.points[corner].y / 3;
    z += s.points[corner].z / 3;
  }
  const std::string under = panel->canvas()->DescribeAt(panel->canvas()->projection().ToPixel(x, y));
  EXPECT_NE(under.find("  Z "), std::string::npos) << under;
  double shownZ = 0;
  const std::string zText = under.substr(under.find("  Z ") + 4);
  std::string plain;
  for (const char c : zText) {
    if (c == ',') plain += '.';
    else if ((c >= '0' && c <= '9') || c == '-') plain += c;
  }
  shownZ = std::stod(plain);
  EXPECT_NEAR(shownZ, z, 0.01 + 0.001) << under;  // to the pixel under the cursor
  const std::string outside = panel->canvas()->DescribeAt(QPointF(2, 2));
  EXPECT_NE(outside.find("fuera de la superficie"), std::string::npos) << outside;
}

TEST(ViewPanel, NamesTheElementUnderTheCursorWithItsStationRadiusAndParameter) {
  auto panel = OpenPanel(Sample("ejes/variante.eje"));
  view_widgets::ViewCanvas* canvas = panel->canvas();
  const auto& a = panel->model().alignment;
  const auto project = [&](const common::Point2& p) { return canvas->projection().ToPixel(p.x, p.y); };
  const std::string arc = canvas->DescribeAt(project(view::PointOnElement(a.elements, 2, 150).point));
  EXPECT_NE(arc.find("Curva"), std::string::npos) << arc;
  EXPECT_NE(arc.find("R 500,000"), std::string::npos) << arc;
  EXPECT_NE(arc.find("P.K. 0+62"), std::string::npos) << arc;  // 475 + 150, to a metre or so
  const std::string clothoid = canvas->DescribeAt(project(view::PointOnElement(a.elements, 1, 60).point));
  EXPECT_NE(clothoid.find("Clotoide"), std::string::npos) << clothoid;
  EXPECT_NE(clothoid.find("A 250,000  R 500,000"), std::string::npos) << clothoid;
  const std::string away = canvas->DescribeAt(QPointF(5, 5));
  EXPECT_EQ(away.rfind("X ", 0), 0u) << away;
  EXPECT_NE(panel->details()->toPlainText().indexOf("Comprobaciones: 0 errores, 0 avisos"), -1);
}

TEST(ViewPanel, WheelZoomsAboutTheCursorAndDraggingPans) {
  auto panel = OpenPanel(Sample("ejes/variante.eje"));
  view_widgets::ViewCanvas* canvas = panel->canvas();
  const QPointF at(300, 200);
  double x0 = 0;
  double y0 = 0;
  canvas->projection().ToWorld(at, x0, y0);
  const double scale = canvas->projection().scaleX;
  QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &wheel);
  EXPECT_NEAR(canvas->projection().scaleX, scale * 1.25, 1e-9);
  double x1 = 0;
  double y1 = 0;
  canvas->projection().ToWorld(at, x1, y1);
  EXPECT_NEAR(x1, x0, 1e-6);
  EXPECT_NEAR(y1, y0, 1e-6);

  const double minX = canvas->projection().minX;
  QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
  QTest::mouseMove(canvas, QPoint(350, 200));
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, QPoint(350, 200));
  EXPECT_NEAR(canvas->projection().minX, minX - 50 / canvas->projection().scaleX, 1e-6);
  // The view keeps its zoom when the window grows.
  panel->resize(1200, 700);
  QApplication::processEvents();
  EXPECT_NEAR(canvas->projection().scaleX, scale * 1.25, 1e-9);
}

TEST(ViewPanel, TheSectionSelectorShowsEachSection) {
  auto panel = OpenPanel(Sample("transversales/tramo.tra"));
  QSpinBox* selector = panel->sectionSelector();
  ASSERT_EQ(selector->maximum(), static_cast<int>(panel->model().sections.sections.size()));
  ASSERT_GE(selector->maximum(), 2);
  const QImage first = panel->canvas()->Cache().copy();
  selector->setValue(2);
  const QImage second = panel->canvas()->Cache().copy();
  EXPECT_NE(first, second);
}

// Terreno... is offered for a profile only; the ground it adds is drawn, and one that shares no
// stations leaves the view as it was.
TEST(ViewPanel, TheTerrainButtonDrawsASecondProfileAsTheGround) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("terreno.ras"), "100 600 0 0 0\n1500 605 0 0 0\n");
  testing_support::WriteFile(dir.File("lejos.ras"), "3000 600 0 0 0\n3500 605 0 0 0\n");
  auto panel = OpenPanel(Sample("rasantes/variante.ras"));
  QWidget* button = panel->findChild<QWidget*>("terreno");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  const QImage before = panel->canvas()->Cache().copy();
  std::string error;
  EXPECT_FALSE(panel->AddTerrain(dir.File("lejos.ras"), error));
  EXPECT_NE(error.find("no se solapa"), std::string::npos) << error;
  EXPECT_TRUE(panel->model().profile.terrain.empty());
  ASSERT_TRUE(panel->AddTerrain(dir.File("terreno.ras"), error)) << error;
  EXPECT_EQ(panel->model().profile.terrain.size(), 2u);
  QApplication::processEvents();
  EXPECT_NE(panel->canvas()->Cache(), before);
  std::string unused;
  ASSERT_TRUE(panel->OpenFile(Sample("ejes/variante.eje"), unused)) << unused;
  EXPECT_FALSE(button->isVisible());
}

TEST(ViewPanel, ManyPointsOpenAndTheNearestIsNamed) {
  testing_support::TempDir dir;
  std::string points;
  for (int k = 0; k < 20000; ++k) {
    points += std::to_string(k + 1) + " " + std::to_string(k % 200) + " " + std::to_string(k / 200) + " 10\n";
  }
  testing_support::WriteFile(dir.File("malla.pun"), points);
  // The window goes on handling its events while the file is read.
  auto panel = std::make_unique<view_widgets::ViewPanel>();
  panel->resize(1000, 640);
  panel->show();
  int ticks = 0;
  QTimer clock;
  QObject::connect(&clock, &QTimer::timeout, [&ticks] { ++ticks; });
  clock.start(0);
  std::string error;
  ASSERT_TRUE(panel->OpenFile(dir.File("malla.pun"), error)) << error;
  EXPECT_GT(ticks, 0);
  clock.stop();
  EXPECT_EQ(panel->model().points.points.size(), 20000u);
  const std::string near = panel->canvas()->DescribeAt(panel->canvas()->projection().ToPixel(10, 0));
  EXPECT_NE(near.find("Punto 11 "), std::string::npos) << near;
}

// A LandXML document: its entries in the selector, the first shown; choosing another reads it.
TEST(ViewPanel, TheEntrySelectorOffersEveryEntryOfALandXmlDocument) {
  auto panel = OpenPanel(std::string(PASARELA_TEST_DATA) + "/landxml/subdivision-2.0.xml");
  QComboBox* entries = panel->entrySelector();
  ASSERT_TRUE(entries->isVisible());
  ASSERT_EQ(entries->count(), 8);
  EXPECT_EQ(entries->itemText(0), "1stave (eje)");
  EXPECT_EQ(panel->model().kind, view::DataKind::kAlignment);
  entries->setCurrentIndex(7);
  emit entries->activated(7);
  ASSERT_TRUE(QTest::qWaitFor([&] { return panel->model().kind == view::DataKind::kSurface; }, 5000));
  EXPECT_EQ(entries->currentIndex(), 7);
  EXPECT_EQ(entries->count(), 8);
  EXPECT_TRUE(panel->details()->toPlainText().contains("Entrada: EG (8 de 8)"));

  // A file of one kind of data has no selector.
  std::string error;
  ASSERT_TRUE(panel->OpenFile(Sample("ejes/variante.eje"), error)) << error;
  EXPECT_FALSE(entries->isVisible());
}

TEST(MainWindow, OpensFilesRemembersThemAndLogsEveryConversion) {
  ASSERT_TRUE(testing_support::SettingsArePrivate()) << QSettings().fileName().toStdString();
  frontend::Principal window;
  window.show();
  view_widgets::WindowViews& views = window.views();
  QMenu* fileMenu = window.menuBar()->findChild<QMenu*>("ficheros");
  ASSERT_NE(fileMenu, nullptr);
  EXPECT_EQ(fileMenu->actions().front()->objectName(), "abrir");
  EXPECT_EQ(fileMenu->findChild<QMenu*>("recientes")->title(), "&Recientes");
  EXPECT_EQ(views.stack()->currentIndex(), 0);  // the road picture until something is shown

  EXPECT_FALSE(views.Show("notas.txt"));  // silently: not a kind the views show
  ASSERT_TRUE(views.Show(QString::fromStdString(Sample("rasantes/variante.ras"))));
  EXPECT_EQ(views.stack()->currentWidget(), views.panel());
  ASSERT_TRUE(views.Open(QString::fromStdString(Sample("ejes/variante.eje"))));
  EXPECT_TRUE(views.RecentFiles().front().endsWith("variante.eje"));
  EXPECT_TRUE(views.RecentFiles()[1].endsWith("variante.ras"));
  EXPECT_EQ(views.recentMenu()->actions().size(), views.RecentFiles().size());

  views.ConversionFinished("Importar de Clip...", true, QString::fromStdString(Sample("puntos/levantamiento.pun")), "");
  EXPECT_EQ(views.panel()->model().kind, view::DataKind::kPoints);
  // A LandXML target is shown too; a target of a kind the views do not show is only logged.
  views.ConversionFinished("Exportar a LandXML...", true,
                           QString::fromStdString(std::string(PASARELA_TEST_DATA) + "/landxml/M3_RS-CL.tg.xml"), "");
  EXPECT_EQ(views.panel()->model().kind, view::DataKind::kAlignment);
  views.ConversionFinished("Exportar a St.Survey...", true, QString::fromStdString(Sample("README.md")), "");
  EXPECT_EQ(views.panel()->model().kind, view::DataKind::kAlignment);
  views.ConversionFinished("Importar de Ispol...", false, "", "No existe el fichero x.txt");
  ASSERT_EQ(views.log()->count(), 4);
  EXPECT_TRUE(views.log()->item(0)->text().endsWith("Importar de Clip...: generado " +
                                                    QString::fromStdString(Sample("puntos/levantamiento.pun"))));
  EXPECT_TRUE(views.log()->item(3)->text().endsWith("Importar de Ispol...: No existe el fichero x.txt"));
}

TEST(MainWindow, AWindowWithoutItsOwnOpenItemGetsOneFromTheViews) {
  QMainWindow window;
  QMenu* fileMenu = window.menuBar()->addMenu("Fichero");
  fileMenu->addAction("&Salir");
  view_widgets::WindowViews views(window, fileMenu);
  ASSERT_EQ(fileMenu->actions().size(), 5);
  EXPECT_EQ(fileMenu->actions()[0]->text(), "&Abrir...");
  EXPECT_EQ(fileMenu->actions()[1]->menu(), views.recentMenu());
  EXPECT_EQ(fileMenu->actions()[4]->text(), "&Salir");
  EXPECT_TRUE(window.acceptDrops());
}

TEST(MainWindow, QtsOwnTextsAreSpanish) {
  if (!view_widgets::InstallSpanishQtTranslations(*application)) GTEST_SKIP() << "Qt's Spanish translations are not installed";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancelar");
  // The file dialogs' list: the kind of a folder and the date column, in Spanish with accents.
  QFileSystemModel files;
  EXPECT_EQ(files.headerData(3, Qt::Horizontal).toString(), "Última modificación");
  EXPECT_EQ(QFileIconProvider().type(QFileInfo(QString::fromUtf8(PASARELA_SOURCE_DIR))), "Carpeta");
  EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

}  // namespace
