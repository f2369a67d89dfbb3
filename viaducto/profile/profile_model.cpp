#include "viaducto/profile/profile_model.h"

#include <cmath>

namespace viaducto {

namespace {

constexpr double kVerticalGrade = 100000000.0;

// A value a file can carry: what is not finite (no change of grade) becomes 0.
double Finite(double value) { return std::isfinite(value) ? value : 0.0; }

}  // namespace

double GradeBetween(const common::ProfileVertex& a, const common::ProfileVertex& b) {
  const double rise = b.elevation - a.elevation;
  const double run = b.station - a.station;
  if (run != 0.0) return rise / run;
  if (std::fabs(rise) < 0.0001) return 0.0;
  return rise > 0 ? kVerticalGrade : -kVerticalGrade;
}

double GradeChange(const Profile& profile, std::size_t i) {
  const double before = i > 0 ? GradeBetween(profile[i - 1], profile[i]) : 0.0;
  const double after = i + 1 < profile.size() ? GradeBetween(profile[i], profile[i + 1]) : 0.0;
  return after - before;
}

void CompleteCurves(Profile& profile, bool circular) {
  for (std::size_t i = 1; i < profile.size(); ++i) {
    common::ProfileVertex& vertex = profile[i];
    const double tangent = vertex.tangent;
    if (!circular) {
      const double change = GradeChange(profile, i);
      vertex.kv = Finite(std::fabs(2.0 * tangent / change));
      vertex.external = std::fabs(change * tangent / 4.0);
      continue;
    }
    const double gradeIn = GradeBetween(profile[i - 1], vertex);
    const double gradeOut = i + 1 < profile.size() ? GradeBetween(vertex, profile[i + 1]) : 0.0;
    const double deflection = std::atan(gradeIn) - std::atan(gradeOut);
    const double radius = Finite(std::fabs(tangent / std::tan(deflection / 2.0)));
    vertex.kv = radius;
    vertex.external = radius > 0.0 ? Finite(std::sqrt(radius * radius + tangent * tangent) - radius) : 0.0;
  }
}

void CurveFromKv(common::ProfileVertex& vertex, double gradeChange) {
  vertex.tangent = std::fabs(gradeChange * vertex.kv / 2.0);
  vertex.external = std::fabs(gradeChange * vertex.tangent / 4.0);
}

void CompleteCurvesFromKv(Profile& profile, std::size_t first, std::size_t end) {
  for (std::size_t i = first; i < end && i < profile.size(); ++i) CurveFromKv(profile[i], GradeChange(profile, i));
}

}  // namespace viaducto
