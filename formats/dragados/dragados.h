// Dragados MDW: alignment, profile and cross-section listings.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"
#include "formats/native/native_sections.h"
#include "formats/native/rasante.h"
#include "formats/native/tab_alignment.h"

namespace calzada {

// Dragados MDW alignment listing, copied line by line into tab-separated native lines
// (station, x, y, azimuth, parameter, radius).
Eje ParseDragadosAlignment(std::string_view text);
int ImportDragadosAlignment(const std::string& entrada, const std::string& salida);

// Dragados MDW profile listing.
Rasante ParseDragadosProfile(std::string_view text);
int ImportDragadosProfile(const std::string& entrada, const std::string& salida);

// Dragados MDW sections: a short line holds a station, the longer lines after it the pairs.
Transversales ParseDragadosSections(std::string_view text);
// "%8.3lf %8.3lf %8.3lf " per point: station, offset, elevation.
void FormatDragadosSections(const Transversales& puntos, common::TextWriter& writer);
int ImportDragadosSections(const std::string& entrada, const std::string& salida);

}  // namespace calzada
