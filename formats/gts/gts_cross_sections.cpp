#include "formats/gts/gts_cross_sections.h"

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/native/cross_section_set.h"

namespace viaducto {

void FormatGtsCrossSections(const std::vector<common::CrossSectionPoint>& points, common::TextWriter& gts) {
  for (const common::CrossSectionPoint& p : points) {
    const double s = Printable(p.station);
    const double o = Printable(p.offset);
    const double e = Printable(p.elevation);
    if (!p.code.empty()) {
      gts.Printf("%0.3lf,%0.3lf,%0.3lf,%s\n", s, o, e, p.code.c_str());
    } else {
      gts.Printf("%0.3lf,%0.3lf,%0.3lf\n", s, o, e);
    }
  }
}

std::vector<common::CrossSectionPoint> ParseGtsCrossSections(std::string_view gtsText) {
  std::vector<common::CrossSectionPoint> points;
  common::LineReader reader(gtsText);
  std::string_view line;
  while (NextCompleteLine(reader, line)) {
    common::Tokenizer fields(line);
    std::string_view station, offset, elevation;
    if (!fields.Next(",", station) || !fields.Next(",", offset) || !fields.Next(",", elevation)) continue;
    points.push_back(common::CrossSectionPoint{common::LenientDouble(station), common::LenientDouble(offset),
                                               common::LenientDouble(elevation),
                                               std::string(common::WithoutLineFeed(fields.Rest()))});
  }
  return points;
}

int WriteGtsCrossSections(const std::vector<common::CrossSectionPoint>& points, const std::string& salida) {
  common::TextWriter gts;
  FormatGtsCrossSections(points, gts);
  return gts.SaveTo(salida) ? 1 : 0;
}

}  // namespace viaducto
