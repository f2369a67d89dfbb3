// WTrazado: alignment and profile listings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/eje_nativo.h"
#include "formats/native/rasante.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// WTrazado element listing: numbered RECTA, CIRC. and CLOT. lines with a decimal comma.
Eje ParseWtrazadoAlignment(std::string_view text);
int ImportWtrazadoAlignment(const std::string& entrada, const std::string& salida);

// WTrazado profile listing.
Rasante ParseWtrazadoProfile(std::string_view text);
int ImportWtrazadoProfile(const std::string& entrada, const std::string& salida);

}  // namespace calzada
