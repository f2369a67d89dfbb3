// Clip TRV cross sections, read by both road libraries: a "*TRV" heading and a title line,
// then per section a line "station, count" followed by that many lines
// "offset, elevation[, code]". A point line without offset and elevation still counts as one
// of the section's lines.
#pragma once

#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

struct ClipTrvRule {
  // The first two lines are the heading and the title, whatever they hold (a shorter text is
  // refused); otherwise blank lines may come first, and a heading, when the first line begins
  // with "*", must be "*TRV" (any case), followed by the title.
  bool headingAlwaysThere;
  // A last line without a line break is read, or lost as the listings' writers always end
  // their lines.
  bool readsUnendedLastLine;
  // A section line must scan as "%lf , %d" (other lines are skipped); otherwise every line
  // there is one, the station before its first comma and the count after it, read leniently.
  bool scannedSectionLines;
  // The code is the whole rest of the point line after the elevation; otherwise the third
  // comma-separated field.
  bool codeIsRestOfLine;
  // A point at the offset of the point kept before it in its section is dropped.
  bool dropsRepeatedOffsets;
};
inline constexpr ClipTrvRule kClipTrvOptionalHeading{false, false, true, false, true};
inline constexpr ClipTrvRule kClipTrvFixedHeading{true, true, false, true, false};

// Appends the points to `points`, in file order. False when the heading is refused.
bool ParseClipTrv(std::string_view text, const ClipTrvRule& rule, std::vector<CrossSectionPoint>& points);

}  // namespace common
