#include "formats/gts/gts_alignment.h"

#include <cmath>
#include <optional>

#include "common/geometry.h"
#include "common/numbers.h"
#include "formats/native/native_alignment_file.h"
#include "formats/gts/element_limit.h"

namespace viaducto {

using common::AlignmentElement;
using common::Point2;

namespace {

Point2 PointOf(const AlignmentElement& e) { return Point2{e.x, e.y}; }

// Coordinates as the file shows them: four decimals, never "-0.0000".
double Coordinate(double value) { return common::PrintableZero(value, 4); }

// A tangent as two points: through the element's start point along its stored azimuth.
struct Tangent {
  Point2 from;
  Point2 to;
};

Tangent TangentAlongAzimuth(const AlignmentElement& e) {
  return Tangent{PointOf(e), common::PointAlong(PointOf(e), 10.0, e.azimuth)};
}

Tangent TangentThrough(const AlignmentElement& first, const AlignmentElement& second) {
  return Tangent{PointOf(first), PointOf(second)};
}

std::optional<Point2> Meet(const Tangent& incoming, const Tangent& outgoing) {
  return common::TangentIntersection(incoming.from, incoming.to, outgoing.from, outgoing.to);
}

void WriteSimpleCurve(const std::vector<AlignmentElement>& e, std::size_t i, common::TextWriter& writer) {
  const std::optional<Point2> pi = Meet(TangentAlongAzimuth(e[i]), TangentAlongAzimuth(e[i + 1]));
  if (pi) writer.Printf("PT %0.4lf, %0.4lf, %0.4lf\n", Coordinate(pi->x), Coordinate(pi->y), std::fabs(e[i].radius));
}

// The tangent before a curve entered by the clothoid at `entry`: through the start points of
// the straight before it and of the clothoid, or, when the clothoid opens the alignment, along
// the clothoid's start azimuth (which is the straight's direction).
Tangent IncomingTangent(const std::vector<AlignmentElement>& e, std::size_t entry) {
  return entry >= 1 ? TangentThrough(e[entry - 1], e[entry]) : TangentAlongAzimuth(e[entry]);
}

// The tangent after a curve whose last element ends at record `after`: through that record and
// the next, or, when `after` is the end of the alignment, along its azimuth.
Tangent OutgoingTangent(const std::vector<AlignmentElement>& e, std::size_t after) {
  return after + 1 < e.size() ? TangentThrough(e[after], e[after + 1]) : TangentAlongAzimuth(e[after]);
}

}  // namespace

void FormatGtsElements(const std::vector<AlignmentElement>& e, common::TextWriter& writer) {
  const std::size_t n = e.size();
  writer.Printf("START %0.3lf, %0.4lf, %0.4lf\n", e[0].station, Coordinate(e[0].x), Coordinate(e[0].y));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const double length = e[i + 1].station - e[i].station;
    switch (e[i].kind) {
      case common::kStraight:
        writer.Printf("STRAIGHT  %0.4lf,%0.4lf\n", e[i].azimuth, length);
        break;
      case common::kClothoid:
        // An exit clothoid stores no radius: it takes the radius of the arc before it.
        if (e[i].radius != 0.0) {
          writer.Printf("SPIRAL  %0.4lf,%0.4lf\n", e[i].radius, length);
        } else if (i > 0 && e[i - 1].radius != 0.0) {
          writer.Printf("SPIRAL  %0.4lf,%0.4lf\n", e[i - 1].radius, length);
        }
        break;
      default:
        writer.Printf("ARC  %0.4lf,%0.4lf\n", e[i].radius, length);
        break;
    }
  }
  writer.Printf("STRAIGHT  %0.4lf,%0.4lf\n", e[n - 1].azimuth, 0.0);
}

int FormatGtsIntersections(const std::vector<AlignmentElement>& e, common::TextWriter& writer) {
  const std::size_t n = e.size();
  int result = 1;
  writer.Printf("START %0.3lf, %0.4lf, %0.4lf\n", e[0].station, Coordinate(e[0].x), Coordinate(e[0].y));
  if (e[0].kind == common::kArc && n > 1) WriteSimpleCurve(e, 0, writer);
  for (std::size_t i = 1; i < n; ++i) {
    if ((e[i].kind == common::kStraight && e[i - 1].kind == common::kStraight) || i == n - 1) {
      writer.Printf("PT %0.4lf, %0.4lf\n", Coordinate(e[i].x), Coordinate(e[i].y));
      continue;
    }
    if (e[i].kind != common::kArc) continue;
    const bool enteredByClothoid = e[i - 1].kind == common::kClothoid;
    const bool leftByExitClothoid = e[i + 1].kind == common::kClothoid && e[i + 1].radius == 0.0;
    if (enteredByClothoid && leftByExitClothoid && i + 2 < n) {
      // Entry clothoid, arc, exit clothoid: tangents through the straights on both sides.
      const std::optional<Point2> pi = Meet(IncomingTangent(e, i - 1), OutgoingTangent(e, i + 2));
      if (pi) {
        writer.Printf("PT %0.4lf, %0.4lf, %0.4lf, %0.4lf, %0.4lf\n", Coordinate(pi->x), Coordinate(pi->y),
                      std::fabs(e[i].radius), e[i - 1].parameter, e[i + 1].parameter);
      }
    } else if (enteredByClothoid && !(e[i + 1].kind == common::kClothoid && e[i + 1].radius == e[i].radius)) {
      // An entry clothoid without a matching exit one: the outgoing tangent is a guess from
      // the record points after the arc, and the result says so.
      const std::optional<Point2> pi = Meet(IncomingTangent(e, i - 1), OutgoingTangent(e, i + 1));
      if (pi) {
        writer.Printf("PT %0.4lf, %0.4lf, %0.4lf, %0.4lf, %0.4lf\n", Coordinate(pi->x), Coordinate(pi->y),
                      std::fabs(e[i].radius), e[i - 1].parameter, e[i + 1].parameter);
      }
      result = -1;
    } else {
      WriteSimpleCurve(e, i, writer);
    }
  }
  return result;
}

GtsForm GtsFormFor(std::size_t lineCount, const std::string& settingsDirectory) {
  return ReadElementLimit(lineCount, settingsDirectory) == 1 ? GtsForm::kElements : GtsForm::kIntersections;
}

NativeAlignmentRule NativeRuleOf(GtsForm form) {
  return form == GtsForm::kElements ? kElementReader : kIntersectionReader;
}

int FormatGtsAlignment(NativeAlignment alignment, GtsForm form, common::TextWriter& writer) {
  common::SplitLongArcs(alignment.elements, alignment.capacity);
  if (form == GtsForm::kElements) {
    FormatGtsElements(alignment.elements, writer);
    return 1;
  }
  return FormatGtsIntersections(alignment.elements, writer);
}

}  // namespace viaducto
