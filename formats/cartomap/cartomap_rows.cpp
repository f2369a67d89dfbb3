#include "formats/cartomap/cartomap_rows.h"

#include "common/numbers.h"

namespace viaducto {

double ReadCartomapStation(std::string_view text) {
  const std::size_t plus = text.find('+');
  const bool negative = text.find('-') != std::string_view::npos;
  if (plus == std::string_view::npos) return negative ? 0.0 : common::LenientDouble(text);
  const double kilometres = common::LenientDouble(text.substr(0, plus));
  const double metres = common::LenientDouble(text.substr(plus + 1));
  return kilometres * 1000.0 + (negative ? -metres : metres);
}

}  // namespace viaducto
