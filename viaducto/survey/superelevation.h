// Superelevation tables: the Ispol and Clip listings read into station and cross-fall records,
// written as the native superelevation file (*.per).
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

// Ispol table: a header line, then "index station fall3 [fall4 [fall5]]" split at tabs and
// blanks; "#" starts a comment line. First value is fall5, else fall4, else 0; second value is
// minus fall3.
std::vector<SuperelevationRecord> ParseIspolSuperelevation(std::string_view text);

// Clip table: "station value2 [value3]" split at tabs, commas and blanks. First value is
// value2; second is minus value3, or minus value2 when value3 is missing.
std::vector<SuperelevationRecord> ParseClipSuperelevation(std::string_view text);

// The native file: station and the two falls at the start of each line, split at blanks and
// tabs; a line of fewer than three fields holds no record.
std::vector<SuperelevationRecord> ParseNativeSuperelevation(std::string_view text);

// One line per record: "%8.3lf %6.3lf %6.3lf", in table order.
void FormatNativeSuperelevation(const std::vector<SuperelevationRecord>& records, common::TextWriter& writer);

// Read the table at `entrada` and write the native file `salida`. 0 when the table cannot be
// read or the target cannot be written, else 1.
int ConvertIspolSuperelevation(const std::string& entrada, const std::string& salida);
int ConvertClipSuperelevation(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
