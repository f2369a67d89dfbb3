#include "formats/gts800/robotic_station.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "viaducto.h"

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// Station at X0 500, Y0 800, Z0 50, instrument height 1.5.
//
// B, face II first (V 305) then face I (V 95): the faces swap, so Hz1 = 100, Hz2 = 300.004
// and Hz = 100 - (500 - 500.004) / 2 = 100.002 gon. D = 150.
//   X = 500 + 150 sin(100.002 gon) = 500 + 150 cos(0.002 gon) = 650.000
//   Y = 800 + 150 cos(100.002 gon) = 800 - 150 sin(3.1416e-5 rad) = 799.995
//   dz = 150 / tan(95 gon) = 150 / 12.70620 = 11.80526 (face II gives -11.80526)
//   Z = 50 + 1.5 + 11.80526 - (1.2 + 1.4) / 2 = 62.005; code of face I: "CARA1".
// A, face I first: Hz 50 and 250.004 give 50.002 gon; D = (20.000 + 20.002) / 2 = 20.001.
//   X = 500 + 20.001 sin(45.0018 deg) = 500 + 20.001 x 0.7071290 = 514.143
//   Y = 800 + 20.001 cos(45.0018 deg) = 800 + 20.001 x 0.7070846 = 814.142
//   dz1 = 20 / tan(81 deg) = 3.16769, dz2 = 20.002 / tan(279 deg) = -3.16801
//   Z = 50 + 1.5 + (3.16769 + 3.16801) / 2 - 1.3 = 53.368
// C, one face: Hz 200, V 100, D 10, target 0.5: X 500.000, Y 790.000, Z 51.000.
const char kReadings[] =
    "JOB GT8,CONTROL.JOB\r\n"
    "DATE 01-02-2024,09:15:00\r\n"
    "STN S1,1.500,BASE\r\n"
    "XYZ 500.000,800.000,50.000\r\n"
    "SS B,1.200,CARA2\r\n"
    "SD 300.0040,305.0000,150.000\r\n"
    "ss b,1.400,CARA1\r\n"
    "sd 100.0000,95.0000,150.000\r\n"
    "SS A,1.300,PILAR\r\n"
    "SD 50.0000,90.0000,20.000\r\n"
    "SS A,1.300,PILAR\r\n"
    "SD 250.0040,310.0000,20.002\r\n"
    "SS C,0.500,HITO\r\n"
    "SD 200.0000,100.0000,10.000\r\n";

const char kKnown[] =
    "C, 500.001, 790.002, 51.000\n"
    "D 1.0 2.0 3.0\n"  // never observed: left out
    "a\t514.140\t814.140\t53.370\n"
    "b,650.000,799.990,62.000\n"
    "E,1.0,2.0\n";  // no Z: skipped

const char kColumnReport[] =
    "TRABAJO:\tPresa\n"
    "OPERARIO:\t-\n"
    "DESCRIPCION:\t-\n"
    "TEMPERATURA 14\xBA"
    "C\n"
    "FECHA -\n"
    "HORA 10:00\n"
    "CODIGO:\tCARA1\n"
    "\n\n"
    "                     a          b          C\n"
    "X0             514.140    650.000    500.001\n"
    "Y0             814.140    799.990    790.002\n"
    "Z0              53.370     62.000     51.000\n"
    "\n"
    "X1             514.143    650.000    500.000\n"
    "Y1             814.142    799.995    790.000\n"
    "Z1              53.368     62.005     51.000\n"
    "\n"
    "XM             514.143    650.000    500.000\n"
    "YM             814.142    799.995    790.000\n"
    "ZM              53.368     62.005     51.000\n"
    "\n"
    "XDif             0.000      0.000      0.000\n"
    "YDif             0.000      0.000      0.000\n"
    "ZDif             0.000      0.000      0.000\n";

int Process(const TempDir& dir, const std::string& readings, const std::string& known, const std::string& target) {
  WriteFile(dir.File("lecturas.txt"), readings);
  WriteFile(dir.File("puntos.txt"), known);
  return MyDll_procesaRobotizada(dir.File("lecturas.txt").c_str(), dir.File("puntos.txt").c_str(), target.c_str(),
                                 "Presa", "", nullptr, "14", "", "10:00");
}

}  // namespace

TEST(RoboticStation, TwoFacesReducedAgainstHandComputedCoordinates) {
  TempDir dir;
  ASSERT_EQ(dir.path().find("temp"), std::string::npos) << "the report layout depends on the path";
  const std::string target = dir.File("informe.txt");
  ASSERT_EQ(Process(dir, kReadings, kKnown, target), 1);
  EXPECT_EQ(ReadFile(target), CrLf(kColumnReport));
}

TEST(RoboticStation, TempInThePathSelectsTheBlankSeparatedLayout) {
  TempDir dir;
  ASSERT_EQ(dir.path().find("temp"), std::string::npos);
  ASSERT_EQ(Process(dir, kReadings, kKnown, dir.File("informe_temp.txt")), 1);
  EXPECT_EQ(ReadFile(dir.File("informe_temp.txt")),
            CrLf("TRABAJO Presa\nOPERARIO -\nDESCRIPCION -\nTEMPERATURA 14\xBA"
                 "C\nFECHA -\nHORA 10:00\n"
                 "CODIGO CARA1\n\n"
                 " a b C \n"
                 "X0 514.140 650.000 500.001 \nY0 814.140 799.990 790.002 \nZ0 53.370 62.000 51.000 \n\n"
                 "X1 514.143 650.000 500.000 \nY1 814.142 799.995 790.000 \nZ1 53.368 62.005 51.000 \n\n\n"
                 "XM 514.143 650.000 500.000 \nYM 814.142 799.995 790.000 \nZM 53.368 62.005 51.000 \n\n"
                 "XDif 0.000 0.000 0.000 \nYDif 0.000 0.000 0.000 \nZDif 0.000 0.000 0.000 \n"));
  ASSERT_EQ(Process(dir, kReadings, kKnown, dir.File("informe_Temp.txt")), 1);
  EXPECT_EQ(ReadFile(dir.File("informe_Temp.txt")), CrLf(kColumnReport));
}

TEST(RoboticStation, IncompleteSeriesIsLeftOutButCountsInTheStatistics) {
  // Station at the origin, level sights (V 100): P1 north, P2 east, P3 south; P3 is missed
  // in the third series.
  const std::string readings =
      "STN S,0.000,B\nXYZ 0,0,0\n"
      "SS P1,0,C\nSD 0,100,10.000\nSS P2,0,C\nSD 100,100,20.000\nSS P3,0,C\nSD 200,100,30.000\n"
      "SS P1,0,C\nSD 0,100,10.002\nSS P2,0,C\nSD 100,100,20.003\nSS P3,0,C\nSD 200,100,30.002\n"
      "SS P1,0,C\nSD 0,100,10.004\nSS P2,0,C\nSD 100,100,20.006\n";
  TempDir dir;
  ASSERT_EQ(dir.path().find("temp"), std::string::npos);
  ASSERT_EQ(Process(dir, readings, "P1,0,10,0\nP2,20,0,0\nP3,0,-30,0\n", dir.File("r.txt")), 1);
  const std::string report = ReadFile(dir.File("r.txt"));
  const std::string tail = report.substr(report.find("X1 "));
  EXPECT_EQ(tail, CrLf("X1               0.000     20.000      0.000\n"
                       "Y1              10.000      0.000    -30.000\n"
                       "Z1               0.000      0.000      0.000\n"
                       "\n"
                       "X2               0.000     20.003      0.000\n"
                       "Y2              10.002      0.000    -30.002\n"
                       "Z2               0.000      0.000      0.000\n"
                       "\n"
                       "XM               0.000     20.003      0.000\n"
                       "YM              10.002      0.000    -30.001\n"
                       "ZM               0.000      0.000      0.000\n"
                       "\n"
                       "XDif             0.000      0.006      0.000\n"
                       "YDif             0.004      0.000      0.002\n"
                       "ZDif             0.000      0.000      0.000\n"));
}

TEST(RoboticStation, ReadingRules) {
  // A sideshot without a measurement does not swallow the sideshot after it; an SD line that
  // follows nothing is ignored; the station comes from the last XYZ line.
  const viaducto::StationReadings readings = viaducto::ParseStationReadings(
      "SD 1,2,3\nSTN S,1.000,X\nSS Q,0,K\nSS R,0.000,K\nSD 100,100,5\nXYZ\nSTN S,1.250\nXYZ 10,20,30\n");
  ASSERT_EQ(readings.records.size(), 2u);
  EXPECT_EQ(readings.records[0].name, "R");
  EXPECT_EQ(readings.records[1].kind, viaducto::ObservationKind::kSetUp);
  EXPECT_EQ(readings.instrumentHeight, 1.25);
  EXPECT_EQ(readings.x0, 10);
  const std::vector<viaducto::ComputedPoint> points = viaducto::ComputePoints(readings);
  ASSERT_EQ(points.size(), 1u);
  EXPECT_NEAR(points[0].x, 15, 1e-9);
  EXPECT_NEAR(points[0].z, 31.25, 1e-9);
}

TEST(RoboticStation, LongNamesAreWrittenWhole) {
  const std::string name(120, 'N');
  TempDir dir;
  ASSERT_EQ(dir.path().find("temp"), std::string::npos);
  ASSERT_EQ(Process(dir, "STN S,0,B\nXYZ 0,0,0\nSS " + name + ",0," + std::string(120, 'k') + "\nSD 0,100,1\n",
                    name + ",0,1,0\n", dir.File("r.txt")),
            1);
  const std::string report = ReadFile(dir.File("r.txt"));
  EXPECT_NE(report.find("           " + name + "\r\n"), std::string::npos);
  EXPECT_NE(report.find("CODIGO:\t" + std::string(120, 'k') + "\r\n"), std::string::npos);
}

TEST(RoboticStation, MissingFilesGiveZeroAndNoReport) {
  TempDir dir;
  WriteFile(dir.File("puntos.txt"), kKnown);
  WriteFile(dir.File("lecturas.txt"), kReadings);
  const std::string target = dir.File("r.txt");
  EXPECT_EQ(MyDll_procesaRobotizada(dir.File("x").c_str(), dir.File("puntos.txt").c_str(), target.c_str(), "", "", "",
                                    "", "", ""),
            0);
  EXPECT_EQ(MyDll_procesaRobotizada(dir.File("lecturas.txt").c_str(), dir.File("x").c_str(), target.c_str(), "", "", "",
                                    "", "", ""),
            0);
  EXPECT_FALSE(FileExists(target));
  EXPECT_EQ(MyDll_procesaRobotizada(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(MyDll_procesaCabecera(dir.File("x").c_str(), target.c_str()), 0);
  EXPECT_FALSE(FileExists(target));
}

TEST(RoboticStation, HeaderOfTheReadings) {
  TempDir dir;
  const std::string target = dir.File("cabecera.txt");
  ASSERT_EQ(MyDll_procesaCabecera(DataFile("gts800/robotizada_lecturas.txt").c_str(), target.c_str()), 1);
  // The time keeps the line break of its line.
  EXPECT_EQ(ReadFile(target), CrLf("PRESA_NORTE\n15-03-2024\n10:42:05\n\n"));
  WriteFile(dir.File("l.txt"), "JOB sin coma\nDATE  solo-fecha  ");
  ASSERT_EQ(MyDll_procesaCabecera(dir.File("l.txt").c_str(), target.c_str()), 1);
  EXPECT_EQ(ReadFile(target), CrLf("\nsolo-fecha\n\n"));
}

TEST(RoboticStation, SampleReport) {
  TempDir dir;
  ASSERT_EQ(dir.path().find("temp"), std::string::npos);
  ASSERT_EQ(MyDll_procesaRobotizada(DataFile("gts800/robotizada_lecturas.txt").c_str(),
                                    DataFile("gts800/robotizada_puntos.txt").c_str(), dir.File("i.txt").c_str(),
                                    "Presa Norte", "J. Perez", "Auscultacion mensual", "14", "15-03-2024", "10:42"),
            1);
  EXPECT_EQ(ReadFile(dir.File("i.txt")), ReadFile(DataFile("gts800/robotizada_informe.txt")));
}
