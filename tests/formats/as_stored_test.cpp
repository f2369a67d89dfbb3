// The records a two-stage conversion carries on must be exactly those its second stage would
// read back from the native file the first stage writes: compared here with the file's text
// written and read, on values that round, vanish or overflow, codes with blanks and line
// ends, and lines so long that a read splits them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "formats/native/native_cross_section.h"
#include "formats/native/native_profile.h"
#include "common/printed_values.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace {

const std::vector<double> kAwkwardValues = {0.0,       -0.0004,   0.0005, -0.0005, 1200.4995, 1200.5005, 1e-9,
                                            -1e300,    1e250,     123456789.123456,
                                            std::numeric_limits<double>::infinity(), std::nan(""), 2.675, -2.675};

std::string AsFileText(const common::TextWriter& writer) {
  std::string text = writer.Bytes();
  common::NormalizeLineEnds(text);
  return text;
}

// Equal as stored values: same bits, or both NaN.
bool Same(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b)); }

}  // namespace

TEST(AsPrinted, RoundsAsTheTextDoes) {
  EXPECT_EQ(common::AsPrinted(2.675, 2), 2.67);  // 2.675 is stored a little below
  EXPECT_EQ(common::AsPrinted(1200.5005, 3), 1200.501);
  EXPECT_TRUE(std::signbit(common::AsPrinted(-0.0004, 3)));  // "-0.000" reads as -0
  EXPECT_EQ(common::AsPrinted(std::numeric_limits<double>::infinity(), 3), 0.0);
  EXPECT_EQ(common::AsPrinted(std::nan(""), 3), 0.0);
  EXPECT_EQ(common::AsPrinted(1e250, 3), 1e250);
}

TEST(AsStoredInNativeCrossSections, EqualsTheFileWrittenAndReadInEitherLayout) {
  std::vector<common::CrossSectionPoint> points;
  const std::vector<std::string> codes = {"",     "MOS",  " EJE  izq", "a\tb", std::string(300, 'x') + " 1 2 3",
                                          "fin\r", "fin\n", "dos\nlineas 4 5 6", std::string("nul\0oculto", 10),
                                          std::string("nul\0antes\n", 11)};
  for (std::size_t i = 0; i < kAwkwardValues.size(); ++i) {
    points.push_back(common::CrossSectionPoint{kAwkwardValues[i], kAwkwardValues[kAwkwardValues.size() - 1 - i],
                                               kAwkwardValues[(i * 5) % kAwkwardValues.size()],
                                               codes[i % codes.size()]});
  }
  // Stations that round into a wider field, fill eight or nine columns, or overflow both.
  for (double station : {9999.99951, -999.9996, 1234.5675, -1234.5675, 12345.678, 123456.789, 1e17}) {
    points.push_back(common::CrossSectionPoint{station, -5, 100, "EJE"});
  }
  // Lines about one read long: a station of eight characters makes the line one character
  // longer in the nine-wide layout, one of nine the same in both.
  for (double station : {1200.0, 12000.0}) {
    for (std::size_t length = 224; length <= 229; ++length) {
      points.push_back(common::CrossSectionPoint{station, -5, 100, std::string(length, 'c')});
    }
  }
  for (const common::NativeCrossSectionLayout& layout :
       {common::kNativeSectionsEightWideStation, common::kNativeSectionsNineWideStation}) {
    common::TextWriter writer;
    for (const common::CrossSectionPoint& p : points) common::FormatNativeCrossSectionPoint(p, layout, writer);
    for (const common::NativeCrossSectionRule& rule :
         {common::kNativeSectionsLoseUnendedLine, common::kNativeSectionsReadUnendedLine,
          common::NativeCrossSectionRule{false, " \t\n"}}) {
      SCOPED_TRACE(layout.stationWidth);
      std::vector<common::CrossSectionPoint> read;
      common::ParseNativeCrossSections(AsFileText(writer), rule, read);
      const std::vector<common::CrossSectionPoint> stored = common::AsStoredInNativeCrossSections(points, layout, rule);
      ASSERT_EQ(stored.size(), read.size());
      for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_TRUE(Same(stored[i].station, read[i].station)) << i;
        EXPECT_TRUE(Same(stored[i].offset, read[i].offset)) << i;
        EXPECT_TRUE(Same(stored[i].elevation, read[i].elevation)) << i;
        EXPECT_EQ(stored[i].code, read[i].code) << i;
      }
    }
  }
}

TEST(NativeCrossSectionLayouts, DifferInStationWidthNonFiniteValuesAndCodeEnds) {
  const auto line = [](const common::CrossSectionPoint& p, const common::NativeCrossSectionLayout& layout) {
    common::TextWriter writer;
    common::FormatNativeCrossSectionPoint(p, layout, writer);
    return writer.Bytes();
  };
  const common::CrossSectionPoint plain{1200.5, -0.0004, 100, "EJE"};
  EXPECT_EQ(line(plain, common::kNativeSectionsEightWideStation), "1200.500    0.000  100.000 EJE\r\n");
  EXPECT_EQ(line(plain, common::kNativeSectionsNineWideStation), " 1200.500    0.000  100.000 EJE\r\n");
  const common::CrossSectionPoint odd{std::numeric_limits<double>::infinity(), std::nan(""), 1, "B\n"};
  EXPECT_EQ(line(odd, common::kNativeSectionsEightWideStation), "     inf      nan    1.000 B\r\n\r\n");
  EXPECT_EQ(line(odd, common::kNativeSectionsNineWideStation), "    0.000    0.000    1.000 B\r\n");
  // A station that overflows the field is written whole; the stored points keep it.
  const common::CrossSectionPoint wide{123456789.25, 1, 2, ""};
  EXPECT_EQ(line(wide, common::kNativeSectionsNineWideStation), "123456789.250    1.000    2.000 \r\n");
  EXPECT_EQ(common::AsStoredInNativeCrossSections({wide}, common::kNativeSectionsNineWideStation,
                                                  common::kNativeSectionsReadUnendedLine)[0]
                .station,
            123456789.25);
}

TEST(AsStoredInNativeProfile, EqualsTheBlankLayoutReadForLandXml) {
  common::Profile profile;
  for (std::size_t i = 0; i < kAwkwardValues.size(); ++i) {
    common::ProfileVertex v;
    v.station = kAwkwardValues[i];
    v.elevation = kAwkwardValues[(i + 3) % kAwkwardValues.size()];
    v.kv = kAwkwardValues[(i + 5) % kAwkwardValues.size()];
    v.tangent = kAwkwardValues[(i + 7) % kAwkwardValues.size()];
    v.external = kAwkwardValues[(i + 9) % kAwkwardValues.size()];
    v.grade = 0.25;  // a working value: never carried
    profile.push_back(v);
  }
  common::TextWriter writer;
  common::FormatNativeProfile(profile, common::NativeProfileLayout::kBlank, writer);
  const common::Profile read = common::ParseNativeProfileForLandXml(AsFileText(writer));
  const common::Profile stored = common::AsStoredInNativeProfile(profile);
  ASSERT_EQ(stored.size(), read.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_TRUE(Same(stored[i].station, read[i].station)) << i;
    EXPECT_TRUE(Same(stored[i].elevation, read[i].elevation)) << i;
    EXPECT_TRUE(Same(stored[i].kv, read[i].kv)) << i;
    EXPECT_TRUE(Same(stored[i].tangent, read[i].tangent)) << i;
    EXPECT_TRUE(Same(stored[i].external, read[i].external)) << i;
    EXPECT_TRUE(Same(stored[i].grade, read[i].grade)) << i;
  }
}
