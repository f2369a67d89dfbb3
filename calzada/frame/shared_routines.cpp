#include "calzada/frame/shared_routines.h"

#include <cmath>

#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {

std::vector<TramoEje> LeeEjeNativo(std::string_view nativeText) {
  std::vector<TramoEje> records;
  common::LineReader reader(nativeText);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (piece.size() < 10 || piece.front() == '*') continue;
    if (common::SplitTokens(common::WithoutLineFeed(piece), "\t ,", fields) < 6) continue;
    records.push_back(common::ElementFromNativeFields(fields.data()));
  }
  return records;
}

void FormatEjeNativo(const std::vector<TramoEje>& records, common::TextWriter& writer) {
  for (const TramoEje& r : records) {
    writer.Printf("%15.3lf %9.3lf %10.3lf %7.4lf %7.3lf %7.3lf\n", FiniteOrZero(r.station), FiniteOrZero(r.x),
                  FiniteOrZero(r.y), FiniteOrZero(r.azimuth), FiniteOrZero(r.parameter), FiniteOrZero(r.radius));
  }
}

int EscribeEjeNativo(const std::vector<TramoEje>& records, const std::string& path) {
  common::TextWriter writer;
  FormatEjeNativo(records, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

}  // namespace calzada
