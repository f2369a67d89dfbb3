// Cartomap alignment listing: tab-separated rows of station ("km+m" or a plain number), x, y,
// an extra value, azimuth, length, type ("Recta", "Curva", "Clotoide"), then the radius of a
// curve or the radius and parameter of a clothoid.
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto/alignment/foreign_alignment.h"

namespace viaducto {

namespace {

constexpr std::size_t kLineBuffer = 500;

double CartomapStation(std::string_view text) {
  const std::size_t plus = text.find('+');
  const bool negative = text.find('-') != std::string_view::npos;
  if (plus == std::string_view::npos) return negative ? 0.0 : common::LenientDouble(text);
  const double kilometres = common::LenientDouble(text.substr(0, plus));
  const double metres = common::LenientDouble(text.substr(plus + 1));
  return kilometres * 1000.0 + (negative ? -metres : metres);
}

}  // namespace

Alignment ParseCartomapAlignment(std::string_view text) {
  Alignment elements;
  common::LineReader reader(text, kLineBuffer);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (common::SplitTokens(common::WithoutLineFeed(piece), "\t", fields) <= 5) continue;
    if (fields.size() < 7) continue;
    int kind;
    std::size_t needed;
    if (common::EqualsIgnoringCase(fields[6], "Recta")) {
      kind = common::kStraight;
      needed = 7;
    } else if (common::EqualsIgnoringCase(fields[6], "Curva")) {
      kind = common::kArc;
      needed = 8;
    } else if (common::EqualsIgnoringCase(fields[6], "Clotoide")) {
      kind = common::kClothoid;
      needed = 9;
    } else {
      continue;
    }
    if (fields.size() < needed) continue;
    common::AlignmentElement e;
    e.kind = kind;
    e.station = CartomapStation(fields[0]);
    e.x = common::LenientDouble(fields[1]);
    e.y = common::LenientDouble(fields[2]);
    e.extra = common::LenientDouble(fields[3]);
    e.azimuth = common::LenientDouble(fields[4]);
    e.length = common::LenientDouble(fields[5]);
    if (kind != common::kStraight) e.radius = common::LenientDouble(fields[7]);
    if (kind == common::kClothoid) e.parameter = common::LenientDouble(fields[8]);
    elements.push_back(e);
  }
  // An exit clothoid (after an arc, before a straight) leaves the arc's radius to the arc.
  for (std::size_t i = 1; i + 1 < elements.size(); ++i) {
    if (elements[i].kind == common::kClothoid && elements[i - 1].kind == common::kArc &&
        elements[i + 1].kind == common::kStraight) {
      elements[i].radius = 0;
    }
  }
  return elements;
}

}  // namespace viaducto
