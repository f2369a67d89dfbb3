// An alignment sampled for a map: chords within the tolerance of the curve, stations along,
// marks at round stations.
#include <gtest/gtest.h>

#include <cmath>

#include "formats/geo/alignment_samples.h"

namespace {

using common::AlignmentElement;

// A straight northwards from (0, 0), 100 m, then an arc of radius 300 m turning clockwise,
// 200 m, then the end record.
std::vector<AlignmentElement> StraightAndArc() {
  std::vector<AlignmentElement> records(3);
  records[0].station = 0;
  records[0].x = 0;
  records[0].y = 0;
  records[0].azimuth = 0;
  records[1].kind = common::kArc;
  records[1].station = 100;
  records[1].x = 0;
  records[1].y = 100;
  records[1].azimuth = 0;
  records[1].radius = 300;
  records[2].station = 300;
  return records;
}

TEST(AlignmentSamples, ChordsStayWithinTheToleranceOfTheArcAndStationsRunAlong) {
  for (double tolerance : {0.01, 0.001, 0.1}) {
    SCOPED_TRACE(tolerance);
    const std::vector<geo::StationedPoint> points = geo::DensifyAlignment(StraightAndArc(), tolerance);
    ASSERT_GE(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points.front().station, 0);
    EXPECT_DOUBLE_EQ(points.back().station, 300);
    // The centre of a clockwise arc heading north from (0, 100) is east of it.
    const double cx = 300, cy = 100;
    std::size_t onArc = 0;
    double largest = 0;
    for (std::size_t i = 1; i < points.size(); ++i) {
      EXPECT_GT(points[i].station, points[i - 1].station);
      if (points[i - 1].station < 100 - 1e-9) continue;
      ++onArc;
      EXPECT_NEAR(std::hypot(points[i].x - cx, points[i].y - cy), 300, 1e-6);
      const double mx = (points[i].x + points[i - 1].x) / 2, my = (points[i].y + points[i - 1].y) / 2;
      const double sagitta = 300 - std::hypot(mx - cx, my - cy);
      largest = std::max(largest, sagitta);
    }
    EXPECT_LE(largest, tolerance + 1e-9);
    // No denser than needed: the chords come close to the tolerance.
    EXPECT_GT(largest, tolerance * 0.7);
    EXPECT_EQ(onArc, static_cast<std::size_t>(std::ceil(200 / std::sqrt(8 * tolerance * 300))));
  }
}

// The stations a profile asks for become vertices on the alignment's own curve, in order,
// with the plan's vertices kept; stations past the end add nothing.
TEST(AlignmentSamples, StationsAskedForBecomeVerticesOnTheCurve) {
  const std::vector<geo::StationedPoint> plain = geo::DensifyAlignment(StraightAndArc(), 0.01);
  const std::vector<geo::StationedPoint> points = geo::DensifyAlignment(StraightAndArc(), 0.01, {50, 150.25, 299, 400});
  ASSERT_EQ(points.size(), plain.size() + 3);
  std::size_t found = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (i > 0) {
      EXPECT_GT(points[i].station, points[i - 1].station);
    }
    if (points[i].station == 50) {
      ++found;
      EXPECT_NEAR(points[i].x, 0, 1e-9);
      EXPECT_NEAR(points[i].y, 50, 1e-9);
    } else if (points[i].station == 150.25 || points[i].station == 299) {
      ++found;
      EXPECT_NEAR(std::hypot(points[i].x - 300, points[i].y - 100), 300, 1e-6);
    }
  }
  EXPECT_EQ(found, 3u);
  EXPECT_DOUBLE_EQ(points.back().station, 300);
}

// Where the profile bends: its breaks of grade, both ends of each vertical curve and enough
// points between that no chord strays more than the tolerance from the parabola.
TEST(AlignmentSamples, AProfileBendsWhereItsGradeChanges) {
  const double vertices[][3] = {{0, 600, 0}, {400, 608, 50}, {800, 604, 0}, {1000, 610, 0}};  // +2 %, -1 %, +3 %
  common::Profile profile(4);
  for (std::size_t i = 0; i < profile.size(); ++i) {
    profile[i].station = vertices[i][0];
    profile[i].elevation = vertices[i][1];
    profile[i].tangent = vertices[i][2];  // a curve at 0+400 only
  }
  const std::vector<double> stations = geo::ProfileBends(profile, 0.01);
  // The curve bends 0.03 / 100 m per metre: chords of sqrt(16 * 50 * 0.01 / 0.03) = 16.3 m,
  // seven of them over its 100 m.
  const std::vector<double> expected = {0, 350, 350 + 100.0 / 7, 350 + 200.0 / 7, 350 + 300.0 / 7, 350 + 400.0 / 7,
                                        350 + 500.0 / 7, 350 + 600.0 / 7, 450, 800, 1000};
  ASSERT_EQ(stations.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(stations[i], expected[i], 1e-9) << i;
}

TEST(AlignmentSamples, MarksAtEveryHundredMetresWithTheirLabels) {
  const std::vector<geo::StationedPoint> marks = geo::StationMarks(StraightAndArc(), 100);
  ASSERT_EQ(marks.size(), 4u);
  EXPECT_DOUBLE_EQ(marks[1].station, 100);
  EXPECT_NEAR(marks[1].x, 0, 1e-9);
  EXPECT_NEAR(marks[1].y, 100, 1e-9);
  EXPECT_NEAR(std::hypot(marks[3].x - 300, marks[3].y - 100), 300, 1e-6);
  const std::pair<double, const char*> labels[] = {
      {0, "0+000"}, {100, "0+100"}, {1250, "1+250"}, {12.5, "0+012,500"}, {999.9999, "1+000"}, {-20, "-0+020"}};
  for (const auto& [station, label] : labels) EXPECT_EQ(geo::StationLabel(station), label) << station;
  // Fewer than two records make nothing.
  EXPECT_TRUE(geo::DensifyAlignment({AlignmentElement{}}, 0.01).empty());
  EXPECT_TRUE(geo::StationMarks({AlignmentElement{}}, 100).empty());
}

}  // namespace
