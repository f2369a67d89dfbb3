// Clip section listings in fixed columns (counted from 1): a line with "P.K." in columns 6 to 9
// gives the station from column 11 on; each other line up to two points of that section, the
// first in columns 6-12 (offset) and 14-21 (elevation), the second further right, where the
// platform and the subgrade listings differ.
#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "common/listing_columns.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"

namespace calzada {

Transversales ParseClipSectionListing(std::string_view text, ListadoClip listado) {
  const ColumnasPunto primero{6, 7, 14, 8};
  const ColumnasPunto segundo = listado == ListadoClip::kPlataforma ? ColumnasPunto{34, 7, 42, 8}
                                                                    : ColumnasPunto{60, 7, 68, 8};
  Transversales puntos;
  common::LineReader reader(text);
  std::string_view piece;
  bool stationKnown = false;
  double station = 0;
  while (reader.Next(piece)) {
    std::string_view line = common::WithoutLineFeed(piece);
    line = line.substr(0, line.find_last_not_of(' ') + 1);
    if (common::EqualsIgnoringCase(common::ColumnField(line, 6, 4), "P.K.")) {
      station = line.size() > 10 ? common::LenientDouble(line.substr(10)) : 0.0;
      stationKnown = true;
      continue;
    }
    if (!stationKnown) continue;
    double offset = 0;
    double elevation = 0;
    const bool firstRead = LeeParColumnas(line, primero, offset, elevation);
    if (firstRead) puntos.push_back(PuntoTransversal{station, offset, elevation, ""});
    double secondOffset = 0;
    double secondElevation = 0;
    if (LeeParColumnas(line, segundo, secondOffset, secondElevation) && (!firstRead || secondOffset != offset)) {
      // Beside a first point at the same offset it is the same point.
      puntos.push_back(PuntoTransversal{station, secondOffset, secondElevation, ""});
    }
  }
  return puntos;
}

namespace {

int Importa(const std::string& entrada, const std::string& salida, ListadoClip listado) {
  const auto parse = [listado](std::string_view text) { return ParseClipSectionListing(text, listado); };
  return common::ConvertFile(entrada, salida, kListadoTransversales, parse, FormatWithAxisPoints);
}

}  // namespace

int ImportClipPlatformListing(const std::string& entrada, const std::string& salida) {
  return Importa(entrada, salida, ListadoClip::kPlataforma);
}

int ImportClipSubgradeListing(const std::string& entrada, const std::string& salida) {
  return Importa(entrada, salida, ListadoClip::kSubrasante);
}

}  // namespace calzada
