// Alignment listings of other road-design programs into the native alignment file, and the
// native file out to Clip PLT. Each conversion returns 1 when it wrote the target, 0 when not;
// an input that cannot be read never leaves a target behind.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calzada/frame/shared_routines.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// Clip PLT: "*PLT1", then one point per line "station , x , y , azimuth , radius , parameter";
// the radius and parameter of a line belong to the element that ends at that point.
Eje ParseClipPlt(std::string_view text);
int ImportClipPlt(const std::string& entrada, const std::string& salida);
// The native elements of `text` (the native alignment file) as a Clip PLT file.
bool FormatClipPlt(std::string_view nativeText, std::string& plt);
int ExportClipPlt(const std::string& entrada, const std::string& salida);

// InRoads element listing: LIN, CIR and SPI lines with station, radius, x, y, azimuth and a
// length; the azimuths may be radians or grads.
Eje ParseInroadsAlignment(std::string_view text);
int ImportInroadsAlignment(const std::string& entrada, const std::string& salida);

// Ispol listing: start station, then typed elements with their lengths.
Eje ParseIspolAlignment(std::string_view text);
int ImportIspolAlignment(const std::string& entrada, const std::string& salida);

// PL-Road listing: an origin offset, then x, y, azimuth, radius, parameter and station.
Eje ParsePlroadAlignment(std::string_view text);
int ImportPlroadAlignment(const std::string& entrada, const std::string& salida);

// MxRoad element listing of eleven fields per numbered element.
Eje ParseMxroadAlignment(std::string_view text);
int ImportMxroadAlignment(const std::string& entrada, const std::string& salida);

// WTrazado element listing: numbered RECTA, CIRC. and CLOT. lines with a decimal comma.
Eje ParseWtrazadoAlignment(std::string_view text);
int ImportWtrazadoAlignment(const std::string& entrada, const std::string& salida);

// Dragados MDW and Asotec listings, copied line by line into tab-separated native lines
// (station, x, y, azimuth, parameter, radius).
Eje ParseDragadosAlignment(std::string_view text);
Eje ParseAsotecAlignment(std::string_view text);
void FormatTabAlignment(const Eje& elements, common::TextWriter& writer);
int ImportDragadosAlignment(const std::string& entrada, const std::string& salida);
int ImportAsotecAlignment(const std::string& entrada, const std::string& salida);

}  // namespace calzada
