#include "viaducto/alignment/foreign_alignment.h"


namespace viaducto {

void FormatNineColumnAlignment(const Alignment& elements, common::TextWriter& writer) {
  for (const common::AlignmentElement& e : elements) {
    writer.Printf("%d\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\n", e.kind, e.station, e.x, e.y,
                  e.extra, e.azimuth, e.radius, e.parameter, e.length);
  }
}

}  // namespace viaducto
