// MxRoad cross-section listing (common/mxroad_sections.h): a header line, then blocks whose
// pairs run on over the lines; all points sorted by station, then offset.
#include "common/mxroad_sections.h"
#include "viaducto/crosssection/cross_section_set.h"
#include "viaducto/crosssection/foreign_readers.h"

namespace viaducto {

namespace {

constexpr double kMxroadTolerance = 0.001;

}  // namespace

bool ReadMxroadSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  std::vector<CrossSectionPoint> read;
  if (!common::ParseMxRoadSections(text, common::kMxRoadPairsRunOn, read)) return false;
  SortByStationThenOffset(read, kMxroadTolerance);
  points.insert(points.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
  return true;
}

}  // namespace viaducto
