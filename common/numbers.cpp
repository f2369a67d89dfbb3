#include "common/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>

#include "common/export_guard.h"

namespace common {
namespace {

// The blanks strtod skips in the "C" locale.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// strtod needs a terminated text; most fields fit on the stack.
double StrtodOf(std::string_view text) {
  char small[128];
  if (text.size() < sizeof small) {
    if (!text.empty()) std::memcpy(small, text.data(), text.size());
    small[text.size()] = '\0';
    return strtod_l(small, nullptr, CLocaleHandle());
  }
  const std::string copy(text);
  return strtod_l(copy.c_str(), nullptr, CLocaleHandle());
}

}  // namespace

// from_chars gives the correctly rounded double, as strtod does, without its locale and copy.
// It knows neither the leading blanks and "+" nor hexadecimal numbers, and leaves the value
// alone when the result is out of range: those rare texts go to strtod itself, so every text
// reads as the same double either way.
double LenientDouble(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && IsBlank(*p)) ++p;
  if (p == end) return 0.0;
  const char* number = p;
  if (*number == '+') {
    ++number;
    if (number != end && *number == '-') return 0.0;  // "+-1" is no number
  }
  const char* digits = number != end && *number == '-' ? number + 1 : number;
  if (digits + 1 < end && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    return FiniteOrZero(StrtodOf(text));
  }
  double value = 0.0;
  const std::from_chars_result read = std::from_chars(number, end, value);
  if (read.ec == std::errc::result_out_of_range) return FiniteOrZero(StrtodOf(text));
  if (read.ec != std::errc()) return 0.0;
  return FiniteOrZero(value);
}

// strtoll's rules (blanks, one sign, decimal digits, saturation) clamped to the 32-bit range.
int LenientInt(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end && IsBlank(*p)) ++p;
  bool negative = false;
  if (p != end && (*p == '+' || *p == '-')) {
    negative = *p == '-';
    ++p;
  }
  long long magnitude = 0;
  for (; p != end && *p >= '0' && *p <= '9'; ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1) {
      return negative ? INT_MIN : INT_MAX;
    }
  }
  const long long value = negative ? -magnitude : magnitude;
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
