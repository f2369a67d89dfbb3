// Cartomap cross-section listings, in their two layouts, read into cross-section points.
#include <vector>

#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/section_listings.h"
#include "formats/cartomap/cartomap.h"

namespace viaducto {

namespace {

constexpr double kCartomapTolerance = 0.001;
constexpr char kFieldSeparators[] = " ,\t";

// "km+m" as kilometres × 1000 + metres; a value without "+" is metres.
double KilometrePlusMetres(std::string_view field) {
  const std::size_t plus = field.find('+');
  if (plus == std::string_view::npos) return common::LenientDouble(field);
  return common::LenientDouble(field.substr(0, plus)) * 1000.0 + common::LenientDouble(field.substr(plus + 1));
}

bool IsEmptyLine(std::string_view line) { return line.empty() || line == "\n"; }

// Layout with distances: headings begin with "P"; a line whose first field holds "+" opens a
// section (as does any line before the first section); the lines after it are its points.
void ReadDistanceLayout(common::LineReader& reader, std::vector<CrossSectionPoint>& points) {
  std::string_view line;
  std::vector<std::string_view> fields;
  bool inSection = false;
  double station = 0;
  while (reader.Next(line)) {
    if (IsEmptyLine(line) || line.front() == 'P' || line.front() == 'p') continue;
    const std::string_view body = common::WithoutLineFeed(line);
    if (common::SplitTokens(body, kFieldSeparators, fields) == 0) continue;
    if (!inSection || fields[0].find('+') != std::string_view::npos) {
      station = KilometrePlusMetres(fields[0]);
      inSection = true;
      continue;
    }
    if (fields.size() < 5) continue;
    CrossSectionPoint point;
    point.station = station;
    point.offset = common::LenientDouble(fields[0]);
    point.elevation = common::LenientDouble(fields[3]);
    point.code.assign(fields[4]);
    points.push_back(std::move(point));
  }
}

// Layout with "PK" labels: a line whose first field is "PK" in quotation marks opens a section
// with the station of its second field (any other line in that place opens one at station 0);
// the lines after it are offset and elevation.
void ReadPkLayout(common::LineReader& reader, std::vector<CrossSectionPoint>& points) {
  std::string_view line;
  std::vector<std::string_view> fields;
  bool inSection = false;
  double station = 0;
  while (reader.Next(line)) {
    if (IsEmptyLine(line) || line.front() == ' ') continue;
    if (common::SplitTokens(common::WithoutLineFeed(line), kFieldSeparators, fields) == 0) continue;
    const bool pkLine = common::EqualsIgnoringCase(fields[0], "\"PK\"");
    if (pkLine || !inSection) {
      station = pkLine && fields.size() > 1 ? common::LenientDouble(fields[1]) : 0.0;
      inSection = true;
      continue;
    }
    if (fields.size() < 2) continue;
    CrossSectionPoint point;
    point.station = station;
    point.offset = common::LenientDouble(fields[0]);
    point.elevation = common::LenientDouble(fields[1]);
    points.push_back(std::move(point));
  }
}

}  // namespace

bool ParseCartomapSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  common::LineReader reader(text);
  std::string_view first;
  const bool hasFirstLine = reader.Next(first);
  if (hasFirstLine && first.find("Distancia") != std::string_view::npos) {
    ReadDistanceLayout(reader, points);
  } else {
    common::LineReader fromStart(text);
    ReadPkLayout(fromStart, points);
  }
  SortByStationThenOffset(points, kCartomapTolerance);
  return true;
}

}  // namespace viaducto
