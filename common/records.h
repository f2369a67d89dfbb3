// The records that carry road data between readers and writers of every library.
#pragma once

#include <cstdint>

namespace common {

enum ElementKind : int32_t { kStraight = 0, kArc = 1, kClothoid = 2 };

// One horizontal-alignment element, described at its start point. The last record of an
// alignment is its end point and starts no element.
struct AlignmentElement {
  int32_t kind = kStraight;
  double station = 0;    // m, chainage of the start
  double x = 0;          // m, easting
  double y = 0;          // m, northing
  double extra = 0;      // fourth field of a Cartomap listing, 0 from every other source
  double azimuth = 0;    // grads clockwise from north, in [0, 400)
  double radius = 0;     // m; + turning clockwise, - counter-clockwise, 0 on a straight
  double parameter = 0;  // clothoid parameter A, m
  double length = 0;     // m, where a reader or writer sets it
};

// Kind from the stored values: a parameter makes a clothoid, else a radius an arc. Exact
// comparisons: 0.0 means "not set".
inline int32_t KindFromValues(double parameter, double radius) {
  if (parameter != 0.0) return kClothoid;
  if (radius != 0.0) return kArc;
  return kStraight;
}

}  // namespace common

#include <string>

namespace common {

// One surveyed point of the native point file: number, easting, northing, elevation, code.
struct NativePoint {
  int32_t number = 0;
  double x = 0;
  double y = 0;
  double z = 0;
  std::string code;  // feature code, may be empty
};

}  // namespace common

namespace common {

// One vertex of a vertical profile, with the vertical curve at it.
struct ProfileVertex {
  double station = 0;    // m
  double elevation = 0;  // m
  double kv = 0;         // parabola: curve length per unit change of grade; circle: radius
  double tangent = 0;    // half the curve length; 0 where there is no curve
  double external = 0;   // vertical distance between the vertex and the curve
  double grade = 0;      // working value (m/m), never written
};

}  // namespace common

namespace common {

// One point of a cross section: a section is the run of points that share one station.
struct CrossSectionPoint {
  double station = 0;    // m, chainage of the section
  double offset = 0;     // m from the alignment; negative to the left
  double elevation = 0;  // m
  std::string code;      // free code or description, may be empty
};

}  // namespace common
