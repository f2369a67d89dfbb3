// An alignment made into points for a map: arcs and clothoids do not stay arcs and clothoids
// when a projection changes, so an alignment is never transformed element by element; it is
// sampled in its own plane, densely enough that no chord strays from the curve by more than
// the tolerance, each vertex with its station, and the vertices are what is transformed.
#pragma once

#include <string>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"

namespace geo {

struct StationedPoint {
  double x = 0;
  double y = 0;
  double station = 0;
};

// The vertices of the alignment whose records are `elements` (the last one its end point),
// no chord farther than `chordTolerance` metres from the curve, the first and last stations
// included. Empty when there are fewer than two records.
std::vector<StationedPoint> DensifyAlignment(const std::vector<common::AlignmentElement>& elements,
                                             double chordTolerance);

// The same vertices with one more at each of `stations` (increasing) that falls inside an
// element, on its curve: where a profile bends, the line's heights need vertices the plan does
// not (a vertical curve on a straight).
std::vector<StationedPoint> DensifyAlignment(const std::vector<common::AlignmentElement>& elements,
                                             double chordTolerance, const std::vector<double>& stations);

// The stations at which a line through the elevations of `profile` stays within
// `chordTolerance` metres of its grade line: every vertex without curve (a break of grade),
// both ends of every vertical curve and, between them, points close enough that no chord
// strays farther from the parabola. Increasing, within the profile's first and last vertex.
std::vector<double> ProfileBends(const common::Profile& profile, double chordTolerance);

// The points at every multiple of `interval` metres of station within the alignment.
std::vector<StationedPoint> StationMarks(const std::vector<common::AlignmentElement>& elements, double interval);

// "0+100", "0+012,500": kilometres, "+", metres (three decimals with a comma only where the
// station is not a whole metre).
std::string StationLabel(double station);

inline constexpr double kDefaultChordTolerance = 0.01;

}  // namespace geo
