// Point listings of the Sacyr laser scanner: "x y z i j k" per line, renumbered into a
// comma-separated listing. Scans run to millions of points, so the listing is read and written
// as a stream: memory does not grow with the file.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"

namespace calzada {

// Writes the listing line of one input piece with number `numero`, "  %d,  %0.3lf,  %0.3lf,
// %0.3lf,  %d,  %d,  %d": false (nothing written) when the piece has fewer than six fields
// separated by blanks.
bool EscribePuntoScanner(std::string_view pieza, long long numero, common::TextWriter& salida);

// The export: 1 when the listing was written; 0 when the input cannot be read, is no text file
// or holds no point, or the target cannot be written, which is then not left behind.
int SacyrScanner(const std::string& entrada, const std::string& salida);

}  // namespace calzada
