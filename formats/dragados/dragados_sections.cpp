// Dragados MDW cross sections: a short line holds the station of a section, each longer line
// after it the offset and elevation of one of its points.
#include <vector>

#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/dragados/dragados.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {
namespace {

constexpr std::size_t kLongestStationLine = 9;  // line feed counted
constexpr double kNoSection = 100000000.0;      // a station line of this value opens no section

}  // namespace

Transversales ParseDragadosSections(std::string_view text) {
  Transversales puntos;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  double station = kNoSection;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    // Counted as if the line ended with its line feed, also the last one of a file.
    if (line.size() + 1 <= kLongestStationLine) {
      station = common::LenientDouble(line);
      continue;
    }
    if (station == kNoSection) continue;
    if (common::SplitTokens(line, " \t", fields) < 2) continue;
    PuntoTransversal punto;
    punto.station = station;
    punto.offset = common::LenientDouble(fields[0]);
    punto.elevation = common::LenientDouble(fields[1]);
    puntos.push_back(std::move(punto));
  }
  return puntos;
}

void FormatDragadosSections(const Transversales& puntos, common::TextWriter& writer) {
  for (const PuntoTransversal& p : puntos) {
    writer.Printf("%8.3lf %8.3lf %8.3lf \n", WrittenValue(p.station), WrittenValue(p.offset), WrittenValue(p.elevation));
  }
}

int ImportDragadosSections(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoTransversales, ParseDragadosSections, FormatDragadosSections);
}

}  // namespace calzada
