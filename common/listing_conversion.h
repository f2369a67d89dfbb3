// The conversion of a survey listing that is turned line by line into another listing: the
// shape of common::ConvertFile for a formatter that reads the text itself and counts what it
// wrote.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/conversion.h"
#include "common/text_output.h"

namespace viaducto {

inline constexpr common::ConversionRule kPointList{"una lista de puntos", "ningún punto"};

// `format(text, writer)` returns the number of records it wrote. 1 when the target was written;
// 0 (reason recorded) when the source cannot be read or is of another kind, nothing was
// written from it, or the target cannot be written.
template <typename Format>
int ConvertListing(const std::string& entrada, const std::string& salida, const common::ConversionRule& rule,
                   Format&& format) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, rule, text)) return 0;
  common::TextWriter writer;
  const std::size_t written = format(std::string_view(text), writer);
  if (!common::RequireSomething(written == 0, entrada, rule)) return 0;
  return writer.SaveTo(salida) ? 1 : 0;
}

}  // namespace viaducto
