#include "common/printed_values.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "common/export_guard.h"
#include "common/numbers.h"

namespace common {

double AsPrinted(double value, int decimals) {
  CLocaleScope cLocale;
  char text[512];
  const int needed = std::snprintf(text, sizeof text, "%.*f", decimals, value);
  if (needed >= 0 && static_cast<std::size_t>(needed) < sizeof text) return LenientDouble(text);
  std::vector<char> large(static_cast<std::size_t>(needed) + 1);
  std::snprintf(large.data(), large.size(), "%.*f", decimals, value);
  return LenientDouble(std::string_view(large.data(), static_cast<std::size_t>(needed)));
}

std::string FormattedLine(const char* format, ...) {
  CLocaleScope cLocale;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int needed = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string line;
  if (needed > 0) {
    line.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(line.data(), line.size(), format, copy);
    line.resize(static_cast<std::size_t>(needed));
  }
  va_end(copy);
  return line;
}

}  // namespace common
