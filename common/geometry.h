// Plane geometry of alignments: grads clockwise from north (+y) towards east (+x), metres.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "common/records.h"

namespace common {

// The rectangle that holds the points added to it (points that are not finite are left out).
struct Extents {
  double minX = 0;
  double minY = 0;
  double maxX = 0;
  double maxY = 0;
  bool empty = true;
  void Add(double x, double y);
  void Add(const Extents& other);
  double Width() const { return empty ? 0 : maxX - minX; }
  double Height() const { return empty ? 0 : maxY - minY; }
};

struct Point2 {
  double x = 0;
  double y = 0;
};

inline constexpr double kGradsPerRadian = 63.66197723675814;    // 200 / pi
inline constexpr double kRadiansPerGrad = 0.015707963267948967;  // pi / 200

// Tolerances shared by every alignment computation.
inline constexpr double kPointTolerance = 0.0001;    // coinciding points, per coordinate
inline constexpr double kStationTolerance = 0.001;   // equal stations
inline constexpr double kSlopeTolerance = 0.0001;    // parallel lines

// The angle in [0, 400); values within 0.00005 below 400 become 0. A value that is not finite
// gives 0.
double NormalizeGrads(double grads);

bool PointsCoincide(const Point2& a, const Point2& b);

// Direction of `to` seen from `from`; 0 when the points coincide.
double AzimuthBetween(const Point2& from, const Point2& to);

// The point at `distance` from `p` in the direction `azimuth`.
Point2 PointAlong(const Point2& p, double distance, double azimuth);

// y = slope * x + intercept through two points. A vertical pair gets a very steep slope
// (9e9); `vertical` tells the intersection to treat it exactly.
struct Line {
  double slope = 0;
  double intercept = 0;
  bool vertical = false;
  double verticalX = 0;
};
Line LineThrough(const Point2& p1, const Point2& p2);

// Where line a-b meets line c-d; none when they are parallel.
std::optional<Point2> IntersectLines(const Point2& a, const Point2& b, const Point2& c, const Point2& d);

// Whether p lies on the line through a and b.
bool PointOnLine(const Point2& a, const Point2& b, const Point2& p);

// Whether w lies between u and v, with 0.0001 of slack.
bool WithinRange(double u, double v, double w);

// The meeting point of tangent a-b and tangent c-d. When a coincides with c or d the answer is
// a, else when b does, b. With `onFirst` (`onSecond`) the point must also lie on segment a-b
// (c-d).
std::optional<Point2> TangentIntersection(const Point2& a, const Point2& b, const Point2& c, const Point2& d,
                                          bool onFirst = false, bool onSecond = false);

struct ArcPoint {
  Point2 point;
  double azimuth = 0;
  double radius = 0;
};

// Point, azimuth and radius at `station` on the arc that starts at `arc`.
ArcPoint PointOnArc(const AlignmentElement& arc, double station);

// The first element i (0 .. n-2) with station[i] <= s <= station[i+1]; -1 when none.
long FindElement(const std::vector<AlignmentElement>& elements, double station);

// -1, 0 or 1; stations within 0.001 are equal.
int CompareStations(const AlignmentElement& a, const AlignmentElement& b);

// Grads an arc turns from its start azimuth to the azimuth of the next record, in [0, 400).
double ArcTurn(const AlignmentElement& arc, const AlignmentElement& next);

// Splits every arc that turns 200 grads or more at its middle station, since the tangents of
// such an arc have no usable intersection point. The table never grows past `capacity`
// records. False when a middle station cannot be placed (the records then stay as they were
// at that point).
bool SplitLongArcs(std::vector<AlignmentElement>& elements, std::size_t capacity);

}  // namespace common
