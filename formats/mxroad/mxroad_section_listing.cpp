// MxRoad cross-section listing (mxroad_sections_reader.h): a header line, then blocks whose
// pairs run on over the lines; all points sorted by station, then offset.
#include "formats/mxroad/mxroad_sections_reader.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/section_listings.h"
#include "formats/mxroad/mxroad.h"

namespace viaducto {

namespace {

constexpr double kMxroadTolerance = 0.001;

}  // namespace

bool ParseMxroadSections(std::string_view text, std::vector<CrossSectionPoint>& points) {
  std::vector<CrossSectionPoint> read;
  if (!common::ParseMxRoadSections(text, common::kMxRoadPairsRunOn, read)) return false;
  SortByStationThenOffset(read, kMxroadTolerance);
  points.insert(points.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
  return true;
}

}  // namespace viaducto
