// MxRoad: element and point listings of alignments, vertical listings and section listings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "formats/native/eje_nativo.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/rasante.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// MxRoad element listing of eleven fields per numbered element.
Eje ParseMxroadAlignment(std::string_view text);
int ImportMxroadAlignment(const std::string& entrada, const std::string& salida);

// MxRoad vertical listing of ten fields per numbered vertex.
Rasante ParseMxroadProfile(std::string_view text);
int ImportMxroadProfile(const std::string& entrada, const std::string& salida);

// MxRoad sections: numbered points under "P.K." lines, or else blocks of "station count" and
// pairs.
int ImportMxroadSections(const std::string& entrada, const std::string& salida);

}  // namespace calzada

namespace viaducto {

// MxRoad point listing, merged into elements.
Alignment ParseMxRoadAlignment(std::string_view text);

// MxRoad sections: a header line, then per section a line with station and point count
// followed by the offset/elevation pairs; all points sorted by station, then offset; code
// "MOS".
bool ParseMxroadSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

}  // namespace viaducto
