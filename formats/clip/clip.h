// Clip: PLT alignments, ALZ profiles, TRV cross sections, section listings (platform, subgrade
// and TER), superelevation tables, and the field book to TER.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"
#include "formats/native/eje_nativo.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_sections.h"
#include "formats/native/rasante.h"
#include "formats/native/superelevation.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// Clip PLT: "*PLT1", then one point per line "station , x , y , azimuth , radius , parameter";
// the radius and parameter of a line belong to the element that ends at that point.
Eje ParseClipPlt(std::string_view text);
int ImportClipPlt(const std::string& entrada, const std::string& salida);
// The native elements of `text` (the native alignment file) as a Clip PLT file.
bool FormatClipPlt(std::string_view nativeText, std::string& plt);
int ExportClipPlt(const std::string& entrada, const std::string& salida);

// Clip ALZ: "*ALZ..." then station, elevation (letter C) or grade, and kv, curve length (T)
// or external ordinate (F). `tangentIsHalf`: the T value is already the tangent length.
bool ParseClipAlz(std::string_view text, bool tangentIsHalf, Rasante& rasante);
int ImportClipAlz(const std::string& entrada, const std::string& salida);
int ImportClipAlzTanSimple(const std::string& entrada, const std::string& salida);
int ExportClipAlz(const std::string& entrada, const std::string& salida);
// The Clip ALZ file of a native profile; `title` is its second line.
void FormatClipAlz(const Rasante& rasante, const std::string& title, common::TextWriter& writer);

// Clip TRV: "*TRV", a title line, then per section "station, count" and that many lines
// "offset, elevation, code".
bool ParseClipTrvWithHeading(std::string_view text, Transversales& puntos);  // false when shorter than two lines
// Points of one section closer than 1 mm are set 1 mm apart, on the side with more room.
void SeparateCoincidentPoints(Transversales& puntos);
int ImportClipTrv(const std::string& entrada, const std::string& salida);
void FormatClipTrv(const Transversales& puntos, const std::string& titulo, common::TextWriter& writer);
int ExportClipTrv(const std::string& entrada, const std::string& salida);

// Clip section listings in fixed columns: the platform and the subgrade listing differ in the
// columns of their second point.
enum class ListadoClip { kPlataforma, kSubrasante };
Transversales ParseClipSectionListing(std::string_view text, ListadoClip listado);
int ImportClipPlatformListing(const std::string& entrada, const std::string& salida);
int ImportClipSubgradeListing(const std::string& entrada, const std::string& salida);

}  // namespace calzada

namespace viaducto {

// Clip PLT, read with the same reader as Calzada's import.
Alignment ParseClipPltAlignment(std::string_view text);

// Clip section listing (TER): pairs of fixed-column lines, the first with the station and the
// offsets, the second with the elevations; code "0" on the axis, "10" elsewhere.
bool ParseClipListingSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Clip TRV: "station, count" lines followed by "offset, elevation, code" lines, in file order.
bool ParseClipTrvSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Clip superelevation table: "station value2 [value3]" split at tabs, commas and blanks. First
// value is value2; second is minus value3, or minus value2 when value3 is missing.
std::vector<SuperelevationRecord> ParseClipSuperelevation(std::string_view text);
int ImportClipSuperelevation(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
