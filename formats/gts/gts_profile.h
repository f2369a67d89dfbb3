// The vertical alignment of the GTS road file: a comma layout and a column layout of station,
// elevation and curve length.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"
#include "common/profile_curves.h"

namespace viaducto {

using common::Profile;

// First vertex and inner vertices with their curve length (2 x tangent); the last vertex
// without a line feed after it.
void FormatGtsProfileComma(const Profile& profile, common::TextWriter& writer);

// "%10.3lf %8.3lf %9.3lf" per vertex, curve length 0 at both ends.
void FormatGtsProfileColumns(const Profile& profile, common::TextWriter& writer);

// The comma layout read back: station, elevation and curve length per line; tangent = half
// the length; kv and external ordinate completed for the inner vertices.
Profile ParseGtsProfileComma(std::string_view text);

}  // namespace viaducto
