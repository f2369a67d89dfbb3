#include "formats/geo/alignment_samples.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/clothoid.h"

namespace geo {
namespace {

// The curve of record `i`: a clothoid as the native file defines it, an arc or a straight with
// no change of curvature.
common::Clothoid CurveOf(const std::vector<common::AlignmentElement>& elements, std::size_t i) {
  const common::AlignmentElement& e = elements[i];
  if (e.parameter != 0.0) return common::ClothoidOfElement(e, i > 0 ? elements[i - 1].radius : 0.0);
  common::Clothoid curve;
  curve.start = common::Point2{e.x, e.y};
  curve.azimuth = e.azimuth;
  if (e.radius != 0.0) curve.startCurvature = 1.0 / e.radius;
  return curve;
}

double LengthOf(const std::vector<common::AlignmentElement>& elements, std::size_t i) {
  return elements[i + 1].station - elements[i].station;
}

StationedPoint At(const common::Clothoid& curve, double start, double along) {
  const common::ClothoidPoint p = common::PointOnClothoid(curve, along);
  return {p.point.x, p.point.y, start + along};
}

}  // namespace

std::vector<StationedPoint> DensifyAlignment(const std::vector<common::AlignmentElement>& elements,
                                             double chordTolerance) {
  return DensifyAlignment(elements, chordTolerance, {});
}

std::vector<StationedPoint> DensifyAlignment(const std::vector<common::AlignmentElement>& elements,
                                             double chordTolerance, const std::vector<double>& stations) {
  std::vector<StationedPoint> points;
  auto extra = stations.begin();
  std::vector<double> along;
  if (elements.size() < 2) return points;
  const double tolerance = chordTolerance > 0 ? chordTolerance : kDefaultChordTolerance;
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    const double length = LengthOf(elements, i);
    if (!(length > 0) || !std::isfinite(length)) continue;
    const common::Clothoid curve = CurveOf(elements, i);
    const double curvature =
        std::max(std::fabs(curve.startCurvature), std::fabs(curve.startCurvature + curve.curvatureRate * length));
    // A chord c on a curvature k strays c² k / 8 from the curve.
    std::size_t pieces = 1;
    if (curvature > 0) {
      const double chord = std::sqrt(8.0 * tolerance / curvature);
      pieces = static_cast<std::size_t>(std::ceil(length / chord));
      pieces = std::min<std::size_t>(std::max<std::size_t>(pieces, 1), 10000000);
    }
    along.clear();
    for (std::size_t j = (points.empty() ? 0 : 1); j <= pieces; ++j) {
      along.push_back(length * static_cast<double>(j) / static_cast<double>(pieces));
    }
    // The stations asked for that fall strictly inside this element.
    const double start = elements[i].station;
    while (extra != stations.end() && *extra <= start) ++extra;
    const std::size_t uniform = along.size();
    for (; extra != stations.end() && *extra < start + length; ++extra) along.push_back(*extra - start);
    if (along.size() > uniform) {
      std::sort(along.begin(), along.end());
      along.erase(std::unique(along.begin(), along.end(), [](double a, double b) { return b - a < 1e-9; }), along.end());
    }
    for (double distance : along) points.push_back(At(curve, start, distance));
  }
  if (points.empty()) {
    const common::AlignmentElement& only = elements.front();
    points.push_back({only.x, only.y, only.station});
  }
  return points;
}

std::vector<double> ProfileBends(const common::Profile& profile, double chordTolerance) {
  std::vector<double> stations;
  const double tolerance = chordTolerance > 0 ? chordTolerance : kDefaultChordTolerance;
  for (std::size_t i = 0; i < profile.size(); ++i) {
    const common::ProfileVertex& v = profile[i];
    const bool curve = i > 0 && i + 1 < profile.size() && v.tangent > 0 && std::isfinite(v.tangent);
    if (!curve) {
      stations.push_back(v.station);
      continue;
    }
    // The parabola's elevation bends by (gradeOut - gradeIn) / (2 tangent) per metre squared; a
    // chord c strays c² times a quarter of that from it.
    const double change = std::fabs(common::GradeBetween(v, profile[i + 1]) - common::GradeBetween(profile[i - 1], v));
    std::size_t pieces = 1;
    if (change > 0 && std::isfinite(change)) {
      const double chord = std::sqrt(16.0 * v.tangent * tolerance / change);
      // Bounded before it becomes a count: a file's tangent may be any number.
      const double wanted = std::ceil(2.0 * v.tangent / chord);
      pieces = wanted >= 1.0 ? static_cast<std::size_t>(std::min(wanted, 10000000.0)) : 1;
    }
    for (std::size_t k = 0; k <= pieces; ++k) {
      stations.push_back(v.station - v.tangent + 2.0 * v.tangent * static_cast<double>(k) / static_cast<double>(pieces));
    }
  }
  std::sort(stations.begin(), stations.end());
  if (!profile.empty()) {
    const double first = profile.front().station, last = profile.back().station;
    stations.erase(std::remove_if(stations.begin(), stations.end(),
                                  [&](double s) { return !(s >= first && s <= last); }),
                   stations.end());
  }
  return stations;
}

std::vector<StationedPoint> StationMarks(const std::vector<common::AlignmentElement>& elements, double interval) {
  std::vector<StationedPoint> marks;
  if (elements.size() < 2 || !(interval > 0)) return marks;
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    const double length = LengthOf(elements, i);
    if (!(length > 0) || !std::isfinite(length)) continue;
    const double start = elements[i].station;
    const bool last = i + 2 == elements.size();
    const common::Clothoid curve = CurveOf(elements, i);
    for (double k = std::ceil(start / interval - 1e-9); k * interval < start + length + (last ? 1e-9 : 0); k += 1) {
      if (!marks.empty() && std::fabs(marks.back().station - k * interval) < 1e-9) continue;
      marks.push_back(At(curve, start, std::max(0.0, k * interval - start)));
      marks.back().station = k * interval;
    }
  }
  return marks;
}

std::string StationLabel(double station) {
  const bool negative = station < 0;
  const double value = std::fabs(station);
  long long km = static_cast<long long>(std::floor(value / 1000.0 + 1e-12));
  double metres = value - static_cast<double>(km) * 1000.0;
  if (metres < 0) metres = 0;
  char text[64];
  if (std::fabs(metres - std::round(metres)) < 0.0005) {
    long long whole = std::llround(metres);
    if (whole == 1000) {
      ++km;
      whole = 0;
    }
    std::snprintf(text, sizeof text, "%s%lld+%03lld", negative ? "-" : "", km, whole);
  } else {
    std::snprintf(text, sizeof text, "%s%lld+%07.3f", negative ? "-" : "", km, metres);
    for (char* c = text; *c != '\0'; ++c) {
      if (*c == '.') *c = ',';
    }
  }
  return text;
}

}  // namespace geo
