#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "viaducto.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(CrossSectionGts, NativeToGtsCarriesTheFirstWordOfACode) {
  TempDir dir;
  WriteFile(dir.File("s.tra"),
            "10 -2 100.5\r\n"
            "  10.000    0.000  101.000 EJE central\r\n"
            "\r\n"
            "10 2\r\n"
            "10 -0.0001 99 \r\n"
            "20 0 1 SIN-FIN");  // no line break: not read
  ASSERT_EQ(MyDll_zemta2gts(dir.File("s.tra").c_str(), dir.File("s.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("s.gts")), CrLf("10.000,-2.000,100.500\n10.000,0.000,101.000,EJE\n10.000,0.000,99.000\n"));
}

TEST(CrossSectionGts, GtsToNativeKeepsTheWholeCode) {
  TempDir dir;
  WriteFile(dir.File("s.gts"), "10,-2,100.5,BORDE DE  CALZADA\n1200.25,3.5,7\n1200.25,4,8,\n1,2\n");
  ASSERT_EQ(MyDll_trazemta2gts(dir.File("s.gts").c_str(), dir.File("s.tra").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("s.tra")), CrLf("  10.000   -2.000  100.500 BORDE DE  CALZADA\n"
                                              "1200.250    3.500    7.000 \n"
                                              "1200.250    4.000    8.000 \n"));
}

TEST(CrossSectionGts, UnreadableSourceOrTargetGivesZero) {
  TempDir dir;
  WriteFile(dir.File("s.tra"), "1 2 3\n");
  EXPECT_EQ(MyDll_zemta2gts(dir.File("no.tra").c_str(), dir.File("s.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("s.gts")));
  EXPECT_EQ(MyDll_zemta2gts(dir.File("s.tra").c_str(), dir.File("no/s.gts").c_str()), 0);
  EXPECT_EQ(MyDll_trazemta2gts(dir.File("no.gts").c_str(), dir.File("s.tra").c_str()), 0);
  EXPECT_EQ(MyDll_zemta2gts(nullptr, nullptr), 0);
  EXPECT_EQ(MyDll_trazemta2gts(dir.path().c_str(), dir.File("d.tra").c_str()), 0);  // a directory
}

TEST(GtsPoints, PointsWithAndWithoutCode) {
  TempDir dir;
  WriteFile(dir.File("p.txt"), "12 1000.1 2000.2 50.25\n13\t1000.1\t2000.2\t50.25\tARB\n14 1 2\n\n15 -0.0001 0 0 \n");
  ASSERT_EQ(MyDll_puntos2gts(dir.File("p.txt").c_str(), dir.File("p.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("p.gts")),
            CrLf("12,1000.100,2000.200,50.250\n13,1000.100,2000.200,50.250,ARB\n15,0.000,0.000,0.000\n"));
  EXPECT_EQ(MyDll_puntos2gts(dir.File("no.txt").c_str(), dir.File("q.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("q.gts")));
}
