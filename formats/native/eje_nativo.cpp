#include "formats/native/eje_nativo.h"

#include <cmath>

#include "formats/native/native_alignment.h"
#include "common/text_output.h"

namespace calzada {

std::vector<TramoEje> ParseEjeNativo(std::string_view nativeText) {
  // Comment lines skipped; blanks, tabs and commas between all six fields.
  constexpr common::NativeAlignmentRule kReglaEjeNativo{true, "\t ,\n", "\t ,\n"};
  return common::ParseNativeAlignment(nativeText, kReglaEjeNativo).elements;
}

void FormatEjeNativo(const std::vector<TramoEje>& records, common::TextWriter& writer) {
  for (const TramoEje& r : records) {
    writer.Printf("%15.3lf %9.3lf %10.3lf %7.4lf %7.3lf %7.3lf\n", FiniteOrZero(r.station), FiniteOrZero(r.x),
                  FiniteOrZero(r.y), FiniteOrZero(r.azimuth), FiniteOrZero(r.parameter), FiniteOrZero(r.radius));
  }
}

int EscribeEjeNativo(const std::vector<TramoEje>& records, const std::string& path) {
  common::TextWriter writer;
  FormatEjeNativo(records, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

}  // namespace calzada
