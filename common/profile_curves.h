// Vertical profiles: grades, changes of grade and the vertical curves at the vertices.
#pragma once

#include <cstddef>
#include <limits>
#include <vector>

#include "common/records.h"

namespace common {

using Profile = std::vector<ProfileVertex>;

// The sign given to the rise between two vertices at one station: -1, 0 (level) or 1.
using RiseSign = int (*)(double rise);

// Level when the elevations agree within 0.0001.
int SignOfRise(double rise);

// Grade from a to b; for two vertices at one station, 100 000 000 times `riseSign` of the rise.
double GradeBetween(const ProfileVertex& a, const ProfileVertex& b, RiseSign riseSign = SignOfRise);

// Change of grade at vertex i from the elevations, with level grades before the first and
// after the last vertex.
double GradeChange(const Profile& profile, std::size_t i, RiseSign riseSign = SignOfRise);

// Which vertices CompleteCurves fills, and how.
struct CurveCompletion {
  bool circular = false;  // circle (kv holds the radius) instead of parabola
  bool kvGiven = false;   // kv was read: only the external ordinate is derived
  std::size_t first = 1;
  std::size_t end = std::numeric_limits<std::size_t>::max();  // one past the last vertex filled
  RiseSign riseSign = SignOfRise;
};

// Fills kv and the external ordinate of every vertex from its tangent length: parabolic, or
// circular (kv then holds the radius). A curve at a vertex without change of grade has no
// defined kv: it is stored as 0, never as an infinite or undefined value.
void CompleteCurves(Profile& profile, bool circular);
void CompleteCurves(Profile& profile, const CurveCompletion& how);

// Tangent length and external ordinate from kv and a change of grade.
void CurveFromKv(ProfileVertex& vertex, double gradeChange);

// Tangent length and external ordinate from kv for every vertex from `first` up to the one
// before `end`, with the changes of grade of the elevations.
void CompleteCurvesFromKv(Profile& profile, std::size_t first, std::size_t end, RiseSign riseSign = SignOfRise);

// Elevation of the grade line at `station` (vertices in increasing station), on the parabola
// of the vertical curve that holds it (its tangent length either side of the vertex), else on
// the grade between two vertices; before the first vertex and after the last, their
// elevations. What the profile drawings and the maps' heights both use.
double ElevationAt(const Profile& profile, double station);

}  // namespace common
