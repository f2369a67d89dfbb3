// Istram cross-section listing: a line of at least six fields whose first is 4 opens a section
// and carries its station in the fifth field; the next line gives the number of left and right
// points (fourth and fifth integers); then the offset/elevation pairs, left points first.
#include <vector>

#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/section_listings.h"
#include "formats/istram/istram.h"
#include "common/section_offsets.h"

namespace viaducto {

bool ParseIstramSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  std::vector<CrossSectionPoint> section;
  while (NextCompleteLine(reader, line)) {
    if (common::SplitTokens(line, " \n", fields) < 6 || common::LenientInt(fields[0]) != 4) continue;
    const double station = common::LenientDouble(fields[4]);
    if (!NextCompleteLine(reader, line)) break;
    common::ScannedFields counts(line);
    int skipped = 0, left = 0, right = 0;
    // A count line that does not hold five integers gives a section without points.
    if (!counts.Int(skipped) || !counts.Int(skipped) || !counts.Int(skipped) || !counts.Int(left) ||
        !counts.Int(right)) {
      left = right = 0;
    }
    const long wanted = static_cast<long>(left > 0 ? left : 0) + (right > 0 ? right : 0);
    section.clear();
    while (static_cast<long>(section.size()) < wanted && NextCompleteLine(reader, line)) {
      common::Tokenizer pairs(line);
      std::string_view offset, elevation;
      while (static_cast<long>(section.size()) < wanted && pairs.Next(" \n", offset) && pairs.Next(" \n", elevation)) {
        CrossSectionPoint point;
        point.station = station;
        point.offset = common::LenientDouble(offset);
        point.elevation = common::LenientDouble(elevation);
        if (static_cast<long>(section.size()) < left) point.offset = -point.offset;
        section.push_back(std::move(point));
      }
    }
    SortSectionByOffset(section);
    bool first = true;
    double lastOffset = 0;
    for (const CrossSectionPoint& p : section) {
      if (!first && p.offset == lastOffset) continue;
      points.push_back(CrossSectionPoint{p.station, p.offset, p.elevation, std::string()});
      first = false;
      lastOffset = p.offset;
    }
  }
  return true;
}

}  // namespace viaducto
