#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "formats/native/cross_section_set.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
using viaducto::CrossSectionPoint;
using viaducto::CrossSectionSet;

namespace {

std::string Written(const CrossSectionSet& set) {
  common::TextWriter writer;
  set.Format(writer);
  return writer.Bytes();
}

CrossSectionSet Parsed(const std::string& text) {
  CrossSectionSet set;
  set.Parse(text);
  return set;
}

}  // namespace

TEST(CrossSectionNativeFile, LoadsFieldsCodesAndSkipsShortOrUnfinishedLines) {
  const CrossSectionSet set = Parsed(
      "100 2.5 30\n"
      "100\t-3 31 TALUD PIE\n"
      "100 4\n"
      "abc 1 2 \n"
      "120 0 40");  // no line break: never read
  ASSERT_EQ(set.Count(), 3u);
  EXPECT_EQ(set.points[0].station, 100);
  EXPECT_EQ(set.points[0].offset, 2.5);
  EXPECT_EQ(set.points[0].elevation, 30);
  EXPECT_EQ(set.points[0].code, "");
  EXPECT_EQ(set.points[1].offset, -3);
  EXPECT_EQ(set.points[1].code, "TALUD");
  EXPECT_EQ(set.points[2].station, 0);  // text that is no number reads as 0
  EXPECT_EQ(Written(set), CrLf(" 100.000    2.500   30.000 \n"
                               " 100.000   -3.000   31.000 TALUD\n"
                               "   0.000    1.000    2.000 \n"));
}

TEST(CrossSectionNativeFile, EmptyAndMissingFiles) {
  TempDir dir;
  WriteFile(dir.File("vacio.tra"), "");
  CrossSectionSet set;
  set.points.push_back(CrossSectionPoint{1, 2, 3, "x"});
  EXPECT_EQ(set.Load(dir.File("vacio.tra")), 0u);
  EXPECT_EQ(set.Count(), 0u);
  EXPECT_TRUE(set.Write(dir.File("salida.tra")));
  EXPECT_EQ(ReadFile(dir.File("salida.tra")), "");
  EXPECT_EQ(set.Load(dir.File("no-existe.tra")), 0u);
  EXPECT_FALSE(set.Write(dir.File("no-existe/salida.tra")));
  EXPECT_FALSE(FileExists(dir.File("no-existe/salida.tra")));
}

TEST(CrossSectionNativeFile, LongLineArrivesInPieces) {
  // 300 characters: the first 255 make one line, the rest another.
  std::string line = "10 1 2 " + std::string(248, 'A');
  line += " 11 3 4 B\n";
  const CrossSectionSet set = Parsed(line);
  ASSERT_EQ(set.Count(), 2u);
  EXPECT_EQ(set.points[0].code, std::string(248, 'A'));
  EXPECT_EQ(set.points[1].station, 11);
}

TEST(CrossSectionNativeFile, CleanDropsRepeatsAndSeparatesVerticalSteps) {
  CrossSectionSet set = Parsed(
      "100 5 10\n100 5 10\n100 5 10\n"  // repeated: one stays
      "100 6 10\n100 6 12\n"            // vertical step: the second moves left
      "100 7 10\n100 8 10\n100 7 10\n"  // not consecutive: both stay
  );
  set.Clean();
  ASSERT_EQ(set.Count(), 6u);
  EXPECT_DOUBLE_EQ(set.points[2].offset, 5.999);
  EXPECT_EQ(set.points[2].elevation, 12);
  set.Sort();
  EXPECT_EQ(Written(set), CrLf(" 100.000    5.000   10.000 \n"
                               " 100.000    5.999   12.000 \n"
                               " 100.000    6.000   10.000 \n"
                               " 100.000    7.000   10.000 \n"
                               " 100.000    7.000   10.000 \n"
                               " 100.000    8.000   10.000 \n"));
}

TEST(CrossSectionNativeFile, SectionOrder) {
  const CrossSectionPoint nearlySame{100.00005, 3, 0, ""};
  const CrossSectionPoint plain{100.0, 1, 0, ""};
  // Stations within 0.0001: the larger offset comes after.
  EXPECT_GT(viaducto::CompareStationThenOffset(nearlySame, plain, viaducto::kSectionTolerance), 0);
  EXPECT_LT(viaducto::CompareStationThenOffset(plain, nearlySame, viaducto::kSectionTolerance), 0);
  EXPECT_EQ(viaducto::CompareStationThenOffset(plain, CrossSectionPoint{100.00002, 1.00003, 9, ""},
                                               viaducto::kSectionTolerance),
            0);
  CrossSectionSet set = Parsed("120 -1 1\n100 3 1\n100 -3 1\n110 0 1\n100 0 1\n");
  set.Sort();
  EXPECT_EQ(Written(set), CrLf(" 100.000   -3.000    1.000 \n 100.000    0.000    1.000 \n 100.000    3.000    1.000 \n"
                               " 110.000    0.000    1.000 \n 120.000   -1.000    1.000 \n"));
}

TEST(CrossSectionNativeFile, StationsInRangeAndStationRun) {
  const CrossSectionSet set = Parsed("100 -1 1\n100 0 1\n100 1 1\n120 0 1\n130 -1 1\n130 1 1\n");
  EXPECT_EQ(set.StationsInRange(viaducto::kLowestStation, viaducto::kHighestStation),
            (std::vector<double>{100, 120, 130}));
  EXPECT_EQ(set.StationsInRange(110, viaducto::kHighestStation), (std::vector<double>{110, 120, 130}));
  std::size_t first = 0, last = 0;
  ASSERT_TRUE(set.StationRun(100, first, last));
  EXPECT_EQ(first, 0u);
  EXPECT_EQ(last, 2u);
  ASSERT_TRUE(set.StationRun(130, first, last));
  EXPECT_EQ(first, 4u);
  EXPECT_EQ(last, 5u);
  EXPECT_FALSE(set.StationRun(120, first, last));  // a single point is no run
  EXPECT_FALSE(set.StationRun(125, first, last));
}
