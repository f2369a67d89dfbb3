// WTrazado element listing: one numbered line per element, read with LectorLineas; a line
// counts only when its number is the next one expected.
#include "formats/wtrazado/wtrazado.h"

#include <cmath>
#include <string>

#include "common/conversion_rules.h"
#include "common/lector_lineas.h"
#include "common/text_case.h"

namespace calzada {
Eje ParseWtrazadoAlignment(std::string_view text) {
  LectorLineas lector;
  lector.OpenText(std::string(text), " \t");
  Eje records;
  int expected = 1;
  while (lector.NextLine()) {
    const std::size_t count = lector.TokenCount();
    if (count != 7 && count != 8) continue;
    int number = 0;
    lector.GetInt(number);
    if (number != expected) continue;
    std::string name;
    TramoEje r;
    lector.GetString(name);
    lector.GetDecimal(r.station);
    lector.GetDecimal(r.length);
    lector.GetDecimal(r.x);
    lector.GetDecimal(r.y);
    double value = 0;
    if (count == 8) {
      lector.GetDecimal(r.azimuth);
      lector.GetDecimal(value);
    } else {
      // Azimuth and value run together: the value starts at the token's ninth character.
      std::string both;
      lector.GetString(both);
      r.azimuth = LeeDecimal(both);
      value = both.size() > 8 ? LeeDecimal(std::string_view(both).substr(8)) : 0.0;
    }
    if (common::EqualsIgnoringCase(name, "CIRC.")) {
      r.kind = common::kArc;
      r.radius = value;
    } else if (common::EqualsIgnoringCase(name, "CLOT.")) {
      r.kind = common::kClothoid;
      r.parameter = std::fabs(value);
    }
    records.push_back(r);
    ++expected;
  }
  lector.Close();
  // A clothoid whose length is A^2 / R of the arc after it leads into that arc.
  for (std::size_t i = 0; i + 1 < records.size(); ++i) {
    TramoEje& c = records[i];
    const TramoEje& arc = records[i + 1];
    if (c.kind != common::kClothoid || arc.kind != common::kArc || arc.radius == 0) continue;
    if (std::fabs(c.parameter * c.parameter / std::fabs(arc.radius) - c.length) < 1.0) c.radius = arc.radius;
  }
  return records;
}

int ImportWtrazadoAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseWtrazadoAlignment, FormatEjeNativo);
}

}  // namespace calzada
