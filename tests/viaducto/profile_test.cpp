#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "support/test_support.h"
#include "viaducto.h"
#include "formats/gts/gts_profile.h"
#include "formats/native/native_profile.h"
#include "common/profile_curves.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

common::ProfileVertex Vertex(double station, double elevation, double tangent = 0) {
  common::ProfileVertex v;
  v.station = station;
  v.elevation = elevation;
  v.tangent = tangent;
  return v;
}

const char kCrest[] = "0.000, 100.000, 0.000\r\n100.000, 102.000, 100.000\r\n200.000, 100.000, 0.000";

}  // namespace

TEST(ProfileCurves, ParabolicAndCircularFromTheTangent) {
  viaducto::Profile crest = {Vertex(0, 100), Vertex(100, 102, 50), Vertex(200, 100)};
  common::CompleteCurves(crest, false);
  EXPECT_NEAR(crest[1].kv, 2500, 1e-9);
  EXPECT_NEAR(crest[1].external, 0.5, 1e-12);
  EXPECT_EQ(crest[2].kv, 0);
  EXPECT_EQ(crest[2].external, 0);

  viaducto::Profile circle = {Vertex(0, 100), Vertex(100, 102, 50), Vertex(200, 100)};
  common::CompleteCurves(circle, true);
  const double radius = 50 / std::tan((std::atan(0.02) - std::atan(-0.02)) / 2);
  EXPECT_NEAR(circle[1].kv, radius, 1e-9);
  EXPECT_NEAR(circle[1].external, std::sqrt(radius * radius + 2500) - radius, 1e-9);
}

TEST(ProfileCurves, NoInfiniteOrUndefinedValues) {
  // A curve where the grade does not change has no kv: it is stored as 0.
  viaducto::Profile flat = {Vertex(0, 100), Vertex(100, 101, 40), Vertex(200, 102)};
  common::CompleteCurves(flat, false);
  EXPECT_EQ(flat[1].kv, 0);
  viaducto::Profile flatCircle = flat;
  common::CompleteCurves(flatCircle, true);
  EXPECT_EQ(flatCircle[1].kv, 0);
  EXPECT_EQ(flatCircle[1].external, 0);
  common::TextWriter writer;
  common::FormatNativeProfile(flatCircle, common::NativeProfileLayout::kFixedWidth, writer);
  EXPECT_EQ(writer.Bytes().find("nan"), std::string::npos);
  EXPECT_EQ(writer.Bytes().find("inf"), std::string::npos);

  // Two vertices at one station: a steep grade, not a division by zero.
  EXPECT_EQ(common::GradeBetween(Vertex(10, 5), Vertex(10, 6)), 100000000.0);
  EXPECT_EQ(common::GradeBetween(Vertex(10, 5), Vertex(10, 4)), -100000000.0);
  EXPECT_EQ(common::GradeBetween(Vertex(10, 5), Vertex(10, 5.00005)), 0.0);
}

TEST(NativeProfile, ThreeLayouts) {
  viaducto::Profile crest = {Vertex(0, 100), Vertex(100, 102, 50), Vertex(200, 100)};
  common::CompleteCurves(crest, false);
  crest[0].kv = 9;  // ends are written without curve in the tab and blank layouts
  common::TextWriter fixed, tab, blank;
  common::FormatNativeProfile(crest, common::NativeProfileLayout::kFixedWidth, fixed);
  common::FormatNativeProfile(crest, common::NativeProfileLayout::kTab, tab);
  common::FormatNativeProfile(crest, common::NativeProfileLayout::kBlank, blank);
  EXPECT_EQ(fixed.Bytes(), CrLf("     0.000  100.000     9.000    0.000    0.000\n"
                                "   100.000  102.000  2500.000   50.000    0.500\n"
                                "   200.000  100.000     0.000    0.000    0.000\n"));
  EXPECT_EQ(tab.Bytes(), CrLf("0.000\t100.000\t0.000\t0.000\t0.000\n100.000\t102.000\t2500.000\t50.000\t0.500\n"
                              "200.000\t100.000\t0.000\t0.000\t0.000\n"));
  EXPECT_EQ(blank.Bytes(), CrLf("0.000 100.000 0.000 0.000 0.000\n100.000 102.000 2500.000 50.000 0.500\n"
                                "200.000 100.000 0.000 0.000 0.000\n"));
}

TEST(NativeProfile, ReadersSkipCommentsAndShortLines) {
  const viaducto::Profile read =
      common::ParseNativeProfile("# rasante\n0 100 0 0 0\n\n1 2 3 4\n100\t102\t2500\t50\t0.5\n");
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].tangent, 50);

  const viaducto::Profile forLandXml = common::ParseNativeProfileForLandXml("0 1\n0 100\n100 102 2500\n5\n7     \n");
  ASSERT_EQ(forLandXml.size(), 2u);
  EXPECT_EQ(forLandXml[0].elevation, 100);
  EXPECT_EQ(forLandXml[1].kv, 2500);
  EXPECT_EQ(forLandXml[1].tangent, 0);
}

TEST(ProfileExports, NativeToGtsEndsWithoutLineFeed) {
  EXPECT_EQ(ConvertBytes(MyDll_rterrex2gts, "0 100 0 0 0\r\n# vertice\r\n100 102 2500 50 0.5\r\n200 100 0 0 0\r\n"), kCrest);
  EXPECT_EQ(ConvertBytes(MyDll_rterrex2gts, "200 100 0 0 0\n"), "200.000, 100.000, 0.000");
  EXPECT_EQ(ConvertBytes(MyDll_rterrex2gts, "sin vertices\n", 0), "<none>");
  EXPECT_EQ(MyDll_rterrex2gts("/no/existe.ras", "/tmp/nunca.gts"), 0);
}

TEST(ProfileExports, IspolAndIstramListings) {
  // Ispol gives the grade that ends at each vertex; Istram the one that starts there.
  const std::string ispol =
      "# ISPOL rasante\n# pk cota - - - - pend kv\n"
      "0 100 a b c d 0 0\n100 102 a b c d 2 2500\n200 100 a b c d -2 0\n# fin\n300 999 a b c d 0 0\n";
  EXPECT_EQ(ConvertBytes(MyDll_rispol2gts, ispol), kCrest);
  EXPECT_EQ(ConvertBytes(MyDll_rterrex2gts, ispol), kCrest);  // "#" first: read as Ispol
  const std::string istram = "# ISTRAM\n0 100 a b c d 2 0\n\n100 102 a b c d -2 2500\ncorta 1 2\n200 100 a b c d 0 0\n";
  EXPECT_EQ(ConvertBytes(MyDll_ristram2gts, istram), kCrest);
  EXPECT_EQ(ConvertBytes(MyDll_rispol2gts, "# solo cabecera\n", 0), "<none>");
  EXPECT_EQ(MyDll_ristram2gts("/no/existe.txt", "/tmp/nunca.gts"), 0);
}

TEST(ProfileExports, GtsBackToNativeKeepsStationElevationAndTangent) {
  EXPECT_EQ(ConvertBytes(MyDll_raszemta2gts, kCrest),
            CrLf("0.000\t100.000\t0.000\t0.000\t0.000\n100.000\t102.000\t2500.000\t50.000\t0.500\n"
                 "200.000\t100.000\t0.000\t0.000\t0.000\n"));
  EXPECT_EQ(MyDll_raszemta2gts("/no/existe.gts", "/tmp/nunca.ras"), 0);
}

TEST(ProfileExports, CartomapKeywordText) {
  const std::string text =
      "RASANTE EJE 1\nINICIO 0.000 100.000 0\nvertice   100.000 102.000 -2500\nFINAL 1\nFINAL 200.000 100.000\n";
  EXPECT_EQ(ConvertBytes(MyDll_rascartomap2zemta, text), CrLf("     0.000  100.000     0.000    0.000    0.000\n"
                                                     "   100.000  102.000  2500.000   50.000    0.500\n"
                                                     "   200.000  100.000     0.000    0.000    0.000\n"));
  EXPECT_EQ(MyDll_rascartomap2zemta("/no/existe.txt", "/tmp/nunca.ras"), 0);
}

TEST(ProfileExports, CartomapTabListingRowsByFieldCount) {
  // 9 fields: first vertex, then only the candidate end; 10 fields: a vertex with curve (kv
  // negative in the listing); 7 fields: a vertex without curve; 10 with a text kv: skipped.
  const std::string listing =
      "PK\tX\tY\tZ\tCOTA\tP1\tP2\tP3\tP4\n"
      "0+000\t1\t2\t3\t100\t0\t0\t0\t0\n"
      "0+100\t1\t2\t3\t4\t5\t6\t-2500\t102\t0\n"
      "0+150\t1\t2\t3\t4\t5\t6\tkv\t102\t0\n"
      "0+200\t1\t2\t3\t999\t0\t0\t0\t0\n"
      "0+200\t1\t2\t3\t100\t0\t0\t0\t0\n";
  EXPECT_EQ(ConvertBytes(MyDll_rasantecartomap2terrex, listing, 3),
            CrLf("0.000 100.000 0.000 0.000 0.000\n100.000 102.000 2500.000 50.000 0.500\n"
                 "200.000 100.000 0.000 0.000 0.000\n"));
  // An end candidate that does not lie past the last vertex is dropped.
  EXPECT_EQ(ConvertBytes(MyDll_rasantecartomap2terrex, listing + "0+050\t1\t2\t3\t100\t0\t0\t0\t0\n", 2),
            CrLf("0.000 100.000 0.000 0.000 0.000\n100.000 102.000 0.000 0.000 0.000\n"));
  EXPECT_EQ(ConvertBytes(MyDll_rasantecartomap2terrex, "1+000\t2\t3\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(MyDll_rasantecartomap2terrex, "1+000\t1\t2\t3\t55.5\t6\t7\n"),
            CrLf("1000.000 55.500 0.000 0.000 0.000\n"));
}
