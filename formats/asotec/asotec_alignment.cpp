// Asotec alignment listing: each element line copied into a tab-separated native line.
#include "formats/asotec/asotec.h"

#include <vector>

#include "common/conversion_rules.h"
#include "common/tokens.h"
#include "formats/native/tab_alignment.h"

namespace calzada {
namespace {

// Station, one unused field, x, y, azimuth and radius ("-" on a straight); no parameter.
bool ReadAsotecLine(const std::vector<std::string_view>& f, TramoEje& e) {
  if (f.size() < 6) return false;
  e.station = common::LenientDouble(f[0]);
  e.x = common::LenientDouble(f[2]);
  e.y = common::LenientDouble(f[3]);
  e.azimuth = common::LenientDouble(f[4]);
  e.radius = f[5] == "-" ? 0.0 : common::LenientDouble(f[5]);
  return true;
}

}  // namespace

Eje ParseAsotecAlignment(std::string_view text) { return ParseTabListing(text, ReadAsotecLine); }

int ImportAsotecAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseAsotecAlignment, FormatTabAlignment);
}

}  // namespace calzada
