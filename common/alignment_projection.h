// Station and signed offset of a plane point on a road alignment: the foot of the perpendicular
// on each straight, arc and clothoid, the nearest one winning. The readers that need it differ
// only in a few rules, passed as `ProjectionRules`.
#pragma once

#include <vector>

#include "common/clothoid.h"
#include "common/geometry.h"
#include "common/records.h"

namespace common {

// One element of the alignment with what projecting on it needs: its record (length set) and,
// for a clothoid, the curve.
struct ProjectionElement {
  AlignmentElement element;
  Clothoid clothoid;
};

// The element with its clothoid; `previousRadius` is the radius of the record before it (the
// radius an exit clothoid leaves).
ProjectionElement MakeProjectionElement(const AlignmentElement& element, double previousRadius);

struct ProjectionRules {
  // The search for the foot on a clothoid halves the station interval until it is shorter.
  double clothoidStep = 0.001;
  // The last record is the end point of the alignment and starts no element.
  bool lastRecordIsEndPoint = false;
  // Outside the corner of two straights (where neither has the foot) the joint is the foot.
  bool cornersOfStraights = false;
};

// A foot found on the alignment.
struct AxisFoot {
  double station = 0;
  Point2 point;
  double azimuth = 0;  // grads, direction of the alignment at the foot
  double offset = 0;   // signed distance to the point, negative on the left
};

// A foot counts when it lies within its element, with 0.001 of slack on the station at each
// end; of all feet the one with the smallest offset wins (the earlier on equal offsets). False
// when no foot counts, or the winner lies before the first station or more than 0.001 past
// the end station.
bool ProjectOnAxis(const std::vector<ProjectionElement>& alignment, const Point2& point, const ProjectionRules& rules,
                   AxisFoot& foot);

}  // namespace common
