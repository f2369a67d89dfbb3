// The curves of an IFC alignment's geometry: where each IfcCurveSegment ends, by the agreed
// placement of its parent curve (the point at SegmentStart moved to Placement, its direction of
// travel along Placement's direction; a negative SegmentLength runs the parent curve backwards).
#pragma once

#include <string>
#include <vector>

#include "formats/ifc/ifc_alignment.h"
#include "formats/ifc/step.h"

namespace ifc {

struct CurveSegmentTrace {
  bool ok = false;
  std::string parentType;  // IFCLINE, IFCCIRCLE, IFCCLOTHOID, IFCPOLYNOMIALCURVE, ...
  std::string transition;  // the enumeration, as CONTSAMEGRADIENT
  PlanePose start;         // the placement (file units)
  PlanePose end;           // where the segment ends, direction of travel there
  double k1 = 0, k2 = 0;   // curvature at both ends in the direction of travel, + left
  double travel = 0;       // length run along the curve (file units)
  double startParameter = 0, lengthParameter = 0;  // SegmentStart and SegmentLength as written
  bool lengthMeasures = true;  // both written as IFCLENGTHMEASURE
  double polynomialHorizontal = 0;  // polynomial parents: the change of x over the segment
};

// The trace of an IfcCurveSegment; ok false when its placement or parent curve cannot be read
// or is of a kind the suite does not evaluate.
CurveSegmentTrace TraceCurveSegment(const StepFile& file, const StepEntity& segment);

// The length along the curve (x(t), y(t)) of polynomial coefficients, from t0 to t1.
double PolynomialArcLength(const std::vector<double>& cx, const std::vector<double>& cy, double t0, double t1);

// An IfcAxis2Placement2D (or the x and y of an IfcAxis2Placement3D) as a pose.
bool ReadPlacement2D(const StepFile& file, const StepEntity* placement, PlanePose& pose);

}  // namespace ifc
