// Clip TRV cross sections both ways: the sample, side codes, coincident points, the round trip
// through the native file, and the inputs that give no target.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "calzada.h"
#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/mxroad/mxroad.h"
#include "formats/dragados/dragados.h"
#include "formats/ispol/ispol.h"
#include "support/test_support.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string Fixture(const std::string& name) { return ReadFile(DataFile(name)); }

struct Point {
  double station, offset, elevation;
  std::string code;
  bool operator==(const Point& o) const {
    return station == o.station && offset == o.offset && elevation == o.elevation && code == o.code;
  }
};

std::vector<Point> ReadNative(const std::string& bytes) {
  std::vector<Point> points;
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    Point p;
    if (!(fields >> p.station >> p.offset >> p.elevation)) continue;
    fields >> p.code;
    points.push_back(p);
  }
  return points;
}

}  // namespace

TEST(CalzadaClipTrv, SampleImportsAndExports) {
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Cliptrv, Fixture("clip/tramo.trv")), Fixture("native/tramo-importado.tra"));

  // The codes of the sample repeat on both sides of each section: side codes throughout.
  TempDir dir;
  WriteFile(dir.File("tramo.tra"), Fixture("native/tramo.tra"));
  ASSERT_EQ(Calzada_Transver_Exporta_Cliptrv(dir.File("tramo.tra").c_str(), dir.File("tramo.trv").c_str()), 1);
  std::string expected = Fixture("native/tramo-exportado.trv");
  expected.replace(expected.find("@SALIDA@"), 8, dir.File("tramo.trv"));
  EXPECT_EQ(ReadFile(dir.File("tramo.trv")), expected);
}

TEST(CalzadaClipTrv, CodesStayUnlessTheyRepeatWithinASection) {
  const std::string native =
      "10 -2 100 BORDE\n10 0 101\n10 2 100 borde\n"  // repeated without regard to case
      "20 -2 100 BORDE\n20 0 101\n20 2 100 EJE\n";    // unique; the axis point has no code
  TempDir dir;
  WriteFile(dir.File("a.tra"), native);
  ASSERT_EQ(Calzada_Transver_Exporta_Cliptrv(dir.File("a.tra").c_str(), dir.File("a.trv").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("a.trv")), CrLf("*TRV\n" + dir.File("a.trv") +
                                               ",      10.000,      20.000, 0\n"
                                               "      10.000  ,3\n"
                                               "   -2.000,  100.000 ,SI01\n"
                                               "    0.000,  101.000\n"
                                               "    2.000,  100.000 ,SD01\n"
                                               "      20.000  ,3\n"
                                               "   -2.000,  100.000,BORDE\n"
                                               "    0.000,  101.000\n"
                                               "    2.000,  100.000,EJE\n"));
}

TEST(CalzadaClipTrv, RoundTripKeepsEveryPoint) {
  // Sections out of station order, one repeated later in the file, a last line without a line
  // break: every point comes back with its values and code.
  const std::string native =
      "1240.000   -6.250  613.004 TALUD_I\n1240.000    0.000  613.240 EJE\n1240.000    4.125  613.101 BORDE_D\n"
      "1200.000   -3.500  612.330 BORDE_I\n1200.000    0.000  612.400\n1200.000    3.500  612.331 BORDE_D\n"
      "1240.000    7.000  612.000 PIE_D";
  TempDir dir;
  WriteFile(dir.File("a.tra"), native);
  ASSERT_EQ(Calzada_Transver_Exporta_Cliptrv(dir.File("a.tra").c_str(), dir.File("a.trv").c_str()), 1);
  ASSERT_EQ(Calzada_Transver_Importa_Cliptrv(dir.File("a.trv").c_str(), dir.File("b.tra").c_str()), 1);
  std::vector<Point> expected = ReadNative(native);
  // The TRV gathers each station's points into one section.
  std::vector<Point> grouped = {expected[0], expected[1], expected[2], expected[6],
                                expected[3], expected[4], expected[5]};
  EXPECT_EQ(ReadNative(ReadFile(dir.File("b.tra"))), grouped) << ReadFile(dir.File("b.tra"));
}

TEST(CalzadaClipTrv, CoincidentPointsMoveTowardsTheWiderGap) {
  const std::string trv =
      "*TRV\nprueba,0,0, 0\n"
      "100.000  ,4\n0,10,A\n5.0000,11,B\n5.0004,12,C\n10,13,D\n"   // more room before: the first moves left
      "200.000  ,4\n4,10,A\n5.0000,11,B\n5.0004,12,C\n15,13,D\n"   // more room after: the second moves right
      "300.000  ,2\n5.0000,11,B\n5.0004,12,C\n"                    // no room on either side
      "400.000  ,2\n8,11,B\n3,12,C\n";                            // out of order, not coincident
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Cliptrv, trv),
            CrLf("  100.000    0.000   10.000 A\n  100.000    4.999   11.000 B\n  100.000    5.000   12.000 C\n"
                 "  100.000   10.000   13.000 D\n"
                 "  200.000    4.000   10.000 A\n  200.000    5.000   11.000 B\n  200.000    5.001   12.000 C\n"
                 "  200.000   15.000   13.000 D\n"
                 "  300.000    5.000   11.000 B\n  300.000    5.000   12.000 C\n"
                 "  400.000    8.000   11.000 B\n  400.000    3.000   12.000 C\n"));
}

TEST(CalzadaClipTrv, SectionHeadersAndPointLines) {
  // "E,0" reads no point; a point line without elevation still counts as one of the section's
  // lines; the code is the rest of the line, cut to its first word by the axis-point pass,
  // which also adds the axis point between -3 and 2.
  const std::string trv =
      "*TRV\nprueba\n"
      "  50.000 E,0\n"
      "  60.000  ,3\n-3,10,TALUD IZQ\n7\n2,11\n"
      "  70.000  ,1\n1,5,X";
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Cliptrv, trv),
            CrLf("   60.000   -3.000   10.000 TALUD\n   60.000    0.000   10.600 0\n"
                 "   60.000    2.000   11.000 \n   70.000    1.000    5.000 X\n"));
}

TEST(CalzadaClipTrv, NothingToConvert) {
  TempDir dir;
  EXPECT_EQ(Calzada_Transver_Importa_Cliptrv(dir.File("no.trv").c_str(), dir.File("a.tra").c_str()), 0);
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Cliptrv, "*TRV\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Cliptrv, "*TRV\ntitulo\n100,0\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Exporta_Cliptrv, "1 2\nnada\n", 0), "<none>");
  EXPECT_EQ(Calzada_Transver_Exporta_Cliptrv(dir.File("no.tra").c_str(), dir.File("a.trv").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("a.tra")));
  EXPECT_FALSE(FileExists(dir.File("a.trv")));
}
