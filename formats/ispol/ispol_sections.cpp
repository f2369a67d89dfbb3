// Ispol section listing: a line with "pk:" opens a section; its point lines hold pairs of
// offset and elevation in fixed columns: slope ("TAL"), ditch ("CUN"), subgrade and pavement
// ("RAS"). One listing gives two native files, the subgrade ("Sub") and the pavement ("Firme").
#include <string>
#include <vector>

#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/ispol/ispol.h"
#include "common/listing_columns.h"
#include "formats/native/eje_nativo.h"
#include "common/message_hook.h"
#include "formats/native/native_cross_section.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {
namespace {

constexpr ColumnasPunto kTalud{2, 7, 10, 8};
constexpr ColumnasPunto kCuneta{26, 7, 34, 8};
constexpr ColumnasPunto kRasanteSubrasante{44, 7, 52, 8};
constexpr ColumnasPunto kRasanteFirme{78, 7, 86, 8};

constexpr std::size_t kLongestShortLine = 9;  // line feed counted
constexpr std::size_t kFarColumns = 70;      // text only beyond it never ends a section
constexpr double kSameSection = 0.001;
constexpr double kSeparation = 0.001;

bool Contains(const std::string& lowerLine, std::string_view lowerWord) {
  return lowerLine.find(lowerWord) != std::string::npos;
}

// Titles and rules of the listing, which stand among the point lines.
bool IsHeading(const std::string& lowerLine) {
  for (std::string_view word : {"x", "y", "az", "taludes", "---", "dist"}) {
    if (Contains(lowerLine, word)) return true;
  }
  return false;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

// After sorting, a point at exactly the offset of the point before it in its section is moved
// 1 mm to the right of that point (which may have been moved itself).
void SeparaOffsetsIguales(Transversales& puntos) {
  double previousRead = 0;
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    const double read = puntos[i].offset;
    if (i > 0 && puntos[i - 1].station == puntos[i].station && read == previousRead) {
      puntos[i].offset = puntos[i - 1].offset + kSeparation;
    }
    previousRead = read;
  }
}

}  // namespace

Transversales ParseIspolSections(std::string_view text, CapaIspol capa) {
  const int rasante = capa == CapaIspol::kSubrasante ? 2 : 3;
  Transversales puntos;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> tokens;
  bool inSection = false;
  double station = 0;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    const std::string lower = common::LowerAscii(line);
    if (Contains(lower, "pk:")) {
      // A section opens only on a numeric station; otherwise its points would go to the last.
      inSection = common::SplitTokens(line, " \t", tokens) >= 2 && CampoNumerico(tokens[1], station);
      continue;
    }
    if (!inSection) continue;
    if (line.size() + 1 <= kLongestShortLine || IsHeading(lower)) continue;
    double offset[4] = {0, 0, 0, 0};
    double elevation[4] = {0, 0, 0, 0};
    // Every pair is tried, so that a line with the other file's pair only does not end a section.
    bool fits[4];
    fits[0] = LeeParColumnas(line, kTalud, offset[0], elevation[0]);
    fits[1] = LeeParColumnas(line, kCuneta, offset[1], elevation[1]);
    fits[2] = LeeParColumnas(line, kRasanteSubrasante, offset[2], elevation[2]);
    fits[3] = LeeParColumnas(line, kRasanteFirme, offset[3], elevation[3]);
    if (!fits[0] && !fits[1] && !fits[2] && !fits[3]) {
      if (IsBlank(line) || IsBlank(line.substr(0, kFarColumns))) continue;
      inSection = false;  // the section ends; what follows waits for the next station
      continue;
    }
    if (fits[0]) puntos.push_back(PuntoTransversal{station, offset[0], elevation[0], "TAL"});
    if (fits[1]) puntos.push_back(PuntoTransversal{station, offset[1], elevation[1], "CUN"});
    if (fits[rasante]) puntos.push_back(PuntoTransversal{station, offset[rasante], elevation[rasante], "RAS"});
  }
  common::SortByStationThenOffset(puntos, kSameSection);
  SeparaOffsetsIguales(puntos);
  return puntos;
}

int ImportIspolSections(const std::string& entrada, const std::string& salida) {
  // Two targets named after `salida`: the subgrade and the pavement sections.
  const std::string subrasante = AnadeSufijo(salida, "Sub");
  const std::string firme = AnadeSufijo(salida, "Firme");
  if (!common::CheckConversionTarget(entrada, subrasante) || !common::CheckConversionTarget(entrada, firme)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kListadoTransversales, text)) return 0;
  const Transversales capas[] = {ParseIspolSections(text, CapaIspol::kSubrasante),
                                 ParseIspolSections(text, CapaIspol::kFirme)};
  if (!common::RequireSomething(capas[0].empty() && capas[1].empty(), entrada, kListadoTransversales)) return 0;
  for (const auto& [puntos, path] : {std::pair{&capas[0], subrasante}, std::pair{&capas[1], firme}}) {
    common::TextWriter writer;
    for (const PuntoTransversal& p : *puntos) FormatSectionPoint(writer, p);
    if (!writer.SaveTo(path)) return 0;
  }
  const std::string message = "Conversión realizada con éxito:\nFichero de Subrasante:\t" + subrasante +
                              "\nFichero de Rasante:\t" + firme + "\n";
  common::ShowMessage("Calzada", message.c_str());
  return 1;
}

}  // namespace calzada
