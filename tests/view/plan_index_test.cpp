// The nearest point in plan through the grid index agrees with looking at every point.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "frontend/view/plan_index.h"

namespace {

long BruteNearest(const std::vector<common::Point2>& points, double x, double y, double radius) {
  long best = -1;
  double bestSquare = radius * radius;
  for (std::size_t k = 0; k < points.size(); ++k) {
    const double square = (points[k].x - x) * (points[k].x - x) + (points[k].y - y) * (points[k].y - y);
    if (square < bestSquare || (square == bestSquare && best < 0)) {
      bestSquare = square;
      best = static_cast<long>(k);
    }
  }
  return best;
}

TEST(PlanIndex, AgreesWithLookingAtEveryPoint) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> along(440000, 441000);
  std::uniform_real_distribution<double> across(4470000, 4470050);  // a long narrow strip
  std::vector<common::Point2> points;
  for (int k = 0; k < 20000; ++k) points.push_back({along(random), across(random)});
  points.push_back(points[10]);  // the same place twice: the first is found
  points.push_back({NAN, 4470010});
  view::PlanIndex index;
  index.Build(points);
  for (int k = 0; k < 500; ++k) {
    const double x = along(random) + (k % 7 == 0 ? 5000 : 0);  // some far outside the points
    const double y = across(random);
    for (const double radius : {0.5, 3.0, 40.0, 20000.0}) {
      ASSERT_EQ(index.Nearest(x, y, radius), BruteNearest(points, x, y, radius)) << x << " " << y << " " << radius;
    }
  }
  EXPECT_EQ(index.Nearest(points[10].x, points[10].y, 0.0), 10);
}

TEST(PlanIndex, NothingToFind) {
  view::PlanIndex index;
  EXPECT_EQ(index.Nearest(0, 0, 100), -1);
  index.Build({{NAN, NAN}});
  EXPECT_EQ(index.Nearest(0, 0, 1e300), -1);
  index.Build({{5, 5}});  // one point: a grid of one cell
  EXPECT_EQ(index.Nearest(5, 6, 1), 0);
  EXPECT_EQ(index.Nearest(5, 6, 0.5), -1);
  EXPECT_EQ(index.Nearest(NAN, 6, 1), -1);
}

}  // namespace
