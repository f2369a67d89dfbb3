// Clip PLT alignment: one point per line (station, x, y, azimuth, radius, parameter); the
// radius and parameter on a point's line belong to the element that ends there.
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto/alignment/foreign_alignment.h"

namespace viaducto {

Alignment ParseClipPltAlignment(std::string_view text) {
  Alignment elements;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.size() <= 9 || line.front() == '*' || line.front() == '#') continue;
    if (common::SplitTokens(line, "\t ,", fields) < 6) continue;
    common::AlignmentElement e;
    e.station = common::LenientDouble(fields[0]);
    e.x = common::LenientDouble(fields[1]);
    e.y = common::LenientDouble(fields[2]);
    e.azimuth = common::LenientDouble(fields[3]);
    e.radius = common::LenientDouble(fields[4]);
    e.parameter = common::LenientDouble(fields[5]);
    elements.push_back(e);
  }
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const bool last = i + 1 == elements.size();
    elements[i].radius = last ? 0.0 : elements[i + 1].radius;
    elements[i].parameter = last ? 0.0 : elements[i + 1].parameter;
  }
  SetLengthsFromStations(elements);
  SetKindsFromValues(elements);
  return elements;
}

}  // namespace viaducto
