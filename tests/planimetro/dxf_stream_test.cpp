// A drawing read as a stream gives the same groups as the same drawing held whole: line ends,
// values longer than a piece, chunk borders and groups put back included.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "common/text_input.h"
#include "common/text_output.h"
#include "planimetro.h"
#include "formats/dxf/dxf_conversions.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/dxf/dxf_surface.h"
#include "formats/native/surface_model.h"
#include "support/test_support.h"

namespace {

using namespace planimetro::dxf;

// Every group of `file`, putting back (and reading again) each one `putBack` picks.
std::vector<std::pair<int, std::string>> AllGroups(DxfFile& file, std::mt19937& putBack) {
  std::vector<std::pair<int, std::string>> groups;
  DxfGroup group;
  while (file.ReadGroup(group)) {
    groups.emplace_back(group.code, std::string(group.value));
    if (putBack() % 3 == 0) {
      file.UnreadGroup();
      file.UnreadGroup();  // twice is once
      if (!file.ReadGroup(group)) break;
      groups.emplace_back(group.code, std::string(group.value));
    }
  }
  return groups;
}

TEST(DxfStream, GroupsAreThoseOfTheWholeText) {
  std::mt19937 random(9);
  std::string text;
  for (int i = 0; i < 40000; ++i) {
    const std::string code = std::to_string(random() % 40);
    std::string value(random() % 12, 'a' + static_cast<char>(random() % 26));
    if (i % 997 == 0) value.assign(700, 'L');  // arrives in pieces
    const char* ends[] = {"\n", "\r\n", "\r\n", "\r"};
    text += code + ends[random() % 4] + value + ends[random() % 3];
  }
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("d.dxf"), text);

  DxfFile whole;
  ASSERT_TRUE(whole.Open(dir.File("d.dxf")));
  DxfFile streamed;
  ASSERT_TRUE(streamed.OpenStreamed(dir.File("d.dxf")));
  std::mt19937 first(4);
  std::mt19937 second(4);
  const auto expected = AllGroups(whole, first);
  EXPECT_GT(expected.size(), 40000u);
  EXPECT_EQ(AllGroups(streamed, second), expected);
  EXPECT_FALSE(streamed.failed());

  DxfFile missing;
  EXPECT_FALSE(missing.OpenStreamed(dir.File("no-existe.dxf")));
  DxfFile folder;
  EXPECT_FALSE(folder.OpenStreamed(dir.File("")));
}

TEST(DxfStream, PuttingBackBeforeAnyGroupChangesNothing) {
  DxfFile file("0\nPOINT\n10\n1.5\n");
  file.UnreadGroup();
  DxfGroup group;
  ASSERT_TRUE(file.ReadGroup(group));
  EXPECT_EQ(group.code, 0);
  EXPECT_EQ(group.value, "POINT");
}

// Faces whose corners are not on the three-decimal grid: the surface built in memory keeps the
// coordinates as the triangle text has always carried them.
TEST(DxfStream, SurfaceFromFacesRoundsCornersToThreeDecimals) {
  testing_support::TempDir dir;
  std::string drawing = "0\nSECTION\n2\nENTITIES\n";
  auto face = [&](const char* layer, const char* corners) { drawing += std::string("0\n3DFACE\n8\n") + layer + "\n" + corners; };
  face("Terreno", "10\n0.0004\n20\n0.0006\n30\n1.2345\n11\n10.00049\n21\n0\n31\n-0.0004\n12\n0\n22\n10.1235\n32\n7\n");
  face("OTRA", "10\n5\n20\n5\n30\n5\n11\n6\n21\n5\n31\n5\n12\n5\n22\n6\n32\n5\n");
  drawing += "0\nENDSEC\n0\nEOF\n";
  testing_support::WriteFile(dir.File("c.dxf"), drawing);
  ASSERT_EQ(planimetro::surface::ImportDxfSurface(dir.File("c.dxf"), "TERRENO", dir.File("c.sup")), 1);
  const std::string surface = testing_support::ReadFile(dir.File("c.sup"));
  auto holds = [&](double value) { return surface.find(std::string(reinterpret_cast<const char*>(&value), sizeof value)) != std::string::npos; };
  // Each coordinate as "%0.3lf" prints it and strtod reads it back.
  auto asPrinted = [](double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", value);
    return std::strtod(text, nullptr);
  };
  for (const double value : {0.0004, 0.0006, 1.2345, 10.00049, -0.0004, 10.1235, 7.0}) {
    EXPECT_TRUE(holds(asPrinted(value))) << value;
  }
  EXPECT_TRUE(holds(-0.0));  // -0.0004 prints "-0.000"
  EXPECT_FALSE(holds(0.0004));
}

// A coordinate too long for one line piece of the triangle text (over 255 characters with its
// three decimals) split that line and shifted every later point; built in memory it is kept.
TEST(DxfStream, HugeCoordinatesAreKeptWhole) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("h.dxf"), "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\nT\n10\n1e300\n20\n0\n30\n1\n"
                                                "11\n2e300\n21\n0\n31\n2\n12\n1e300\n22\n5\n32\n3\n0\nENDSEC\n0\nEOF\n");
  ASSERT_EQ(planimetro::surface::ImportDxfSurface(dir.File("h.dxf"), "T", dir.File("h.sup")), 1);
  const std::string surface = testing_support::ReadFile(dir.File("h.sup"));
  for (const double value : {1e300, 2e300, 3.0}) {
    EXPECT_NE(surface.find(std::string(reinterpret_cast<const char*>(&value), sizeof value)), std::string::npos) << value;
  }
}

// The surface the import builds in memory is the one the triangle text file has always given:
// every corner cleaned and looked up, the triangle text written, read back and saved. Corners
// shared with other z values, 0 and -0, points closer than the tolerance and degenerate faces.
TEST(DxfStream, SurfaceIsTheOneTheTriangleTextGives) {
  using namespace planimetro::surface;
  std::mt19937 random(23);
  std::string drawing = "0\nSECTION\n2\nENTITIES\n";
  std::vector<PuntoSup> corners;
  auto coordinate = [&](int cell) {
    switch (random() % 6) {
      case 0: return cell * 1.0005 + 0.0004;                       // close to a neighbour
      case 1: return cell == 0 ? -0.0 : cell * 1.0;
      default: return cell * 1.0 + (random() % 3) * 0.00049;       // within or past the tolerance
    }
  };
  for (int face = 0; face < 3000; ++face) {
    drawing += face % 7 == 0 ? "0\n3DFACE\n8\notra\n" : "0\n3DFACE\n8\nterreno\n";
    std::array<PuntoSup, 4> corner;
    const int cellX = static_cast<int>(random() % 12);
    const int cellY = static_cast<int>(random() % 12);
    for (int k = 0; k < 4; ++k) {
      corner[static_cast<std::size_t>(k)] = PuntoSup{coordinate(cellX + (k == 1 || k == 2)), coordinate(cellY + (k >= 2)),
                                                     static_cast<double>(random() % 1000) / 7.0};
    }
    if (face % 3 == 0) corner[3] = corner[2];
    for (int k = 0; k < 4; ++k) {
      char text[200];
      const PuntoSup& p = corner[static_cast<std::size_t>(k)];
      std::snprintf(text, sizeof text, "1%d\n%.17g\n2%d\n%.17g\n3%d\n%.17g\n", k, p.x, k, p.y, k, p.z);
      drawing += text;
    }
    if (face % 7 != 0) corners.insert(corners.end(), corner.begin(), corner.end());
  }
  drawing += "0\nENDSEC\n0\nEOF\n";
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("c.dxf"), drawing);
  const long triangles = ImportDxfSurface(dir.File("c.dxf"), "TERRENO", dir.File("c.sup"));

  // The same through the triangle text file.
  ListaPuntosSup cleaned;
  cleaned.Points() = corners;
  cleaned.Depurar(SuperficieTin::kTolerance);
  std::vector<std::array<int32_t, 3>> kept;
  for (std::size_t face = 0; face < corners.size(); face += 4) {
    std::vector<int32_t> found;
    bool lost = false;
    for (std::size_t k = 0; k < 4; ++k) {
      const long index = cleaned.Buscar(corners[face + k].x, corners[face + k].y);
      lost = lost || index < 0;
      if (index >= 0 && std::find(found.begin(), found.end(), index) == found.end()) found.push_back(static_cast<int32_t>(index));
    }
    if (!lost && found.size() == 3) kept.push_back({found[0], found[1], found[2]});
    if (!lost && found.size() == 4) {
      // Four corners of a cell: split along the shorter diagonal in plan.
      const auto squared = [&](int32_t a, int32_t b) {
        const PuntoSup& p = cleaned.Points()[static_cast<std::size_t>(a)];
        const PuntoSup& q = cleaned.Points()[static_cast<std::size_t>(b)];
        return (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
      };
      if (squared(found[0], found[2]) <= squared(found[1], found[3])) {
        kept.push_back({found[0], found[1], found[2]});
        kept.push_back({found[0], found[2], found[3]});
      } else {
        kept.push_back({found[0], found[1], found[3]});
        kept.push_back({found[1], found[2], found[3]});
      }
    }
  }
  common::TextWriter triangleText;
  WriteTriangleFile(cleaned.Points(), kept, triangleText);
  ASSERT_TRUE(triangleText.SaveTo(dir.File("c.tri")));
  SuperficieTin model;
  ASSERT_TRUE(CargarTri(model, dir.File("c.tri")));
  model.name = dir.File("c.sup");
  ASSERT_GT(model.triangleCount, 100);
  EXPECT_LT(static_cast<std::size_t>(model.triangleCount), corners.size() / 4 * 2);  // some faces were lost
  EXPECT_EQ(triangles, model.triangleCount);
  EXPECT_TRUE(testing_support::ReadFile(dir.File("c.sup")) == SurfaceFileBytes(model));
}

// The point import and the layer list read the drawing as a stream: points and layers past
// many chunk borders, with both line ends, come out as from the drawing held whole.
TEST(DxfStream, PointImportAndLayerListReadTheWholeStream) {
  std::string drawing = "0\nSECTION\n2\nHEADER\n";
  for (int i = 0; i < 9000; ++i) drawing += "9\n$VARIABLE" + std::to_string(i) + "\n1\nvalor\n";
  drawing += "0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
  for (const char* layer : {"PUNTOS", "Cotas", "EJE"}) drawing += std::string("0\nLAYER\n2\n") + layer + "\n70\n0\n";
  drawing += "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
  std::mt19937 random(31);
  for (int i = 0; i < 20000; ++i) {
    const char* end = i % 3 == 0 ? "\r\n" : "\n";
    const std::string x = std::to_string(440000 + random() % 10000) + "." + std::to_string(random() % 1000);
    drawing += std::string("0") + end + "POINT" + end + "8" + end + "PUNTOS" + end + "10" + end + x + end + "20" + end +
               std::to_string(i) + ".25" + end + (i % 5 == 0 ? "" : std::string("30") + end + "601.5" + end);
    if (i % 1000 == 0) drawing += "0\nTEXT\n1\nPOINT\n";  // a text that reads POINT is no point
  }
  drawing += "0\nENDSEC\n0\nEOF\n";
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("p.dxf"), drawing);

  common::TextWriter expected;
  std::string whole = drawing;
  common::NormalizeLineEnds(whole);
  const std::vector<DxfVertex> points = ParseDxfPoints(whole);
  ASSERT_EQ(points.size(), 20000u);
  FormatShortPointFile(points, expected);
  ASSERT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("p.dxf").c_str(), dir.File("p.pun").c_str()), 1);
  EXPECT_TRUE(testing_support::ReadFile(dir.File("p.pun")) == expected.Bytes());

  ASSERT_EQ(Calzada_getCapasDxf(dir.File("p.cap").c_str(), dir.File("p.dxf").c_str()), 3);
  EXPECT_EQ(testing_support::ReadFile(dir.File("p.cap")), testing_support::CrLf("PUNTOS\nCotas\nEJE\n"));
}

}  // namespace
