// Superelevation tables: station and cross-fall records, written as the native superelevation
// file (*.per). The tables of other programs are read in their own folders (Ispol, Clip).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"

namespace viaducto {

struct SuperelevationRecord {
  double station = 0;  // m
  double first = 0;    // cross fall as the table gives it
  double second = 0;
};

using SuperelevationParser = std::vector<SuperelevationRecord> (*)(std::string_view text);

// The native file: station and the two falls at the start of each line, split at blanks and
// tabs; a line of fewer than three fields holds no record.
std::vector<SuperelevationRecord> ParseNativeSuperelevation(std::string_view text);

// One line per record: "%8.3lf %6.3lf %6.3lf", in table order.
void FormatNativeSuperelevation(const std::vector<SuperelevationRecord>& records, common::TextWriter& writer);

// Reads the table at `entrada` with `parse` and writes the native file `salida`. 0 when the
// table cannot be read or the target cannot be written, else 1.
int ImportSuperelevation(const std::string& entrada, const std::string& salida, SuperelevationParser parse);

}  // namespace viaducto
