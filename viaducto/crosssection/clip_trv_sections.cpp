// Clip TRV cross sections: an optional "*TRV" heading (and the line after it), then for each
// section a line "station, count" followed by that many lines "offset, elevation, code".
#include <string>

#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto/crosssection/cross_section_set.h"
#include "viaducto/crosssection/foreign_readers.h"

namespace viaducto {

namespace {

bool IsEmptyLine(std::string_view line) { return line.empty() || line == "\n"; }

}  // namespace

bool ReadClipTrvSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  common::LineReader reader(text);
  std::string_view line;
  bool headingChecked = false;
  while (NextCompleteLine(reader, line)) {
    if (!headingChecked) {
      if (IsEmptyLine(line)) continue;
      headingChecked = true;
      if (line.front() == '*') {
        if (line.size() < 4 || !common::EqualsIgnoringCase(line.substr(0, 4), "*TRV")) return false;
        NextCompleteLine(reader, line);  // the line under the heading
        continue;
      }
    }
    common::ScannedFields sectionLine(line);
    double station = 0;
    int count = 0;
    if (!sectionLine.Double(station) || !sectionLine.Literal(',') || !sectionLine.Int(count)) continue;
    double previousOffset = -100000000.0;
    for (int i = 0; i < count && NextCompleteLine(reader, line); ++i) {
      common::Tokenizer fields(line);
      std::string_view offsetField, elevationField, codeField;
      // A point line without offset and elevation still counts as one of the section's lines.
      if (!fields.Next(",", offsetField) || !fields.Next(",", elevationField)) continue;
      const double offset = common::LenientDouble(offsetField);
      const double elevation = common::LenientDouble(elevationField);
      std::string_view code;
      if (fields.Next(",", codeField)) code = common::WithoutLineFeed(codeField);
      if (offset == previousOffset) continue;
      previousOffset = offset;
      points.push_back(CrossSectionPoint{station, offset, elevation, std::string(code)});
    }
  }
  return true;
}

}  // namespace viaducto
