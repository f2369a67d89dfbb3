#include "viaducto/alignment/foreign_alignment.h"

#include "common/text_input.h"
#include "viaducto/alignment/native_alignment.h"

namespace viaducto {

void SetLengthsFromStations(Alignment& elements) {
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    elements[i].length = elements[i + 1].station - elements[i].station;
  }
}

void SetKindsFromValues(Alignment& elements) {
  for (common::AlignmentElement& e : elements) e.kind = common::KindFromValues(e.parameter, e.radius);
}

void FormatNineColumnAlignment(const Alignment& elements, common::TextWriter& writer) {
  for (const common::AlignmentElement& e : elements) {
    writer.Printf("%d\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\n", e.kind, e.station, e.x, e.y,
                  e.extra, e.azimuth, e.radius, e.parameter, e.length);
  }
}

int ConvertForeignAlignment(AlignmentParser parser, const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  const Alignment elements = parser(text);
  if (elements.empty()) return 0;
  return WriteNativeAlignment(elements, salida);
}

}  // namespace viaducto
