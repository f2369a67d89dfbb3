// Cartomap: alignment listings (and their nine-column form), profile texts and listings, and
// section listings.
#pragma once

#include <string_view>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"
#include "common/text_output.h"
#include "formats/native/native_alignment_file.h"

namespace viaducto {

using common::Profile;

// Cartomap alignment listing; records carry their lengths and `extra`.
Alignment ParseCartomapAlignment(std::string_view text);

// The nine tab-separated columns of the Cartomap conversion: kind, station, x, y, extra,
// azimuth, radius, parameter, length.
void FormatNineColumnAlignment(const Alignment& elements, common::TextWriter& writer);

// Cartomap keyword text: lines "INICIO", "VERTICE" and "FINAL" with station, elevation and kv;
// curves completed from kv from the second vertex on, kv kept as its absolute value.
common::Profile ParseCartomapKeywordProfile(std::string_view text);

// Cartomap tab-separated listing, rows told apart by their number of fields: 7 or 8 a vertex
// without curve (station, elevation in field 5); 9 the first vertex, or afterwards the
// candidate end point (the last one wins, appended when past the last vertex); 10 a vertex
// with curve (kv in field 8, elevation in field 9). Curves completed from kv.
common::Profile ParseCartomapProfileListing(std::string_view text);

// Cartomap section listing, in either layout: with distances (first line holds "Distancia":
// "km+m" station lines, point lines of offset, two skipped fields, elevation and code) or with
// "\"PK\"" section lines (point lines of offset and elevation). All points sorted by station,
// then offset.
bool ParseCartomapSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

}  // namespace viaducto
