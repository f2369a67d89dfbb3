// An alignment on a map with the heights of its profile: every vertex of the line and every
// station mark at the profile's elevation at its station, read back by ogrinfo; a profile that
// does not give a height for every station is refused, with nothing written.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "cli/cli_outcome.h"
#include "common/outcome.h"
#include "common/profile_curves.h"
#include "formats/native/native_profile.h"
#include "georref/geo_test_support.h"
#include "georref/georeferencing.h"

namespace {

using testing_support::Quoted;
using testing_support::RunCommand;
using testing_support::TempDir;

const std::string kAlignment = PASARELA_SOURCE_DIR "/samples/ejes/variante.eje";
const std::string kProfile = PASARELA_SOURCE_DIR "/samples/rasantes/variante.ras";

// The vertices of every geometry of the WKT kind `kind` ("LINESTRING ZM", "POINT Z") ogrinfo
// lists, each as its numbers (x y z [m]), in file order.
std::vector<std::vector<double>> OgrVertices(const std::string& path, const std::string& kind) {
  std::string output;
  RunCommand("ogrinfo -ro -al -q " + Quoted(path) + " 2>&1", output);
  std::vector<std::vector<double>> vertices;
  const std::regex geometry("^\\s+" + kind + " \\((.*)\\)\\s*$");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, geometry)) continue;
    std::istringstream body(match[1].str());
    for (std::string vertex; std::getline(body, vertex, ',');) {
      std::istringstream numbers(vertex);
      std::vector<double> values;
      for (double value = 0; numbers >> value;) values.push_back(value);
      vertices.push_back(values);
    }
  }
  return vertices;
}

common::Profile SampleProfile() { return common::ParseNativeProfile(testing_support::ReadFile(kProfile)); }


TEST(AlignmentHeights, TheLineAndItsMarksStandAtTheProfilesElevations) {
  TempDir dir;
  const common::Profile profile = SampleProfile();
  // The GeoPackage end to end through pasarela-cli; the GeoJSON (WGS84) through the library.
  const std::string gpkg = dir.File("variante.gpkg");
  const cli_testing::Outcome outcome = cli_testing::Cli(
      dir, "convert " + Quoted(kAlignment) + " -o " + Quoted(gpkg) + " --s_srs EPSG:25830 --with-profile " + Quoted(kProfile));
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  const std::string geojson = dir.File("variante.geojson");
  ASSERT_TRUE(georref::SetSystems("EPSG:25830", "", false));
  {
    const common::OutcomeScope scope;
    ASSERT_EQ(georref::AlignmentWithProfileToMap(kAlignment, kProfile, geojson), 1) << common::RecordedFailure();
  }

  // The GeoPackage's line carries each vertex's station as M: every vertex at the profile's
  // elevation, and no chord farther than 1 cm from it in height either (the vertical curve at
  // 0+980 lies on a straight, which the plan alone samples with its two ends).
  const auto line = OgrVertices(gpkg, "LINESTRING ZM");
  ASSERT_GT(line.size(), 2u);
  std::vector<double> stations;
  for (std::size_t i = 0; i < line.size(); ++i) {
    ASSERT_EQ(line[i].size(), 4u) << i;
    stations.push_back(line[i][3]);
    EXPECT_NEAR(line[i][2], common::ElevationAt(profile, stations[i]), 1e-6) << stations[i];
    if (i == 0) continue;
    for (double t : {0.25, 0.5, 0.75}) {
      const double station = stations[i - 1] + t * (stations[i] - stations[i - 1]);
      const double chord = line[i - 1][2] + t * (line[i][2] - line[i - 1][2]);
      EXPECT_NEAR(chord, common::ElevationAt(profile, station), 0.0101) << station;
    }
  }
  EXPECT_DOUBLE_EQ(stations.front(), 0);
  EXPECT_DOUBLE_EQ(stations.back(), 1660);
  // The same vertices in the GeoJSON, in degrees.
  const auto lineInDegrees = OgrVertices(geojson, "LINESTRING Z");
  ASSERT_EQ(lineInDegrees.size(), stations.size());
  for (std::size_t i = 0; i < lineInDegrees.size(); ++i) {
    ASSERT_EQ(lineInDegrees[i].size(), 3u) << i;
    EXPECT_NEAR(lineInDegrees[i][2], common::ElevationAt(profile, stations[i]), 1e-6) << stations[i];
  }
  // The ends at the profile's end vertices; between them on the grades and on the parabola
  // of the curve at 0+420 (tangent 60 m), worked by hand.
  EXPECT_NEAR(line.front()[2], 612.5, 1e-9);
  EXPECT_NEAR(line.back()[2], 611.2, 1e-9);
  for (const std::string& path : {gpkg, geojson}) {
    SCOPED_TRACE(path);
    const auto marks = OgrVertices(path, "POINT Z");
    ASSERT_EQ(marks.size(), 17u);  // 0+000 to 1+600
    EXPECT_NEAR(marks[0][2], 612.5, 1e-9);
    EXPECT_NEAR(marks[2][2], 612.5 + 5.8 * 200 / 420, 1e-6);
    EXPECT_NEAR(marks[4][2], 617.760317, 1e-6);
    for (std::size_t i = 0; i < marks.size(); ++i) {
      EXPECT_NEAR(marks[i][2], common::ElevationAt(profile, 100.0 * static_cast<double>(i)), 1e-6) << i;
    }
  }
}

TEST(AlignmentHeights, AProfileThatCannotGiveEveryHeightIsRefused) {
  TempDir dir;
  struct Case {
    const char* name;
    const char* profile;
    std::vector<std::string> said;
  };
  const Case cases[] = {
      // Shorter than the alignment (0+000 to 1+660) at both ends: no height is made up.
      {"corta.ras", "100.000 613.881 0 0 0\n1500.000 605.000 0 0 0\n",
       {"va del P.K. 0+100 al 1+500", "del P.K. 0+000 al 1+660", "no cubre"}},
      {"desordenada.ras", "0.000 612.500 0 0 0\n980.000 603.900 0 0 0\n420.000 618.300 0 0 0\n1660.000 611.200 0 0 0\n",
       {"orden creciente (vértice 3)"}},
      {"sola.ras", "0.000 612.500 0 0 0\n", {"ninguna rasante"}},
  };
  ASSERT_TRUE(georref::SetSystems("EPSG:25830", "", false));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string profile = dir.File(c.name);
    testing_support::WriteFile(profile, c.profile);
    const std::string target = dir.File(std::string(c.name) + ".gpkg");
    const common::OutcomeScope outcome;  // this call's reason only
    EXPECT_EQ(georref::AlignmentWithProfileToMap(kAlignment, profile, target), 0);
    EXPECT_FALSE(testing_support::FileExists(target));
    const std::string& reason = common::RecordedFailure();
    for (const std::string& said : c.said) EXPECT_NE(reason.find(said), std::string::npos) << reason;
  }
}

}  // namespace
