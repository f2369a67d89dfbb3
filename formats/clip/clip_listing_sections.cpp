// Clip section listing (TER): each section is two fixed-column lines. The first carries the
// station (column 12) and the offsets of ten side points; the second the axis elevation
// (column 13) and the elevations of the side points, in the same columns.
#include <cctype>
#include <cmath>
#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/section_listings.h"
#include "formats/clip/clip.h"
#include "common/section_offsets.h"

namespace viaducto {

namespace {

constexpr std::size_t kShortestStationLine = 32;     // line break counted
constexpr std::size_t kShortestElevationLine = 100;  // line break counted
constexpr int kSideColumns[] = {26, 46, 36, 56, 66, 76, 86, 96, 106, 116};
constexpr double kSameOffset = 0.0001;
constexpr double kMovedOffset = 0.005;

double ColumnValue(std::string_view line, int column, int width) {
  return common::LenientDouble(common::ColumnField(line, column, width));
}

// A station line holds a digit somewhere in its 10th to 18th characters.
bool IsStationLine(std::string_view line) {
  if (line.size() < kShortestStationLine) return false;
  for (std::size_t i = 9; i < 18 && i < line.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(line[i]))) return true;
  }
  return false;
}

// Adds a point unless it repeats one already there; a point at the offset of another with a
// different elevation is moved 0.005 to the right so both stay.
void AddPoint(std::vector<CrossSectionPoint>& section, CrossSectionPoint point) {
  if (point.offset == 0.0 && point.elevation == 0.0) return;
  for (const CrossSectionPoint& existing : section) {
    if (std::fabs(existing.offset - point.offset) < kSameOffset) {
      if (std::fabs(existing.elevation - point.elevation) < kSameOffset) return;
      point.offset += kMovedOffset;
      break;
    }
  }
  section.push_back(std::move(point));
}

}  // namespace

bool ParseClipListingSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  common::LineReader reader(text);
  std::string_view first, second;
  std::vector<CrossSectionPoint> section;
  while (NextCompleteLine(reader, first)) {
    if (!IsStationLine(first)) continue;
    if (!NextCompleteLine(reader, second)) break;
    if (second.size() < kShortestElevationLine) continue;
    const double station = ColumnValue(first, 12, 9);
    const double axisElevation = ColumnValue(second, 13, 8);
    if (axisElevation == 0.0) continue;
    section.clear();
    AddPoint(section, CrossSectionPoint{station, 0.0, axisElevation, "0"});
    for (int column : kSideColumns) {
      AddPoint(section, CrossSectionPoint{station, ColumnValue(first, column, 8), ColumnValue(second, column, 8), "10"});
    }
    SortSectionByOffset(section);
    points.insert(points.end(), section.begin(), section.end());
  }
  return true;
}

}  // namespace viaducto
