// The cross-section file of the GTS road programs: one point per line, comma-separated
// station, offset, elevation and an optional code; no header.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"

namespace viaducto {

// Native text (line ends normalised) to GTS lines: "%0.3lf,%0.3lf,%0.3lf,%s" with a code,
// "%0.3lf,%0.3lf,%0.3lf" without; only the first word of a code is carried.
void FormatGtsCrossSections(std::string_view nativeText, common::TextWriter& gts);

// GTS text to native lines "%8.3lf %8.3lf %8.3lf %s"; the code is the whole rest of the line
// after the third comma, blanks included.
void FormatNativeFromGts(std::string_view gtsText, common::TextWriter& native);

// The two file conversions: 1 when written, 0 when the source cannot be read or the target
// cannot be written.
int ConvertNativeToGtsCrossSections(const std::string& entrada, const std::string& salida);
int ConvertGtsToNativeCrossSections(const std::string& entrada, const std::string& salida);

// Native text held in memory to the GTS file: the second stage of every foreign conversion.
int WriteGtsCrossSections(std::string_view nativeText, const std::string& salida);

}  // namespace viaducto
