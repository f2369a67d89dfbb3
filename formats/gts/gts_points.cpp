#include "formats/gts/gts_points.h"

#include "common/numbers.h"
#include "common/listing_conversion.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

std::size_t FormatGtsPoints(std::string_view pointList, common::TextWriter& gts) {
  std::size_t written = 0;
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
    ++written;
  }
  return written;
}

int ConvertPointsToGts(const std::string& entrada, const std::string& salida) {
  return ConvertListing(entrada, salida, kPointList, FormatGtsPoints);
}

}  // namespace viaducto
