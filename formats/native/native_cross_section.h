// The native cross-section file (*.tra): one point per line, station, offset, elevation and an
// optional code, fields separated by blanks or tabs. Read by both road libraries, each with
// its rule for a last line that has no line break; and the section order of its points.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"

namespace common {

// What tells the readers of the native file apart.
struct NativeCrossSectionRule {
  // A last line without a line break is read (true) or lost, as a reader that stops at the
  // end-of-file flag right after reading a line loses it (false).
  bool readsUnendedLastLine;
  // What separates station, offset and elevation; the code always ends at a blank, tab or
  // line feed.
  std::string_view valueDelimiters = " \t";
};
inline constexpr NativeCrossSectionRule kNativeSectionsLoseUnendedLine{false};
inline constexpr NativeCrossSectionRule kNativeSectionsReadUnendedLine{true};

// Appends the points of the text of a native file (line ends normalised) to `points`, read in
// pieces of at most 255 characters as a 256-byte buffer reads them. A piece with fewer than
// three fields is skipped; the code is the first word after the elevation (empty when none).
// Returns the number of points appended.
std::size_t ParseNativeCrossSections(std::string_view text, const NativeCrossSectionRule& rule,
                                     std::vector<CrossSectionPoint>& points);

// How a library lays the native file out when it writes one: a point per line,
// "%<stationWidth>.3lf %8.3lf %8.3lf %s", values never "-0.000".
struct NativeCrossSectionLayout {
  // The least width of the station field, 8 or 9; a longer station takes what it needs.
  int stationWidth;
  // A value that is not finite is written as 0 (true) or as printf writes it, "inf" or "nan".
  bool nonFiniteAsZero;
  // A line feed that ends a code is left out (true) or written, leaving a blank line after it.
  bool dropsCodeEndLineFeed;
};
inline constexpr NativeCrossSectionLayout kNativeSectionsEightWideStation{8, false, false};
inline constexpr NativeCrossSectionLayout kNativeSectionsNineWideStation{9, true, true};

// One point as `layout` writes it (the code up to its first NUL).
void FormatNativeCrossSectionPoint(const CrossSectionPoint& point, const NativeCrossSectionLayout& layout,
                                   TextWriter& writer);

// Every point in kNativeSectionsEightWideStation.
void FormatNativeCrossSections(const std::vector<CrossSectionPoint>& points, TextWriter& writer);

// The points as `rule`'s reader gets them back from the native file `layout` writes: values
// with three decimals, the code cut to its first word, a line longer than a read piece split
// as the reader splits it. What a two-stage conversion carries on.
std::vector<CrossSectionPoint> AsStoredInNativeCrossSections(const std::vector<CrossSectionPoint>& points,
                                                             const NativeCrossSectionLayout& layout,
                                                             const NativeCrossSectionRule& rule);

// Three-way comparison of two points by station, then offset, with a tolerance: equal when
// both differ by less than `tolerance`; a smaller station (by any amount) first; with stations
// within the tolerance, the smaller offset first. Negative when `a` comes first.
int CompareStationThenOffset(const CrossSectionPoint& a, const CrossSectionPoint& b, double tolerance);

// Sorts by CompareStationThenOffset. The comparison is not a strict order near the tolerance,
// so the sort is one that stays within bounds whatever the comparison answers; points the
// comparison calls equal keep their order.
void SortByStationThenOffset(std::vector<CrossSectionPoint>& points, double tolerance);

}  // namespace common
