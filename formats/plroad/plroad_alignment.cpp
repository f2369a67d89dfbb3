// PL-Road alignment listing: whole-element lines from an offset origin, mapped onto native
// elements.
#include "formats/plroad/plroad.h"

#include <cmath>
#include <vector>

#include "common/conversion_rules.h"
#include "common/numbers.h"
#include "common/tokens.h"

namespace calzada {
Eje ParsePlroadAlignment(std::string_view text) {
  Eje records;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  double offsetX = 0;
  double offsetY = 0;
  bool originRead = false;
  while (reader.Next(piece)) {
    const std::size_t count = common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields);
    if (!originRead) {
      offsetX = count > 0 ? common::LenientDouble(fields[0]) : 0.0;
      offsetY = count > 1 ? common::LenientDouble(fields[1]) : 0.0;
      originRead = true;
      continue;
    }
    if (count < 6) continue;
    TramoEje r;
    r.x = common::LenientDouble(fields[0]) + offsetX;
    r.y = common::LenientDouble(fields[1]) + offsetY;
    r.azimuth = common::LenientDouble(fields[2]);
    r.radius = common::LenientDouble(fields[3]);
    r.parameter = common::LenientDouble(fields[4]);
    r.station = common::LenientDouble(fields[5]);
    records.push_back(r);
  }
  // PL-Road gives a clothoid no radius: each clothoid of a run takes the radius of the element
  // after it once a straight closes the run. A clothoid that is the last record has nothing
  // after it and keeps its own radius.
  const std::size_t none = records.size();
  std::size_t runStart = none;
  std::size_t lastClothoid = none;
  auto closeRun = [&] {
    for (std::size_t j = runStart; j <= lastClothoid && j + 1 < records.size(); ++j) {
      records[j].radius = records[j + 1].radius;
    }
    runStart = lastClothoid = none;
  };
  for (std::size_t i = 0; i < records.size(); ++i) {
    const TramoEje& r = records[i];
    if (r.parameter > 0) {
      if (runStart == none) runStart = i;
      lastClothoid = i;
    } else if (runStart != none && r.radius == 0 && r.parameter == 0) {
      closeRun();
    }
  }
  if (runStart != none) closeRun();
  SetKindsFromValues(records);
  return records;
}

int ImportPlroadAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParsePlroadAlignment, FormatEjeNativo);
}

}  // namespace calzada
