// Dragados MDW alignment listing: each element line copied into a tab-separated native line.
#include "formats/dragados/dragados.h"

#include <vector>

#include "common/conversion_rules.h"
#include "common/tokens.h"
#include "formats/native/tab_alignment.h"

namespace calzada {
namespace {

// Field 1 unused, then station, x, y, azimuth, radius, parameter.
bool ReadDragadosLine(const std::vector<std::string_view>& f, TramoEje& e) {
  if (f.size() < 7) return false;
  e.station = common::LenientDouble(f[1]);
  e.x = common::LenientDouble(f[2]);
  e.y = common::LenientDouble(f[3]);
  e.azimuth = common::LenientDouble(f[4]);
  e.radius = common::LenientDouble(f[5]);
  e.parameter = common::LenientDouble(f[6]);
  return true;
}


}  // namespace

Eje ParseDragadosAlignment(std::string_view text) { return ParseTabListing(text, ReadDragadosLine); }

int ImportDragadosAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseDragadosAlignment, FormatTabAlignment);
}

}  // namespace calzada
