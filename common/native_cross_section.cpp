#include "common/native_cross_section.h"

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

double Printable(double value) { return PrintableZero(value, 3); }

void FormatPoint(const CrossSectionPoint& p, TextWriter& writer) {
  writer.Printf("%8.3lf %8.3lf %8.3lf %s\n", Printable(p.station), Printable(p.offset), Printable(p.elevation),
                p.code.c_str());
}

// The first word of a code, as the reader takes it from the rest of the line.
std::string FirstWord(std::string_view code) {
  Tokenizer words(code);
  std::string_view word;
  return words.Next(" \t\n", word) ? std::string(word) : std::string();
}

}  // namespace

void FormatNativeCrossSections(const std::vector<CrossSectionPoint>& points, TextWriter& writer) {
  for (const CrossSectionPoint& p : points) FormatPoint(p, writer);
}

std::vector<CrossSectionPoint> AsStoredInNativeCrossSections(const std::vector<CrossSectionPoint>& points,
                                                             const NativeCrossSectionRule& rule) {
  std::vector<CrossSectionPoint> stored;
  stored.reserve(points.size());
  for (const CrossSectionPoint& p : points) {
    const std::string_view code(p.code.c_str());  // printed up to its first NUL
    const std::string line = FormattedLine("%8.3lf %8.3lf %8.3lf %s\n", Printable(p.station), Printable(p.offset),
                                           Printable(p.elevation), p.code.c_str());
    if (line.size() < LineReader::kDefaultBuffer && code.find_first_of("\r\n") == std::string_view::npos) {
      CrossSectionPoint point;
      point.station = AsPrinted(Printable(p.station), 3);
      point.offset = AsPrinted(Printable(p.offset), 3);
      point.elevation = AsPrinted(Printable(p.elevation), 3);
      point.code = FirstWord(code);
      stored.push_back(std::move(point));
      continue;
    }
    // A line the reader gets in several pieces, or whose code holds line ends: read as written.
    TextWriter writer;
    FormatPoint(p, writer);
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
