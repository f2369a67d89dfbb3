// The cross-section file of the GTS road programs: one point per line, comma-separated
// station, offset, elevation and an optional code; no header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/native_cross_section.h"
#include "common/records.h"
#include "common/text_output.h"

namespace viaducto {

// How the GTS conversion reads the native file: blanks, tabs and line feeds between the
// values, a last line without a line break lost.
inline constexpr common::NativeCrossSectionRule kGtsSectionsReader{false, " \t\n"};

// "%0.3lf,%0.3lf,%0.3lf,%s" with a code, "%0.3lf,%0.3lf,%0.3lf" without; values never
// "-0.000".
void FormatGtsCrossSections(const std::vector<common::CrossSectionPoint>& points, common::TextWriter& gts);

// GTS text (line ends normalised) to points; the code is the whole rest of the line after the
// third comma, blanks included. Lines without three fields are skipped.
std::vector<common::CrossSectionPoint> ParseGtsCrossSections(std::string_view gtsText);

// The points to the GTS file: 1 when written, 0 when the target cannot be written.
int WriteGtsCrossSections(const std::vector<common::CrossSectionPoint>& points, const std::string& salida);

}  // namespace viaducto
