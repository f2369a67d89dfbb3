// The operation chosen between two systems and the coordinates it gives, against cs2cs with
// the same operation (0.1 mm); what is said of a missing grid; what is refused.
#include <gtest/gtest.h>

#include "formats/geo/crs_transform.h"
#include "georref/geo_test_support.h"

namespace {

using geo_testing::Cs2cs;

struct Case {
  const char* source;
  const char* target;
  double x, y, z;              // easting, northing (longitude, latitude) as the suite gives them
  const char* cs2csInput;      // the same point in the source definition's axis order
  bool targetNorthingFirst;    // cs2cs prints the target's northing first
  const char* operation;       // the operation named
  const char* accuracy;
  const char* missingGrid;     // the grid of a better operation, "" when none is missing
  const char* cs2csSystems;    // cs2cs's own arguments for the systems, when not the two above
};

const Case kCases[] = {
    // A grid that is packaged (BETA2007.gsb); Gauss-Krüger is defined northing first.
    {"EPSG:31467", "EPSG:25832", 3477000.0, 5552000.0, 120.0, "5552000 3477000 120\\n", false,
     "DHDN to ETRS89 (8)", "0,9 m", "de_adv_BETA2007.tif", ""},
    // The official grid is missing: the 7-parameter Helmert, named, and the grid asked for.
    {"EPSG:23030", "EPSG:25830", 440000.0, 4474000.0, 650.0, "440000 4474000 650\\n", false, "ED50 to ETRS89 (7)",
     "1,5 m", "es_ign_SPED2ETV2.tif", ""},
    // Geographic ETRS89 is latitude first in its definition; the suite gives longitude first.
    {"EPSG:4258", "EPSG:25830", -3.7, 40.4, 0.0, "40.4 -3.7 0\\n", false, "", "0 m", "", ""},
    // A PROJ string, as GIS users write them.
    {"+proj=utm +zone=30 +ellps=intl +towgs84=-87,-98,-121", "EPSG:4326", 440000.0, 4474000.0, 0.0,
     "440000 4474000 0\\n", false, "", "", "",
     "+proj=utm +zone=30 +ellps=intl +towgs84=-87,-98,-121 +to +proj=longlat +datum=WGS84"},
};

TEST(CoordinateTransform, EqualsCs2csAndNamesTheOperationAndTheMissingGrid) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.target);
    geo::CoordinateTransform transform;
    geo::Extent area;
    area.Add(c.x, c.y);
    std::string problem;
    ASSERT_TRUE(transform.Prepare(c.source, c.target, area, false, problem)) << problem;
    double x = c.x, y = c.y, z = c.z;
    ASSERT_TRUE(transform.Transform(&x, &y, &z, 1, problem)) << problem;
    const std::vector<double> expected =
        *c.cs2csSystems != '\0' ? Cs2cs(c.cs2csSystems, "", c.cs2csInput) : Cs2cs(c.source, c.target, c.cs2csInput);
    ASSERT_GE(expected.size(), 2u);
    const double ex = c.targetNorthingFirst ? expected[1] : expected[0];
    const double ey = c.targetNorthingFirst ? expected[0] : expected[1];
    const double tolerance = std::string(c.target) == "EPSG:4326" ? 1e-9 : 1e-4;  // degrees: ~0.1 mm
    EXPECT_NEAR(x, ex, tolerance);
    EXPECT_NEAR(y, ey, tolerance);
    const geo::OperationChoice& choice = transform.choice();
    if (*c.operation != '\0') {
      EXPECT_EQ(choice.name, c.operation);
    }
    if (*c.accuracy != '\0') {
      EXPECT_EQ(geo::SpanishAccuracy(choice.accuracy), c.accuracy);
    }
    EXPECT_FALSE(choice.ballpark);
    const std::string note = geo::MissingGridNote(choice);
    if (std::string(c.missingGrid) == "es_ign_SPED2ETV2.tif") {
      EXPECT_EQ(geo::DescribeOperation(choice), "ED50 to ETRS89 (7), 1,5 m");
      EXPECT_NE(note.find("es_ign_SPED2ETV2.tif"), std::string::npos) << note;
      EXPECT_NE(note.find("0,2 m"), std::string::npos) << note;
      EXPECT_NE(note.find("PROJ_DATA"), std::string::npos) << note;
    } else if (std::string(c.missingGrid) == "de_adv_BETA2007.tif") {
      // The grid in use is installed: it is never the one asked for.
      EXPECT_EQ(note.find("BETA2007"), std::string::npos) << note;
    }
  }
}

TEST(CoordinateTransform, ManyPointsAtOnceEqualOneByOne) {
  geo::CoordinateTransform transform;
  geo::Extent area;
  std::vector<double> x, y, z;
  for (int i = 0; i < 50; ++i) {
    x.push_back(3470000.0 + 250.0 * i);
    y.push_back(5550000.0 + 180.0 * i);
    z.push_back(100.0 + i);
    area.Add(x.back(), y.back());
  }
  std::string problem;
  ASSERT_TRUE(transform.Prepare("EPSG:31467", "EPSG:25832", area, false, problem)) << problem;
  std::vector<double> bx = x, by = y, bz = z;
  ASSERT_TRUE(transform.Transform(bx.data(), by.data(), bz.data(), bx.size(), problem)) << problem;
  std::string input;
  for (std::size_t i = 0; i < x.size(); ++i) {
    input += std::to_string(y[i]) + " " + std::to_string(x[i]) + " " + std::to_string(z[i]) + "\\n";
  }
  const std::vector<double> expected = Cs2cs("EPSG:31467", "EPSG:25832", input);
  ASSERT_EQ(expected.size(), 3 * x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    EXPECT_NEAR(bx[i], expected[3 * i], 1e-4) << i;
    EXPECT_NEAR(by[i], expected[3 * i + 1], 1e-4) << i;
  }
}

TEST(CoordinateTransform, RefusesWhatWouldBeSilentlyWrong) {
  struct Refusal {
    const char* source;
    const char* target;
    double x, y;
    const char* said;  // part of the reason
  };
  const Refusal refusals[] = {
      // Ellipsoidal to Alicante heights without the geoid: heights would stay as they are.
      {"EPSG:4937", "EPSG:9505", -0.5, 38.3, "es_ign_egm08-rednap.tif"},
      {"EPSG:999999", "EPSG:25830", 0, 0, "EPSG:999999"},
      {"EPSG:23030", "no es un sistema", 440000, 4474000, "no es un sistema"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(std::string(r.source) + " -> " + r.target);
    geo::CoordinateTransform transform;
    geo::Extent area;
    area.Add(r.x, r.y);
    std::string problem;
    EXPECT_FALSE(transform.Prepare(r.source, r.target, area, false, problem));
    EXPECT_NE(problem.find(r.said), std::string::npos) << problem;
  }
  // Allowed, the ballpark operation is used and said to be one.
  geo::CoordinateTransform allowed;
  geo::Extent area;
  area.Add(-0.5, 38.3);
  std::string problem;
  ASSERT_TRUE(allowed.Prepare("EPSG:4937", "EPSG:9505", area, true, problem)) << problem;
  EXPECT_TRUE(allowed.choice().ballpark);
  EXPECT_TRUE(allowed.choice().vertical);
  double x = -0.5, y = 38.3, z = 100;
  ASSERT_TRUE(allowed.Transform(&x, &y, &z, 1, problem)) << problem;
  EXPECT_DOUBLE_EQ(z, 100);
  EXPECT_NEAR(x, -0.5, 1e-12);
}

TEST(CoordinateTransform, SpanishAccuracy) {
  EXPECT_EQ(geo::SpanishAccuracy(1.5), "1,5 m");
  EXPECT_EQ(geo::SpanishAccuracy(0.05), "0,05 m");
  EXPECT_EQ(geo::SpanishAccuracy(1), "1 m");
  EXPECT_EQ(geo::SpanishAccuracy(-1), "exactitud desconocida");
}

}  // namespace
