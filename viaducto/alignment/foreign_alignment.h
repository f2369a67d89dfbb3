// The alignment listings of other road-design programs into the native file: each format's
// parser (in its folder under formats/) turns the text into native records, and these
// conversions write them, or carry them on as they read back from the native file.
#pragma once

#include <string>

#include "formats/native/native_alignment_file.h"

namespace viaducto {

// Reads `entrada` with `parser` and writes the native file `salida`. 1 when written; 0 when
// the input cannot be read, is not a text listing, holds no element, or the target cannot be
// written (the reason recorded).
int ConvertForeignAlignment(AlignmentParser parser, const std::string& entrada, const std::string& salida);

// The Cartomap listing to the nine columns; the number of records when written, else 0.
int ConvertCartomapToNineColumns(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
