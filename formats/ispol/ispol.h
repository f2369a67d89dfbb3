// Ispol: alignment listings, profile listings and the grade report, section listings and
// superelevation tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/profile_curves.h"
#include "common/text_output.h"
#include "formats/native/eje_nativo.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_sections.h"
#include "formats/native/rasante.h"
#include "formats/native/superelevation.h"

namespace calzada {

using Eje = std::vector<TramoEje>;

// Ispol listing: start station, then typed elements with their lengths.
Eje ParseIspolAlignment(std::string_view text);
int ImportIspolAlignment(const std::string& entrada, const std::string& salida);

// Ispol profile listing, and the Ispol report of the state of the grade lines.
Rasante ParseIspolProfile(std::string_view text);
int ImportIspolProfile(const std::string& entrada, const std::string& salida);
void FormatIspolReport(const Rasante& rasante, const std::string& project, common::TextWriter& writer);
int ExportIspolProfile(const std::string& entrada, const std::string& salida);

// Ispol section listing: a subgrade file ("Sub") and a pavement file ("Firme") from one input.
enum class CapaIspol { kSubrasante, kFirme };
Transversales ParseIspolSections(std::string_view text, CapaIspol capa);
int ImportIspolSections(const std::string& entrada, const std::string& salida);

}  // namespace calzada

namespace viaducto {

// Ispol alignment listing, read with the same reader as Calzada's import.
Alignment ParseIspolAlignment(std::string_view text);

// Ispol profile listing: after the leading "#" lines, one vertex per line up to the next "#"
// line; field 7 is the grade in percent of the segment that ends at the vertex, field 8 kv.
common::Profile ParseIspolProfile(std::string_view text);

// Ispol superelevation table: a header line, then "index station fall3 [fall4 [fall5]]" split
// at tabs and blanks; "#" starts a comment line. First value is fall5, else fall4, else 0;
// second value is minus fall3.
std::vector<SuperelevationRecord> ParseIspolSuperelevation(std::string_view text);
int ImportIspolSuperelevation(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
