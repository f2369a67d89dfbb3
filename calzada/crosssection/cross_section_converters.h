// Cross sections between the native file and the listings of other road-design programs. Each
// conversion returns 1 when it wrote its target, 0 when not.
#pragma once

#include <string>
#include <string_view>

#include "calzada/crosssection/native_sections.h"
#include "calzada/frame/conversion_rules.h"
#include "common/text_output.h"

namespace calzada {

// Clip TRV: "*TRV", a title line, then per section "station, count" and that many lines
// "offset, elevation, code".
bool LeeClipTrv(std::string_view text, Transversales& puntos);  // false when shorter than two lines
// Points of one section closer than 1 mm are set 1 mm apart, on the side with more room.
void SeparaPuntosCoincidentes(Transversales& puntos);
int ImportaClipTrv(const std::string& entrada, const std::string& salida);
void EscribeClipTrv(const Transversales& puntos, const std::string& titulo, common::TextWriter& writer);
int ExportaClipTrv(const std::string& entrada, const std::string& salida);

// InRoads stations "km+m": "-0+015" is -15 and "-1+020" is -980; without "+", kilometres.
double EstacionInRoads(std::string_view text);
// InRoads section report: station, offset, elevation and the rest of the line as code.
Transversales LeeInformeInRoads(std::string_view text);
int ImportaInformeInRoads(const std::string& entrada, const std::string& salida);
// InRoads text listing: station (with "+"), code, offset, two fields, elevation.
Transversales LeeListadoInRoads(std::string_view text);
int ImportaListadoInRoads(const std::string& entrada, const std::string& salida);

// MxRoad: numbered points under "P.K." lines, or else blocks of "station count" and pairs.
int ImportaMxroad(const std::string& entrada, const std::string& salida);

// Dragados MDW: a short line holds a station, the longer lines after it the pairs.
Transversales LeeDragados(std::string_view text);
// "%8.3lf %8.3lf %8.3lf " per point: station, offset, elevation.
void FormatoDragados(const Transversales& puntos, common::TextWriter& writer);
int ImportaDragados(const std::string& entrada, const std::string& salida);

// Clip section listings in fixed columns: the platform and the subgrade listing differ in the
// columns of their second point.
enum class ListadoClip { kPlataforma, kSubrasante };
Transversales LeeSeccionClip(std::string_view text, ListadoClip listado);
int ImportaSeccionClipPlataforma(const std::string& entrada, const std::string& salida);
int ImportaSeccionClipSubrasante(const std::string& entrada, const std::string& salida);

// Ispol section listing: a subgrade file ("Sub") and a pavement file ("Firme") from one input.
enum class CapaIspol { kSubrasante, kFirme };
Transversales LeeSeccionesIspol(std::string_view text, CapaIspol capa);
int ImportaIspol(const std::string& entrada, const std::string& salida);

}  // namespace calzada
