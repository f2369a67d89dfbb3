// MxRoad alignment listing: densely spaced points, each as a pair of lines of at least 60
// characters in three columns of 23 (Fortran exponents with "D"): x, y and a third value; then
// station, direction in radians and the radius at the point (999999.9 on a straight). The
// points are merged into elements: straights, then arcs, then the clothoids between them.
#include <cmath>
#include <string>

#include "common/geometry.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "formats/mxroad/mxroad.h"

namespace viaducto {

namespace {

constexpr std::size_t kShortestLine = 60;
constexpr double kGradsPerRadian = 63.66197723675813;
constexpr double kStraightRadius = 999999.0;  // 999999.9 marks a point on a straight

double Column(std::string_view line, int column) {
  std::string field = common::ColumnField(line, column, 23);
  for (char& c : field) {
    if (c == 'D' || c == 'd') c = 'E';
  }
  return common::LenientDouble(field);
}

enum class Role { kOrdinary, kStraight, kArc };

struct MxPoint {
  common::AlignmentElement element;
  Role role = Role::kOrdinary;
};

bool OnStraight(const common::AlignmentElement& e) { return std::fabs(e.radius) >= kStraightRadius; }

}  // namespace

Alignment ParseMxRoadAlignment(std::string_view text) {
  std::vector<MxPoint> points;
  common::LineReader reader(text);
  std::string_view piece;
  std::string_view first;
  bool haveFirst = false;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.size() < kShortestLine) {
      haveFirst = false;
      continue;
    }
    if (!haveFirst) {
      first = line;
      haveFirst = true;
      continue;
    }
    MxPoint p;
    p.element.x = Column(first, 1);
    p.element.y = Column(first, 24);
    p.element.station = Column(line, 1);
    p.element.azimuth = common::NormalizeGrads(Column(line, 24) * kGradsPerRadian);
    p.element.radius = Column(line, 47);
    points.push_back(p);
    haveFirst = false;
  }
  if (points.empty()) return {};

  // Pass 1: of every run of straight points only its ends stay, as straights; the last point
  // of the listing always stays, as the end point.
  std::vector<MxPoint> kept;
  for (std::size_t i = 0; i < points.size(); ++i) {
    MxPoint p = points[i];
    const bool last = i + 1 == points.size();
    if (OnStraight(p.element) || last) {
      const bool runStart = i == 0 || !OnStraight(points[i - 1].element);
      const bool runEnd = last || !OnStraight(points[i + 1].element);
      if (!runStart && !runEnd) continue;
      p.role = Role::kStraight;
      p.element.radius = 0;
    }
    kept.push_back(p);
  }

  // Pass 2: an ordinary point followed by one of the same radius starts an arc; the points
  // after it with that radius go, except the last, which stays ordinary (the arc's end).
  std::vector<MxPoint> merged;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    MxPoint p = kept[i];
    if (p.role == Role::kOrdinary && i + 1 < kept.size() && kept[i + 1].role == Role::kOrdinary &&
        p.element.radius != 0 && kept[i + 1].element.radius == p.element.radius) {
      p.role = Role::kArc;
      merged.push_back(p);
      std::size_t j = i + 1;
      while (j + 1 < kept.size() && kept[j + 1].role == Role::kOrdinary &&
             kept[j + 1].element.radius == p.element.radius) {
        ++j;
      }
      merged.push_back(kept[j]);
      i = j;
      continue;
    }
    merged.push_back(p);
  }

  // Pass 3: each run of ordinary points between two records is a clothoid. A² is the
  // clothoid's length times the radius of the arc it joins.
  std::vector<MxPoint> result;
  bool abandoned = false;
  for (std::size_t i = 0; i < merged.size() && !abandoned;) {
    if (merged[i].role != Role::kOrdinary) {
      result.push_back(merged[i++]);
      continue;
    }
    std::size_t end = i;
    while (end < merged.size() && merged[end].role == Role::kOrdinary) ++end;
    if (result.empty() || end == merged.size()) {
      abandoned = true;
      break;
    }
    MxPoint& before = result.back();
    const MxPoint& after = merged[end];
    const double firstRadius = std::fabs(merged[i].element.radius);
    const double lastRadius = std::fabs(merged[end - 1].element.radius);
    if (lastRadius < firstRadius) {
      // Leads into the arc at `after`: the record before the run starts the clothoid.
      const double span = after.element.station - before.element.station;
      if (!(span > 0)) {
        abandoned = true;
        break;
      }
      before.element.radius = after.element.radius;
      before.element.parameter = std::sqrt(std::fabs(after.element.radius) * span);
      before.role = Role::kOrdinary;
    } else if (before.role == Role::kArc && lastRadius == std::fabs(before.element.radius)) {
      // Only the end of the arc before: the arc runs on to the next record.
    } else {
      // Leaves the arc before it: from the run's first point to the next record.
      MxPoint clothoid = merged[i];
      const double span = after.element.station - clothoid.element.station;
      if (!(span > 0)) {
        abandoned = true;
        break;
      }
      clothoid.element.parameter = std::sqrt(std::fabs(before.element.radius) * span);
      clothoid.element.radius = 0;
      result.push_back(clothoid);
    }
    i = end;
  }
  const std::vector<MxPoint>& final = abandoned ? merged : result;

  Alignment elements;
  elements.reserve(final.size());
  for (const MxPoint& p : final) elements.push_back(p.element);
  SetLengthsFromStations(elements);
  ClearCurvesOfEmptyElements(elements);
  SetKindsFromValues(elements);
  return elements;
}

}  // namespace viaducto
