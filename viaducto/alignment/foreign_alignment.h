// Readers of the alignment listings of other road-design programs. Each turns the text of a
// listing into native records (the last one the end point); the conversions write the native
// file, or carry the records on, as they read back from it, to GTS or LandXML.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/alignment_fields.h"
#include "common/records.h"
#include "common/text_output.h"

namespace viaducto {

using Alignment = std::vector<common::AlignmentElement>;
using AlignmentParser = Alignment (*)(std::string_view text);

// Istram fixed-column listing (istram_reader.cpp).
Alignment ParseIstramAlignment(std::string_view text);
// Istram element listing (istram_list_reader.cpp).
Alignment ParseIstramElementList(std::string_view text);
// Ispol alignment listing (ispol_reader.cpp).
Alignment ParseIspolAlignment(std::string_view text);
// Clip PLT (clip_plt_reader.cpp).
Alignment ParseClipPltAlignment(std::string_view text);
// MxRoad point listing, merged into elements (mxroad_reader.cpp).
Alignment ParseMxRoadAlignment(std::string_view text);
// hTrazado listing (htrazado_reader.cpp).
Alignment ParseHTrazadoAlignment(std::string_view text);
// Cartomap listing (cartomap_reader.cpp); records carry their lengths and `extra`.
Alignment ParseCartomapAlignment(std::string_view text);

// The nine tab-separated columns of the Cartomap conversion: kind, station, x, y, extra,
// azimuth, radius, parameter, length.
void FormatNineColumnAlignment(const Alignment& elements, common::TextWriter& writer);

using common::ClearCurvesOfEmptyElements;
using common::SetKindsFromValues;
using common::SetLengthsFromStations;

// Reads `entrada` with `parser` and writes the native file `salida`. 1 when written; 0 when
// the input cannot be read, is not a text listing, holds no element, or the target cannot be
// written (the reason recorded).
int ConvertForeignAlignment(AlignmentParser parser, const std::string& entrada, const std::string& salida);

// The Cartomap listing to the nine columns; the number of records when written, else 0.
int ConvertCartomapToNineColumns(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
