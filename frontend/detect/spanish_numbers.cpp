#include "frontend/detect/spanish_numbers.h"

#include <cmath>
#include <cstdio>

namespace detect {
namespace {

// Digits grouped by three from the right with a blank between groups.
std::string GroupDigits(const std::string& digits) {
  std::string grouped;
  const std::size_t count = digits.size();
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0 && (count - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

std::string SpanishCount(long long count) {
  const bool negative = count < 0;
  const unsigned long long magnitude =
      negative ? 0ULL - static_cast<unsigned long long>(count) : static_cast<unsigned long long>(count);
  return (negative ? "-" : "") + GroupDigits(std::to_string(magnitude));
}

std::string SpanishDecimal(double value, int decimals) {
  if (!std::isfinite(value)) return "—";
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals < 0 ? 0 : decimals, std::fabs(value));
  std::string written = text;
  const std::size_t dot = written.find('.');
  const std::string whole = dot == std::string::npos ? written : written.substr(0, dot);
  std::string result = GroupDigits(whole);
  if (dot != std::string::npos) result += "," + written.substr(dot + 1);
  // A value that rounds to zero is written without a sign.
  const bool shownNegative = value < 0 && result.find_first_not_of("0, ") != std::string::npos;
  return (shownNegative ? "-" : "") + result;
}

}  // namespace detect
