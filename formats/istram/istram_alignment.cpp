// Istram fixed-column alignment listing: data lines of at least 100 characters marked "RECTA",
// "CIRC." or "CLOT." at column 4 or 7, each followed by its continuation lines; six fields of
// 12 characters from column 23 on.
#include <cstdlib>

#include "common/numbers.h"
#include "common/text_input.h"
#include "formats/istram/istram.h"

namespace viaducto {

namespace {

constexpr std::size_t kShortestDataLine = 100;

bool HasElementKeyword(std::string_view line, std::size_t index) {
  if (line.size() < index + 5) return false;
  const std::string_view word = line.substr(index, 5);
  return word == "RECTA" || word == "CIRC." || word == "CLOT.";
}

double Field(std::string_view line, int column) { return common::LenientDouble(common::ColumnField(line, column, 12)); }

}  // namespace

Alignment ParseIstramAlignment(std::string_view text) {
  Alignment elements;
  common::LineReader reader(text);
  std::string_view piece;
  bool previousWasData = false;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.size() < kShortestDataLine) {
      previousWasData = false;
      continue;
    }
    if (!previousWasData && !HasElementKeyword(line, 3) && !HasElementKeyword(line, 6)) continue;
    previousWasData = true;
    common::AlignmentElement e;
    e.station = Field(line, 23);
    e.x = Field(line, 36);
    e.y = Field(line, 49);
    e.radius = Field(line, 62);
    e.parameter = Field(line, 75);
    e.azimuth = Field(line, 88);
    elements.push_back(e);
  }
  SetLengthsFromStations(elements);
  // A clothoid takes the radius of the element it leads into.
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (elements[i].parameter > 0) elements[i].radius = elements[i + 1].radius;
  }
  ClearCurvesOfEmptyElements(elements);
  SetKindsFromValues(elements);
  return elements;
}

}  // namespace viaducto
