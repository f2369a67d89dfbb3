// Dragados MDW vertical listing: station, elevation and kv per vertex.
#include "formats/dragados/dragados.h"

#include <cmath>
#include <vector>

#include "common/lector_lineas.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/tokens.h"

namespace calzada {
Rasante ParseDragadosProfile(std::string_view text) {
  Rasante rasante;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields) < 5) continue;
    VerticeRasante v;
    v.station = common::LenientDouble(fields[1]);
    v.elevation = common::LenientDouble(fields[2]);
    v.kv = std::fabs(common::LenientDouble(fields[4]));
    rasante.push_back(v);
  }
  CompletaCurvasInteriores(rasante);
  return rasante;
}

int ImportDragadosProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseDragadosProfile, FormatNativeRasante);
}

}  // namespace calzada
