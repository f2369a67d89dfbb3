#include "common/alignment_projection.h"

#include <cmath>
#include <cstddef>

namespace common {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRangeSlack = 0.001;  // a foot this far outside an element still counts
constexpr double kNoFoot = 1e8;        // larger than any offset that can win

Point2 Direction(double azimuth) {
  return Point2{std::sin(azimuth * kRadiansPerGrad), std::cos(azimuth * kRadiansPerGrad)};
}

// Along the direction, and to its right.
double Along(const Point2& from, const Point2& to, const Point2& direction) {
  return (to.x - from.x) * direction.x + (to.y - from.y) * direction.y;
}
double ToTheRight(const Point2& from, const Point2& to, const Point2& direction) {
  return (to.x - from.x) * direction.y - (to.y - from.y) * direction.x;
}

double Distance(const Point2& a, const Point2& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A foot on one element: `along` from the element start, with the point and direction there.
struct ElementFoot {
  double along = 0;
  double offset = 0;
  Point2 point;
  double azimuth = 0;
};

bool FootOnStraight(const AlignmentElement& e, const Point2& p, ElementFoot& foot) {
  const Point2 start{e.x, e.y};
  const Point2 direction = Direction(e.azimuth);
  foot.along = Along(start, p, direction);
  foot.offset = ToTheRight(start, p, direction);
  foot.point = Point2{start.x + foot.along * direction.x, start.y + foot.along * direction.y};
  foot.azimuth = e.azimuth;
  return true;
}

bool FootOnArc(const AlignmentElement& e, const Point2& p, ElementFoot& foot) {
  const Point2 start{e.x, e.y};
  const double r = std::fabs(e.radius);
  // The centre is square to the start azimuth, to the right for a clockwise arc.
  const Point2 centre = PointAlong(start, e.radius, e.azimuth + 100);
  const double dx = p.x - centre.x;
  const double dy = p.y - centre.y;
  const double distance = std::hypot(dx, dy);
  if (distance == 0) return false;
  double turned = std::atan2(dx, dy) - std::atan2(start.x - centre.x, start.y - centre.y);
  if (e.radius < 0) turned = -turned;
  turned = std::fmod(turned, 2 * kPi);
  if (turned < 0) turned += 2 * kPi;
  foot.along = turned * r;
  // A point before the start lies just short of a full turn.
  if (foot.along > e.length + kRangeSlack) foot.along -= 2 * kPi * r;
  foot.offset = (e.radius > 0 ? 1.0 : -1.0) * (r - distance);
  const ArcPoint at = PointOnArc(e, e.station + foot.along);
  foot.point = at.point;
  foot.azimuth = at.azimuth;
  return true;
}

bool FootOnClothoid(const ProjectionElement& tramo, const Point2& p, double step, ElementFoot& foot) {
  const double length = tramo.element.length;
  if (!(length > 0)) return false;
  const ClothoidPoint first = PointOnClothoid(tramo.clothoid, 0);
  const ClothoidPoint last = PointOnClothoid(tramo.clothoid, length);
  // Outside the normals at the ends, the foot is not on this element.
  if (Along(first.point, p, Direction(first.azimuth)) < -kRangeSlack) return false;
  if (Along(last.point, p, Direction(last.azimuth)) > kRangeSlack) return false;
  // Halving: keep the half on whose side of the normal at the middle the point lies.
  double low = 0;
  double high = length;
  while (high - low >= step) {
    const double middle = 0.5 * (low + high);
    const ClothoidPoint at = PointOnClothoid(tramo.clothoid, middle);
    if (Along(at.point, p, Direction(at.azimuth)) > 0) {
      low = middle;
    } else {
      high = middle;
    }
  }
  foot.along = 0.5 * (low + high);
  const ClothoidPoint at = PointOnClothoid(tramo.clothoid, foot.along);
  foot.offset = ToTheRight(at.point, p, Direction(at.azimuth));
  foot.point = at.point;
  foot.azimuth = at.azimuth;
  return true;
}

// The joint V of straights `first` and `second` (V is the start of `second`, `after` the start
// of the element after it) is the foot when the point is nearer to V than to both other
// starts and than the best foot so far.
void TryCorner(const AlignmentElement& first, const AlignmentElement& second, const AlignmentElement& after,
               const Point2& p, double& best, AxisFoot& foot, bool& found) {
  const Point2 joint{second.x, second.y};
  const double distance = Distance(p, joint);
  if (!(distance < Distance(p, Point2{first.x, first.y}))) return;
  if (!(distance < Distance(p, Point2{after.x, after.y}))) return;
  if (!(distance < best)) return;
  const Point2 left = PointAlong(joint, distance, second.azimuth - 100);
  const Point2 right = PointAlong(joint, distance, second.azimuth + 100);
  best = distance;
  foot.station = second.station;
  foot.point = joint;
  // The bisector of the two directions, taken the short way round.
  double turn = NormalizeGrads(second.azimuth - first.azimuth);
  if (turn > 200) turn -= 400;
  foot.azimuth = NormalizeGrads(first.azimuth + turn / 2);
  foot.offset = Distance(p, left) < Distance(p, right) ? -distance : distance;
  found = true;
}

}  // namespace

ProjectionElement MakeProjectionElement(const AlignmentElement& element, double previousRadius) {
  ProjectionElement tramo;
  tramo.element = element;
  tramo.clothoid = ClothoidOfElement(element, previousRadius);
  return tramo;
}

bool ProjectOnAxis(const std::vector<ProjectionElement>& alignment, const Point2& point, const ProjectionRules& rules,
                   AxisFoot& foot) {
  if (alignment.empty()) return false;
  const std::size_t elements = rules.lastRecordIsEndPoint ? alignment.size() - 1 : alignment.size();
  double best = kNoFoot;
  bool found = false;
  for (std::size_t i = 0; i < elements; ++i) {
    const ProjectionElement& tramo = alignment[i];
    const AlignmentElement& e = tramo.element;
    ElementFoot candidate;
    bool have = false;
    switch (e.kind) {
      case kStraight: have = FootOnStraight(e, point, candidate); break;
      case kArc: have = FootOnArc(e, point, candidate); break;
      case kClothoid: have = FootOnClothoid(tramo, point, rules.clothoidStep, candidate); break;
      default: break;
    }
    if (!have || candidate.along < -kRangeSlack || candidate.along > e.length + kRangeSlack) continue;
    if (std::fabs(candidate.offset) < best) {
      best = std::fabs(candidate.offset);
      foot.station = e.station + candidate.along;
      foot.point = candidate.point;
      foot.azimuth = candidate.azimuth;
      foot.offset = candidate.offset;
      found = true;
    }
  }
  if (rules.cornersOfStraights) {
    for (std::size_t i = 0; i + 2 < alignment.size() && i + 1 < elements; ++i) {
      const AlignmentElement& first = alignment[i].element;
      const AlignmentElement& second = alignment[i + 1].element;
      if (first.kind != kStraight || second.kind != kStraight) continue;
      TryCorner(first, second, alignment[i + 2].element, point, best, foot, found);
    }
  }
  if (!found) return false;
  const AlignmentElement& last = alignment.back().element;
  if (foot.station < alignment.front().element.station) return false;
  if (foot.station > last.station + last.length + kRangeSlack) return false;
  return true;
}

}  // namespace common
