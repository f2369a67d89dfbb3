// Shapefiles exchanged with GDAL: it reads the geometry and attributes we write, and we read
// the elevations of a PointZ file it writes.
#include <gtest/gtest.h>

#include <string>

#include "shapeline.h"
#include "support/peer_tools.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(ShapefilePeers, GdalReadsTheExportedPoints) {
  REQUIRE_GDAL();
  TempDir dir;
  WriteFile(dir.File("p.pun"), "12 100.5 200.25 30.125 BORDE CALZADA\n13 -1 -2 -3\n");
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("p.shp").c_str()), 1);
  std::string output;
  ASSERT_EQ(RunCommand("ogrinfo -ro -al " + dir.File("p.shp") + " 2>&1", output), 0) << output;
  EXPECT_NE(output.find("Geometry: Point\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Feature Count: 2\n"), std::string::npos);
  EXPECT_NE(output.find("NUMERO: Integer (5.0)\nZ: Real (8.3)\nCODIGO: String (25.0)\n"), std::string::npos) << output;
  EXPECT_NE(output.find("OGRFeature(p):0\n  NUMERO (Integer) = 12\n  Z (Real) = 30.125\n"
                        "  CODIGO (String) = BORDE CALZADA\n  POINT (100.5 200.25)\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("OGRFeature(p):1\n  NUMERO (Integer) = 13\n  Z (Real) = -3.000\n"
                        "  CODIGO (String) = (null)\n  POINT (-1 -2)\n"),
            std::string::npos)
      << output;
}

TEST(ShapefilePeers, APointZFileWrittenByGdalImportsWithItsElevations) {
  REQUIRE_GDAL();
  TempDir dir;
  WriteFile(dir.File("puntos.csv"), "NUMERO,X,Y,ALTURA,CODIGO\n5,400100.25,4400200.5,712.375,ARBOL\n6,1,2,-3.5,\n");
  std::string output;
  ASSERT_EQ(RunCommand("ogr2ogr -f 'ESRI Shapefile' " + dir.File("gdal.shp") + " " + dir.File("puntos.csv") +
                           " -oo X_POSSIBLE_NAMES=X -oo Y_POSSIBLE_NAMES=Y -oo Z_POSSIBLE_NAMES=ALTURA"
                           " -oo AUTODETECT_TYPE=YES -nlt POINTZ 2>&1",
                       output),
            0)
      << output;
  ASSERT_EQ(ImportarPuntosDeShapeline(dir.File("gdal.shp").c_str(), dir.File("gdal.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("gdal.pun")), CrLf("    5  400100.250 4400200.500  712.375 ARBOL\n"
                                                 "    6       1.000       2.000   -3.500 \n"));
}

}  // namespace
