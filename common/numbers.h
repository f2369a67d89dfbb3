// Lenient number reading with the rules of atof and atoi: leading blanks skipped, the longest
// leading number taken, the rest ignored, 0 when there is none. Always with "." as the decimal
// point, whatever the process locale.
#pragma once

#include <cstddef>
#include <string_view>

namespace common {

// A value that would not be finite ("inf", "nan", an overflow) reads as 0: no converter may
// carry it into a file another program reads.
double LenientDouble(std::string_view text);

// Out-of-range values are clamped to the 32-bit range.
int LenientIntInFull(std::string_view text);

// The same; the common field (spaces, then up to nine digits) is read inline, since drawings
// and listings hold millions of them.
inline int LenientInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const std::size_t first = i;
  int value = 0;
  for (; i < text.size() && i - first < 9 && static_cast<unsigned char>(text[i] - '0') < 10; ++i) value = value * 10 + (text[i] - '0');
  const bool plain = i > first && (i == text.size() || static_cast<unsigned char>(text[i] - '0') >= 10);
  return plain ? value : LenientIntInFull(text);
}

}  // namespace common

namespace common {

// 0 for a value that is not finite: one that overflowed or is undefined never reaches a file.
double FiniteOrZero(double value);

// 0 for a value that prints as zero with `decimals` decimals, so that no "-0.000" reaches a
// file; any other value unchanged.
double PrintableZero(double value, int decimals);

}  // namespace common
