#include "viaducto/survey/gts_points.h"

#include "common/export_guard.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto.h"

namespace viaducto {

void FormatGtsPoints(std::string_view pointList, common::TextWriter& gts) {
  common::LineReader reader(pointList);
  std::string_view line;
  while (reader.Next(line)) {
    common::Tokenizer fields(line);
    std::string_view number, x, y, z, code;
    if (!fields.Next(" \t", number) || !fields.Next(" \t", x) || !fields.Next(" \t", y) || !fields.Next(" \t\n", z)) {
      continue;
    }
    const double px = common::PrintableZero(common::LenientDouble(x), 3);
    const double py = common::PrintableZero(common::LenientDouble(y), 3);
    const double pz = common::PrintableZero(common::LenientDouble(z), 3);
    if (fields.Next(" \t\n", code)) {
      gts.Printf("%d,%0.3lf,%0.3lf,%0.3lf,%.*s\n", common::LenientInt(number), px, py, pz,
                 static_cast<int>(code.size()), code.data());
    } else {
      gts.Printf("%d,%0.3lf,%0.3lf,%0.3lf\n", common::LenientInt(number), px, py, pz);
    }
  }
}

int ConvertPointsToGts(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  common::TextWriter gts;
  FormatGtsPoints(text, gts);
  return gts.SaveTo(salida) ? 1 : 0;
}

}  // namespace viaducto

int32_t MyDll_puntos2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertPointsToGts(common::PathArgument(entrada), common::PathArgument(salida)); });
}
