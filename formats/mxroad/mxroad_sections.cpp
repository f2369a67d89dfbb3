// MxRoad cross-section listings, in three layouts: numbered points under "P.K." lines (number,
// two unused fields, elevation, offset, code); the "CROSS SECTIONS" listing, whose pairs run on
// over as many lines as they need; or blocks of a header "station count" followed by one
// "offset elevation" line per point (mxroad_sections_reader.h).
#include <vector>

#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/mxroad/mxroad.h"
#include "common/lector_lineas.h"
#include "formats/mxroad/mxroad_sections_reader.h"
#include "formats/native/native_cross_section.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {
namespace {

constexpr std::size_t kLongestCode = 47;
constexpr double kSameSection = 0.0001;

Transversales LeePuntosNumerados(std::string_view text) {
  Transversales puntos;
  LectorLineas lector;
  lector.OpenText(std::string(text), " ");
  double station = 0;
  int expected = 1;
  while (lector.NextLine()) {
    const std::size_t tokens = lector.TokenCount();
    if (tokens == 2) {
      std::string_view keyword;
      lector.NextToken(keyword);
      if (!common::EqualsIgnoringCase(keyword, "P.K.")) continue;
      lector.GetDouble(station);
      expected = 1;
    } else if (tokens == 6) {
      int number = 0;
      lector.GetInt(number);
      if (number != expected) continue;
      ++expected;
      PuntoTransversal punto;
      double unused = 0;
      lector.GetDouble(unused);
      lector.GetDouble(unused);
      lector.GetDouble(punto.elevation);
      lector.GetDouble(punto.offset);
      lector.GetString(punto.code);
      if (punto.code.size() > kLongestCode) punto.code.resize(kLongestCode);
      punto.station = station;
      puntos.push_back(std::move(punto));
    }
  }
  return puntos;
}

Transversales LeeBloques(std::string_view text) {
  Transversales puntos;
  common::ParseMxRoadSections(text, common::kMxRoadPairPerLine, puntos);
  return puntos;
}

// The listing headed "MXROAD CROSS SECTIONS": read with one pair per line, its first section
// would take the header's words for a station and the pairs for points of their own.
bool PairsRunOn(std::string_view text) {
  const std::string firstLine = common::LowerAscii(text.substr(0, text.find('\n')));
  return firstLine.find("mxroad") != std::string::npos && firstLine.find("cross sections") != std::string::npos;
}

Transversales LeeParesSeguidos(std::string_view text) {
  Transversales puntos;
  if (!common::ParseMxRoadSections(text, common::kMxRoadPairsRunOn, puntos)) puntos.clear();
  return puntos;
}

}  // namespace

int ImportMxroadSections(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  Transversales puntos = LeePuntosNumerados(text);
  if (puntos.empty()) puntos = PairsRunOn(text) ? LeeParesSeguidos(text) : LeeBloques(text);
  if (puntos.empty()) return 0;
  common::SortByStationThenOffset(puntos, kSameSection);
  return WriteWithAxisPoints(puntos, salida);
}

}  // namespace calzada
