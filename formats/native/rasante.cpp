// Calzada's native profile file: written with its fixed layout, read back with the comma rule.
#include "formats/native/rasante.h"

#include <cmath>

#include "common/numbers.h"
#include "formats/native/native_profile.h"

namespace calzada {
Rasante ParseNativeRasante(std::string_view text) {
  return common::ParseNativeProfile(text, common::kCommaProfileReader);
}

void FormatNativeRasante(const Rasante& rasante, common::TextWriter& writer) {
  Rasante finite = rasante;
  for (VerticeRasante& v : finite) {
    for (double* value : {&v.station, &v.elevation, &v.kv, &v.tangent, &v.external}) *value = FiniteOrZero(*value);
  }
  common::FormatNativeProfile(finite, common::NativeProfileLayout::kFixedWidth, writer);
}

int WriteNativeRasante(const Rasante& rasante, const std::string& path) {
  common::TextWriter writer;
  FormatNativeRasante(rasante, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

}  // namespace calzada
