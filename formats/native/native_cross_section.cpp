#include "formats/native/native_cross_section.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"
#include "common/printed_values.h"
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
    if (!fields.Next(rule.valueDelimiters, station) || !fields.Next(rule.valueDelimiters, offset) ||
        !fields.Next(rule.valueDelimiters, elevation)) {
      continue;
    }
    CrossSectionPoint point;
    point.station = LenientDouble(station);
    point.offset = LenientDouble(offset);
    point.elevation = LenientDouble(elevation);
    if (fields.Next(" \t\n", code)) point.code.assign(code);
    points.push_back(std::move(point));
  }
  return points.size() - before;
}

namespace {

double Written(double value, const NativeCrossSectionLayout& layout) {
  return PrintableZero(layout.nonFiniteAsZero ? FiniteOrZero(value) : value, 3);
}

// The part of a code the layout writes: up to its first NUL, without a final line feed when
// the layout drops it.
std::string_view WrittenCode(const std::string& code, const NativeCrossSectionLayout& layout) {
  std::string_view written(code);
  if (layout.dropsCodeEndLineFeed) written = WithoutLineFeed(written);
  return written.substr(0, written.find('\0'));
}

// The first word of a code, as the reader takes it from the rest of the line.
std::string FirstWord(std::string_view code) {
  Tokenizer words(code);
  std::string_view word;
  return words.Next(" \t\n", word) ? std::string(word) : std::string();
}

}  // namespace

void FormatNativeCrossSectionPoint(const CrossSectionPoint& p, const NativeCrossSectionLayout& layout,
                                   TextWriter& writer) {
  const std::string_view code = WrittenCode(p.code, layout);
  // Literal formats, which the writer formats without the C library.
  writer.Printf(layout.stationWidth == 9 ? "%9.3lf %8.3lf %8.3lf %.*s\n" : "%8.3lf %8.3lf %8.3lf %.*s\n",
                Written(p.station, layout), Written(p.offset, layout), Written(p.elevation, layout),
                static_cast<int>(code.size()), code.data());
}

void FormatNativeCrossSections(const std::vector<CrossSectionPoint>& points, TextWriter& writer) {
  for (const CrossSectionPoint& p : points) FormatNativeCrossSectionPoint(p, kNativeSectionsEightWideStation, writer);
}

std::vector<CrossSectionPoint> AsStoredInNativeCrossSections(const std::vector<CrossSectionPoint>& points,
                                                             const NativeCrossSectionLayout& layout,
                                                             const NativeCrossSectionRule& rule) {
  const std::size_t stationWidth = static_cast<std::size_t>(layout.stationWidth);
  std::vector<CrossSectionPoint> stored;
  stored.reserve(points.size());
  for (const CrossSectionPoint& p : points) {
    const std::string_view code = WrittenCode(p.code, layout);
    const PrintedValue station = Printed(Written(p.station, layout), 3);
    const PrintedValue offset = Printed(Written(p.offset, layout), 3);
    const PrintedValue elevation = Printed(Written(p.elevation, layout), 3);
    // Three fields of at least their widths, three blanks, the code and the line feed.
    const std::size_t lineLength = std::max(station.length, stationWidth) + std::max<std::size_t>(offset.length, 8) +
                                   std::max<std::size_t>(elevation.length, 8) + 3 + code.size() + 1;
    if (lineLength < LineReader::kDefaultBuffer && code.find_first_of("\r\n") == std::string_view::npos) {
      stored.push_back(CrossSectionPoint{station.value, offset.value, elevation.value, FirstWord(code)});
      continue;
    }
    // A line the reader gets in several pieces, or whose code holds line ends: read as written.
    TextWriter writer;
    FormatNativeCrossSectionPoint(p, layout, writer);
    std::string text = writer.Bytes();
    NormalizeLineEnds(text);
    ParseNativeCrossSections(text, rule, stored);
  }
  return stored;
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
