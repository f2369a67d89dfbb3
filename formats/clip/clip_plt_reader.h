// The Clip PLT alignment listing, read by both road libraries: one point per line (station,
// x, y, azimuth, radius, parameter); the radius and parameter on a point's line belong to the
// element that ends there, so each record takes them from the next line. Lengths from the
// stations, kinds from the values; the last record is the end point.
#pragma once

#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

// How a line gives its point.
enum class ClipPltPoints {
  // The first six fields split at blanks, tabs and commas, read leniently, of a line longer
  // than nine characters that does not begin with "*" or "#".
  kSplitFields,
  // "%lf , %lf , %lf , %lf , %lf , %lf": all six numbers or no point.
  kScannedNumbers,
};

struct ClipPltRule {
  ClipPltPoints points;
  // The records are tidied: of two consecutive records at one station the first goes, a
  // zero-length straight marks each clothoid that starts where the radius changes sign, and a
  // station never falls below the one before it.
  bool tidyStations;
};
inline constexpr ClipPltRule kClipPltSplitFields{ClipPltPoints::kSplitFields, false};
inline constexpr ClipPltRule kClipPltScannedAndTidied{ClipPltPoints::kScannedNumbers, true};

std::vector<AlignmentElement> ParseClipPlt(std::string_view text, const ClipPltRule& rule);

}  // namespace common
