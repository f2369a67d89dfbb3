// Points to the point file of the GTS programs: "number,x,y,z[,code]" per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/text_output.h"

namespace viaducto {

// A blank- or tab-separated point list (number, x, y, z, optional code) as GTS point lines;
// lines without number, x, y and z are skipped. Returns the number of points written.
std::size_t FormatGtsPoints(std::string_view pointList, common::TextWriter& gts);

// 1 when written; 0 (reason recorded) when the list cannot be read, is not a text listing,
// holds no point or the target cannot be written.
int ConvertPointsToGts(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
