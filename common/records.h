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
