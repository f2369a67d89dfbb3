// InRoads: element listings, vertical listings, section reports and section text listings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"
#include "formats/native/eje_nativo.h"
#include "formats/native/native_sections.h"
#include "formats/native/rasante.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// InRoads element listing: LIN, CIR and SPI lines with station, radius, x, y, azimuth and a
// length; the azimuths may be radians or grads.
Eje ParseInroadsAlignment(std::string_view text);
int ImportInroadsAlignment(const std::string& entrada, const std::string& salida);

// InRoads vertical listing: "{" header, then TYPE STATION ELEVATION SLOPE VC_LENGTH lines.
bool ParseInroadsProfile(std::string_view text, Rasante& rasante);
int ImportInroadsProfile(const std::string& entrada, const std::string& salida);
// The InRoads vertical listing's vertices as tab-separated native lines.
void FormatInroadsRasante(const Rasante& rasante, common::TextWriter& writer);

// InRoads stations "km+m": "-0+015" is -15 and "-1+020" is -980; without "+", kilometres.
double ParseInroadsStation(std::string_view text);
// InRoads section report: station, offset, elevation and the rest of the line as code.
Transversales ParseInroadsSectionReport(std::string_view text);
int ImportInroadsSectionReport(const std::string& entrada, const std::string& salida);
// InRoads text listing: station (with "+"), code, offset, two fields, elevation.
Transversales ParseInroadsSectionListing(std::string_view text);
int ImportInroadsSectionListing(const std::string& entrada, const std::string& salida);

}  // namespace calzada
