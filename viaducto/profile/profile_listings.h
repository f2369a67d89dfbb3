// Profile listings of other road-design programs, read into profile vertices.
#pragma once

#include <string_view>

#include "common/profile_curves.h"

namespace viaducto {

using common::Profile;

// Istram listing: lines of at least eight fields; station, elevation, grade in percent of the
// segment that starts at the vertex (field 7) and kv (field 8). The curve at an inner vertex is
// |change of grade x kv| long.
Profile ParseIstramProfile(std::string_view text);

// Ispol listing: after the leading "#" lines, one vertex per line up to the next "#" line;
// field 7 is the grade in percent of the segment that ends at the vertex, field 8 kv.
Profile ParseIspolProfile(std::string_view text);

// Cartomap keyword text: lines "INICIO", "VERTICE" and "FINAL" with station, elevation and kv;
// curves completed from kv from the second vertex on, kv kept as its absolute value.
Profile ParseCartomapKeywordProfile(std::string_view text);

// Cartomap tab-separated listing, rows told apart by their number of fields: 7 or 8 a vertex
// without curve (station, elevation in field 5); 9 the first vertex, or afterwards the
// candidate end point (the last one wins, appended when past the last vertex); 10 a vertex
// with curve (kv in field 8, elevation in field 9). Curves completed from kv.
Profile ParseCartomapProfileListing(std::string_view text);

}  // namespace viaducto
