#include "common/profile_curves.h"

#include "common/numbers.h"

#include <algorithm>
#include <cmath>

namespace common {

namespace {

constexpr double kVerticalGrade = 100000000.0;

// A value a file can carry: what is not finite (no change of grade) becomes 0.

}  // namespace

int SignOfRise(double rise) {
  if (std::fabs(rise) < 0.0001) return 0;
  return rise > 0 ? 1 : -1;
}

double GradeBetween(const ProfileVertex& a, const ProfileVertex& b, RiseSign riseSign) {
  const double rise = b.elevation - a.elevation;
  const double run = b.station - a.station;
  if (run != 0.0) return rise / run;
  return riseSign(rise) * kVerticalGrade;
}

double GradeChange(const Profile& profile, std::size_t i, RiseSign riseSign) {
  const double before = i > 0 ? GradeBetween(profile[i - 1], profile[i], riseSign) : 0.0;
  const double after = i + 1 < profile.size() ? GradeBetween(profile[i], profile[i + 1], riseSign) : 0.0;
  return after - before;
}

void CompleteCurves(Profile& profile, bool circular) {
  CurveCompletion how;
  how.circular = circular;
  CompleteCurves(profile, how);
}

void CompleteCurves(Profile& profile, const CurveCompletion& how) {
  for (std::size_t i = how.first < 1 ? 1 : how.first; i < how.end && i < profile.size(); ++i) {
    ProfileVertex& vertex = profile[i];
    const double tangent = vertex.tangent;
    if (!how.circular) {
      const double change = GradeChange(profile, i, how.riseSign);
      if (!how.kvGiven) vertex.kv = FiniteOrZero(std::fabs(2.0 * tangent / change));
      vertex.external = std::fabs(change * tangent / 4.0);
      continue;
    }
    if (!how.kvGiven) {
      const double gradeIn = GradeBetween(profile[i - 1], vertex, how.riseSign);
      const double gradeOut = i + 1 < profile.size() ? GradeBetween(vertex, profile[i + 1], how.riseSign) : 0.0;
      const double deflection = std::atan(gradeIn) - std::atan(gradeOut);
      vertex.kv = FiniteOrZero(std::fabs(tangent / std::tan(deflection / 2.0)));
    }
    const double radius = vertex.kv;
    vertex.external = radius > 0.0 ? FiniteOrZero(std::sqrt(radius * radius + tangent * tangent) - radius) : 0.0;
  }
}

void CurveFromKv(ProfileVertex& vertex, double gradeChange) {
  vertex.tangent = std::fabs(gradeChange * vertex.kv / 2.0);
  vertex.external = std::fabs(gradeChange * vertex.tangent / 4.0);
}

void CompleteCurvesFromKv(Profile& profile, std::size_t first, std::size_t end, RiseSign riseSign) {
  for (std::size_t i = first; i < end && i < profile.size(); ++i) {
    CurveFromKv(profile[i], GradeChange(profile, i, riseSign));
  }
}

double ElevationAt(const Profile& profile, double station) {
  if (profile.empty()) return 0;
  if (profile.size() == 1 || station <= profile.front().station) return profile.front().elevation;
  if (station >= profile.back().station) return profile.back().elevation;
  // The vertical curve that holds the station, if any.
  for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
    const ProfileVertex& v = profile[i];
    if (v.tangent <= 0 || std::fabs(station - v.station) > v.tangent) continue;
    const double gradeIn = GradeBetween(profile[i - 1], v);
    const double gradeOut = GradeBetween(v, profile[i + 1]);
    const double x = station - (v.station - v.tangent);
    return v.elevation - gradeIn * v.tangent + gradeIn * x + (gradeOut - gradeIn) * x * x / (4.0 * v.tangent);
  }
  auto after = std::upper_bound(profile.begin(), profile.end(), station,
                                [](double s, const ProfileVertex& v) { return s < v.station; });
  if (after == profile.begin()) return profile.front().elevation;
  if (after == profile.end()) return profile.back().elevation;
  const ProfileVertex& a = *(after - 1);
  const ProfileVertex& b = *after;
  if (b.station == a.station) return b.elevation;
  return a.elevation + (b.elevation - a.elevation) * (station - a.station) / (b.station - a.station);
}

}  // namespace common
