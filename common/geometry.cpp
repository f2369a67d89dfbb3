#include "common/geometry.h"

#include <algorithm>
#include <cmath>

namespace common {

void Extents::Add(double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  if (empty) {
    minX = maxX = x;
    minY = maxY = y;
    empty = false;
    return;
  }
  minX = std::min(minX, x);
  maxX = std::max(maxX, x);
  minY = std::min(minY, y);
  maxY = std::max(maxY, y);
}

void Extents::Add(const Extents& other) {
  if (other.empty) return;
  Add(other.minX, other.minY);
  Add(other.maxX, other.maxY);
}

double NormalizeGrads(double grads) {
  if (!std::isfinite(grads)) return 0.0;
  // Far-off values are brought near first, so that huge input never loops for long.
  if (grads > 4000.0 || grads < -4000.0) grads = std::fmod(grads, 400.0);
  while (grads < 0.0) grads += 400.0;
  while (grads > 400.0) grads -= 400.0;
  return grads > 399.99995 ? 0.0 : grads;
}

bool PointsCoincide(const Point2& a, const Point2& b) {
  return std::fabs(a.x - b.x) < kPointTolerance && std::fabs(a.y - b.y) < kPointTolerance;
}

double AzimuthBetween(const Point2& from, const Point2& to) {
  if (PointsCoincide(from, to)) return 0.0;
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  double t;
  if (std::fabs(dy) >= kPointTolerance) {
    t = std::atan(dx / dy);
    if (dx > kPointTolerance && dy < kPointTolerance) t += M_PI;
    if (dx < kPointTolerance && dy > kPointTolerance) t += 2.0 * M_PI;
    if (dx < kPointTolerance && dy < kPointTolerance) t += M_PI;
  } else {
    t = dx > 0.0 ? M_PI / 2.0 : -M_PI / 2.0;
  }
  return NormalizeGrads(t * kGradsPerRadian);
}

Point2 PointAlong(const Point2& p, double distance, double azimuth) {
  const double angle = azimuth * kRadiansPerGrad;
  return Point2{p.x + distance * std::sin(angle), p.y + distance * std::cos(angle)};
}

Line LineThrough(const Point2& p1, const Point2& p2) {
  constexpr double kSteepSlope = 9000000000.0;
  Line line;
  if (std::fabs(p1.x - p2.x) >= kPointTolerance) {
    line.slope = (p2.y - p1.y) / (p2.x - p1.x);
    line.intercept = p1.y - line.slope * p1.x;
  } else {
    line.slope = kSteepSlope;
    line.intercept = p1.y - kSteepSlope * p1.x;
    line.vertical = true;
    line.verticalX = p1.x;
  }
  return line;
}

std::optional<Point2> IntersectLines(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
  const Line first = LineThrough(a, b);
  const Line second = LineThrough(c, d);
  // A vertical line is met exactly at its own x: the steep-slope stand-in loses about a metre
  // of y at map coordinates.
  if (first.vertical && second.vertical) return std::nullopt;
  if (first.vertical) return Point2{first.verticalX, second.slope * first.verticalX + second.intercept};
  if (second.vertical) return Point2{second.verticalX, first.slope * second.verticalX + first.intercept};
  if (std::fabs(first.slope - second.slope) < kSlopeTolerance) return std::nullopt;
  const double x = (second.intercept - first.intercept) / (first.slope - second.slope);
  return Point2{x, second.slope * x + second.intercept};
}

bool PointOnLine(const Point2& a, const Point2& b, const Point2& p) {
  if (std::fabs(a.x - b.x) >= 0.001) {
    const double slope = (b.y - a.y) / (b.x - a.x);
    const double intercept = a.y - slope * a.x;
    return std::fabs(slope * p.x + intercept - p.y) < kPointTolerance;
  }
  return std::fabs(a.x - p.x) < 0.001;
}

bool WithinRange(double u, double v, double w) {
  return w >= std::min(u, v) - kPointTolerance && w <= std::max(u, v) + kPointTolerance;
}

std::optional<Point2> TangentIntersection(const Point2& a, const Point2& b, const Point2& c, const Point2& d,
                                          bool onFirst, bool onSecond) {
  std::optional<Point2> result;
  if (PointsCoincide(a, c) || PointsCoincide(a, d)) {
    result = a;
  } else if (PointsCoincide(b, c) || PointsCoincide(b, d)) {
    result = b;
  } else {
    result = IntersectLines(a, b, c, d);
  }
  if (!result) return result;
  const Point2 p = *result;
  if (onFirst && !(PointOnLine(a, b, p) && WithinRange(a.x, b.x, p.x) && WithinRange(a.y, b.y, p.y))) {
    return std::nullopt;
  }
  if (onSecond && !(PointOnLine(c, d, p) && WithinRange(c.x, d.x, p.x) && WithinRange(c.y, d.y, p.y))) {
    return std::nullopt;
  }
  return result;
}

ArcPoint PointOnArc(const AlignmentElement& arc, double station) {
  const double distance = station - arc.station;
  const double radius = arc.radius;
  const double turn = (distance / radius) * kGradsPerRadian;
  const double chord = 2.0 * radius * std::sin(turn * 0.007853981633974483);
  const double chordAzimuth = (arc.azimuth + turn / 2.0) * kRadiansPerGrad;
  ArcPoint result;
  result.point = Point2{arc.x + chord * std::sin(chordAzimuth), arc.y + chord * std::cos(chordAzimuth)};
  result.azimuth = NormalizeGrads(arc.azimuth + turn);
  result.radius = radius;
  return result;
}

long FindElement(const std::vector<AlignmentElement>& elements, double station) {
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (elements[i].station <= station && station <= elements[i + 1].station) return static_cast<long>(i);
  }
  return -1;
}

int CompareStations(const AlignmentElement& a, const AlignmentElement& b) {
  if (std::fabs(a.station - b.station) < kStationTolerance) return 0;
  return a.station < b.station ? -1 : 1;
}

double ArcTurn(const AlignmentElement& arc, const AlignmentElement& next) {
  const double end = next.azimuth;
  const double start = arc.azimuth;
  if (arc.radius > 0.0) return (end < start ? end + 400.0 : end) - start;
  return (start < end ? start + 400.0 : start) - end;
}

namespace {

bool IsLongArc(const AlignmentElement& element, const AlignmentElement& next) {
  return element.kind == kArc && ArcTurn(element, next) >= 200.0;
}

AlignmentElement MiddleOfArc(const AlignmentElement& arc, double middle, double half) {
  const ArcPoint at = PointOnArc(arc, middle);
  AlignmentElement record;
  record.kind = kArc;
  record.station = middle;
  record.x = at.point.x;
  record.y = at.point.y;
  record.azimuth = at.azimuth;
  record.radius = at.radius;
  record.parameter = 0.0;
  record.length = half;
  return record;
}

bool SortedByStation(const std::vector<AlignmentElement>& elements) {
  for (std::size_t i = 1; i < elements.size(); ++i) {
    if (elements[i].station < elements[i - 1].station) return false;
  }
  return true;
}

void SortByStation(std::vector<AlignmentElement>& elements) {
  std::stable_sort(elements.begin(), elements.end(),
                   [](const AlignmentElement& a, const AlignmentElement& b) { return a.station < b.station; });
}

}  // namespace

bool SplitLongArcs(std::vector<AlignmentElement>& elements, std::size_t capacity) {
  if (elements.size() < 2) return true;

  // A table out of station order is put in order by the first split, as a whole; from then on
  // each new record goes right after the arc it halves, and one pass does the rest.
  if (!SortedByStation(elements)) {
    std::size_t i = 0;
    while (i + 1 < elements.size() && !IsLongArc(elements[i], elements[i + 1])) ++i;
    if (i + 1 >= elements.size()) return true;
    if (elements.size() >= capacity) return true;
    const double middle = (elements[i].station + elements[i + 1].station) / 2.0;
    const double half = (elements[i + 1].station - elements[i].station) / 2.0;
    const long holder = FindElement(elements, middle);
    if (holder < 0) return false;
    const AlignmentElement& arc = elements[static_cast<std::size_t>(holder)].radius != 0.0
                                      ? elements[static_cast<std::size_t>(holder)]
                                      : elements[i];
    const AlignmentElement added = MiddleOfArc(arc, middle, half);
    elements[i].length = half;
    elements.push_back(added);
    SortByStation(elements);
  }

  std::vector<AlignmentElement> result;
  result.reserve(elements.size() + 16);
  std::vector<AlignmentElement> pending;  // records that come right after `current`, nearest last
  std::size_t nextInput = 1;
  std::size_t total = elements.size();
  bool splitting = true;
  bool ok = true;
  AlignmentElement current = elements[0];
  for (;;) {
    const AlignmentElement* next = !pending.empty() ? &pending.back()
                                   : nextInput < elements.size() ? &elements[nextInput]
                                                                  : nullptr;
    if (next == nullptr) {
      result.push_back(current);
      break;
    }
    if (splitting && IsLongArc(current, *next)) {
      const double middle = (current.station + next->station) / 2.0;
      const double half = (next->station - current.station) / 2.0;
      if (total >= capacity) {
        splitting = false;
      } else if (!(current.station <= middle && middle <= next->station)) {
        splitting = false;
        ok = false;
      } else {
        // The first half is tested again against the new record before anything moves on.
        const AlignmentElement added = MiddleOfArc(current, middle, half);
        current.length = half;
        pending.push_back(added);
        ++total;
      }
      continue;
    }
    result.push_back(current);
    if (!pending.empty()) {
      current = pending.back();
      pending.pop_back();
    } else {
      current = elements[nextInput++];
    }
  }
  elements.swap(result);
  return ok;
}

}  // namespace common
