// Cartomap alignment listing: tab-separated rows of station ("km+m" or a plain number), x, y,
// an extra value, azimuth, length, type ("Recta", "Curva", "Clotoide"), then the radius of a
// curve or the radius and parameter of a clothoid.
#include "common/numbers.h"
#include "common/text_case.h"
#include "formats/cartomap/cartomap_rows.h"
#include "formats/cartomap/cartomap.h"

namespace viaducto {

Alignment ParseCartomapAlignment(std::string_view text) {
  Alignment elements;
  ForEachCartomapRow(text, [&](const std::vector<std::string_view>& fields) {
    if (fields.size() < 7) return;
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
      return;
    }
    if (fields.size() < needed) return;
    common::AlignmentElement e;
    e.kind = kind;
    e.station = ReadCartomapStation(fields[0]);
    e.x = common::LenientDouble(fields[1]);
    e.y = common::LenientDouble(fields[2]);
    e.extra = common::LenientDouble(fields[3]);
    e.azimuth = common::LenientDouble(fields[4]);
    e.length = common::LenientDouble(fields[5]);
    if (kind != common::kStraight) e.radius = common::LenientDouble(fields[7]);
    if (kind == common::kClothoid) e.parameter = common::LenientDouble(fields[8]);
    elements.push_back(e);
  });
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
