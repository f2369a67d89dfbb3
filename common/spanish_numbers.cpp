#include "common/spanish_numbers.h"

#include <charconv>
#include <cmath>

namespace common {
namespace {

// The digits of a whole part grouped by three from the right.
std::string GroupDigits(const std::string& digits) {
  std::string grouped;
  const std::size_t count = digits.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) grouped += kThousandsSeparator;
    grouped += digits[i];
  }
  return grouped;
}

// Digits, an optional point and decimals as written by `to_chars` (never by the locale) into
// the person's form; `negative` adds the sign unless every digit is zero.
std::string PersonForm(const std::string& written, bool negative) {
  const std::size_t point = written.find('.');
  std::string result = GroupDigits(written.substr(0, point));
  if (point != std::string::npos) result += "," + written.substr(point + 1);
  const bool shownNegative = negative && written.find_first_of("123456789") != std::string::npos;
  return (shownNegative ? "-" : "") + result;
}

}  // namespace

std::string SpanishNumber(double value, int decimals) {
  if (!std::isfinite(value)) return "—";
  char text[400];
  const auto written = std::to_chars(text, text + sizeof text, std::fabs(value), std::chars_format::fixed,
                                     decimals < 0 ? 0 : decimals > 12 ? 12 : decimals);
  if (written.ec != std::errc()) return "—";
  return PersonForm(std::string(text, written.ptr), value < 0);
}

std::string SpanishFormat(const char* format, std::initializer_list<double> values) {
  std::string text;
  auto next = values.begin();
  for (const char* c = format; *c != '\0'; ++c) {
    if (c[0] == '%' && c[1] == '%') {
      text += '%';
      ++c;
      continue;
    }
    if (c[0] == '%' && c[1] == '.' && c[2] >= '0' && c[2] <= '9' && c[3] == 'f') {
      text += next != values.end() ? SpanishNumber(*next++, c[2] - '0') : std::string("?");
      c += 3;
      continue;
    }
    text += *c;
  }
  return text;
}

std::string SpanishCount(long long count) {
  const unsigned long long magnitude =
      count < 0 ? 0ULL - static_cast<unsigned long long>(count) : static_cast<unsigned long long>(count);
  return PersonForm(std::to_string(magnitude), count < 0);
}

}  // namespace common
