// Points along a clothoid against an independent integration of its heading.
#include <gtest/gtest.h>

#include <cmath>

#include "common/clothoid.h"

namespace {

using common::Clothoid;
using common::ClothoidPoint;
using common::PointOnClothoid;

constexpr double kPi = 3.14159265358979323846;

// Simpson's rule on the heading θ(s) = θ0 + k0 s + c s²/2, with no Fresnel integral involved.
common::Point2 IntegrateHeading(const Clothoid& clothoid, double length) {
  const int steps = 20000;
  const double h = length / steps;
  double sumX = 0;
  double sumY = 0;
  for (int i = 0; i <= steps; ++i) {
    const double s = i * h;
    const double heading = clothoid.azimuth * kPi / 200 + clothoid.startCurvature * s + 0.5 * clothoid.curvatureRate * s * s;
    const double weight = (i == 0 || i == steps) ? 1 : (i % 2 == 1 ? 4 : 2);
    sumX += weight * std::sin(heading);
    sumY += weight * std::cos(heading);
  }
  return common::Point2{clothoid.start.x + sumX * h / 3, clothoid.start.y + sumY * h / 3};
}

TEST(Fresnel, KnownValuesOnBothSidesOfTheMethodChange) {
  double c = 0;
  double s = 0;
  common::FresnelIntegrals(1.0, c, s);
  EXPECT_NEAR(c, 0.7798934003768228, 1e-14);
  EXPECT_NEAR(s, 0.4382591473903548, 1e-14);
  common::FresnelIntegrals(-1.0, c, s);
  EXPECT_NEAR(c, -0.7798934003768228, 1e-14);
  common::FresnelIntegrals(2.0, c, s);
  EXPECT_NEAR(c, 0.4882534060753408, 1e-13);
  EXPECT_NEAR(s, 0.3434156783636982, 1e-13);
  common::FresnelIntegrals(10.0, c, s);
  EXPECT_NEAR(c, 0.4998986942055157, 1e-13);
  EXPECT_NEAR(s, 0.4681699785848822, 1e-13);
  // The two methods meet without a step.
  double c1 = 0, s1 = 0, c2 = 0, s2 = 0;
  common::FresnelIntegrals(1.6 - 1e-12, c1, s1);
  common::FresnelIntegrals(1.6 + 1e-12, c2, s2);
  EXPECT_NEAR(c1, c2, 1e-11);
  EXPECT_NEAR(s1, s2, 1e-11);
}

TEST(ClothoidPoints, AgreeWithIntegrationForRoadClothoids) {
  struct Case {
    double azimuth, k0, rate, length;
  };
  // Entry and exit clothoids turning either way, a tight ramp clothoid, a long gentle one, and
  // a clothoid between two radii.
  const Case cases[] = {
      {50, 0, 1.0 / (250.0 * 250.0), 125},        {50, 0, -1.0 / (250.0 * 250.0), 125},
      {390, 1.0 / 500, -1.0 / (250.0 * 250.0), 125}, {120, -1.0 / 500, 1.0 / (250.0 * 250.0), 125},
      {300, 0, 1.0 / (40.0 * 40.0), 64},           {0, 0, 1.0 / (900.0 * 900.0), 270},
      {210, 1.0 / 1200, 1.0 / (300.0 * 300.0), 100},
  };
  for (const Case& test : cases) {
    Clothoid clothoid;
    clothoid.start = common::Point2{442000.0, 4471000.0};
    clothoid.azimuth = test.azimuth;
    clothoid.startCurvature = test.k0;
    clothoid.curvatureRate = test.rate;
    for (const double fraction : {0.25, 0.5, 1.0}) {
      const double s = fraction * test.length;
      const ClothoidPoint got = PointOnClothoid(clothoid, s);
      const common::Point2 expected = IntegrateHeading(clothoid, s);
      EXPECT_NEAR(got.point.x, expected.x, 1e-6) << test.azimuth << " " << s;
      EXPECT_NEAR(got.point.y, expected.y, 1e-6) << test.azimuth << " " << s;
      const double heading = test.azimuth + (test.k0 * s + 0.5 * test.rate * s * s) * 200 / kPi;
      EXPECT_NEAR(got.azimuth, common::NormalizeGrads(heading), 1e-9);
    }
  }
}

TEST(ClothoidPoints, ElementRecordsGiveEntryAndExitCurvature) {
  common::AlignmentElement entry;
  entry.x = 100;
  entry.y = 200;
  entry.azimuth = 100;
  entry.parameter = 250;
  entry.radius = -500;
  Clothoid clothoid = common::ClothoidOfElement(entry, 0);
  EXPECT_EQ(clothoid.startCurvature, 0);
  EXPECT_DOUBLE_EQ(clothoid.curvatureRate, -1.0 / 62500);
  // At L = A²/R the curvature reaches 1/R: the azimuth has turned L/(2R) radians to the left.
  EXPECT_NEAR(PointOnClothoid(clothoid, 125).azimuth, 100 - 0.125 * 200 / kPi, 1e-9);

  common::AlignmentElement exit = entry;
  exit.radius = 0;
  clothoid = common::ClothoidOfElement(exit, 500);
  EXPECT_DOUBLE_EQ(clothoid.startCurvature, 1.0 / 500);
  EXPECT_DOUBLE_EQ(clothoid.curvatureRate, -1.0 / 62500);
  EXPECT_NEAR(PointOnClothoid(clothoid, 125).azimuth, 100 + 0.125 * 200 / kPi, 1e-9);

  // No parameter: a straight.
  const ClothoidPoint straight = PointOnClothoid(common::ClothoidOfElement(common::AlignmentElement{}, 0), 10);
  EXPECT_NEAR(straight.point.x, 0, 1e-12);
  EXPECT_NEAR(straight.point.y, 10, 1e-12);
}

}  // namespace
