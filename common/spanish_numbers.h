// Numbers as the program writes them for a person to read: a decimal comma and the thousands
// set apart by a narrow no-break space, U+202F ("1 660,000", "44 094"), whatever the process
// locale is. Every text a person reads (the desktop program, its messages, the PDF report, the
// text of `info` and `check`) writes its numbers through SpanishNumber; files and --json keep
// the decimal point.
#pragma once

#include <initializer_list>
#include <string>

namespace common {

// The thousands separator, UTF-8: a narrow space that never breaks a line inside a number.
inline constexpr const char* kThousandsSeparator = "\u202F";

// `value` rounded to `decimals` places with a decimal comma and grouped thousands; a value
// that rounds to zero has no sign; "—" for a value that is not finite.
std::string SpanishNumber(double value, int decimals = 0);

// A whole number: the same format, exact for every 64-bit value.
std::string SpanishCount(long long count);
// A text with its numbers in the person's form: each "%.Nf" of `format` is the next of `values`
// through SpanishNumber(value, N), "%%" a percent sign; everything else is copied.
std::string SpanishFormat(const char* format, std::initializer_list<double> values);

// SpanishNumber by its older name.
inline std::string SpanishDecimal(double value, int decimals) { return SpanishNumber(value, decimals); }

}  // namespace common
