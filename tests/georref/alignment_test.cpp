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
