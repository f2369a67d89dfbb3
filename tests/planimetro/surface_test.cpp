// The surface model and the native surface file, and surfaces from DXF 3D faces.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "planimetro.h"
#include "formats/native/surface_model.h"
#include "formats/native/surface_points.h"
#include "support/test_support.h"
#include "surface_file_check.h"

namespace {

using planimetro::surface::ListaPuntosSup;
using planimetro::surface::PuntoSup;
using planimetro::surface::SuperficieTin;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// A 3DFACE of three corners; the fourth repeats the third unless given.
std::string Face(const std::string& layer, double x0, double y0, double z0, double x1, double y1, double z1, double x2,
                 double y2, double z2) {
  char text[512];
  std::snprintf(text, sizeof text,
                "  0\n3DFACE\n  8\n%s\n 10\n%g\n 20\n%g\n 30\n%g\n 11\n%g\n 21\n%g\n 31\n%g\n 12\n%g\n 22\n%g\n 32\n%g\n"
                " 13\n%g\n 23\n%g\n 33\n%g\n",
                layer.c_str(), x0, y0, z0, x1, y1, z1, x2, y2, z2, x2, y2, z2);
  return text;
}

std::string Drawing(const std::string& entities) {
  return "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

// Little-endian pieces of the expected file.
void PutInt(std::string& bytes, int32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF));
}
void PutDouble(std::string& bytes, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}
void PutEdge(std::string& bytes, int32_t a, int32_t b, int32_t s10, int32_t s11, int32_t s20, int32_t s21) {
  for (const int32_t value : {a, b, s10, s11, s20, s21}) PutInt(bytes, value);
  bytes.append(22, '\0');  // flags, two tags, 19 reserved
}

TEST(SurfaceFile, TwoTrianglesByteForByte) {
  TempDir dir;
  const std::string drawing = dir.File("malla.dxf");
  WriteFile(drawing, Drawing(Face("TERRENO", 0, 0, 10, 10, 0, 11, 10, 10, 12) + Face("TERRENO", 0, 0, 10, 10, 10, 12, 0, 10, 13)));
  const std::string target = dir.File("malla.sup");
  ASSERT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "TERRENO", target.c_str()), 2);

  std::string expected;
  PutInt(expected, 208);
  expected.append("SUP", 4);
  for (int entry = 0; entry < 3; ++entry) {
    PutInt(expected, 0);
    PutInt(expected, 0);
    expected.append(32, '\0');
    PutInt(expected, 255);
  }
  PutInt(expected, 1);
  expected.append(16, '\0');
  PutDouble(expected, 50.0);
  for (const int32_t value : {0, 0, 0, 0, 4, 2}) PutInt(expected, value);
  PutDouble(expected, 0.001);
  PutDouble(expected, 0.001);
  ASSERT_EQ(expected.size(), 208u);
  PutInt(expected, 4);
  // Points in x, then y order: (0 0), (0 10), (10 0), (10 10).
  for (const double value : {0.0, 0.0, 10.0, 0.0, 10.0, 13.0, 10.0, 0.0, 11.0, 10.0, 10.0, 12.0}) PutDouble(expected, value);
  // Triangle 0 2 3 makes edges 0 (0-2), 1 (2-3), 2 (3-0); triangle 0 3 1 reuses edge 2 and
  // makes 3 (3-1) and 4 (1-0).
  PutInt(expected, 1);
  PutInt(expected, 5);
  PutEdge(expected, 0, 2, 1, 2, -1, -1);
  PutEdge(expected, 2, 3, 2, 0, -1, -1);
  PutEdge(expected, 3, 0, 0, 1, 3, 4);
  PutEdge(expected, 3, 1, 4, 2, -1, -1);
  PutEdge(expected, 1, 0, 2, 3, -1, -1);
  PutInt(expected, 1);
  PutInt(expected, 4);
  for (const int32_t value : {3, 0, 0, 2, 3, 0, 2, 0, 0, 3, 1, 0}) PutInt(expected, value);

  const std::string written = ReadFile(target);
  EXPECT_EQ(written, expected);
  EXPECT_EQ(surface_check::ReadSurfaceFile(written).problem, "");
}

TEST(SurfaceFromDxf, LayerCaseQuadsMergedCornersAndUnusedPoints) {
  TempDir dir;
  const std::string drawing = dir.File("d.dxf");
  std::string entities = Face("terreno", 0, 0, 1, 10, 0, 1, 10, 10, 1);
  entities += Face("OTRA", 0, 0, 1, 10, 10, 1, 0, 10, 1);
  // A face of four different corners is split along its shorter diagonal.
  entities += "  0\n3DFACE\n  8\nTERRENO\n 10\n20\n 20\n0\n 30\n0\n 11\n30\n 21\n0\n 31\n0\n 12\n30\n 22\n10\n 32\n0\n"
              " 13\n20\n 23\n10\n 33\n0\n";
  // (10.0005, 10) is merged into (10, 10), the point before it in x, y order: a face that used
  // it is lost, since corners are looked up exactly.
  entities += Face("TERRENO", 10.0005, 10, 1, 15, 0, 1, 15, 5, 1);
  WriteFile(drawing, Drawing(entities));
  const std::string target = dir.File("d.sup");
  ASSERT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "TERRENO", target.c_str()), 3);
  const surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(ReadFile(target));
  EXPECT_EQ(surface.problem, "");
  // The triangle and the quad's two triangles; the corners of the lost face are not written.
  EXPECT_EQ(surface.pointCount, 7);
  EXPECT_EQ(surface.triangleCount, 3);

  EXPECT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "NADA", dir.File("n.sup").c_str()), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("n.sup")));
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(dir.File("no-existe.dxf").c_str(), "TERRENO", dir.File("n.sup").c_str()), 0);
  // Corners but no triangle: a surface without points or edges.
  ASSERT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "OTRA", dir.File("o.sup").c_str()), 1);
}

std::vector<std::string> shown;
void Show(const char* caption, const char* text) { shown.push_back(std::string(caption) + "|" + text); }

TEST(SurfaceFromDxf, EachFailureGivesZeroNoSurfaceAndItsReason) {
  TempDir dir;
  const std::string drawing = dir.File("d.dxf");
  // One face of four corners on one line: faces on the layer, but no area and no triangle.
  WriteFile(drawing, Drawing("  0\n3DFACE\n  8\nTERRENO\n 10\n20\n 20\n0\n 30\n0\n 11\n30\n 21\n0\n 31\n0\n"
                             " 12\n40\n 22\n0\n 32\n0\n 13\n50\n 23\n0\n 33\n0\n"));
  WriteFile(dir.File("puntos.pun"), "1 100 200 30\n");
  shown.clear();
  Planimetro_SetMessageHook(Show);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "TERRENO", dir.File("a.sup").c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "NADA", dir.File("b.sup").c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(dir.File("puntos.pun").c_str(), "TERRENO", dir.File("c.sup").c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(dir.File("no-existe.dxf").c_str(), "TERRENO", dir.File("d.sup").c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_Dxf(drawing.c_str(), "TERRENO", drawing.c_str()), 0);
  Planimetro_SetMessageHook(nullptr);
  for (const char* name : {"a.sup", "b.sup", "c.sup", "d.sup"}) EXPECT_FALSE(testing_support::FileExists(dir.File(name)));
  EXPECT_NE(ReadFile(drawing), "");
  const std::string failed = "Error en la conversión|El fichero ";
  EXPECT_EQ(shown, (std::vector<std::string>{
                       failed + drawing +
                           " no contiene ninguna cara 3D que forme un triángulo en la capa TERRENO (1 cara sin tres "
                           "vértices distintos o sin área en planta se ha descartado)",
                       failed + drawing + " no contiene ninguna cara 3D que forme un triángulo en la capa NADA",
                       failed + dir.File("puntos.pun") + " no es un dibujo DXF: parece un fichero de texto",
                       "Error en la conversión|No existe el fichero " + dir.File("no-existe.dxf"),
                       "Error en la conversión|El fichero destino debe ser diferente al origen",
                   }));
}

TEST(SurfaceFromDxf, RealDrawingsOfFaces) {
  TempDir dir;
  // LightWave mesh: each quad (four corners) gives two triangles, triangles are kept.
  const std::string egg = dir.File("egg.sup");
  const long eggTriangles = Calzada_Sup_Importa_Dxf(DataFile("dxf/PinkEggFromLW.dxf").c_str(), "0", egg.c_str());
  EXPECT_GT(eggTriangles, 0);
  surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(ReadFile(egg));
  EXPECT_EQ(surface.problem, "");
  EXPECT_EQ(surface.triangleCount, eggTriangles);
  EXPECT_EQ(eggTriangles, 48 + 2 * 240);  // 48 triangles and 240 quads

  const std::string faces = dir.File("3dface.sup");
  const long faceTriangles = Calzada_Sup_Importa_Dxf(DataFile("dxf/3dface.dxf").c_str(), "0", faces.c_str());
  EXPECT_GT(faceTriangles, 0);
  surface = surface_check::ReadSurfaceFile(ReadFile(faces));
  EXPECT_EQ(surface.problem, "");
}

TEST(SurfacePointList, SearchAndCleaning) {
  ListaPuntosSup list;
  list.Anadir(PuntoSup{5, 1, 50});
  list.Anadir(PuntoSup{1, 2, 10});
  list.Anadir(PuntoSup{1.0004, 2, 11});
  list.Anadir(PuntoSup{1, 1, 12});
  list.Anadir(PuntoSup{1, 2, 13});
  EXPECT_EQ(list.Buscar(1, 2), 1);  // sorted: (1 1), (1 2 z10), (1 2 z13), (1.0004 2), (5 1)
  EXPECT_EQ(list.Buscar(1, 2.0000001), -1);
  ListaPuntosSup exact = list;
  exact.Depurar(0);
  EXPECT_EQ(exact.Size(), 4u);
  EXPECT_EQ(exact[1].z, 10);  // the first of the equal points keeps its z
  list.Depurar(0.001);
  ASSERT_EQ(list.Size(), 3u);
  EXPECT_EQ(list[1].z, 10);
  EXPECT_EQ(list[2].x, 5);
}

TEST(SurfaceModel, TriangleFileLoadEdgeLookupAndCompaction) {
  TempDir dir;
  // Point 2 belongs to no triangle; a triangle naming a missing point or one point twice is
  // skipped.
  WriteFile(dir.File("t.tri"), "5\n0 0 1\n10 0 2\n99 99 9\n10 10 3\n0 10 4\n4\n0 1 3\n0 3 4\n0 1 7\n3 3 4\n");
  SuperficieTin model;
  ASSERT_TRUE(planimetro::surface::CargarTri(model, dir.File("t.tri")));
  EXPECT_EQ(model.triangleCount, 2);
  EXPECT_EQ(model.edges.Size(), 5u);
  EXPECT_EQ(model.BuscarArista(3, 0), model.BuscarArista(0, 3));
  EXPECT_EQ(model.BuscarArista(1, 4), -1);
  EXPECT_EQ(model.index.Buscar(model.points.Points(), 10.0004, 9.9997, 0.001), 3);
  EXPECT_EQ(model.index.Buscar(model.points.Points(), 50, 50, 0.001), -1);

  // Deleting the shared edge removes both triangles' links to it.
  const long shared = model.BuscarArista(0, 3);
  model.BorrarArista(static_cast<int32_t>(shared));
  EXPECT_EQ(model.BuscarArista(0, 3), -1);
  model.Compactar();
  // The last point (0 10) took the place of the unused one; the last edge that of the deleted.
  ASSERT_EQ(model.points.Size(), 4u);
  EXPECT_EQ(model.points[2].x, 0);
  EXPECT_EQ(model.points[2].y, 10);
  EXPECT_EQ(model.edges.Size(), 4u);
  for (const auto& edge : model.edges.Records()) {
    EXPECT_LT(edge.a, 4);
    EXPECT_LT(edge.b, 4);
    EXPECT_EQ(edge.side1[0], -1);  // no triangle is whole any more
  }
  EXPECT_EQ(model.nodes.At(2).edgeCount, 2);
  EXPECT_GE(model.BuscarArista(2, 0), 0);
  EXPECT_EQ(model.index.Buscar(model.points.Points(), 0, 10, 0.001), 2);

  // A file without a point count, or without a triangle count, does not load.
  WriteFile(dir.File("vacio.tri"), "0\n0\n");
  EXPECT_FALSE(planimetro::surface::CargarTri(model, dir.File("vacio.tri")));
  WriteFile(dir.File("corto.tri"), "1\n0 0 0\n");
  EXPECT_FALSE(planimetro::surface::CargarTri(model, dir.File("corto.tri")));
  EXPECT_EQ(model.points.Size(), 0u);
}

// The live edge of highest index at a point, by looking at every edge.
long NewestLiveEdgeAt(const SuperficieTin& model, int32_t point) {
  long newest = -1;
  const auto& edges = model.edges.Records();
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const bool live = (edges[e].flags & planimetro::surface::kDeletedEdge) == 0;
    if (live && (edges[e].a == point || edges[e].b == point)) newest = static_cast<long>(e);
  }
  return newest;
}

// Every live edge is found from either end, a deleted one from neither (another edge between
// its points, made after it, may be).
void ExpectEdgesFound(SuperficieTin& model) {
  const auto& edges = model.edges.Records();
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const long edge = static_cast<long>(e);
    if ((edges[e].flags & planimetro::surface::kDeletedEdge) == 0) {
      EXPECT_EQ(model.BuscarArista(edges[e].a, edges[e].b), edge);
      EXPECT_EQ(model.BuscarArista(edges[e].b, edges[e].a), edge);
    } else {
      EXPECT_NE(model.BuscarArista(edges[e].a, edges[e].b), edge);
      EXPECT_NE(model.BuscarArista(edges[e].b, edges[e].a), edge);
    }
  }
}

TEST(SurfaceModel, DeletedEdgeHandsItsPointsToTheirNewestLiveEdge) {
  // A 9 x 9 grid, its triangles given in an order that puts both low and high point numbers
  // first in the edges.
  const int n = 9;
  std::vector<PuntoSup> points;
  for (int i = 0; i < n * n; ++i) points.push_back(PuntoSup{static_cast<double>(i % n), static_cast<double>(i / n), 0});
  std::vector<std::array<int32_t, 3>> triangles;
  for (int row = 0; row + 1 < n; ++row) {
    for (int column = 0; column + 1 < n; ++column) {
      const int32_t a = row * n + column;
      triangles.push_back({a, a + 1, a + n});
      triangles.push_back({a + n + 1, a + n, a + 1});
    }
  }
  SuperficieTin model;
  planimetro::surface::BuildFromRoundedPoints(model, points, triangles);
  ExpectEdgesFound(model);

  uint32_t state = 12345;
  const auto deleteSome = [&](int count) {
    for (int k = 0; k < count; ++k) {
      state = state * 1103515245u + 12345u;
      const int32_t e = static_cast<int32_t>((state >> 8) % model.edges.Size());
      const auto edge = model.edges.Records()[static_cast<std::size_t>(e)];
      if ((edge.flags & planimetro::surface::kDeletedEdge) != 0) continue;
      const bool heldByA = model.nodes.At(edge.a).edge == e;
      const bool heldByB = model.nodes.At(edge.b).edge == e;
      model.BorrarArista(e);
      if (heldByA) {
        EXPECT_EQ(model.nodes.At(edge.a).edge, NewestLiveEdgeAt(model, edge.a)) << e;
      }
      if (heldByB) {
        EXPECT_EQ(model.nodes.At(edge.b).edge, NewestLiveEdgeAt(model, edge.b)) << e;
      }
    }
  };
  deleteSome(60);
  // Edges made after a deletion are linked at both ends too.
  for (const auto& triangle : triangles) model.AnadirTriangulo(triangle[0], triangle[1], triangle[2], 0);
  ExpectEdgesFound(model);
  deleteSome(60);
  model.Compactar();
  ExpectEdgesFound(model);
  deleteSome(60);
  ExpectEdgesFound(model);
}

TEST(SurfaceModel, QuadtreeSplitsAndFindsAmongManyPoints) {
  SuperficieTin model;
  for (int i = 0; i < 300; ++i) {
    for (int j = 0; j < 300; ++j) model.points.Anadir(PuntoSup{i * 1.0, j * 1.0, 0});
  }
  // Many copies of one point never split forever.
  for (int k = 0; k < 500; ++k) model.points.Anadir(PuntoSup{7, 7, 1});
  model.PrepararPuntos();
  EXPECT_GT(model.index.NodeCount(), 1000u);
  EXPECT_EQ(model.index.Buscar(model.points.Points(), 123.0002, 45, 0.001), 123 * 300 + 45);
  EXPECT_EQ(model.index.Buscar(model.points.Points(), 7, 7, 0.001), 7 * 300 + 7);
}

}  // namespace
