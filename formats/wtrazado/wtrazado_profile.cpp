// WTrazado vertical listing: station, elevation and kv per vertex between "INIC" and "FINAL".
#include "formats/wtrazado/wtrazado.h"

#include <cmath>
#include <vector>

#include "common/lector_lineas.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/tokens.h"

namespace calzada {
Rasante ParseWtrazadoProfile(std::string_view text) {
  Rasante rasante;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  bool started = false;
  bool initialRead = false;
  while (reader.Next(piece)) {
    const std::size_t count = common::SplitTokens(piece, " \t\n", fields);
    VerticeRasante v;
    if (!initialRead && common::ContainsIgnoringCase(piece, "INIC")) {
      initialRead = started = true;
      if (count < 4) continue;
      v.station = LeeNumeroComa(fields[2]);
      v.elevation = LeeNumeroComa(fields[3]);
    } else if (common::ContainsIgnoringCase(piece, "FINAL")) {
      started = true;
      if (count < 3) continue;
      v.station = LeeNumeroComa(fields[1]);
      v.elevation = LeeNumeroComa(fields[2]);
    } else {
      if (!started || count < 5 || common::LenientInt(fields[0]) < 1) continue;
      v.station = LeeNumeroComa(fields[2]);
      v.elevation = LeeNumeroComa(fields[3]);
      v.kv = std::fabs(LeeNumeroComa(fields[4]));
    }
    rasante.push_back(v);
  }
  CompletaCurvasInteriores(rasante);
  if (!rasante.empty()) {
    for (VerticeRasante* end : {&rasante.front(), &rasante.back()}) end->kv = end->tangent = end->external = 0;
  }
  return rasante;
}

int ImportWtrazadoProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseWtrazadoProfile, FormatNativeRasante);
}

}  // namespace calzada
