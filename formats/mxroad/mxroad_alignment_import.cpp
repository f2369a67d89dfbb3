// MxRoad element listing: one numbered line per element, read with LectorLineas; a line
// counts only when its number is the next one expected.
#include "formats/mxroad/mxroad.h"

#include <cmath>
#include <string>

#include "common/conversion_rules.h"
#include "common/lector_lineas.h"
#include "common/text_case.h"

namespace calzada {
namespace {

// MxRoad element codes: the transition a line starts.
enum MxroadClass { kOrdinary = 0, kSpiralToCurve = 1, kCurveToSpiral = 2, kSpiralToSpiral = 3 };

MxroadClass ClassOf(std::string_view code) {
  if (common::ContainsIgnoringCase(code, "SC")) return kSpiralToCurve;
  if (common::ContainsIgnoringCase(code, "CS")) return kCurveToSpiral;
  if (common::ContainsIgnoringCase(code, "SS")) return kSpiralToSpiral;
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

}  // namespace calzada
