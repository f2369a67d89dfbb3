// The checks, each on a file with its fault planted, and on the real samples.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frontend/view/checks.h"
#include "formats/dxf/dxf_surface.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }
std::string Shared(const std::string& name) { return testing_support::SharedSample(name); }

std::vector<view::Finding> CheckFile(const std::string& path) {
  view::ViewModel model;
  std::string error;
  EXPECT_TRUE(view::LoadViewFile(path, model, error)) << error;
  return view::CheckModel(model);
}

std::vector<view::Finding> CheckText(const std::string& name, const std::string& text) {
  TempDir dir;
  WriteFile(dir.File(name), text);
  return CheckFile(dir.File(name));
}

std::string Describe(const std::vector<view::Finding>& findings) {
  std::string text;
  for (const auto& f : findings) text += view::FormatFinding(f) + "\n";
  return text;
}

// Whether one finding has this level, place and a text holding `words`.
bool Has(const std::vector<view::Finding>& findings, view::Level level, const std::string& where,
         const std::string& words) {
  for (const auto& f : findings) {
    if (f.level == level && f.where == where && f.text.find(words) != std::string::npos) return true;
  }
  return false;
}

// The sample alignment with one of its lines replaced.
std::string AlignmentWith(int line, const std::string& replacement) {
  std::string text = ReadFile(Sample("ejes/variante.eje"));
  std::size_t start = 0;
  for (int k = 0; k < line; ++k) start = text.find('\n', start) + 1;
  const std::size_t end = text.find('\n', start);
  return text.replace(start, end - start, replacement);
}

TEST(AlignmentChecks, TheSampleIsSound) {
  const auto findings = CheckFile(Sample("ejes/variante.eje"));
  EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST(AlignmentChecks, PlantedFaultsAreFoundAtTheirStation) {
  using view::Level;
  // The arc start moved 5 cm east: the clothoid before it ends elsewhere.
  auto f = CheckText("a.eje", AlignmentWith(2, "475.000 442747.726 4472079.462 70.457747 0.000 500.000"));
  EXPECT_TRUE(Has(f, Level::kError, "P.K. 0+475,000", "Salto de posición de 0,05")) << Describe(f);
  // Its tangent turned by 0.01 g.
  f = CheckText("a.eje", AlignmentWith(2, "475.000 442747.676 4472079.462 70.467747 0.000 500.000"));
  EXPECT_TRUE(Has(f, Level::kError, "P.K. 0+475,000", "Salto de dirección")) << Describe(f);
  EXPECT_FALSE(Has(f, Level::kError, "P.K. 0+475,000", "Salto de posición")) << Describe(f);
  // A clothoid parameter that does not give the length: A² = 240² but L·R = 125 · 500.
  f = CheckText("a.eje", AlignmentWith(1, "350.000 442641.014 4472014.450 62.500000 240.000 500.000"));
  EXPECT_TRUE(Has(f, Level::kError, "P.K. 0+350,000", "A² = L·R")) << Describe(f);
  // Stations that go back, and an element of no length.
  f = CheckText("a.eje", "0 0 0 100 0 0\n100 100 0 100 0 0\n50 150 0 100 0 0\n50 150 0 100 0 0\n200 300 0 100 0 0\n");
  EXPECT_TRUE(Has(f, Level::kError, "P.K. 0+050,000", "no crecen")) << Describe(f);
  EXPECT_TRUE(Has(f, Level::kWarning, "P.K. 0+050,000", "longitud 0")) << Describe(f);
  EXPECT_TRUE(view::HasError(f));
  // An exit clothoid after a straight has no radius to leave.
  f = CheckText("a.eje", "0 0 0 100 0 0\n100 100 0 100 50 0\n200 200 0 100 0 0\n");
  EXPECT_TRUE(Has(f, Level::kError, "P.K. 0+100,000", "sin radio")) << Describe(f);
}

TEST(AlignmentChecks, FewerThanTwoRecordsIsAnError) {
  const auto f = CheckText("a.eje", "0 1000 2000 0 0 0\n");
  EXPECT_TRUE(view::HasError(f));
}

TEST(ProfileChecks, TheSampleIsSound) {
  const auto findings = CheckFile(Sample("rasantes/variante.ras"));
  EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST(ProfileChecks, OverlappingCurvesAndStationsThatGoBack) {
  auto f = CheckText("r.ras", "0 612.5 0 0 0\n420 618.3 3036 300 0.5\n980 603.9 4389 300 0.7\n1660 611.2 0 0 0\n");
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+980,000", "se solapan")) << Describe(f);
  // A curve that reaches back past the first vertex overlaps too.
  f = CheckText("r.ras", "0 612.5 0 0 0\n100 618.3 3036 150 0.5\n1660 611.2 0 0 0\n");
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+100,000", "se solapan")) << Describe(f);
  f = CheckText("r.ras", "0 612.5 0 0 0\n420 618.3 0 0 0\n300 611.2 0 0 0\n");
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+300,000", "no crecen")) << Describe(f);
}

TEST(ProfileChecks, SignedKvMustAgreeWithTheChangeOfGrade) {
  // Crest (grade falls) with a negative kv and sag with a negative kv: only the sag is wrong.
  auto f = CheckText("r.ras", "0 612.5 0 0 0\n420 618.3 -3036 60 0.593\n980 603.9 -4389 80 0.729\n1660 611.2 0 0 0\n");
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+980,000", "negativo en un acuerdo cóncavo")) << Describe(f);
  EXPECT_FALSE(Has(f, view::Level::kError, "P.K. 0+420,000", "Kv")) << Describe(f);
  // In a file that signs its kv, a positive kv at a crest is wrong.
  f = CheckText("r.ras", "0 612.5 0 0 0\n420 618.3 3036 60 0.593\n980 603.9 -4389 80 0.729\n1660 611.2 0 0 0\n");
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+420,000", "positivo en un acuerdo convexo")) << Describe(f);
}

TEST(SectionChecks, TheSamplesAreSound) {
  for (const char* name : {"transversales/tramo.tra"}) {
    const auto findings = CheckFile(Sample(name));
    EXPECT_FALSE(view::HasError(findings)) << name << "\n" << Describe(findings);
  }
}

TEST(SectionChecks, PlantedFaults) {
  const auto f = CheckText("t.tra",
                           "100 -5 10 A\n100 0 10 EJE\n100 5 10 B\n"
                           "120 -5 10 A\n120 5 10 B\n120 0 10 EJE\n"  // offsets out of order
                           "140 0 10 EJE\n"                            // one point only
                           "160 -5 10 A\n160 5 10 B\n"                 // no point at the axis
                           "100 -6 10 A\n100 6 10 B\n");               // station 100 again
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+120,000", "desordenadas")) << Describe(f);
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+140,000", "un solo punto")) << Describe(f);
  EXPECT_TRUE(Has(f, view::Level::kWarning, "P.K. 0+160,000", "sin punto en el eje")) << Describe(f);
  EXPECT_TRUE(Has(f, view::Level::kError, "P.K. 0+100,000", "repetido")) << Describe(f);
  EXPECT_FALSE(Has(f, view::Level::kError, "P.K. 0+160,000", "")) << Describe(f);
}

TEST(PointChecks, SampleAndRepeatedNumbers) {
  EXPECT_TRUE(CheckFile(Sample("puntos/levantamiento.pun")).empty());
  const auto f = CheckText("p.pun", "1 0 0 0 A\n2 1 0 0\n1 2 0 0 B\n1 3 0 0\n3 4 0 0\n");
  ASSERT_EQ(f.size(), 1u) << Describe(f);
  EXPECT_TRUE(Has(f, view::Level::kWarning, "punto 1", "repetido (3 veces)")) << Describe(f);
  EXPECT_TRUE(view::HasError(CheckText("p.pun", "")));
}

// A sloping terrain, so that a corner shared by two faces is one point.
double Height(double x, double y) { return 100 + 0.1 * x + 0.2 * y; }

std::string Face(double x0, double y0, double x1, double y1, double x2, double y2) {
  char text[512];
  std::snprintf(text, sizeof text,
                "  0\n3DFACE\n  8\nT\n 10\n%g\n 20\n%g\n 30\n%g\n 11\n%g\n 21\n%g\n 31\n%g\n 12\n%g\n 22\n%g\n 32\n%g\n"
                " 13\n%g\n 23\n%g\n 33\n%g\n",
                x0, y0, Height(x0, y0), x1, y1, Height(x1, y1), x2, y2, Height(x2, y2), x2, y2, Height(x2, y2));
  return text;
}

std::string Drawing(const std::string& faces) { return "  0\nSECTION\n  2\nENTITIES\n" + faces + "  0\nENDSEC\n  0\nEOF\n"; }

TEST(SurfaceChecks, TheSampleSurfaceIsSound) {
  TempDir dir;
  ASSERT_GT(planimetro::surface::ImportDxfSurface(Sample("superficies/terreno-caras.dxf"), "TERRENO", dir.File("t.sup")), 0);
  const auto findings = CheckFile(dir.File("t.sup"));
  EXPECT_TRUE(findings.empty()) << Describe(findings);
}

TEST(SurfaceChecks, PlantedFaults) {
  // Two sound triangles, a third and a fourth on their shared edge, a flat one, and a corner
  // half a millimetre from another.
  const auto f = CheckText("s.dxf", Drawing(Face(0, 0, 10, 0, 0, 10) + Face(10, 0, 10, 10, 0, 10) +
                                            Face(10, 0, 0, 10, 20, 20) + Face(0, 10, 10, 0, -5, -5) +
                                            Face(0, 0, 5, 5, 10, 10) + Face(30, 30, 40, 30, 30, 40) + Face(40.0005, 30, 40, 40, 30, 40)));
  EXPECT_TRUE(Has(f, view::Level::kError, "puntos 2 y 3", "compartida por 4")) << Describe(f);
  // The flat face has no area: the import leaves it out, and so do the view and the check.
  EXPECT_TRUE(Has(f, view::Level::kError, "", "1 caras del dibujo no tienen tres vértices distintos o no tienen área"))
      << Describe(f);
  EXPECT_FALSE(Has(f, view::Level::kError, "triángulo 1", "")) << Describe(f);
  bool repeated = false;
  for (const auto& finding : f) repeated |= finding.text.find("Punto repetido") != std::string::npos;
  EXPECT_TRUE(repeated) << Describe(f);
}

// A face of four distinct corners, on layer T.
std::string Quad(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3) {
  char text[512];
  std::snprintf(text, sizeof text,
                "  0\n3DFACE\n  8\nT\n 10\n%g\n 20\n%g\n 30\n%g\n 11\n%g\n 21\n%g\n 31\n%g\n 12\n%g\n 22\n%g\n 32\n%g\n"
                " 13\n%g\n 23\n%g\n 33\n%g\n",
                x0, y0, Height(x0, y0), x1, y1, Height(x1, y1), x2, y2, Height(x2, y2), x3, y3, Height(x3, y3));
  return text;
}

// The view and the check of a drawing read its faces as the surface import does: what the
// import takes (here two triangles and two quads split in two) is what they show, and the
// faces it leaves out (a quad whose sides cross) are a fault they report.
TEST(SurfaceChecks, DrawingFacesAreTheTrianglesTheSurfaceImportTakes) {
  TempDir dir;
  WriteFile(dir.File("mixed.dxf"), Drawing(Face(0, 0, 10, 0, 0, 10) + Quad(20, 0, 30, 0, 30, 10, 20, 10) +
                                           Face(10, 0, 10, 10, 0, 10) + Quad(40, 0, 50, 0, 50, 10, 40, 10) +
                                           Quad(60, 0, 70, 10, 70, 0, 60, 10)));
  const long written = planimetro::surface::ImportDxfSurface(dir.File("mixed.dxf"), "T", dir.File("mixed.sup"));
  ASSERT_GT(written, 0);
  view::ViewModel drawing;
  view::ViewModel surface;
  std::string error;
  ASSERT_TRUE(view::LoadViewFile(dir.File("mixed.dxf"), drawing, error)) << error;
  ASSERT_TRUE(view::LoadViewFile(dir.File("mixed.sup"), surface, error)) << error;
  ASSERT_EQ(drawing.kind, view::DataKind::kSurface);
  EXPECT_EQ(drawing.surface.triangles.size(), 6u);
  EXPECT_EQ(surface.surface.triangles.size(), drawing.surface.triangles.size());
  EXPECT_EQ(drawing.surface.points.size(), surface.surface.points.size());
  const auto findings = view::CheckModel(drawing);
  EXPECT_TRUE(Has(findings, view::Level::kError, "", "1 caras del dibujo tienen cuatro vértices con lados que se cruzan"))
      << Describe(findings);

  // Faces whose sides cross only: the import finds no triangle, and neither do the view and check.
  WriteFile(dir.File("quads.dxf"), Drawing(Quad(20, 0, 30, 10, 30, 0, 20, 10)));
  EXPECT_EQ(planimetro::surface::ImportDxfSurface(dir.File("quads.dxf"), "T", dir.File("quads.sup")), 0);
  ASSERT_TRUE(view::LoadViewFile(dir.File("quads.dxf"), drawing, error)) << error;
  EXPECT_TRUE(drawing.surface.triangles.empty());
  const auto quads = view::CheckModel(drawing);
  EXPECT_TRUE(Has(quads, view::Level::kError, "", "1 caras del dibujo tienen cuatro vértices con lados que se cruzan"))
      << Describe(quads);
  EXPECT_TRUE(Has(quads, view::Level::kError, "", "ningún triángulo")) << Describe(quads);
}

TEST(SurfaceChecks, UnusedPointsAndBadIndices) {
  std::vector<view::SurfacePoint> points = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}};
  view::SurfaceView surface;
  view::BuildSurfaceView(points, {{0, 1, 2}, {0, 1, 9}}, surface);
  const auto f = view::CheckSurface(surface);
  EXPECT_TRUE(Has(f, view::Level::kWarning, "punto 4", "sin triángulos")) << Describe(f);
  EXPECT_TRUE(Has(f, view::Level::kError, "triángulo 2", "no es un punto")) << Describe(f);
}

TEST(Checks, AFileFullOfOneFaultGivesFiftyLinesAndACount) {
  std::string text;
  for (int k = 0; k < 200; ++k) text += "7 " + std::to_string(k) + " 0 0\n";
  const auto f = CheckText("p.pun", "7 0 0 0\n" + text);
  ASSERT_EQ(f.size(), 1u) << Describe(f);  // one number, repeated 201 times
  std::string many;
  for (int k = 0; k < 120; ++k) many += "100 " + std::to_string(k) + " 0\n";  // one section...
  for (int k = 0; k < 120; ++k) {  // ...and 120 without a point at the axis
    many += std::to_string(200 + 10 * k) + " -5 0\n" + std::to_string(200 + 10 * k) + " 5 0\n";
  }
  const auto g = CheckText("t.tra", many);
  EXPECT_EQ(g.size(), 51u) << Describe(g);
  EXPECT_EQ(g.back().text, "y 70 más del mismo tipo");
}

// The drawings of other programs in the shared samples, read through the same readers. The
// faces of a drawing are read as the surface import reads them: the egg's four-corner faces
// are split in two triangles and its corners closer than a millimetre become one, so its
// surface has the faults of the one the import writes; the polyline drawing's only face has
// four corners, split in two. 3dface.dxf draws lines with 16 of its 3D faces (two distinct
// corners once cleaned) and has a flat triangle: those are its errors.
TEST(SharedSamples, DrawingsGiveNoErrorsExceptWhereTheyHaveOne) {
  if (!testing_support::FileExists(Shared("dxf/3dface.dxf"))) GTEST_SKIP() << "no shared samples";
  {
    const auto findings = CheckFile(Shared("dxf/Leica_Disto_S910.dxf"));
    EXPECT_FALSE(view::HasError(findings)) << Describe(findings);
  }
  TempDir dir;
  EXPECT_GT(planimetro::surface::ImportDxfSurface(Shared("dxf/PinkEggFromLW.dxf"), "0", dir.File("egg.sup")), 0);
  EXPECT_TRUE(view::HasError(CheckFile(dir.File("egg.sup"))));
  EXPECT_TRUE(view::HasError(CheckFile(Shared("dxf/PinkEggFromLW.dxf"))));
  EXPECT_EQ(planimetro::surface::ImportDxfSurface(Shared("dxf/POLI-ALL210_12.DXF"), "0", dir.File("poli.sup")), 2);
  const auto polylines = CheckFile(Shared("dxf/POLI-ALL210_12.DXF"));
  EXPECT_FALSE(Has(polylines, view::Level::kError, "", "cuatro vértices")) << Describe(polylines);
  // The point shapefiles: their tables have no field NUMERO; the points are numbered by the
  // identifier field or by record, so they give no error.
  for (const char* name : {"shapefile/3dpoints.shp", "shapefile/masspntz.shp"}) {
    const auto findings = CheckFile(Shared(name));
    EXPECT_FALSE(view::HasError(findings)) << name << "\n" << Describe(findings);
  }
  const auto findings = CheckFile(Shared("dxf/3dface.dxf"));
  ASSERT_TRUE(view::HasError(findings));
  for (const auto& f : findings) {
    if (f.level != view::Level::kError) continue;
    EXPECT_TRUE(f.text == "16 caras del dibujo no tienen tres vértices distintos o no tienen área" ||
                f.text.rfind("Triángulo degenerado", 0) == 0)
        << f.text;
  }
}

}  // namespace
