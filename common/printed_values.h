// Values as a text file gives them back: what a lenient reader reads from a number written
// with a fixed count of decimals. The two-stage conversions carry their records on in this
// form, so the second stage sees what it would see reading the first stage's file.
#pragma once

#include <string>

namespace common {

// The value written with "%.<decimals>f" and read back with LenientDouble (a value that is
// not finite reads as 0).
double AsPrinted(double value, int decimals);

// One line formatted as TextWriter writes it and text-mode reading delivers it: printf in the
// "C" locale, line ends as written.
std::string FormattedLine(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace common
