// The MxRoad cross-section listing in blocks, read by both road libraries: a line with the
// station and the number of points of a section, followed by its offset/elevation pairs. Every
// point gets the code "MOS".
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

struct MxRoadSectionsRule {
  // The first line is the listing's header, never a section.
  bool skipsHeaderLine;
  // A last line without a line break is read, or lost as the listing's writer always ends its
  // lines.
  bool readsUnendedLastLine;
  // Section lines are at least this long, line feed counted, and split at blanks and tabs
  // into station and count; otherwise a section line does not begin with a blank or a tab and
  // holds at least two fields.
  std::size_t shortestSectionLine;
  // The pairs run on over as many lines as they need, split at blanks (a pair cut short makes
  // the listing unreadable); otherwise each of the section's lines holds one pair, and a line
  // without two fields counts as a point that is not there.
  bool pairsRunOverLines;
};
inline constexpr MxRoadSectionsRule kMxRoadPairsRunOn{true, false, 18, true};
inline constexpr MxRoadSectionsRule kMxRoadPairPerLine{false, true, 0, false};

// Appends the points to `points` in file order. False when a pair is cut short.
bool ParseMxRoadSections(std::string_view text, const MxRoadSectionsRule& rule,
                         std::vector<CrossSectionPoint>& points);

}  // namespace common
