// Asotec alignment listings.
#pragma once

#include <string>
#include <string_view>

#include "formats/native/tab_alignment.h"

namespace calzada {

// Asotec listing, copied line by line into tab-separated native lines (station, x, y, azimuth,
// parameter, radius).
Eje ParseAsotecAlignment(std::string_view text);
int ImportAsotecAlignment(const std::string& entrada, const std::string& salida);

}  // namespace calzada
