#include <cmath>
#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "common/conversion_rules.h"
#include "formats/topsurv/topsurv.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace calzada {
namespace {

// The elevation of the axis: that of a point at offset 0, else interpolated between the first
// two consecutive points on either side of it.
std::optional<double> CotaDeEje(const Transversales& puntos, const std::vector<std::size_t>& seccion) {
  for (const std::size_t i : seccion) {
    if (puntos[i].offset == 0) return puntos[i].elevation;
  }
  for (std::size_t k = 0; k + 1 < seccion.size(); ++k) {
    const PuntoTransversal& a = puntos[seccion[k]];
    const PuntoTransversal& b = puntos[seccion[k + 1]];
    if ((a.offset < 0 && b.offset > 0) || (a.offset > 0 && b.offset < 0)) {
      return a.elevation + (b.elevation - a.elevation) * (0 - a.offset) / (b.offset - a.offset);
    }
  }
  return std::nullopt;
}

void EscribePaso(common::TextWriter& texto, double estacion, const char* lado, const PuntoTransversal& punto,
                 double horizontal, double vertical) {
  const std::string_view code = common::WithoutLineFeed(punto.code);
  texto.Printf("%0.3lf-%s,%.*s,%0.3lf,%0.3lf\n", WrittenValue(estacion), lado, static_cast<int>(code.size()),
               code.data(), WrittenValue(horizontal), WrittenValue(vertical));
}

}  // namespace

std::string FormatTopsurvSectionsText(const Transversales& puntos) {
  common::TextWriter texto;
  FormatTopsurvSections(puntos, texto);
  return texto.Bytes();
}

void FormatTopsurvSections(const Transversales& puntos, common::TextWriter& texto) {
  // The points of each station in file order, found in one pass.
  std::unordered_map<double, std::vector<std::size_t>> porEstacion;
  for (std::size_t i = 0; i < puntos.size(); ++i) porEstacion[puntos[i].station].push_back(i);

  for (const double estacion : DistinctStations(puntos)) {
    const std::vector<std::size_t>& seccion = porEstacion[estacion];
    const std::optional<double> eje = CotaDeEje(puntos, seccion);
    if (!eje) continue;
    // Each step is taken from the previous point on the same side, starting at the axis.
    double offsetAnterior = 0;
    double cotaAnterior = *eje;
    for (std::size_t k = seccion.size(); k-- > 0;) {
      const PuntoTransversal& p = puntos[seccion[k]];
      if (!(p.offset < 0)) continue;
      EscribePaso(texto, estacion, "I", p, std::fabs(p.offset - offsetAnterior), p.elevation - cotaAnterior);
      offsetAnterior = p.offset;
      cotaAnterior = p.elevation;
    }
    offsetAnterior = 0;
    cotaAnterior = *eje;
    for (const std::size_t i : seccion) {
      const PuntoTransversal& p = puntos[i];
      if (!(p.offset >= 0)) continue;
      EscribePaso(texto, estacion, "D", p, p.offset - offsetAnterior, p.elevation - cotaAnterior);
      offsetAnterior = p.offset;
      cotaAnterior = p.elevation;
    }
  }
}

int ExportTopsurvSections(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kFicheroTransversales, text)) return 0;
  const Transversales puntos = ParseNativeSections(text);
  if (!common::RequireSomething(puntos.empty(), entrada, kFicheroTransversales)) return 0;
  common::TextWriter texto;
  FormatTopsurvSections(puntos, texto);
  // Sections without an axis elevation are left out; a file of none would hold nothing.
  if (texto.Bytes().empty()) {
    common::RecordNothingToWrite(entrada, "ningún perfil transversal con cota en el eje");
    return 0;
  }
  return texto.SaveTo(salida) ? 1 : 0;
}

}  // namespace calzada
