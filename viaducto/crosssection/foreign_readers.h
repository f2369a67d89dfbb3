// Readers of the cross-section listings of other road-design programs. Each appends the points
// of a listing (line ends normalised) to an empty vector, with the codes of its own layout;
// false when the listing cannot be read as such, and then nothing of it is used.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/conversion.h"
#include "common/native_cross_section.h"
#include "common/records.h"

namespace viaducto {

using CrossSectionReader = bool (*)(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// hTrazado: "PK" lines give the station, "offset , elevation" lines the points, in file order.
bool ReadHtrazadoSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// MxRoad: a header line, then per section a line with station and point count followed by the
// offset/elevation pairs; all points sorted by station, then offset; code "MOS".
bool ReadMxroadSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Istram: a line "4 ... station ..." opens a section, the next gives the left and right point
// counts, then the pairs; each section sorted left to right.
bool ReadIstramSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Clip section listing (TER): pairs of fixed-column lines, the first with the station and the
// offsets, the second with the elevations; code "0" on the axis, "10" elsewhere.
bool ReadClipListingSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Clip TRV: "station, count" lines followed by "offset, elevation, code" lines, in file order.
bool ReadClipTrvSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Cartomap section listing, in either layout: with distances (first line holds "Distancia":
// "km+m" station lines, point lines of offset, two skipped fields, elevation and code) or with
// "\"PK\"" section lines (point lines of offset and elevation). All points sorted by station,
// then offset.
bool ReadCartomapSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// What a cross-section listing is, and what one that yields nothing lacks.
inline constexpr common::ConversionRule kForeignSections{"un listado de perfiles transversales",
                                                         "ningún perfil transversal"};

// Loads the listing at `entrada` (refusing a file that is not a text listing) and runs
// `reader`; the points as `rule`'s reader gets them back from the native file they would be
// written to. False with the reason recorded when the file cannot be read, the reader fails or
// nothing is left.
bool ReadForeignSections(const std::string& entrada, CrossSectionReader reader,
                         std::vector<common::CrossSectionPoint>& points,
                         const common::NativeCrossSectionRule& rule = common::kNativeSectionsLoseUnendedLine);

}  // namespace viaducto
