// Drawings of survey points: an ENTITIES section of POINT entities with TEXT labels beside
// them, without HEADER or TABLES (the layers are made by their use). Group codes 0, 2 and 8
// are written with a leading blank, the others without, one item per line.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"

namespace common {

// " 0 SECTION 2 ENTITIES".
void WriteDxfEntitiesHead(TextWriter& out);

// A POINT on `layer` at x, y, z ("%0.3lf").
void WriteDxfPoint(TextWriter& out, std::string_view layer, double x, double y, double z);

// A TEXT on `layer` at x, y ("%0.3lf"), 1.000 high, rotation "0.0".
void WriteDxfLabel(TextWriter& out, std::string_view layer, double x, double y, std::string_view text);

// The elevation as its label shows it: "%0.2lf", in the "C" locale.
std::string ElevationLabel(double z);

// " 0 ENDSEC 0 EOF".
void WriteDxfEntitiesTail(TextWriter& out);

}  // namespace common
