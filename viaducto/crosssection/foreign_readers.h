// Readers of the cross-section listings of other road-design programs. Each turns the text of
// a listing (line ends normalised) into native cross-section lines, with the station width and
// the point codes of its own layout; false when the listing cannot be read as such, and then
// nothing of it is used.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"

namespace viaducto {

using CrossSectionReader = bool (*)(std::string_view text, common::TextWriter& native);

// hTrazado: "PK" lines give the station, "offset , elevation" lines the points, in file order.
bool ReadHtrazadoSections(std::string_view text, common::TextWriter& native);

// MxRoad: a header line, then per section a line with station and point count followed by the
// offset/elevation pairs; all points sorted by station, then offset; code "MOS".
bool ReadMxroadSections(std::string_view text, common::TextWriter& native);

// Istram: a line "4 ... station ..." opens a section, the next gives the left and right point
// counts, then the pairs; each section sorted left to right.
bool ReadIstramSections(std::string_view text, common::TextWriter& native);

// Clip section listing (TER): pairs of fixed-column lines, the first with the station and the
// offsets, the second with the elevations; code "0" on the axis, "10" elsewhere.
bool ReadClipListingSections(std::string_view text, common::TextWriter& native);

// Clip TRV: "station, count" lines followed by "offset, elevation, code" lines, in file order.
bool ReadClipTrvSections(std::string_view text, common::TextWriter& native);

// Reads the listing at `path` and runs `reader`; the native text, with plain line feeds, in
// `nativeText`. False when the file cannot be read or the reader fails.
bool ReadForeignSections(const std::string& path, CrossSectionReader reader, std::string& nativeText);

}  // namespace viaducto

namespace viaducto {

// Cartomap section listing, in either layout: with distances (first line holds "Distancia":
// "km+m" station lines, point lines of offset, two skipped fields, elevation and code) or with
// "\"PK\"" section lines (point lines of offset and elevation). All points sorted by station,
// then offset.
bool ReadCartomapSections(std::string_view text, common::TextWriter& native);

}  // namespace viaducto
