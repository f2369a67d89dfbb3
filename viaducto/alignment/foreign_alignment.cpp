#include "viaducto/alignment/foreign_alignment.h"

#include "common/text_input.h"
#include "viaducto/alignment/native_alignment.h"

namespace viaducto {

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
