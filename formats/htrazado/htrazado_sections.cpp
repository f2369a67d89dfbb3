// hTrazado cross-section listing: a line beginning with "PK" carries the station from its fifth
// character on; every other line holds "offset , elevation" of a point of that station.
#include "common/scanned_fields.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"

namespace viaducto {

bool ParseHtrazadoSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  common::LineReader reader(text);
  std::string_view line;
  double station = 0;
  while (NextCompleteLine(reader, line)) {
    if (line.size() >= 2 && common::EqualsIgnoringCase(line.substr(0, 2), "PK")) {
      common::ScannedFields fields(line.size() > 4 ? line.substr(4) : std::string_view());
      double value = 0;
      if (fields.Double(value)) station = value;
      continue;
    }
    common::ScannedFields fields(line);
    double offset = 0, elevation = 0;
    // A line without the pair (a blank line, a title) adds no point.
    if (!fields.Double(offset) || !fields.Literal(',') || !fields.Double(elevation)) continue;
    points.push_back(CrossSectionPoint{station, offset, elevation, std::string()});
  }
  return true;
}

}  // namespace viaducto
