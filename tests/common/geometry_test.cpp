#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/geometry.h"

using common::AlignmentElement;
using common::Point2;

TEST(Angles, NormalizeAndAzimuth) {
  EXPECT_DOUBLE_EQ(common::NormalizeGrads(-1), 399);
  EXPECT_EQ(common::NormalizeGrads(400), 0);
  EXPECT_EQ(common::NormalizeGrads(399.99996), 0);
  EXPECT_DOUBLE_EQ(common::NormalizeGrads(801), 1);
  EXPECT_NEAR(common::NormalizeGrads(4e12 + 3), 3, 1e-3);
  EXPECT_EQ(common::NormalizeGrads(NAN), 0);

  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {1, 0}), 100, 1e-9);
  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {0, -1}), 200, 1e-9);
  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {-1, 0}), 300, 1e-9);
  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {1, 1}), 50, 1e-9);
  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {-1, 1}), 350, 1e-9);
  EXPECT_NEAR(common::AzimuthBetween({0, 0}, {0, 1}), 0, 1e-9);
  EXPECT_EQ(common::AzimuthBetween({5, 5}, {5.00005, 5}), 0);

  const Point2 p = common::PointAlong({10, 20}, 10, 50);
  EXPECT_NEAR(p.x, 10 + 10 / std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(p.y, 20 + 10 / std::sqrt(2.0), 1e-12);
}

TEST(Lines, IntersectionsAndParallels) {
  EXPECT_FALSE(common::IntersectLines({0, 0}, {1, 1}, {0, 1}, {1, 2}));
  // A vertical line meets a horizontal one at the vertical line's x, even at map coordinates.
  const auto meet = common::IntersectLines({443000, 0}, {443100, 0}, {443210.5, 4471000}, {443210.5, 4472000});
  ASSERT_TRUE(meet);
  EXPECT_NEAR(meet->x, 443210.5, 1e-6);
  EXPECT_NEAR(meet->y, 0, 1e-6);
  const auto meetOtherWay = common::IntersectLines({443210.5, 4471000}, {443210.5, 4472000}, {0, 4471500.25}, {1, 4471500.25});
  ASSERT_TRUE(meetOtherWay);
  EXPECT_NEAR(meetOtherWay->y, 4471500.25, 1e-6);
  EXPECT_FALSE(common::IntersectLines({1, 0}, {1, 5}, {2, 0}, {2, 5}));

  // Shortcuts: a shared point is the answer, with no computation.
  const auto shared = common::TangentIntersection({3, 4}, {9, 9}, {7, 1}, {3.00005, 4.00005});
  ASSERT_TRUE(shared);
  EXPECT_EQ(shared->x, 3);
  EXPECT_EQ(shared->y, 4);
  const auto second = common::TangentIntersection({0, 0}, {5, 5}, {5, 5}, {9, 0});
  ASSERT_TRUE(second);
  EXPECT_EQ(second->x, 5);

  // Restricted to the segments.
  EXPECT_TRUE(common::TangentIntersection({0, 0}, {2, 2}, {0, 2}, {2, 0}, true, true));
  EXPECT_FALSE(common::TangentIntersection({0, 0}, {1, 1}, {0, 4}, {4, 0}, true, false));
  EXPECT_TRUE(common::PointOnLine({0, 0}, {2, 2}, {5, 5}));
  EXPECT_TRUE(common::PointOnLine({1, 0}, {1, 2}, {1.0005, 9}));
  EXPECT_TRUE(common::WithinRange(3, 1, 1.00005));
  EXPECT_FALSE(common::WithinRange(3, 1, 3.001));
}

namespace {

AlignmentElement Record(double station, double x, double y, double azimuth, double parameter, double radius) {
  AlignmentElement e;
  e.station = station;
  e.x = x;
  e.y = y;
  e.azimuth = azimuth;
  e.parameter = parameter;
  e.radius = radius;
  e.kind = common::KindFromValues(parameter, radius);
  return e;
}

}  // namespace

TEST(Elements, KindStationsAndArcPoints) {
  EXPECT_EQ(common::KindFromValues(5, 0), common::kClothoid);
  EXPECT_EQ(common::KindFromValues(0, -150), common::kArc);
  EXPECT_EQ(common::KindFromValues(0, 0), common::kStraight);

  const std::vector<AlignmentElement> e = {Record(0, 0, 0, 0, 0, 0), Record(10, 0, 10, 0, 0, 0),
                                           Record(30, 0, 30, 0, 0, 0)};
  EXPECT_EQ(common::FindElement(e, 10), 0);
  EXPECT_EQ(common::FindElement(e, 25), 1);
  EXPECT_EQ(common::FindElement(e, 31), -1);
  EXPECT_EQ(common::CompareStations(Record(10, 0, 0, 0, 0, 0), Record(10.0009, 0, 0, 0, 0, 0)), 0);
  EXPECT_EQ(common::CompareStations(Record(10, 0, 0, 0, 0, 0), Record(10.002, 0, 0, 0, 0, 0)), -1);

  // A quarter circle to the left from (0,0) heading east ends at (R, R) heading north.
  const common::ArcPoint end = common::PointOnArc(Record(0, 0, 0, 100, 0, -80), 80 * M_PI / 2);
  EXPECT_NEAR(end.point.x, 80, 1e-9);
  EXPECT_NEAR(end.point.y, 80, 1e-9);
  EXPECT_NEAR(end.azimuth, 0, 1e-9);
  const common::ArcPoint right = common::PointOnArc(Record(0, 0, 0, 0, 0, 50), 50 * M_PI / 2);
  EXPECT_NEAR(right.point.x, 50, 1e-9);
  EXPECT_NEAR(right.point.y, 50, 1e-9);
  EXPECT_NEAR(right.azimuth, 100, 1e-9);
}

TEST(SplitLongArcs, HalvesArcsOfHalfACircleOrMore) {
  const double length = 250 / common::kGradsPerRadian * 50;
  std::vector<AlignmentElement> e = {Record(0, 0, 0, 0, 0, 50), Record(length, 85.3553, -35.3553, 250, 0, 0)};
  ASSERT_TRUE(common::SplitLongArcs(e, 6));
  ASSERT_EQ(e.size(), 3u);
  EXPECT_NEAR(e[1].station, length / 2, 1e-9);
  EXPECT_NEAR(e[1].azimuth, 125, 1e-9);
  EXPECT_EQ(e[1].kind, common::kArc);
  EXPECT_EQ(e[1].radius, 50);
  EXPECT_NEAR(e[0].length, length / 2, 1e-9);
  EXPECT_NEAR(e[1].length, length / 2, 1e-9);
  EXPECT_NEAR(std::hypot(e[1].x - 50, e[1].y), 50, 1e-9);  // on the circle about (50, 0)

  // A left-hand arc from 300 to 100 turns exactly 200 and is split too.
  std::vector<AlignmentElement> left = {Record(0, 0, 0, 300, 0, -30), Record(30 * M_PI, 0, 60, 100, 0, 0)};
  ASSERT_TRUE(common::SplitLongArcs(left, 6));
  EXPECT_EQ(left.size(), 3u);

  // Less than half a circle stays whole.
  std::vector<AlignmentElement> small = {Record(0, 0, 0, 0, 0, 50), Record(10, 0, 0, 199.9, 0, 0)};
  ASSERT_TRUE(common::SplitLongArcs(small, 6));
  EXPECT_EQ(small.size(), 2u);
}

TEST(SplitLongArcs, StopsWhenTheTableIsFullAndSortsUnorderedInput) {
  // An arc far too short for its turn keeps splitting its second half: the table bounds it.
  std::vector<AlignmentElement> e = {Record(0, 0, 0, 0, 0, 50), Record(1, 0, 1, 300, 0, 0)};
  ASSERT_TRUE(common::SplitLongArcs(e, 9));
  EXPECT_EQ(e.size(), 9u);
  for (std::size_t i = 1; i < e.size(); ++i) EXPECT_LE(e[i - 1].station, e[i].station);

  // Records out of station order are put in order by the first split.
  std::vector<AlignmentElement> unordered = {Record(500, 0, 0, 0, 0, 0), Record(0, 0, 0, 0, 0, 50),
                                             Record(100, 0, 0, 250, 0, 0)};
  ASSERT_TRUE(common::SplitLongArcs(unordered, 9));
  ASSERT_EQ(unordered.size(), 4u);
  EXPECT_EQ(unordered[0].station, 0);
  EXPECT_EQ(unordered[1].station, 50);
  EXPECT_EQ(unordered[3].station, 500);

  // A middle station that falls in no element stops the splitting, leaving the records.
  std::vector<AlignmentElement> backwards = {Record(100, 0, 0, 0, 0, 50), Record(0, 0, 0, 250, 0, 0)};
  EXPECT_FALSE(common::SplitLongArcs(backwards, 9));
  EXPECT_EQ(backwards.size(), 2u);
}
