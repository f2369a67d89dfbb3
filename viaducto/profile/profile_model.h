// Vertical profiles: grades, changes of grade and the vertical curves at the vertices.
#pragma once

#include <cstddef>
#include <vector>

#include "common/records.h"

namespace viaducto {

using Profile = std::vector<common::ProfileVertex>;

// Grade from a to b; for two vertices at one station, 100 000 000 with the sign of the rise
// (0 when the elevations agree within 0.0001).
double GradeBetween(const common::ProfileVertex& a, const common::ProfileVertex& b);

// Change of grade at vertex i from the elevations, with level grades before the first and
// after the last vertex.
double GradeChange(const Profile& profile, std::size_t i);

// Fills kv and the external ordinate of every vertex from its tangent length: parabolic, or
// circular (kv then holds the radius). A curve at a vertex without change of grade has no
// defined kv: it is stored as 0, never as an infinite or undefined value.
void CompleteCurves(Profile& profile, bool circular);

// Tangent length and external ordinate from kv and a change of grade.
void CurveFromKv(common::ProfileVertex& vertex, double gradeChange);

// Tangent length and external ordinate from kv for every vertex from `first` up to the one
// before `end`, with the changes of grade of the elevations.
void CompleteCurvesFromKv(Profile& profile, std::size_t first, std::size_t end);

}  // namespace viaducto
