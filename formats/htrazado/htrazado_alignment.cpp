// hTrazado alignment listing: a first line of two numbers, then lines (at least 10
// characters, third character not "N") of up to six numbers split at tabs, blanks and commas.
// A line with all six is read in the native column order: station, x, y, azimuth, clothoid
// parameter, radius; shorter lines are skipped.
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/htrazado/htrazado.h"

namespace viaducto {

Alignment ParseHTrazadoAlignment(std::string_view text) {
  Alignment elements;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  if (!reader.Next(piece) || common::SplitTokens(common::WithoutLineFeed(piece), "\t ,", fields) < 2) {
    return elements;
  }
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.size() < 10 || line[2] == 'N') continue;
    if (common::SplitTokens(line, "\t ,", fields) < 6) continue;
    elements.push_back(common::ElementFromNativeFields(fields.data()));
  }
  SetLengthsFromStations(elements);
  SetKindsFromValues(elements);
  return elements;
}

}  // namespace viaducto
