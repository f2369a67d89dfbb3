#include "common/numbers.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

#include "common/export_guard.h"

namespace common {
namespace {

// strtod needs a terminated text; most fields fit on the stack.
template <typename Convert>
auto WithTerminatedCopy(std::string_view text, Convert convert) {
  char small[128];
  if (text.size() < sizeof small) {
    if (!text.empty()) std::memcpy(small, text.data(), text.size());
    small[text.size()] = '\0';
    return convert(small);
  }
  const std::string copy(text);
  return convert(copy.c_str());
}

}  // namespace

double LenientDouble(std::string_view text) {
  const double value = WithTerminatedCopy(text, [](const char* s) { return strtod_l(s, nullptr, CLocaleHandle()); });
  return std::isfinite(value) ? value : 0.0;
}

int LenientInt(std::string_view text) {
  const long long value = WithTerminatedCopy(text, [](const char* s) { return strtoll_l(s, nullptr, 10, CLocaleHandle()); });
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace common

namespace common {

double FiniteOrZero(double value) { return std::isfinite(value) ? value : 0.0; }

double PrintableZero(double value, int decimals) {
  const double halfUnit = 0.5 * std::pow(10.0, -decimals);
  return std::fabs(value) < halfUnit ? 0.0 : value;
}

}  // namespace common
