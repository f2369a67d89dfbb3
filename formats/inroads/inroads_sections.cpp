// InRoads cross sections: the section report (station, offset, elevation, description) and
// the text listing (station, code, offset, two other fields, elevation). Stations are written
// as kilometres "+" metres, numbers with a decimal point or a decimal comma.
#include <vector>

#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/inroads/inroads.h"
#include "formats/native/eje_nativo.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {

double ParseInroadsStation(std::string_view text) {
  const std::size_t plus = text.find('+');
  const std::string_view kilometres = text.substr(0, plus);
  const double km = common::LenientDouble(kilometres);
  if (plus == std::string_view::npos) return km * 1000;
  double station = km * 1000 + LeeNumeroComa(text.substr(plus + 1));
  // "-0+015": the sign of a kilometre 0 stands only in the text.
  const std::size_t first = kilometres.find_first_not_of(" \t");
  if (km == 0 && first != std::string_view::npos && kilometres[first] == '-') station = -station;
  return station;
}

Transversales ParseInroadsSectionReport(std::string_view text) {
  Transversales puntos;
  common::LineReader reader(text);
  std::string_view piece;
  while (reader.Next(piece)) {
    std::string_view line = common::WithoutLineFeed(piece);
    if (!line.empty() && line.front() == '*') line.remove_prefix(1);
    common::Tokenizer fields(line);
    std::string_view station, offset, elevation;
    if (!fields.Next(" \t", station) || !fields.Next(" \t", offset) || !fields.Next(" \t", elevation)) continue;
    if (elevation.front() == 'N') continue;  // no value at this offset
    PuntoTransversal punto;
    punto.station = ParseInroadsStation(station);
    punto.offset = LeeNumeroComa(offset);
    punto.elevation = LeeNumeroComa(elevation);
    // The description keeps the separator that stood before it.
    const std::size_t end = static_cast<std::size_t>(elevation.data() + elevation.size() - line.data());
    punto.code.assign(line.substr(end));
    puntos.push_back(std::move(punto));
  }
  return puntos;
}

Transversales ParseInroadsSectionListing(std::string_view text) {
  Transversales puntos;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields) < 6) continue;
    if (fields[0].find('+') == std::string_view::npos) continue;
    PuntoTransversal punto;
    punto.station = ParseInroadsStation(fields[0]);
    punto.code.assign(fields[1]);
    punto.offset = LeeNumeroComa(fields[2]);
    punto.elevation = LeeNumeroComa(fields[5]);
    puntos.push_back(std::move(punto));
  }
  return puntos;
}

namespace {

int Importa(const std::string& entrada, const std::string& salida, Transversales (*lee)(std::string_view)) {
  return common::ConvertFile(entrada, salida, kListadoTransversales, lee, FormatWithAxisPoints);
}

}  // namespace

int ImportInroadsSectionReport(const std::string& entrada, const std::string& salida) {
  return Importa(entrada, salida, ParseInroadsSectionReport);
}

int ImportInroadsSectionListing(const std::string& entrada, const std::string& salida) {
  return Importa(entrada, salida, ParseInroadsSectionListing);
}

}  // namespace calzada
