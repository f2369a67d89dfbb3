// Number rules of the foreign listings that write a decimal comma, or stations as kilometres
// "+" metres. Every rule reads leniently (what is not a number reads as 0) in the "C" locale.
#pragma once

#include <string_view>

namespace common {

// Decimal-comma rule: when the text holds a comma and no full stop stands before it, the first
// comma is the decimal point ("12,5" is 12.5); otherwise the text is read as it stands
// ("1.234,5" is 1.234).
double LeeDecimal(std::string_view text);

// The first comma anywhere is the decimal point; a text of one character, or without a comma,
// is read as it stands.
double LeeNumeroComa(std::string_view text);

// Station text: without "+" and "-" read by LeeNumeroComa. Otherwise the part before the first
// "+" is kilometres and the part after it metres (read by LeeNumeroComa), added, or subtracted
// when the kilometres begin with "-": "2+345,6" is 2345.6, "-1+20" is -1020, "-15.3" is -15300.
double LeeEstacion(std::string_view text);

// -1 below -0.001, 1 above 0.001, 0 in between: a sign that ignores rounding noise.
int SignoTolerante(double value);

}  // namespace common
