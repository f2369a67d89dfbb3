// Ispol alignment listing: "#" comment lines, a line with the start station, more comments,
// then one element per line (type, length, x, y, two unused fields, azimuth, radius or
// parameter) until the next "#" line. Types: 1 straight, 2 and 3 arcs turning clockwise and
// counter-clockwise, 4 to 7 clothoids.
#include <cmath>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto/alignment/foreign_alignment.h"

namespace viaducto {

Alignment ParseIspolAlignment(std::string_view text) {
  Alignment elements;
  std::vector<int> types;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  enum { kLeadingComments, kAfterStart, kElements } state = kLeadingComments;
  double startStation = 0;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    const bool comment = !line.empty() && line.front() == '#';
    if (state == kLeadingComments) {
      if (comment) continue;
      common::SplitTokens(line, "\t ", fields);
      startStation = fields.empty() ? 0.0 : common::LenientDouble(fields[0]);
      state = kAfterStart;
      continue;
    }
    if (state == kAfterStart) {
      if (comment) continue;
      state = kElements;
    }
    if (comment) break;
    common::SplitTokens(line, "\t ", fields);
    if (fields.size() < 7) continue;
    const int type = common::LenientInt(fields[0]);
    if (type != 1 && fields.size() < 8) continue;
    common::AlignmentElement e;
    e.length = common::LenientDouble(fields[1]);
    e.x = common::LenientDouble(fields[2]);
    e.y = common::LenientDouble(fields[3]);
    e.azimuth = std::fabs(common::LenientDouble(fields[6]));
    const double value = type != 1 ? common::LenientDouble(fields[7]) : 0.0;
    if (type == 2) e.radius = value;
    if (type == 3) e.radius = -value;
    if (type >= 4 && type <= 7) e.parameter = value;
    e.kind = type == 1 ? common::kStraight : (type == 2 || type == 3) ? common::kArc : common::kClothoid;
    elements.push_back(e);
    types.push_back(type);
  }
  for (std::size_t i = 0; i < elements.size(); ++i) {
    elements[i].station = i == 0 ? startStation : elements[i - 1].station + elements[i - 1].length;
  }
  // Clothoids of types 4 and 7 lead into the element after them and take its radius.
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (types[i] == 4 || types[i] == 7) elements[i].radius = elements[i + 1].radius;
  }
  return elements;
}

}  // namespace viaducto
