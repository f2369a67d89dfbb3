// MxRoad cross-section listing: a header line; then each section is a line with the station
// and the number of points, followed by offset/elevation pairs, any number to a line.
#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto/crosssection/cross_section_set.h"
#include "viaducto/crosssection/foreign_readers.h"

namespace viaducto {

namespace {

constexpr double kMxroadTolerance = 0.001;
constexpr std::size_t kShortestSectionLine = 18;  // line break counted

}  // namespace

bool ReadMxroadSections(std::string_view text, std::vector<CrossSectionPoint>& sorted) {
  common::LineReader reader(text);
  std::string_view line;
  if (!NextCompleteLine(reader, line)) return true;  // the header, or nothing at all
  std::vector<CrossSectionPoint> points;
  while (NextCompleteLine(reader, line)) {
    if (line.size() < kShortestSectionLine) continue;
    common::Tokenizer header(line);
    std::string_view stationField, countField;
    if (!header.Next(" \t", stationField) || !header.Next(" \t", countField)) continue;
    const double station = common::LenientDouble(stationField);
    const int count = common::LenientInt(countField);
    int taken = 0;
    while (taken < count && NextCompleteLine(reader, line)) {
      common::Tokenizer pairs(line);
      std::string_view offset, elevation;
      while (taken < count && pairs.Next(" \n", offset)) {
        if (!pairs.Next(" \n", elevation)) return false;  // a pair cut short: the listing is broken
        CrossSectionPoint point;
        point.station = station;
        point.offset = common::LenientDouble(offset);
        point.elevation = common::LenientDouble(elevation);
        point.code = "MOS";
        points.push_back(std::move(point));
        ++taken;
      }
    }
  }
  SortByStationThenOffset(points, kMxroadTolerance);
  sorted.insert(sorted.end(), std::make_move_iterator(points.begin()), std::make_move_iterator(points.end()));
  return true;
}

}  // namespace viaducto
