// MxRoad and WTrazado element listings: one numbered line per element, read with LectorLineas;
// a line counts only when its number is the next one expected.
#include <cmath>
#include <string>

#include "calzada/alignment/alignment_importers.h"
#include "calzada/frame/conversion_rules.h"
#include "calzada/frame/lector_lineas.h"
#include "common/text_case.h"

namespace calzada {
namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return common::LowerAscii(text).find(common::LowerAscii(part)) != std::string::npos;
}

// MxRoad element codes: the transition a line starts.
enum MxroadClass { kOrdinary = 0, kSpiralToCurve = 1, kCurveToSpiral = 2, kSpiralToSpiral = 3 };

MxroadClass ClassOf(std::string_view code) {
  if (ContainsIgnoringCase(code, "SC")) return kSpiralToCurve;
  if (ContainsIgnoringCase(code, "CS")) return kCurveToSpiral;
  if (ContainsIgnoringCase(code, "SS")) return kSpiralToSpiral;
  return kOrdinary;
}

}  // namespace

Eje ParseMxroadAlignment(std::string_view text) {
  LectorLineas lector;
  lector.OpenText(std::string(text), " ");
  Eje records;
  std::vector<MxroadClass> classes;
  int expected = 1;
  while (lector.NextLine()) {
    if (lector.TokenCount() != 11) continue;
    int number = 0;
    lector.GetInt(number);
    if (number != expected) continue;
    TramoEje r;
    double unused = 0;
    std::string code;
    lector.GetDouble(r.x);
    lector.GetDouble(r.y);
    lector.GetDouble(unused);
    lector.GetDouble(r.station);
    lector.GetDouble(r.azimuth);
    lector.GetDouble(r.radius);
    lector.GetDouble(unused);
    lector.GetDouble(unused);
    lector.GetString(code);
    records.push_back(r);
    classes.push_back(ClassOf(code));
    ++expected;
  }
  lector.Close();
  for (std::size_t i = 0; i < records.size(); ++i) {
    const bool last = i + 1 == records.size();
    TramoEje& r = records[i];
    r.length = last ? 0.0 : records[i + 1].station - r.station;
    if (classes[i] == kCurveToSpiral) {
      r.parameter = std::sqrt(std::fabs(r.radius) * std::fabs(r.length));
      r.radius = 0;
    } else if (classes[i] == kSpiralToSpiral && !last) {
      r.parameter = std::sqrt(std::fabs(records[i + 1].radius) * std::fabs(r.length));
      r.radius = records[i + 1].radius;
    }
  }
  SetKindsFromValues(records);
  return records;
}

int ImportMxroadAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseMxroadAlignment, FormatEjeNativo);
}

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
