// Drawings as CAD and survey programs write them: points inside block definitions and in paper
// space, survey points drawn as blocks with attributes, faces of four corners, drawings without
// a layer table, and the box of what a drawing draws. Each drawing is made here in the form of
// the program that writes it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "formats/dxf/dxf_conversions.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/dxf/dxf_summary.h"
#include "formats/dxf/dxf_surface.h"
#include "planimetro.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> g_shown;
void Keep(const char* caption, const char* text) { g_shown.push_back(std::string(caption) + "|" + text); }

std::string Point(double x, double y, double z, const char* extra = "") {
  return "  0\nPOINT\n  8\nPUNTOS\n" + std::string(extra) + " 10\n" + std::to_string(x) + "\n 20\n" + std::to_string(y) +
         "\n 30\n" + std::to_string(z) + "\n";
}

// A block reference with attributes, as survey programs draw a point: the insertion point at
// elevation 0 and the number, elevation and code as attributes.
std::string SurveyBlock(double x, double y, const std::vector<std::pair<std::string, std::string>>& attributes,
                        const char* extra = "") {
  std::string text = "  0\nINSERT\n  8\nTOPO\n" + std::string(extra) + "  2\nPT_TOPO\n 66\n     1\n 10\n" +
                     std::to_string(x) + "\n 20\n" + std::to_string(y) + "\n 30\n0.0\n";
  for (const auto& [tag, value] : attributes) {
    text += "  0\nATTRIB\n  8\nTOPO\n 10\n" + std::to_string(x + 1) + "\n 20\n" + std::to_string(y) + "\n 30\n0.0\n" +
            "  1\n" + value + "\n  2\n" + tag + "\n 70\n     0\n";
  }
  return text + "  0\nSEQEND\n  8\nTOPO\n";
}

// A drawing of R12 form: a block section whose definitions hold POINTs (the definition points
// of a dimension on DEFPOINTS, the base point of a symbol), then the entities.
std::string WithBlocks(const std::string& entities) {
  return "  0\nSECTION\n  2\nBLOCKS\n  0\nBLOCK\n  8\n0\n  2\n*D1\n 70\n1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n" +
         Point(5, 5, 0) + Point(7, 7, 0) + "  0\nENDBLK\n  8\n0\n  0\nBLOCK\n  8\n0\n  2\nSIMBOLO\n 70\n0\n" +
         Point(0, 0, 0) + "  0\nENDBLK\n  8\n0\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" + entities +
         "  0\nENDSEC\n  0\nEOF\n";
}

TEST(DxfDrawingForms, SurveyPointsAreTheModelSpacePointsAndTheSurveyBlocks) {
  TempDir dir;
  // Only the drawing's own POINTs: not those of block definitions nor one in paper space.
  WriteFile(dir.File("r12.dxf"), WithBlocks(Point(100, 200, 30) + Point(110, 210, 31) +
                                            Point(-21, 5, 0, " 67\n     1\n")));
  g_shown.clear();
  Planimetro_SetMessageHook(Keep);
  ASSERT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("r12.dxf").c_str(), dir.File("r12.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("r12.pun")), CrLf("\n1 100.000 200.000 30.000\n2 110.000 210.000 31.000"));
  EXPECT_TRUE(g_shown.empty());

  // A survey drawn as blocks only: no POINT at all, and the symbol's base point is no point.
  // Tags in any letter case; a number that is no whole number is kept as the code.
  WriteFile(dir.File("topo.dxf"),
            WithBlocks(SurveyBlock(500, 600, {{"numero", "17"}, {"COTA", "45,250"}, {"Codigo", "ARBOL"}}) +
                       SurveyBlock(510, 610, {{"PUNTO", "P-3"}, {"Z", "46.5"}}) +
                       SurveyBlock(520, 620, {{"ROTULO", "texto"}}) +  // no tag that says anything
                       SurveyBlock(0, 0, {{"NUM", "9"}}, " 67\n     1\n") +  // a title block in paper space
                       Point(530, 630, 47)));
  ASSERT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("topo.dxf").c_str(), dir.File("topo.pun").c_str()), 1);
  Planimetro_SetMessageHook(nullptr);
  EXPECT_EQ(ReadFile(dir.File("topo.pun")), CrLf("   17     500.000     600.000   45.250 ARBOL\n"
                                                 "    2     510.000     610.000   46.500 P-3\n"
                                                 "    3     530.000     630.000   47.000 \n"));
  ASSERT_EQ(g_shown.size(), 1u);
  EXPECT_EQ(g_shown[0],
            "Aviso|2 puntos se han leído de bloques con atributos (etiquetas NUMERO, COTA, CODIGO, PUNTO, Z), en el "
            "punto de inserción del bloque");
}

TEST(DxfDrawingForms, FacesOfFourCornersAreSplitAlongTheShorterDiagonal) {
  namespace surface = planimetro::surface;
  const auto face = [](std::vector<std::vector<double>> corners) {
    std::string text = "  0\n3DFACE\n  8\nT\n";
    for (std::size_t k = 0; k < corners.size(); ++k) {
      for (int axis = 0; axis < 3; ++axis) {
        text += " " + std::to_string(10 * (axis + 1) + static_cast<int>(k)) + "\n" + std::to_string(corners[k][axis]) + "\n";
      }
    }
    return text;
  };
  struct Case {
    const char* what;
    std::string entity;
    std::vector<std::array<int32_t, 3>> triangles;  // corners by their order in the face
    long split, collapsed, twisted;
  };
  const std::vector<Case> cases = {
      // 0-2 is the shorter diagonal (a rhombus long in y).
      {"rombo", face({{0, 0, 1}, {2, 5, 2}, {0, 10, 3}, {-2, 5, 4}}), {{0, 1, 3}, {1, 2, 3}}, 1, 0, 0},
      {"rombo girado", face({{0, 0, 1}, {5, 2, 2}, {10, 0, 3}, {5, -2, 4}}), {{0, 1, 3}, {1, 2, 3}}, 1, 0, 0},
      // A corner pointing in: only the diagonal through it parts the face in two.
      {"dardo", face({{0, 0, 0}, {10, 0, 0}, {2, 2, 0}, {0, 10, 0}}), {{0, 1, 2}, {0, 2, 3}}, 1, 0, 0},
      // Three corners on a line: the middle one stays a corner of both triangles.
      {"tres alineados", face({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {5, 5, 0}}), {{0, 1, 3}, {1, 2, 3}}, 1, 0, 0},
      {"lados cruzados", face({{0, 0, 0}, {10, 10, 0}, {10, 0, 0}, {0, 10, 0}}), {}, 0, 0, 1},
      {"sin área", face({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}}), {}, 0, 1, 0},
      {"triángulo plano", face({{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}), {}, 0, 1, 0},
      {"dos vértices", face({{0, 0, 0}, {1, 1, 0}, {1, 1, 5}, {0, 0, 2}}), {}, 0, 1, 0},
  };
  for (const Case& c : cases) {
    planimetro::dxf::DxfFile file("  0\nSECTION\n  2\nENTITIES\n" + c.entity + "  0\nENDSEC\n  0\nEOF\n");
    surface::DxfFaceTriangles read;
    ASSERT_TRUE(surface::ReadDxfFaceTriangles(file, nullptr, read)) << c.what;
    EXPECT_EQ(read.split, c.split) << c.what;
    EXPECT_EQ(read.collapsed, c.collapsed) << c.what;
    EXPECT_EQ(read.fourCorners, c.twisted) << c.what;
    // Each triangle by the corners of the face it joins, in any order.
    std::vector<std::array<int32_t, 3>> got;
    for (const std::array<int32_t, 3>& triangle : read.triangles) {
      std::array<int32_t, 3> corners{};
      for (int k = 0; k < 3; ++k) {
        const surface::PuntoSup& p = read.points[static_cast<std::size_t>(triangle[static_cast<std::size_t>(k)])];
        planimetro::dxf::DxfFile again(c.entity.substr(c.entity.find("  8")));
        planimetro::dxf::DxfFace parsed;
        ASSERT_TRUE(planimetro::dxf::LeerCara3D(again, parsed));
        int32_t found = -1;
        for (int32_t j = 3; j >= 0; --j) {
          if (parsed.corners[j].x == p.x && parsed.corners[j].y == p.y) found = j;
        }
        corners[static_cast<std::size_t>(k)] = found;
      }
      std::sort(corners.begin(), corners.end());
      got.push_back(corners);
    }
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, c.triangles) << c.what;
  }

  // The import says what it split and what it left out.
  TempDir dir;
  WriteFile(dir.File("m.dxf"), "  0\nSECTION\n  2\nENTITIES\n" + cases[0].entity + cases[4].entity + cases[5].entity +
                                   "  0\nENDSEC\n  0\nEOF\n");
  g_shown.clear();
  Planimetro_SetMessageHook(Keep);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(dir.File("m.dxf").c_str(), "t", dir.File("m.sup").c_str()), 2);
  Planimetro_SetMessageHook(nullptr);
  ASSERT_EQ(g_shown.size(), 1u);
  EXPECT_EQ(g_shown[0],
            "Aviso|1 cara de cuatro vértices se ha dividido en dos triángulos por su diagonal más corta\n"
            "1 cara sin tres vértices distintos o sin área en planta se ha descartado\n"
            "1 cara de cuatro vértices con lados que se cruzan en planta se ha descartado");
}

TEST(DxfDrawingForms, ADrawingWithoutALayerTableListsTheLayersItsEntitiesName) {
  TempDir dir;
  // An empty TABLES section, as a mesh exporter writes it.
  WriteFile(dir.File("malla.dxf"),
            "  0\nSECTION\n  2\nTABLES\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nMALLA\n 10\n0\n 20\n0\n"
            " 30\n0\n 11\n1\n 21\n0\n 31\n0\n 12\n1\n 22\n1\n 32\n0\n  0\nLINE\n  8\nEJES\n 10\n0\n 20\n0\n 11\n1\n"
            " 21\n1\n  0\n3DFACE\n  8\nMALLA\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n 12\n0\n 22\n1\n 32\n0\n"
            "  0\nENDSEC\n  0\nEOF\n");
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("capas").c_str(), dir.File("malla.dxf").c_str()), 2);
  EXPECT_EQ(ReadFile(dir.File("capas")), CrLf("MALLA\nEJES\n"));
}

TEST(DxfDrawingForms, ExtentsAreThoseOfTheModelSpaceGeometry) {
  // A drawing at X 33 479 198 with a title block in paper space and an image whose size in
  // pixels (13/23) and vectors (11/21, 12/22) are no coordinates; a line's end (11/21) is one.
  planimetro::dxf::DxfFile file(
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nLINE\n  8\n0\n 10\n33479198\n 20\n4520000\n 30\n5\n 11\n33479298\n 21\n4520100\n 31\n7\n"
      "  0\nTEXT\n  8\nCAJETIN\n 67\n     1\n 10\n-21243\n 20\n-50\n 30\n0\n  1\nPlano 1\n"
      "  0\nLWPOLYLINE\n  8\nCAJETIN\n 67\n1\n 90\n2\n 10\n-21243\n 20\n0\n 10\n0\n 20\n0\n"
      "  0\nIMAGE\n  8\nORTO\n 10\n33479200\n 20\n4520010\n 30\n0\n 11\n0.5\n 21\n0\n 31\n0\n 12\n0\n 22\n0.5\n 32\n0\n"
      " 13\n1280\n 23\n965\n"
      "  0\nENDSEC\n  0\nEOF\n");
  const planimetro::dxf::DxfSummary summary = planimetro::dxf::SummarizeDxf(file);
  ASSERT_TRUE(summary.extents.known);
  EXPECT_DOUBLE_EQ(summary.extents.minX, 33479198);
  EXPECT_DOUBLE_EQ(summary.extents.maxX, 33479298);
  EXPECT_DOUBLE_EQ(summary.extents.minY, 4520000);
  EXPECT_DOUBLE_EQ(summary.extents.maxY, 4520100);
  EXPECT_DOUBLE_EQ(summary.extents.minZ, 0);
  EXPECT_DOUBLE_EQ(summary.extents.maxZ, 7);
  // Paper-space entities still count among the layers' entities.
  ASSERT_EQ(summary.layers.size(), 3u);
  EXPECT_EQ(summary.layers[1].entities.at("LWPOLYLINE"), 1);
}

}  // namespace
