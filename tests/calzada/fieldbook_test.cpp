#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "calzada.h"
#include "formats/clip/libreta_clip_ter.h"
#include "support/test_support.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGrad = kPi / 200;

struct Xy {
  double x, y;
};
Xy Dir(double grads) { return Xy{std::sin(grads * kGrad), std::cos(grads * kGrad)}; }
Xy Move(Xy p, double distance, double grads) {
  const Xy d = Dir(grads);
  return Xy{p.x + distance * d.x, p.y + distance * d.y};
}

// The clothoid in its own frame (along the start tangent, and square to it towards the turn),
// by the usual series: exact to far below a millimetre for these lengths.
Xy ClothoidLocal(double l, double a) {
  const double a2 = a * a;
  return Xy{l - std::pow(l, 5) / (40 * a2 * a2) + std::pow(l, 9) / (3456 * std::pow(a2, 4)),
            std::pow(l, 3) / (6 * a2) - std::pow(l, 7) / (336 * std::pow(a2, 3)) + std::pow(l, 11) / (42240 * std::pow(a2, 5))};
}
double ClothoidTurn(double l, double a) { return l * l / (2 * a * a) / kGrad; }

// An axis point, with its azimuth, at distance `s` along an element whose geometry the test
// knows: the hand-made road below.
struct AxisPoint {
  Xy at;
  double azimuth;
};

struct Element {
  double station, x, y, azimuth, parameter, radius;
};

// Straight 100 m east, entry clothoid A 100 into R 200 (50 m), arc 60 m, exit clothoid 50 m,
// straight 100 m, arc R -300 (to the left) 80 m, straight 50 m.
struct HandRoad {
  std::vector<Element> records;
  std::vector<std::function<AxisPoint(double)>> at;  // per element, by distance from its start
};

HandRoad MakeRoad() {
  HandRoad road;
  const double a = 100;
  const double r = 200;
  const double lc = a * a / r;
  Xy p{1000, 2000};
  double az = 100;
  double station = 0;
  auto add = [&](double parameter, double radius) { road.records.push_back({station, p.x, p.y, az, parameter, radius}); };

  add(0, 0);
  {
    const Xy s = p;
    const double a0 = az;
    road.at.push_back([=](double d) { return AxisPoint{Move(s, d, a0), a0}; });
    p = Move(p, 100, az);
    station += 100;
  }
  add(a, r);
  {
    const Xy s = p;
    const double a0 = az;
    auto f = [=](double d) {
      const Xy l = ClothoidLocal(d, a);
      return AxisPoint{Move(Move(s, l.x, a0), l.y, a0 + 100), a0 + ClothoidTurn(d, a)};
    };
    road.at.push_back(f);
    const AxisPoint end = f(lc);
    p = end.at;
    az = end.azimuth;
    station += lc;
  }
  auto arc = [&](double radius, double length) {
    add(0, radius);
    const Xy s = p;
    const double a0 = az;
    auto f = [=](double d) {
      const double turn = d / radius;
      return AxisPoint{Move(s, 2 * radius * std::sin(turn / 2), a0 + turn / 2 / kGrad), a0 + turn / kGrad};
    };
    road.at.push_back(f);
    const AxisPoint end = f(length);
    p = end.at;
    az = end.azimuth;
    station += length;
  };
  arc(r, 60);
  add(a, 0);
  {
    // The exit clothoid is the entry clothoid run backwards from its end E.
    const double azEnd = az + ClothoidTurn(lc, a);
    const Xy l = ClothoidLocal(lc, a);
    const Xy e = Move(Move(p, l.x, azEnd), -l.y, azEnd + 100);
    road.at.push_back([=](double d) {
      const Xy back = ClothoidLocal(lc - d, a);
      return AxisPoint{Move(Move(e, back.x, azEnd + 200), back.y, azEnd + 100), azEnd - ClothoidTurn(lc - d, a)};
    });
    p = e;
    az = azEnd;
    station += lc;
  }
  auto straight = [&](double length) {
    add(0, 0);
    const Xy s = p;
    const double a0 = az;
    road.at.push_back([=](double d) { return AxisPoint{Move(s, d, a0), a0}; });
    p = Move(p, length, az);
    station += length;
  };
  straight(100);
  arc(-300, 80);
  straight(50);
  add(0, 0);  // the end point
  return road;
}

std::vector<calzada::TramoEje> Records(const HandRoad& road) {
  std::vector<calzada::TramoEje> records;
  for (const Element& e : road.records) {
    calzada::TramoEje t;
    t.station = e.station;
    t.x = e.x;
    t.y = e.y;
    t.azimuth = e.azimuth;
    t.parameter = e.parameter;
    t.radius = e.radius;
    t.kind = common::KindFromValues(e.parameter, e.radius);
    records.push_back(t);
  }
  return records;
}

std::string Convert(const std::string& points, const std::string& alignment, int expected = 1) {
  TempDir dir;
  WriteFile(dir.File("p.pun"), points);
  WriteFile(dir.File("e.eje"), alignment);
  EXPECT_EQ(Calzada_Transver_Libreta2ClipTer(dir.File("p.pun").c_str(), dir.File("e.eje").c_str(),
                                             dir.File("s.ter").c_str()),
            expected);
  return FileExists(dir.File("s.ter")) ? ReadFile(dir.File("s.ter")) : "<none>";
}

const char kStraightEast[] = "0.000 0.000 0.000 100.0000 0.000 0.000\n200.000 200.000 0.000 100.0000 0.000 0.000\n";

}  // namespace

TEST(FieldBookProjection, PointsPlacedByHandProjectBackOnEveryKindOfElement) {
  const HandRoad road = MakeRoad();
  const auto axis = calzada::EjeParaProyectar(Records(road));
  ASSERT_EQ(axis.size(), 8u);
  const char* kinds[] = {"straight", "entry clothoid", "right arc", "exit clothoid", "straight", "left arc", "straight"};
  for (std::size_t i = 0; i + 1 < road.records.size(); ++i) {
    const double length = road.records[i + 1].station - road.records[i].station;
    for (const double fraction : {0.1, 0.45, 0.8}) {
      const AxisPoint on = road.at[i](fraction * length);
      for (const double offset : {-7.5, 0.0, 12.25}) {
        const Xy point = Move(on.at, offset, on.azimuth + 100);
        calzada::TramoEje foot;
        double distance = 0;
        ASSERT_TRUE(calzada::ProyectaPunto(point.x, point.y, axis, foot, distance)) << kinds[i];
        EXPECT_NEAR(foot.station, road.records[i].station + fraction * length, 0.01) << kinds[i] << " " << offset;
        EXPECT_NEAR(distance, offset, 0.01) << kinds[i] << " " << offset;
        EXPECT_NEAR(foot.x, on.at.x, 0.01) << kinds[i];
        EXPECT_NEAR(foot.y, on.at.y, 0.01) << kinds[i];
      }
    }
  }
}

TEST(FieldBookProjection, OutsideTheCornerOfTwoStraightsTheJointIsTheFoot) {
  // East 100 m, then north 100 m: the point lies beyond both straights, outside the corner.
  const auto axis = calzada::EjeParaProyectar(calzada::ParseEjeNativo(
      "0.000 0.000 0.000 100.0000 0 0\n100.000 100.000 0.000 0.0000 0 0\n200.000 100.000 100.000 0.0000 0 0\n"));
  calzada::TramoEje foot;
  double distance = 0;
  ASSERT_TRUE(calzada::ProyectaPunto(103, -4, axis, foot, distance));
  EXPECT_DOUBLE_EQ(distance, 5);
  EXPECT_DOUBLE_EQ(foot.station, 100);
  EXPECT_NEAR(foot.azimuth, 50, 1e-9);  // between east and north
  EXPECT_EQ(Convert("1 103 -4 12 T_100\n", "0.000 0.000 0.000 100.0000 0 0\n100.000 100.000 0.000 0.0000 0 0\n"
                                           "200.000 100.000 100.000 0.0000 0 0\n"),
            CrLf("*TER\n100.000 , 1 , 0 , 0\n   5.000 ,   12.000\n"));
  // Inside the corner the straights have the feet as usual.
  ASSERT_TRUE(calzada::ProyectaPunto(97, 1, axis, foot, distance));
  EXPECT_NEAR(std::fabs(distance), 1, 1e-9);
}

TEST(FieldBookTer, OffsetsMeasuredOnTheAxisGroupedByTheStationOfTheCode) {
  EXPECT_EQ(Convert("1 120.000 -3.500 50.250 T_120\n", kStraightEast), CrLf("*TER\n120.000 , 1 , 0 , 0\n   3.500 ,   50.250\n"));
  // T_120 and T_120.0004 sort as one section by offset, but are listed under their own exact
  // stations: each point once.
  EXPECT_EQ(Convert("1 119.9 -2 50 T_120\n2 120.2 -1 51 T_120.0004\n3 120 4 49 T_120\n", kStraightEast),
            CrLf("*TER\n120.000 , 2 , 0 , 0\n  -4.000 ,   49.000\n   2.000 ,   50.000\n"
                 "120.000 , 1 , 0 , 0\n   1.000 ,   51.000\n"));
  // Sections in station order, the points of each by offset.
  EXPECT_EQ(Convert("1 60 2 7 T_60\n2 40 -1 8 T_40\n3 40 1 9 T_40\n", kStraightEast),
            CrLf("*TER\n40.000 , 2 , 0 , 0\n  -1.000 ,    9.000\n   1.000 ,    8.000\n60.000 , 1 , 0 , 0\n  -2.000 ,    7.000\n"));
}

TEST(FieldBookTer, PointsOffTheAxisOrWithoutStationAreLeftOut) {
  // 0.0005 past the end is kept, 0.002 past it or before the start is not; codes without a
  // station after "_", tabs (fields are separated by blanks) and short lines give no point.
  EXPECT_EQ(Convert("4 200.0005 -1 10 T_200\n5 200.002 -1 10 T_200\n8 -0.5 1 10 T_0\n6 150 0 10 S\n"
                    "7 150 -1 10 T_\n9\t150\t-1\t10\tT_150\n10 150 1\n",
                    kStraightEast),
            CrLf("*TER\n200.000 , 1 , 0 , 0\n   1.000 ,   10.000\n"));
  EXPECT_EQ(Convert("6 150 0 10 S\n", kStraightEast, 0), "<none>");
  EXPECT_EQ(Convert("1 120 -3.5 50 T_120\n", "* cabecera 0 1\n", 0), "<none>");
  EXPECT_EQ(Convert("", kStraightEast, 0), "<none>");
  TempDir dir;
  WriteFile(dir.File("e.eje"), kStraightEast);
  EXPECT_EQ(Calzada_Transver_Libreta2ClipTer(dir.File("no.pun").c_str(), dir.File("e.eje").c_str(),
                                             dir.File("s.ter").c_str()),
            0);
  EXPECT_FALSE(FileExists(dir.File("s.ter")));
}

TEST(FieldBookTer, MoreThanAThousandSectionPointsAreAllWritten) {
  std::string points;
  for (int i = 0; i < 1500; ++i) {
    points += std::to_string(i + 1) + " " + std::to_string(10 + i / 10) + " " + std::to_string(-(i % 10)) + " 5 T_" +
              std::to_string(10 + i / 10) + "\n";
  }
  const std::string ter = Convert(points, kStraightEast);
  std::size_t lines = 0;
  for (const char c : ter) lines += c == '\n';
  EXPECT_EQ(lines, 1u + 150 + 1500);
}

TEST(FieldBookTer, SampleFieldBook) {
  const std::string samples = std::string(PASARELA_SOURCE_DIR) + "/samples/";
  TempDir dir;
  ASSERT_EQ(Calzada_Transver_Libreta2ClipTer((samples + "calzada/libreta.pun").c_str(), (samples + "ejes/variante.eje").c_str(),
                                             dir.File("s.ter").c_str()),
            1);
  EXPECT_EQ(ReadFile(dir.File("s.ter")), ReadFile(samples + "calzada/libreta.ter"));
}
