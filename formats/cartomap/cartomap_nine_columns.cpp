// The nine tab-separated columns the Cartomap alignment listing converts to.
#include "formats/cartomap/cartomap.h"


namespace viaducto {

void FormatNineColumnAlignment(const Alignment& elements, common::TextWriter& writer) {
  for (const common::AlignmentElement& e : elements) {
    writer.Printf("%d\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\n", e.kind, e.station, e.x, e.y,
                  e.extra, e.azimuth, e.radius, e.parameter, e.length);
  }
}

}  // namespace viaducto
