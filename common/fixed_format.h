// printf's fixed-point and integer conversions without the C library's formatting: the same
// bytes as printf in the "C" locale, digits from std::to_chars (exact, ties to even on the
// binary value, as printf rounds).
#pragma once

#include <cstdarg>
#include <string>

namespace common {

// Appends `value` as printf's "%<width>.<decimals>f" formats it: right-aligned in `width`
// blanks, "-" kept on a negative value that rounds to zero ("-0.000"), non-finite values as
// printf writes them.
void AppendFixed(std::string& out, double value, int width, int decimals);

// Appends `format` with `args` as vsnprintf formats it in the "C" locale. The conversions
// d i s f with the flags "-" and "0", a width, a precision ("*" allowed) and the sizes l ll
// are formatted here; a format with anything else returns false, with `out` as it was and
// `args` partly consumed (format with a copy of them then).
bool AppendFormatted(std::string& out, const char* format, va_list args);

}  // namespace common
