// Surfaces from LandXML: the list of names and the import through the triangle file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "planimetro.h"
#include "planimetro/landxml/landxml_surface.h"
#include "support/test_support.h"
#include "surface_file_check.h"

namespace {

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

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
  // Points but no face: loaded, nothing to save.
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(document.c_str(), "Otra", dir_.File("o.sup").c_str()), 1);
  EXPECT_FALSE(FileExists(dir_.File("o.sup")));
  // An unreadable document leaves the triangle file of the last run alone.
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(dir_.File("no-existe.xml").c_str(), "Otra", dir_.File("x.sup").c_str()), 0);
  EXPECT_EQ(ReadFile(planimetro::landxml::TriangleFilePath()), CrLf("1\n0.000 0.000 0.000\n0\n"));
  // A document cut short gives what was read before the fault.
  const std::string cut(kDocument, std::string(kDocument).find("<Surface name=\"Otra\""));
  EXPECT_EQ(Calzada_Sup_Importa_LandXML(Write("cut.xml", cut).c_str(), "Terreno", dir_.File("c.sup").c_str()), 1);
  EXPECT_EQ(surface_check::ReadSurfaceFile(ReadFile(dir_.File("c.sup"))).triangleCount, 1);
}

TEST_F(LandXmlSurface, RealSurfacesImportWhole) {
  struct Case {
    const char* file;
    const char* surface;
    int faces;
  };
  for (const Case& test : {Case{"landxml/subdivision.xml", "EG", 1284}, Case{"landxml/subdivision.xml", "FG", 5241},
                           Case{"landxml/M3_Terrain.mm.xml", "M3_Terrain - Terrain", 36067}}) {
    const std::string target = dir_.File("real.sup");
    ASSERT_EQ(Calzada_Sup_Importa_LandXML(DataFile(test.file).c_str(), test.surface, target.c_str()), 1) << test.surface;
    const surface_check::SurfaceFile surface = surface_check::ReadSurfaceFile(ReadFile(target));
    EXPECT_EQ(surface.problem, "") << test.surface;
    EXPECT_EQ(surface.triangleCount, test.faces) << test.surface;
    // A terrain model has no edge with three triangles.
    EXPECT_EQ(surface.sidesFilled, 3L * test.faces) << test.surface;
  }
}

}  // namespace
