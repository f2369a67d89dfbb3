// Alignment listings whose element lines are copied into tab-separated native lines (station, x,
// y, azimuth, parameter, radius), values as read: each such format passes the reading of one
// line as its rule.
#pragma once

#include <string_view>
#include <vector>

#include "common/text_output.h"
#include "formats/native/eje_nativo.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// The fields of one element line, as TramoEje values; false when the line lacks one.
using TabLineReading = bool (*)(const std::vector<std::string_view>& fields, TramoEje& element);

// Every line split at blanks and tabs and read with `read`; lines it refuses are skipped.
Eje ParseTabListing(std::string_view text, TabLineReading read);

// One tab-separated native line per element: station, x, y, azimuth, parameter, radius.
void FormatTabAlignment(const Eje& elements, common::TextWriter& writer);

}  // namespace calzada
