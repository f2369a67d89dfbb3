// The renderer judged by its pixels: an alignment drawn at a known size passes through the
// projected start, middle and end of every element and draws nothing farther than 2 px from
// the true curve; the other views, the SVG picture and the PDF report are not blank.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/clothoid.h"
#include "frontend/detect/spanish_numbers.h"
#include "frontend/qt/views/drawing.h"
#include "formats/dxf/dxf_surface.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;

std::unique_ptr<QGuiApplication> application;

// Qt's GUI on the offscreen platform, deleted when the tests end.
class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "view_drawing_tests";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { application.reset(); }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

view::ViewModel Load(const std::string& path) {
  view::ViewModel model;
  std::string error;
  EXPECT_TRUE(view::LoadViewFile(path, model, error)) << error;
  return model;
}

// A pixel counts as drawn when it is clearly not the white ground.
bool Drawn(QRgb pixel, int threshold = 235) {
  return qRed(pixel) < threshold || qGreen(pixel) < threshold || qBlue(pixel) < threshold;
}

// Share of drawn pixels; a blank or a black image is not a drawing.
double DrawnShare(const QImage& image) {
  long drawn = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) drawn += Drawn(image.pixel(x, y)) ? 1 : 0;
  }
  return static_cast<double>(drawn) / (static_cast<double>(image.width()) * image.height());
}

void ExpectARealDrawing(const QImage& image, const char* what) {
  ASSERT_FALSE(image.isNull()) << what;
  const double share = DrawnShare(image);
  EXPECT_GT(share, 0.0005) << what << " is blank";
  EXPECT_LT(share, 0.9) << what << " is all ink";
}

// The true alignment, element by element, from the clothoid and circle formulas of common/,
// every 5 cm.
std::vector<common::Point2> TrueCurve(const std::vector<common::AlignmentElement>& e) {
  std::vector<common::Point2> points;
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    const double length = e[i + 1].station - e[i].station;
    const common::Point2 start{e[i].x, e[i].y};
    for (double d = 0; d <= length + 1e-9; d += 0.05) {
      if (e[i].kind == common::kClothoid) {
        points.push_back(common::PointOnClothoid(common::ClothoidOfElement(e[i], i > 0 ? e[i - 1].radius : 0), d).point);
      } else if (e[i].kind == common::kArc) {
        // Around the centre, a radius to the right (left for a negative radius); seen from it
        // the start lies at the azimuth less a quarter circle, whatever the sign.
        const common::Point2 centre = common::PointAlong(start, e[i].radius, e[i].azimuth + 100);
        const double angle = (e[i].azimuth - 100 + d / e[i].radius * common::kGradsPerRadian);
        points.push_back(common::PointAlong(centre, e[i].radius, angle));
      } else {
        points.push_back(common::PointAlong(start, d, e[i].azimuth));
      }
    }
  }
  return points;
}

// Every drawn pixel of the plan lies within 2 px of the true curve, and the start, middle and
// end of every element are drawn.
void ExpectPlanOnTheTrueCurve(const view::ViewModel& model) {
  ASSERT_EQ(model.kind, view::DataKind::kAlignment);
  ASSERT_GE(model.alignment.elements.size(), 2u);
  view_drawing::DrawOptions options;
  options.labels = false;
  options.curvature = false;
  const QSize size(900, 560);
  const QImage image = view_drawing::RenderImage(model, size, options);
  ExpectARealDrawing(image, "plan");
  const view_drawing::Projection projection =
      view_drawing::ModelProjection(model, QRectF(0, 0, size.width(), size.height()), options);

  // Pixels within 2 px of the true curve.
  std::vector<char> near(static_cast<std::size_t>(size.width()) * size.height(), 0);
  for (const common::Point2& p : TrueCurve(model.alignment.elements)) {
    const QPointF at = projection.ToPixel(p.x, p.y);
    for (int y = static_cast<int>(at.y()) - 3; y <= static_cast<int>(at.y()) + 3; ++y) {
      for (int x = static_cast<int>(at.x()) - 3; x <= static_cast<int>(at.x()) + 3; ++x) {
        if (x < 0 || y < 0 || x >= size.width() || y >= size.height()) continue;
        if (std::hypot(x + 0.5 - at.x(), y + 0.5 - at.y()) <= 2.0) near[y * size.width() + x] = 1;
      }
    }
  }
  long stray = 0;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      if (Drawn(image.pixel(x, y)) && !near[y * size.width() + x]) ++stray;
    }
  }
  EXPECT_EQ(stray, 0) << "pixels drawn farther than 2 px from the alignment";

  // The start, the middle and the end of every element are drawn.
  const auto& e = model.alignment.elements;
  auto drawnNear = [&](const common::Point2& p) {
    const QPointF at = projection.ToPixel(p.x, p.y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        const int x = static_cast<int>(at.x()) + dx;
        const int y = static_cast<int>(at.y()) + dy;
        if (x >= 0 && y >= 0 && x < size.width() && y < size.height() && Drawn(image.pixel(x, y), 160)) return true;
      }
    }
    return false;
  };
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    const double length = e[i + 1].station - e[i].station;
    EXPECT_TRUE(drawnNear({e[i].x, e[i].y})) << "start of element " << i;
    EXPECT_TRUE(drawnNear(view::PointOnElement(e, i, length / 2).point)) << "middle of element " << i;
    EXPECT_TRUE(drawnNear({e[i + 1].x, e[i + 1].y})) << "end of element " << i;
  }
}

TEST(PlanPixels, EveryDrawnPixelLiesOnTheTrueCurveAndEveryElementIsDrawn) {
  ExpectPlanOnTheTrueCurve(Load(Sample("ejes/variante.eje")));
}

// The same for alignments read from LandXML documents of other programs: lines and arcs
// turning both ways (M3_RS-CL), clothoids into and out of arcs (A Kolu).
TEST(PlanPixels, AnAlignmentReadFromLandXmlIsDrawnOnItsTrueCurve) {
  const std::string folder = std::string(PASARELA_TEST_DATA) + "/landxml/";
  for (const char* name : {"M3_RS-CL.tg.xml", "A Kolu Güzergah.xml"}) {
    SCOPED_TRACE(name);
    ExpectPlanOnTheTrueCurve(Load(folder + name));
  }
}

TEST(PlanPixels, AZoomedViewDrawsWhatItsProjectionShows) {
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  view_drawing::DrawOptions options;
  options.labels = false;
  options.curvature = false;
  options.useProjection = true;
  // 2 px per metre around the middle of the arc from station 475.
  const view::StationPoint middle = view::PointOnElement(model.alignment.elements, 2, 150);
  options.projection.area = QRectF(0, 0, 400, 300);
  options.projection.scaleX = options.projection.scaleY = 2.0;
  options.projection.minX = middle.point.x - 100;
  options.projection.minY = middle.point.y - 75;
  const QImage image = view_drawing::RenderImage(model, QSize(400, 300), options);
  ExpectARealDrawing(image, "zoomed plan");
  EXPECT_TRUE(Drawn(image.pixel(200, 150), 160) || Drawn(image.pixel(199, 150), 160) ||
              Drawn(image.pixel(200, 149), 160) || Drawn(image.pixel(199, 149), 160));
  double x = 0;
  double y = 0;
  options.projection.ToWorld(QPointF(200, 150), x, y);
  EXPECT_NEAR(x, middle.point.x, 1e-9);
  EXPECT_NEAR(y, middle.point.y, 1e-9);
}

TEST(OtherViews, LongSectionFollowsItsCurves) {
  const view::ViewModel model = Load(Sample("rasantes/variante.ras"));
  view_drawing::DrawOptions options;
  options.labels = false;
  const QSize size(1000, 500);
  const QImage image = view_drawing::RenderImage(model, size, options);
  ExpectARealDrawing(image, "long section");
  const auto projection = view_drawing::ModelProjection(model, QRectF(0, 0, 1000, 500), options);
  for (double station : {100.0, 400.0, 420.0, 440.0, 700.0, 980.0, 1500.0}) {
    const QPointF at = projection.ToPixel(station, view::ProfileElevation(model.profile.vertices, station));
    bool drawn = false;
    for (int dy = -1; dy <= 1; ++dy) drawn |= Drawn(image.pixel(static_cast<int>(at.x()), static_cast<int>(at.y()) + dy), 160);
    EXPECT_TRUE(drawn) << station;
  }
}

TEST(OtherViews, SurfaceTrianglesAreShadedByTheirElevation) {
  TempDir dir;
  ASSERT_GT(planimetro::surface::ImportDxfSurface(Sample("superficies/terreno-caras.dxf"), "TERRENO", dir.File("t.sup")), 0);
  const view::ViewModel model = Load(dir.File("t.sup"));
  view_drawing::DrawOptions options;
  options.labels = false;
  const QSize size(800, 600);
  const QImage image = view_drawing::RenderImage(model, size, options);
  ExpectARealDrawing(image, "surface");
  const auto projection = view_drawing::ModelProjection(model, QRectF(0, 0, 800, 600), options);
  const view::SurfaceView& s = model.surface;
  for (const auto& t : s.triangles) {
    const double x = (s.points[t[0]].x + s.points[t[1]].x + s.points[t[2]].x) / 3;
    const double y = (s.points[t[0]].y + s.points[t[1]].y + s.points[t[2]].y) / 3;
    const double z = (s.points[t[0]].z + s.points[t[1]].z + s.points[t[2]].z) / 3;
    const QPointF at = projection.ToPixel(x, y);
    const QColor expected = view_drawing::ElevationColour(z, s.minZ, s.maxZ);
    const QColor drawn = image.pixelColor(static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_NEAR(drawn.red(), expected.red(), 2);
    EXPECT_NEAR(drawn.green(), expected.green(), 2);
    EXPECT_NEAR(drawn.blue(), expected.blue(), 2);
  }
}

// Past 20 000 triangles or points the renderer paints them pixel by pixel: a dense mesh
// leaves no pixel of its inside unpainted, each pixel takes its triangle's colour, and every
// point is drawn in its pixel.
TEST(OtherViews, ManyTrianglesAndPointsArePaintedWithoutHoles) {
  view::ViewModel model;
  model.kind = view::DataKind::kSurface;
  std::vector<view::SurfacePoint> points;
  const int side = 151;  // 150 x 150 squares, two triangles each: 45 000 triangles
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) points.push_back({1000.0 + i, 2000.0 + j, 100.0 + i * 0.1});
  }
  std::vector<std::array<int32_t, 3>> triangles;
  for (int j = 0; j + 1 < side; ++j) {
    for (int i = 0; i + 1 < side; ++i) {
      const int32_t a = j * side + i;
      triangles.push_back({a, a + 1, a + side + 1});
      triangles.push_back({a, a + side + 1, a + side});
    }
  }
  view::BuildSurfaceView(points, triangles, model.surface);
  view_drawing::DrawOptions options;
  options.labels = false;
  const QSize size(500, 400);  // about 2.5 pixels to a square: no edges drawn
  const QImage image = view_drawing::RenderImage(model, size, options);
  const auto projection = view_drawing::ModelProjection(model, QRectF(0, 0, size.width(), size.height()), options);
  const QPointF low = projection.ToPixel(1000.5, 2000.5);
  const QPointF high = projection.ToPixel(1149.5, 2149.5);
  long unpainted = 0;
  for (int y = static_cast<int>(high.y()) + 1; y < static_cast<int>(low.y()); ++y) {
    for (int x = static_cast<int>(low.x()) + 1; x < static_cast<int>(high.x()); ++x) {
      unpainted += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
    }
  }
  EXPECT_EQ(unpainted, 0);
  for (const double x : {1000.5, 1075.5, 1149.5}) {
    const QPointF at = projection.ToPixel(x, 2075.5);
    const QColor expected = view_drawing::ElevationColour(100.0 + (x - 1000.0) * 0.1, 100.0, 115.0);
    const QColor drawn = image.pixelColor(static_cast<int>(at.x()), static_cast<int>(at.y()));
    EXPECT_NEAR(drawn.red(), expected.red(), 3) << x;
    EXPECT_NEAR(drawn.green(), expected.green(), 3) << x;
    EXPECT_NEAR(drawn.blue(), expected.blue(), 3) << x;
  }

  // A point far away on one more triangle: that triangle spans the picture many times over
  // and is clipped to it before it becomes pixels.
  points.push_back({1e17, 2000.0, 100.0});
  triangles.push_back({0, side - 1, static_cast<int32_t>(points.size() - 1)});
  view::ViewModel outlier;
  outlier.kind = view::DataKind::kSurface;
  view::BuildSurfaceView(points, triangles, outlier.surface);
  EXPECT_FALSE(view_drawing::RenderImage(outlier, size, options).isNull());

  view::ViewModel many;
  many.kind = view::DataKind::kPoints;
  std::vector<common::NativePoint> scattered;
  for (long k = 0; k < 30000; ++k) {
    common::NativePoint point;
    point.number = static_cast<int32_t>(k + 1);
    point.x = 500.0 + static_cast<double>(k * 7919 % 30011) * 0.01;
    point.y = 800.0 + static_cast<double>(k * 104729 % 29989) * 0.01;
    scattered.push_back(point);
  }
  view::BuildPointsView(scattered, many.points);
  const QImage dots = view_drawing::RenderImage(many, size, options);
  const auto dotProjection = view_drawing::ModelProjection(many, QRectF(0, 0, size.width(), size.height()), options);
  long missing = 0;
  for (const common::NativePoint& point : many.points.points) {
    const QPointF at = dotProjection.ToPixel(point.x, point.y);
    missing += Drawn(dots.pixel(std::min(static_cast<int>(at.x()), size.width() - 1),
                                std::min(static_cast<int>(at.y()), size.height() - 1)))
                   ? 0
                   : 1;
  }
  EXPECT_EQ(missing, 0);
}

TEST(OtherViews, SectionsPointsAndSuperelevationAreDrawn) {
  TempDir dir;
  testing_support::WriteFile(dir.File("p.per"), "   0.000  2.000 -2.000\n 100.000  4.000 -4.000\n 200.000  2.000 -2.000\n");
  for (const std::string& path : {Sample("transversales/tramo.tra"), Sample("puntos/levantamiento.pun"), dir.File("p.per")}) {
    const view::ViewModel model = Load(path);
    view_drawing::DrawOptions options;
    ExpectARealDrawing(view_drawing::RenderImage(model, QSize(800, 500), options), path.c_str());
    options.section = 1;
    ExpectARealDrawing(view_drawing::RenderImage(model, QSize(800, 500), options), path.c_str());
  }
}

TEST(Files, SvgAndPngPicturesAndAPdfWhoseFirstPageIsNotBlank) {
  TempDir dir;
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  std::string error;
  ASSERT_TRUE(view_drawing::SaveDrawing(model, dir.File("eje.png"), QSize(640, 400), {}, error)) << error;
  const QImage png(QString::fromStdString(dir.File("eje.png")));
  EXPECT_EQ(png.size(), QSize(640, 400));
  ExpectARealDrawing(png, "png");
  ASSERT_TRUE(view_drawing::SaveDrawing(model, dir.File("eje.svg"), QSize(640, 400), {}, error)) << error;
  const std::string svg = testing_support::ReadFile(dir.File("eje.svg"));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("<polyline"), std::string::npos);
  EXPECT_FALSE(view_drawing::SaveDrawing(model, dir.File("eje.bmp"), QSize(640, 400), {}, error));
  EXPECT_NE(error.find(".png o .svg"), std::string::npos);
  EXPECT_FALSE(view_drawing::SaveDrawing(model, dir.File("falta/eje.png"), QSize(640, 400), {}, error));

  ASSERT_TRUE(view_drawing::WriteReport(model, view::CheckModel(model), dir.File("informe.pdf"), error)) << error;
  std::string output;
  const int status = testing_support::RunCommand(
      "pdftoppm -r 40 -png -f 1 -l 1 '" + dir.File("informe.pdf") + "' '" + dir.File("pagina") + "' 2>&1", output);
  if (status == 127) GTEST_SKIP() << "pdftoppm is not installed";
  ASSERT_EQ(status, 0) << output;
  const QImage page(QString::fromStdString(dir.File("pagina-1.png")));
  ExpectARealDrawing(page, "first page of the report");
  EXPECT_FALSE(view_drawing::WriteReport(model, {}, dir.File("falta/informe.pdf"), error));
}

TEST(Files, RecordTablesHaveAHeaderAndOneRowPerRecord) {
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  const auto rows = view_drawing::RecordTable(model, 100);
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0][1], "Tipo");
  EXPECT_EQ(rows[2][1], "clotoide");
  EXPECT_EQ(rows[2][7], "250,000");
  EXPECT_EQ(rows[9][1], "final");
  EXPECT_EQ(view_drawing::RecordTable(model, 3).size(), 5u);  // the header, and one row past the limit
}

}  // namespace

namespace {

view::ViewModel LoadEntry(const std::string& path, const std::string& entry) {
  view::ViewModel model;
  std::string error;
  EXPECT_TRUE(view::LoadViewFile(path, entry, model, error)) << error;
  return model;
}

// Whether a pixel is of the grade line (blue on its tangents, red on its vertical curves).
bool OnGradeLine(QRgb pixel) {
  const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
  const bool blue = b > 150 && r < 110 && g < 150;
  const bool red = r > 150 && g < 90 && b < 90;
  return blue || red;
}

// Every label box inside the drawing and no two of them overlapping.
void ExpectLabelsInsideAndApart(const std::vector<QRectF>& boxes, const QRectF& frame, const std::string& what) {
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_TRUE(frame.contains(boxes[i])) << what << ": label " << i << " is cut";
    for (std::size_t k = i + 1; k < boxes.size(); ++k) {
      const QRectF both = boxes[i].intersected(boxes[k]);
      EXPECT_FALSE(both.width() > 0.01 && both.height() > 0.01) << what << ": labels " << i << " and " << k;
    }
  }
}

}  // namespace

// The long section as drawn for a road: the profile fills at least 40 % of the drawing's
// height (the exaggeration is chosen for it) and no two labels overlap or leave the drawing,
// at the sizes of the command line, the report and a small desktop pane.
TEST(LongSection, FillsTheDrawingAndNoTwoLabelsOverlap) {
  const std::vector<view::ViewModel> models = {
      Load(Sample("rasantes/variante.ras")),
      LoadEntry(std::string(PASARELA_TEST_DATA) + "/landxml/M3_RS-CL.tg.xml", "2"),
  };
  for (const view::ViewModel& model : models) {
    ASSERT_EQ(model.kind, view::DataKind::kProfile);
    for (const QSize size : {QSize(1600, 1000), QSize(1200, 700), QSize(700, 420)}) {
      std::vector<QRectF> boxes;
      view_drawing::DrawOptions options;
      options.labelBoxes = &boxes;
      const QImage image = view_drawing::RenderImage(model, size, options);
      const std::string what = model.path + " " + std::to_string(size.width()) + "x" + std::to_string(size.height());
      ASSERT_GT(boxes.size(), 20u) << what;
      const QRectF frame(0, 0, size.width(), size.height());
      ExpectLabelsInsideAndApart(boxes, frame, what);
      // The rows of the grade line, above the band.
      const QRectF area = view_drawing::DrawingArea(model, frame, options);
      int top = size.height();
      int bottom = -1;
      for (int y = 0; y <= static_cast<int>(area.bottom()); ++y) {
        for (int x = static_cast<int>(area.left()); x < static_cast<int>(area.right()); ++x) {
          if (!OnGradeLine(image.pixel(x, y))) continue;
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
      }
      EXPECT_GE(bottom - top, 0.4 * size.height()) << what << ": the profile spans rows " << top << " to " << bottom;
    }
  }
}

TEST(LongSection, TheExaggerationIsRoundOrTheOneAsked) {
  const view::ViewModel model = Load(Sample("rasantes/variante.ras"));
  view_drawing::DrawOptions options;
  const QRectF target(0, 0, 1600, 1000);
  const double chosen = view_drawing::LongSectionExaggeration(model, target, options);
  double mantissa = chosen / std::pow(10.0, std::floor(std::log10(chosen)));
  EXPECT_TRUE(std::fabs(mantissa - std::round(mantissa * 2) / 2) < 1e-9 || std::fabs(mantissa - 2.5) < 1e-9) << chosen;
  EXPECT_GT(chosen, 10.0);  // a road's profile: far flatter than long
  const auto projection = view_drawing::ModelProjection(model, target, options);
  EXPECT_NEAR(projection.scaleY / projection.scaleX, chosen, 1e-9);
  options.exaggeration = 10;
  EXPECT_EQ(view_drawing::LongSectionExaggeration(model, target, options), 10.0);
}

// The report's table is as wide as its contents: eight-digit eastings and their northings stay
// apart, every page of the table starts with its header, and the numbers are the reader's.
TEST(Files, ReportTableColumnsFitTheirContents) {
  std::string output;
  if (testing_support::RunCommand("command -v pdftotext >/dev/null", output) != 0) GTEST_SKIP() << "no pdftotext";
  TempDir dir;
  const view::ViewModel model = LoadEntry(std::string(PASARELA_TEST_DATA) + "/landxml/M3_RS-CL.tg.xml", "1");
  std::string error;
  ASSERT_TRUE(view_drawing::WriteReport(model, view::CheckModel(model), dir.File("informe.pdf"), error)) << error;
  ASSERT_EQ(testing_support::RunCommand("pdftotext -layout " + testing_support::Quoted(dir.File("informe.pdf")) + " -", output), 0);
  // The text of a PDF gives its narrow spaces back as blanks.
  const auto blanks = [](std::string text) {
    for (const char* narrow : {"\u202F", "\u00A0"}) {
      for (std::size_t k = text.find(narrow); k != std::string::npos; k = text.find(narrow, k)) text.replace(k, std::string(narrow).size(), " ");
    }
    return text;
  };
  output = blanks(output);
  const std::string x = blanks(detect::SpanishNumber(model.alignment.elements.front().x, 3));
  const std::string y = blanks(detect::SpanishNumber(model.alignment.elements.front().y, 3));
  const std::size_t at = output.find(x, output.find("Tabla"));
  ASSERT_NE(at, std::string::npos) << output;
  const std::size_t next = output.find(y, at);
  ASSERT_NE(next, std::string::npos) << output;
  EXPECT_GE(next - (at + x.size()), 2u) << output.substr(at, 80);
  EXPECT_EQ(output.substr(at + x.size(), next - at - x.size()).find_first_not_of(' '), std::string::npos);
  std::size_t headers = 0;
  for (std::size_t k = output.find("Parámetro"); k != std::string::npos; k = output.find("Parámetro", k + 1)) ++headers;
  EXPECT_GE(headers, 2u) << "the table's second page starts with its header";
}

// The plans (with their grid, north arrow and scale bar) and the cross sections (with their
// axes) keep their labels apart and inside the picture too; a plan's station labels stay clear
// of the line.
TEST(Labels, PlansAndSectionsKeepTheirLabelsApart) {
  const std::vector<view::ViewModel> models = {
      Load(Sample("ejes/variante.eje")),
      LoadEntry(std::string(PASARELA_TEST_DATA) + "/landxml/M3_RS-CL.tg.xml", "1"),
      Load(Sample("transversales/tramo.tra")),
      Load(Sample("puntos/levantamiento.pun")),
  };
  for (const view::ViewModel& model : models) {
    for (const QSize size : {QSize(1600, 1000), QSize(800, 500)}) {
      std::vector<QRectF> boxes;
      view_drawing::DrawOptions options;
      options.labelBoxes = &boxes;
      const QImage image = view_drawing::RenderImage(model, size, options);
      const std::string what = model.path + " " + std::to_string(size.width());
      EXPECT_GT(boxes.size(), 5u) << what;
      const QRectF frame(0, 0, size.width(), size.height());
      ExpectLabelsInsideAndApart(boxes, frame, what);
      if (model.kind != view::DataKind::kAlignment) continue;
      // No station's point of the line inside a label's box: the labels lie beside the road,
      // not across it.
      const auto projection = view_drawing::ModelProjection(model, frame, options);
      std::size_t crossed = 0;
      for (const auto& tick : model.alignment.ticks) {
        const QPointF at = projection.ToPixel(tick.at.point.x, tick.at.point.y);
        for (const QRectF& box : boxes) {
          if (box.contains(at)) ++crossed;
        }
      }
      EXPECT_EQ(crossed, 0u) << what;
    }
  }
}
