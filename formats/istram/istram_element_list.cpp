// Istram element listing: after a title line, one line per element with its number, its
// keyword ("RECTA", "CIRC.", "CLOT."), a skipped field, station, x, y, then the radius of an
// arc or the parameter of a clothoid, then the azimuth.
#include <cmath>

#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/istram/istram.h"

namespace viaducto {

namespace {

int KeywordKind(std::string_view word) {
  if (common::EqualsIgnoringCase(word, "RECTA")) return common::kStraight;
  if (common::EqualsIgnoringCase(word, "CIRC.")) return common::kArc;
  if (common::EqualsIgnoringCase(word, "CLOT.")) return common::kClothoid;
  return -1;
}

}  // namespace

Alignment ParseIstramElementList(std::string_view text) {
  Alignment elements;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  bool started = false;
  if (!reader.Next(piece)) return elements;  // the title line
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.size() <= 9 || line[2] == 'N') continue;
    common::SplitTokens(line, "\t ", fields);
    if (fields.empty()) continue;
    if (!started) {
      if (common::LenientInt(fields[0]) != 1) continue;
      started = true;
    }
    std::size_t k = 0;
    int kind = KeywordKind(fields[0]);
    if (kind < 0 && fields.size() > 1) {
      k = 1;
      kind = KeywordKind(fields[1]);
    }
    if (kind < 0) {
      if (!elements.empty()) break;
      continue;
    }
    const std::size_t needed = k + (kind == common::kStraight ? 6 : 7);
    if (fields.size() < needed) continue;
    common::AlignmentElement e;
    e.station = common::LenientDouble(fields[k + 2]);
    e.x = common::LenientDouble(fields[k + 3]);
    e.y = common::LenientDouble(fields[k + 4]);
    if (kind == common::kArc) e.radius = common::LenientDouble(fields[k + 5]);
    if (kind == common::kClothoid) e.parameter = std::fabs(common::LenientDouble(fields[k + 5]));
    e.azimuth = common::LenientDouble(fields[kind == common::kStraight ? k + 5 : k + 6]);
    elements.push_back(e);
  }
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (elements[i].parameter != 0) elements[i].radius = elements[i + 1].radius;
  }
  SetLengthsFromStations(elements);
  SetKindsFromValues(elements);
  return elements;
}

}  // namespace viaducto
