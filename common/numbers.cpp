#include "common/numbers.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
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

// A plain decimal ("-12.345", "600", ".5") of at most 19 digits and no exponent, whose digits
// as an integer m need no rounding (m <= 2^53) and whose decimals k are at most 22: then
// m and 10^k are exact doubles and one correctly rounded division gives the correctly rounded
// value, the same double strtod gives, without the general algorithm. Anything else answers
// false and is read the general way.
bool ReadPlainDecimal(const char* p, const char* end, double& value) {
  const bool negative = p != end && *p == '-';
  if (negative) ++p;
  uint64_t digits = 0;
  int count = 0;
  int decimals = 0;
  for (; p != end && *p >= '0' && *p <= '9'; ++p, ++count) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
  if (p != end && *p == '.') {
    for (++p; p != end && *p >= '0' && *p <= '9'; ++p, ++count, ++decimals) {
      digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  if (count == 0 || count > 19 || decimals > 22 || digits > (uint64_t{1} << 53)) return false;
  if (p != end && (*p == 'e' || *p == 'E')) return false;
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const double magnitude = static_cast<double>(digits) / kPowersOfTen[decimals];
  value = negative ? -magnitude : magnitude;
  return true;
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
  if (ReadPlainDecimal(number, end, value)) return value;
  const std::from_chars_result read = std::from_chars(number, end, value);
  if (read.ec == std::errc::result_out_of_range) return FiniteOrZero(StrtodOf(text));
  if (read.ec != std::errc()) return 0.0;
  return FiniteOrZero(value);
}

// strtoll's rules (blanks, one sign, decimal digits, saturation) clamped to the 32-bit range.
int LenientIntInFull(std::string_view text) {
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
