// hTrazado: alignment and section listings.
#pragma once

#include <string_view>
#include <vector>

#include "common/records.h"
#include "formats/native/native_alignment_file.h"

namespace viaducto {

// hTrazado alignment listing.
Alignment ParseHTrazadoAlignment(std::string_view text);

// hTrazado sections: "PK" lines give the station, "offset , elevation" lines the points, in
// file order.
bool ParseHtrazadoSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

}  // namespace viaducto
