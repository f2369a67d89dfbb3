// PL-Road alignment listings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/eje_nativo.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// PL-Road listing: an origin offset, then x, y, azimuth, radius, parameter and station.
Eje ParsePlroadAlignment(std::string_view text);
int ImportPlroadAlignment(const std::string& entrada, const std::string& salida);

}  // namespace calzada
