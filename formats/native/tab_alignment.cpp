// Alignment listings whose element lines are copied into tab-separated native lines (station, x,
// y, azimuth, parameter, radius), values as read: the line reader each such format passes its
// rule to, and the writer of those lines.
#include "formats/native/tab_alignment.h"

#include <vector>

#include "common/numbers.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {
Eje ParseTabListing(std::string_view text, TabLineReading read) {
  Eje elements;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields);
    TramoEje element;
    if (read(fields, element)) elements.push_back(element);
  }
  return elements;
}

void FormatTabAlignment(const Eje& elements, common::TextWriter& writer) {
  for (const TramoEje& e : elements) {
    writer.Printf("%6.3lf\t%8.3lf\t%8.3lf\t%8.3lf\t%6.3lf\t%6.3lf\n", e.station, e.x, e.y, e.azimuth, e.parameter,
                  e.radius);
  }
}

}  // namespace calzada
