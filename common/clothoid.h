// Points along a clothoid (curvature changing linearly with length, A² = R·L), evaluated with
// the Fresnel integrals: exact to the precision of doubles whatever the clothoid's length or
// turn. Azimuths in grads clockwise from north, curvature positive turning clockwise.
#pragma once

#include "common/geometry.h"
#include "common/records.h"

namespace common {

// The normalised Fresnel integrals C(x) = ∫₀ˣ cos(πt²/2) dt and S(x) = ∫₀ˣ sin(πt²/2) dt.
void FresnelIntegrals(double x, double& c, double& s);

struct Clothoid {
  Point2 start;
  double azimuth = 0;         // grads, tangent at the start
  double startCurvature = 0;  // 1/m; + turning clockwise
  double curvatureRate = 0;   // 1/m², change of curvature per metre of length (±1/A²)
};

struct ClothoidPoint {
  Point2 point;
  double azimuth = 0;  // grads, in [0, 400)
};

// Point and tangent azimuth at `distance` metres along the clothoid from its start (a negative
// distance goes backwards). With no change of curvature the curve is an arc or a straight.
ClothoidPoint PointOnClothoid(const Clothoid& clothoid, double distance);

// The clothoid of an element record of a native alignment: an entry clothoid (radius set)
// goes from a straight to the radius; an exit clothoid (radius 0) leaves the radius of the
// element before it, `previousRadius`. The sign of the radius gives the turn.
Clothoid ClothoidOfElement(const AlignmentElement& element, double previousRadius);

}  // namespace common
