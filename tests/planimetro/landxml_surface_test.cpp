// Surfaces from LandXML: the list of names and the import through the triangle file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "planimetro.h"
#include "formats/landxml/landxml_surface.h"
#include "formats/native/surface_model.h"
#include "support/test_support.h"
#include "surface_file_check.h"

namespace {

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> g_said;
void Say(const char* caption, const char* text) { g_said.push_back(std::string(caption) + "|" + text); }

class Messages {
 public:
  Messages() {
    g_said.clear();
    Planimetro_SetMessageHook(Say);
  }
  ~Messages() { Planimetro_SetMessageHook(nullptr); }
};

// The fixed triangle file goes to the test's own directory.
class LandXmlSurface : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("TEMP");
    hadTemp_ = previous != nullptr;
    if (hadTemp_) previousTemp_ = previous;
    setenv("TEMP", dir_.path().c_str(), 1);
  }
  void TearDown() override {
    if (hadTemp_) {
      setenv("TEMP", previousTemp_.c_str(), 1);
    } else {
      unsetenv("TEMP");
    }
  }
  std::string Write(const std::string& name, const std::string& text) {
    WriteFile(dir_.File(name), text);
    return dir_.File(name);
  }
  TempDir dir_;
  bool hadTemp_ = false;
  std::string previousTemp_;
};

const char kDocument[] =
    "<?xml version=\"1.0\"?>\n"
    "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n"
    " <CgPoints><CgPoint name=\"Ref7\">4000,5 3000,25 12,5</CgPoint><CgPoint>1 2 3</CgPoint></CgPoints>\n"
    " <Surfaces>\n"
    "  <Surface name=\"Terreno\"><Definition surfType=\"TIN\"><Pnts>\n"
    "   <P id=\"1\">100 200 10</P><P id=\"2\">100 210 11</P><P id=\"5\" pntRef=\"REF7\"/>\n"
    "  </Pnts><Faces><F>1 2 5</F><F>1 2</F></Faces></Definition></Surface>\n"
    "  <Surface name=\"Otra\"><Definition><Pnts><P id=\"1\">0 0 0</P></Pnts></Definition></Surface>\n"
    "  <lx:Surface xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\" name=\"TERRENO\"><lx:Definition>\n"
    "   <lx:Pnts><lx:P id=\"6\">110 205 12</lx:P></lx:Pnts><lx:Faces><lx:F>2 5 6</lx:F></lx:Faces>\n"
    "  </lx:Definition></lx:Surface>\n"
    " </Surfaces>\n"
    "</LandXML>\n";

TEST_F(LandXmlSurface, ListsEveryNamedSurface) {
  const std::string list = dir_.File("lista.txt");
  EXPECT_EQ(Calzada_SupSel_LandXML(DataFile("landxml/subdivision.xml").c_str(), list.c_str()), 2);
  EXPECT_EQ(ReadFile(list), CrLf("EG\nFG\n"));
  EXPECT_EQ(Calzada_SupSel_LandXML(Write("d.xml", kDocument).c_str(), list.c_str()), 3);
  EXPECT_EQ(ReadFile(list), CrLf("Terreno\nOtra\nTERRENO\n"));
  EXPECT_EQ(Calzada_SupSel_LandXML(dir_.File("no-existe.xml").c_str(), list.c_str()), 0);
  EXPECT_EQ(ReadFile(list), "");
}

TEST_F(LandXmlSurface, PlaceholdersCommasReferencesAndMergedSurfaces) {
  const std::string target = dir_.File("t.sup");
  ASSERT_EQ(Calzada_Sup_Importa_LandXML(Write("d.xml", kDocument).c_str(), "terreno", target.c_str()), 1);
  // Ids 3 and 4 are placeholders; id 5 takes the CgPoint's coordinates (northing first, decimal
  // commas); both surfaces named "terreno" in any case are merged; "1 2" is no face.
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()),
            CrLf("6\n200.000 100.000 10.000\n210.000 100.000 11.000\n0 0 0\n0 0 0\n3000.250 4000.500 12.500\n"
                 "205.000 110.000 12.000\n2\n0 1 4\n1 4 5\n"));
  const surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(ReadFile(target));
  EXPECT_EQ(surface.problem, "");
  EXPECT_EQ(surface.triangleCount, 2);
  EXPECT_EQ(surface.pointCount, 4);  // the placeholders belong to no triangle
  EXPECT_EQ(surface.edges.size(), 5u);
}

TEST_F(LandXmlSurface, FailuresLeaveNoSurface) {
  const std::string document = Write("d.xml", kDocument);
  // No such surface: a triangle file without points does not load.
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(document.c_str(), "Nada", dir_.File("n.sup").c_str()), 0);
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()), CrLf("0\n0\n"));
  EXPECT_FALSE(FileExists(dir_.File("n.sup")));
  // Points but no face: nothing to save, and a failure.
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(document.c_str(), "Otra", dir_.File("o.sup").c_str()), 0);
  EXPECT_FALSE(FileExists(dir_.File("o.sup")));
  // An unreadable document leaves the triangle file of the last run alone.
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(dir_.File("no-existe.xml").c_str(), "Otra", dir_.File("x.sup").c_str()), 0);
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()), CrLf("1\n0.000 0.000 0.000\n0\n"));
  // A document cut short is refused, even where the surface chosen stands whole before the
  // fault: it is no smaller document. The triangle file of the last run stays.
  const std::string cut(kDocument, std::string(kDocument).find("<Surface name=\"Otra\""));
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(Write("cut.xml", cut).c_str(), "Terreno", dir_.File("c.sup").c_str()), 0);
  EXPECT_FALSE(FileExists(dir_.File("c.sup")));
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()), CrLf("1\n0.000 0.000 0.000\n0\n"));
}

TEST_F(LandXmlSurface, RealSurfacesImportWhole) {
  struct Case {
    const char* file;
    const char* surface;
    int faces;
  };
  const std::string rounding = Write("r.xml",
                                     "<LandXML><Surfaces><Surface name=\"R\"><Definition><Pnts><P id=\"1\">0.0004 0 1.23456</P>"
                                     "<P id=\"2\">10.000 0.000 -0.0004</P><P id=\"3\">+5 10,5 1e1</P><P id=\"4\">1234567890123.4567 1 1</P>"
                                     "</Pnts><Faces><F>1 2 3</F><F>2 3 4</F></Faces></Definition></Surface></Surfaces></LandXML>");
  for (const Case& test : {Case{"landxml/subdivision.xml", "EG", 1284}, Case{"landxml/subdivision.xml", "FG", 5241},
                           Case{"landxml/M3_Terrain.mm.xml", "M3_Terrain - Terrain", 36067},
                           Case{"landxml/subdivision-2.0.xml", "FG", 5241}, Case{rounding.c_str(), "R", 2}}) {
    const std::string target = dir_.File("real.sup");
    const std::string file = test.file[0] == '/' ? test.file : DataFile(test.file);
    ASSERT_EQ(Calzada_Sup_Importa_LandXML(file.c_str(), test.surface, target.c_str()), 1) << test.surface;
    const surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(ReadFile(target));
    EXPECT_EQ(surface.problem, "") << test.surface;
    EXPECT_EQ(surface.triangleCount, test.faces) << test.surface;
    // A terrain model has no edge with three triangles.
    EXPECT_EQ(surface.sidesFilled, 3L * test.faces) << test.surface;
    // The surface is the one its triangle file loads into.
    planimetro::surface::SuperficieTin loaded;
    ASSERT_TRUE(planimetro::surface::CargarTri(loaded, planimetro::landxml::TriangleFilePath()));
    loaded.name = target;
    EXPECT_EQ(planimetro::surface::SurfaceFileBytes(loaded), ReadFile(target)) << test.surface;
  }
}

// A grid of n x n points with two faces a cell, large enough for several blocks of faces: the
// points written last to first, some through a CgPoint, with decimal commas or more than
// three decimals; some ids missing (their faces are dropped); every fifth cell a hole of
// invisible faces, so that the surface has more edges than a surface without holes would.
std::string GridDocument(int n, long& triangles) {
  std::string text = "<LandXML><CgPoints><CgPoint name=\"c\">7,25 3,5 1,125</CgPoint></CgPoints><Surfaces>"
                     "<Surface name=\"G\"><Definition><Pnts>";
  char line[160];
  const auto missing = [](int id) { return id % 997 == 0; };
  for (int id = n * n; id >= 1; --id) {
    if (missing(id)) continue;
    const int row = (id - 1) / n;
    const int column = (id - 1) % n;
    if (id % 101 == 0) {
      std::snprintf(line, sizeof line, "<P id=\"%d\" pntRef=\"C\"/>", id);
    } else if (id % 7 == 0) {
      std::snprintf(line, sizeof line, "<P id=\"%d\">%d,5 %d,25 %d,0004</P>", id, row * 2, column * 2, id % 50);
    } else {
      std::snprintf(line, sizeof line, id % 3 == 0 ? "<P id=\"%d\">%d.00049 %d.000 %d.%03d</P>" : "<P id=\"%d\">%d.000 %d.000 %d.%03d</P>",
                    id, row * 2, column * 2, id % 50, id % 1000);
    }
    text += line;
  }
  text += "</Pnts><Faces>";
  triangles = 0;
  for (int row = 0; row + 1 < n; ++row) {
    for (int column = 0; column + 1 < n; ++column) {
      const int a = row * n + column + 1;
      const int corners[2][3] = {{a, a + 1, a + n}, {a + 1, a + n + 1, a + n}};
      const bool hole = (row * (n - 1) + column) % 5 == 0;
      for (const auto& face : corners) {
        std::snprintf(line, sizeof line, "<F%s>%d %d %d</F>", hole ? " i=\"1\"" : "", face[0], face[1], face[2]);
        text += line;
        if (!hole && !missing(face[0]) && !missing(face[1]) && !missing(face[2])) ++triangles;
      }
    }
  }
  return text + "</Faces></Definition></Surface></Surfaces></LandXML>";
}

TEST_F(LandXmlSurface, LargeSurfaceIsTheOneItsTriangleFileLoadsInto) {
  long triangles = 0;
  const std::string document = Write("g.xml", GridDocument(150, triangles));
  const std::string target = dir_.File("g.sup");
  ASSERT_EQ(Calzada_Sup_Importa_LandXML(document.c_str(), "G", target.c_str()), 1);
  const std::string bytes = ReadFile(target);
  const surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(bytes);
  EXPECT_EQ(surface.problem, "");
  EXPECT_EQ(surface.triangleCount, triangles);
  EXPECT_GT(surface.edges.size(), static_cast<std::size_t>(surface.pointCount + triangles + triangles / 16));

  // The triangle file names every point line and, after its count, the triangles kept.
  const std::string tri = ReadFile(planimetro::landxml::TriangleFilePath());
  ASSERT_EQ(tri.compare(0, 7, "22500\r\n"), 0);
  const std::size_t countLine = tri.find("\r\n" + std::to_string(triangles) + "\r\n");
  ASSERT_NE(countLine, std::string::npos);
  EXPECT_EQ(std::count(tri.begin() + static_cast<long>(countLine) + 2, tri.end(), '\n'), triangles + 1);

  planimetro::surface::SuperficieTin loaded;
  ASSERT_TRUE(planimetro::surface::CargarTri(loaded, planimetro::landxml::TriangleFilePath()));
  EXPECT_EQ(planimetro::surface::SurfaceFileBytes(loaded), bytes);

  // Read whole instead of built on the way, the surface is the same.
  planimetro::landxml::LandXmlSurfaceRead read =
      planimetro::landxml::ReadLandXmlSurface(document, "g", [](std::string_view) { return true; });
  EXPECT_EQ(read.points.size(), 22500u);
  EXPECT_EQ(static_cast<long>(read.triangles.size()), triangles);
  planimetro::surface::SuperficieTin built;
  planimetro::landxml::BuildSurface(built, std::move(read.points), read.triangles);
  EXPECT_EQ(planimetro::surface::SurfaceFileBytes(built), bytes);
}

TEST_F(LandXmlSurface, InvisibleFacesAndFacesWithoutPointsAreLeftOutAndCounted) {
  Messages messages;
  const std::string document = Write(
      "i.xml",
      "<?xml version=\"1.0\"?><LandXML><Units><Imperial linearUnit=\"USSurveyFoot\"/></Units><Surfaces>"
      "<Surface name=\"S\"><Definition><Pnts><P id=\"1\">0 0 1</P><P id=\"2\">0 10 1</P><P id=\"3\">10 0 1</P>"
      "<P id=\"4\">10 10 1</P><P id=\"9\" pntRef=\"nadie\"/></Pnts><Faces><F>1 2 3</F><F i=\"1\">2 4 3</F>"
      "<F>2 4 7</F><F>3 4 9</F><F>2 4 3</F></Faces></Definition></Surface></Surfaces></LandXML>");
  const std::string target = dir_.File("i.sup");
  ASSERT_EQ(Calzada_Sup_Importa_LandXML(document.c_str(), "S", target.c_str()), 1);
  EXPECT_EQ(surface_check::ReadSurfaceFile(ReadFile(target)).triangleCount, 2);
  // The triangle file holds what the surface was built from: the placeholders, not the faces
  // on them; US survey feet in metres (10 ft is 3.048006 m).
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()),
            CrLf("4\n0.000 0.000 0.305\n3.048 0.000 0.305\n0.000 3.048 0.305\n3.048 3.048 0.305\n2\n0 1 2\n"
                 "1 3 2\n"));
  ASSERT_EQ(g_said.size(), 1u);
  EXPECT_EQ(g_said[0],
            "Aviso|el fichero está en pies US: las medidas se han convertido a metros\n"
            "1 caras invisibles (fuera del contorno o en huecos) no se han importado\n"
            "2 caras que nombran puntos que no existen no se han importado");
}

TEST_F(LandXmlSurface, RefusesSourcesThatAreNotLandXmlAndSaysWhy) {
  Messages messages;
  const std::string dxf = Write("d.dxf", "  0\nSECTION\n  2\nENTITIES\n  0\n3DFACE\n  8\nT\n  0\nENDSEC\n  0\nEOF\n");
  const std::string list = dir_.File("lista.txt");
  EXPECT_EQ(Calzada_SupSel_LandXML(dxf.c_str(), list.c_str()), 0);
  EXPECT_EQ(ReadFile(list), "");
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(dxf.c_str(), "T", dir_.File("t.sup").c_str()), 0);
  EXPECT_FALSE(FileExists(dir_.File("t.sup")));
  const std::string none = Write("n.xml", "<LandXML><Alignments/></LandXML>");
  EXPECT_EQ(Calzada_SupSel_LandXML(none.c_str(), list.c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(Write("d.xml", kDocument).c_str(), "Nada", dir_.File("t.sup").c_str()), 0);
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(DataFile("landxml/subdivision.xml").c_str(), "EG",
                                        dir_.File("falta/t.sup").c_str()), 0);
  // The feet of the last file are not said: it failed, and its reason is what counts.
  ASSERT_EQ(g_said.size(), 5u);
  EXPECT_EQ(g_said[0], "Error en la conversión|El fichero " + dxf + " no es un documento LandXML: parece un dibujo DXF");
  EXPECT_EQ(g_said[1], g_said[0]);
  EXPECT_EQ(g_said[2], "Error en la conversión|El fichero " + none + " no contiene ninguna superficie");
  EXPECT_EQ(g_said[3], "Error en la conversión|El fichero " + dir_.File("d.xml") + " no contiene la superficie \"Nada\"");
  EXPECT_NE(g_said[4].find("No se puede escribir el fichero " + dir_.File("falta/t.sup")), std::string::npos) << g_said[4];
}

}  // namespace
