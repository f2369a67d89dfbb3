// convert with --s_srs, --t_srs and --allow-ballpark through pasarela-cli: points moved on the
// way into and out of the other formats, the system a file names taken as its source, and the
// refusals, with no target left behind.
#include <gtest/gtest.h>

#include <cmath>

#include "cli/cli_outcome.h"
#include "formats/native/surface_file_reader.h"
#include "georref/geo_test_support.h"

namespace {

using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::TempDir;

const std::string kData = PASARELA_TEST_DATA;

// The first point line of a native point file: number, x, y, z.
std::vector<double> FirstPoint(const std::string& path) {
  std::istringstream text(ReadFile(path));
  std::vector<double> values(4);
  text >> values[0] >> values[1] >> values[2] >> values[3];
  return values;
}

TEST(ConvertWithSystems, PointsAreMovedIntoAndOutOfOtherFormats) {
  TempDir dir;
  testing_support::WriteFile(dir.File("ed50.pun"), "    1  440000.000 4474000.000  650.000 BC\n");
  const std::vector<double> expected = geo_testing::Cs2cs("EPSG:23030", "EPSG:25830", "440000 4474000 650\\n");
  ASSERT_GE(expected.size(), 2u);
  // A native source moved before the export, a native target after the import; the LandXML
  // document names its own system.
  struct Step {
    std::string line;
    std::string result;  // the native point file to look at
  };
  const Step steps[] = {
      {"convert " + Quoted(dir.File("ed50.pun")) + " -o " + Quoted(dir.File("etrs.shp")) +
           " --s_srs EPSG:23030 --t_srs EPSG:25830",
       ""},
      // The shapefile's .prj names the system it was moved to.
      {"convert " + Quoted(dir.File("etrs.shp")) + " -o " + Quoted(dir.File("etrs.pun")) + " --t_srs EPSG:25830",
       dir.File("etrs.pun")},
      {"convert " + Quoted(dir.File("ed50.pun")) + " -o " + Quoted(dir.File("etrs.xml")) +
           " --s_srs EPSG:23030 --t_srs EPSG:25830",
       ""},
      // So does the LandXML document's CoordinateSystem.
      {"convert " + Quoted(dir.File("etrs.xml")) + " -o " + Quoted(dir.File("de-xml.pun")) + " --t_srs EPSG:25830",
       dir.File("de-xml.pun")},
      {"convert " + Quoted(kData + "/geo/sistema.xml") + " -o " + Quoted(dir.File("desde-landxml.pun")) +
           " --t_srs EPSG:25830",
       dir.File("desde-landxml.pun")},
      {"convert " + Quoted(dir.File("ed50.pun")) + " -o " + Quoted(dir.File("misma.pun")) +
           " --s_srs EPSG:23030 --t_srs EPSG:25830",
       dir.File("misma.pun")},
  };
  for (const Step& step : steps) {
    const Outcome outcome = Cli(dir, step.line);
    ASSERT_EQ(outcome.status, 0) << step.line << "\n" << outcome.err;
    const bool fromEd50 = step.line.find("EPSG:23030") != std::string::npos || step.line.find("sistema.xml") != std::string::npos;
    EXPECT_EQ(outcome.err.find("ED50 to ETRS89 (7), 1,5 m") != std::string::npos, fromEd50) << outcome.err;
    if (step.result.empty()) continue;
    const std::vector<double> point = FirstPoint(step.result);
    // The native file keeps millimetres.
    EXPECT_NEAR(point[1], expected[0], 0.0006) << step.line;
    EXPECT_NEAR(point[2], expected[1], 0.0006) << step.line;
    EXPECT_NEAR(point[3], 650, 1e-9);
  }
  // The message names the better grid that is missing.
  const Outcome told = Cli(dir, "convert " + Quoted(dir.File("ed50.pun")) + " -o " + Quoted(dir.File("otra.pun")) +
                                    " --s_srs EPSG:23030 --t_srs EPSG:25830");
  EXPECT_NE(told.err.find("es_ign_SPED2ETV2.tif"), std::string::npos) << told.err;
}

// A shapefile's .prj names its system: `info` shows it and convert takes it as the source's.
TEST(ConvertWithSystems, AShapefileNamesItsSystemInItsPrj) {
  TempDir dir;
  testing_support::WriteFile(dir.File("ed50.pun"), "    1  440000.000 4474000.000  650.000 BC\n");
  ASSERT_EQ(Cli(dir, "convert " + Quoted(dir.File("ed50.pun")) + " -o " + Quoted(dir.File("ed50.shp"))).status, 0);
  std::string wkt;
  ASSERT_EQ(testing_support::RunCommand("projinfo -q -o WKT1_ESRI EPSG:23030", wkt), 0);
  testing_support::WriteFile(dir.File("ed50.prj"), wkt);
  const Outcome info = Cli(dir, "info --json " + Quoted(dir.File("ed50.shp")));
  EXPECT_NE(info.out.find("\"crs\":{\"name\":\"ED_1950_UTM_Zone_30N\""), std::string::npos) << info.out;
  const Outcome outcome =
      Cli(dir, "convert " + Quoted(dir.File("ed50.shp")) + " -o " + Quoted(dir.File("etrs.pun")) + " --t_srs EPSG:25830");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_NE(outcome.err.find("1,5 m"), std::string::npos) << outcome.err;
  const std::vector<double> expected = geo_testing::Cs2cs("EPSG:23030", "EPSG:25830", "440000 4474000 650\\n");
  const std::vector<double> point = FirstPoint(dir.File("etrs.pun"));
  EXPECT_NEAR(point[1], expected[0], 0.0006);
  EXPECT_NEAR(point[2], expected[1], 0.0006);
}

TEST(ConvertWithSystems, RefusalsSayWhyAndLeaveNoTarget) {
  TempDir dir;
  testing_support::WriteFile(dir.File("h.pun"), "    1      -0.500     38.300  100.000\n");
  const std::string alignment = PASARELA_SOURCE_DIR "/samples/ejes/variante.eje";
  const std::string surface = kData + "/geo/terreno.sup";
  testing_support::WriteFile(dir.File("corta.ras"), "100.000 613.881 0 0 0\n1500.000 605.000 0 0 0\n");
  struct Refusal {
    std::string line;
    std::string target;
    std::string said;
  };
  const Refusal refusals[] = {
      {"convert " + Quoted(dir.File("h.pun")) + " -o " + Quoted(dir.File("h2.pun")) + " --s_srs EPSG:4937 --t_srs EPSG:9505",
       dir.File("h2.pun"), "es_ign_egm08-rednap.tif"},
      {"convert " + Quoted(alignment) + " -o " + Quoted(dir.File("v.gts")) + " --t_srs EPSG:25829", dir.File("v.gts"),
       "elemento a elemento"},
      {"convert " + Quoted(dir.File("h.pun")) + " -o " + Quoted(dir.File("h3.pun")) + " --s_srs EPSG:4326",
       dir.File("h3.pun"), "--t_srs"},
      {"convert " + Quoted(surface) + " -o " + Quoted(dir.File("t.geojson")), dir.File("t.geojson"), "--s_srs"},
      {"convert " + Quoted(surface) + " -o " + Quoted(dir.File("t.kml")) + " --s_srs EPSG:25830 --t_srs EPSG:25829",
       dir.File("t.kml"), "WGS84"},
      {"convert " + Quoted(alignment) + " -o " + Quoted(dir.File("v.gpkg")) + " --s_srs EPSG:25830 --with-profile " +
           Quoted(dir.File("corta.ras")),
       dir.File("v.gpkg"), "no cubre el eje"},
      // Points on their way to a map through the native file have no use for a profile.
      {"convert " + Quoted(kData + "/geo/sistema.xml") + " -o " + Quoted(dir.File("p.gpkg")) + " --with-profile " +
           Quoted(dir.File("corta.ras")),
       dir.File("p.gpkg"), "sobra --with-profile"},
      // A map's system is --t_srs; --crs names an IFC file's.
      {"convert " + Quoted(kData + "/geo/sistema.xml") + " -o " + Quoted(dir.File("p.kml")) + " --crs EPSG:25830",
       dir.File("p.kml"), "sobra --crs"},
  };
  for (const Refusal& refusal : refusals) {
    const Outcome outcome = Cli(dir, refusal.line);
    EXPECT_EQ(outcome.status, 1) << refusal.line << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find(refusal.said), std::string::npos) << refusal.line << "\n" << outcome.err;
    EXPECT_FALSE(testing_support::FileExists(refusal.target)) << refusal.target;
  }
  // Allowed, the heights stay and the operation is said to be a ballpark one.
  const Outcome allowed = Cli(dir, "convert " + Quoted(dir.File("h.pun")) + " -o " + Quoted(dir.File("h4.pun")) +
                                       " --s_srs EPSG:4937 --t_srs EPSG:9505 --allow-ballpark");
  EXPECT_EQ(allowed.status, 0) << allowed.err;
  EXPECT_NE(allowed.err.find("aproximada"), std::string::npos) << allowed.err;
}

// A map straight from a format of other programs goes through the native file: the same map as
// the one written from that native file, the system the document names taken as the source's,
// and no scratch file left behind.
TEST(ConvertWithSystems, AMapOfAnotherProgramsFileIsTheMapOfItsNativeFile) {
  TempDir dir;
  const std::string document = Quoted(kData + "/geo/sistema.xml");
  ASSERT_EQ(Cli(dir, "convert " + document + " -o " + Quoted(dir.File("p.pun"))).status, 0);
  const Outcome fromNative = Cli(dir, "convert " + Quoted(dir.File("p.pun")) + " -o " +
                                          Quoted(dir.File("nativo.geojson")) + " --s_srs EPSG:23030");
  ASSERT_EQ(fromNative.status, 0) << fromNative.err;
  const Outcome straight = Cli(dir, "convert " + document + " -o " + Quoted(dir.File("directo.geojson")));
  ASSERT_EQ(straight.status, 0) << straight.err;
  EXPECT_NE(straight.err.find("ED50"), std::string::npos) << straight.err;
  EXPECT_EQ(ReadFile(dir.File("directo.geojson")), ReadFile(dir.File("nativo.geojson")));
  // A document holding nothing a map takes is still refused with what it converts to.
  const Outcome refused = Cli(dir, "convert " + Quoted(PASARELA_SOURCE_DIR "/samples/rasantes/variante.ras") +
                                       " -o " + Quoted(dir.File("r.kml")) + " --s_srs EPSG:25830");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("no se convierte a kml"), std::string::npos) << refused.err;
}

// The system each kind of file names is the one its own reader takes: a LandXML document's
// WKT with its quotes written as entities, an IFC file's IfcProjectedCRS; and an IFC
// alignment reaches a map in the system it names.
TEST(ConvertWithSystems, TheSystemAFileNamesIsReadByItsFormatsReader) {
  TempDir dir;
  testing_support::WriteFile(dir.File("wkt.xml"),
                             "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
                             "version=\"1.2\">\n<CoordinateSystem ogcWktCode=\"PROJCS[&quot;ED50 / UTM zone "
                             "30N&quot;,GEOGCS[&quot;ED50&quot;]]\"/>\n<CgPoints><CgPoint name=\"1\">4474000 440000 "
                             "650</CgPoint></CgPoints></LandXML>\n");
  const Outcome wkt = Cli(dir, "info " + Quoted(dir.File("wkt.xml")));
  EXPECT_NE(wkt.out.find("Sistema de coordenadas: ED50 / UTM zone 30N\n"), std::string::npos) << wkt.out;
  ASSERT_EQ(Cli(dir, "convert " + Quoted(PASARELA_SOURCE_DIR "/samples/ejes/variante.eje") + " -o " +
                         Quoted(dir.File("v.ifc")) + " --crs EPSG:25830").status, 0);
  const Outcome ifc = Cli(dir, "info --json " + Quoted(dir.File("v.ifc")));
  EXPECT_NE(ifc.out.find("\"crs\":{\"name\":\"EPSG:25830\",\"definition\":\"EPSG:25830\"}"), std::string::npos)
      << ifc.out;
  const Outcome map = Cli(dir, "convert " + Quoted(dir.File("v.ifc")) + " -o " + Quoted(dir.File("v.kml")));
  EXPECT_EQ(map.status, 0) << map.err;
  EXPECT_NE(map.err.find("ETRS89 / UTM zone 30N (EPSG:25830) a WGS 84"), std::string::npos) << map.err;
}

TEST(ConvertWithSystems, ASurfaceIsMovedWithItsTriangles) {
  TempDir dir;
  const Outcome outcome = Cli(dir, "convert " + Quoted(kData + "/geo/terreno.sup") + " -o " + Quoted(dir.File("t.sup")) +
                                       " --s_srs EPSG:25830 --t_srs EPSG:23030");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const Outcome info = Cli(dir, "info " + Quoted(dir.File("t.sup")));
  EXPECT_NE(info.out.find("12 puntos, 12 caras"), std::string::npos) << info.out;
  // Each point moved as cs2cs moves it, to 0.1 mm (the surface file keeps doubles).
  planimetro::surface::SurfaceFileContents before, after;
  std::string problem;
  ASSERT_TRUE(planimetro::surface::LeerFicheroSup(kData + "/geo/terreno.sup", before, problem)) << problem;
  ASSERT_TRUE(planimetro::surface::LeerFicheroSup(dir.File("t.sup"), after, problem)) << problem;
  ASSERT_EQ(after.points.size(), before.points.size());
  EXPECT_EQ(after.triangles.size(), before.triangles.size());
  std::string input;
  for (const auto& p : before.points) input += std::to_string(p.x) + " " + std::to_string(p.y) + " " + std::to_string(p.z) + "\\n";
  const std::vector<double> expected = geo_testing::Cs2cs("EPSG:25830", "EPSG:23030", input);
  ASSERT_EQ(expected.size(), 3 * before.points.size());
  for (std::size_t i = 0; i < before.points.size(); ++i) {
    bool found = false;
    for (const auto& p : after.points) {
      found = found || (std::fabs(p.x - expected[3 * i]) < 1e-4 && std::fabs(p.y - expected[3 * i + 1]) < 1e-4 &&
                        std::fabs(p.z - before.points[i].z) < 1e-9);
    }
    EXPECT_TRUE(found) << i;
  }
}

}  // namespace
