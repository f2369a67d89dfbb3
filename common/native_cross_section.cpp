#include "common/native_cross_section.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {

std::size_t ParseNativeCrossSections(std::string_view text, const NativeCrossSectionRule& rule,
                                     std::vector<CrossSectionPoint>& points) {
  const std::size_t before = points.size();
  LineReader reader(text);
  std::string_view line;
  while (reader.Next(line)) {
    if (reader.AtEnd() && !rule.readsUnendedLastLine) break;
    Tokenizer fields(line);
    std::string_view station, offset, elevation, code;
    if (!fields.Next(" \t", station) || !fields.Next(" \t", offset) || !fields.Next(" \t", elevation)) continue;
    CrossSectionPoint point;
    point.station = LenientDouble(station);
    point.offset = LenientDouble(offset);
    point.elevation = LenientDouble(elevation);
    if (fields.Next(" \t\n", code)) point.code.assign(code);
    points.push_back(std::move(point));
  }
  return points.size() - before;
}

int CompareStationThenOffset(const CrossSectionPoint& a, const CrossSectionPoint& b, double tolerance) {
  const double stationGap = std::fabs(a.station - b.station);
  if (stationGap < tolerance && std::fabs(a.offset - b.offset) < tolerance) return 0;
  if (a.station < b.station) return -1;
  if (stationGap >= tolerance) return 1;
  return a.offset < b.offset ? -1 : 1;
}

void SortByStationThenOffset(std::vector<CrossSectionPoint>& points, double tolerance) {
  // A merge sort never leaves the range, even where the tolerance makes the answers of the
  // comparison disagree; for data written with three decimals it is a plain order.
  std::stable_sort(points.begin(), points.end(), [tolerance](const CrossSectionPoint& a, const CrossSectionPoint& b) {
    return CompareStationThenOffset(a, b, tolerance) < 0;
  });
}

}  // namespace common
