#include "common/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace common {
namespace {

// Doubles need at most 309 integer digits; beyond this many decimals printf does the work.
constexpr int kMostDecimals = 60;

void AppendPadded(std::string& out, const char* text, std::size_t length, int width, bool left, bool zeros) {
  const std::size_t padding = width > 0 && static_cast<std::size_t>(width) > length ? width - length : 0;
  if (padding == 0) {
    out.append(text, length);
  } else if (left) {
    out.append(text, length);
    out.append(padding, ' ');
  } else if (zeros) {
    // Zeros go between the sign and the digits.
    const std::size_t sign = length > 0 && text[0] == '-' ? 1 : 0;
    out.append(text, sign);
    out.append(padding, '0');
    out.append(text + sign, length - sign);
  } else {
    out.append(padding, ' ');
    out.append(text, length);
  }
}

void AppendFixedFlags(std::string& out, double value, int width, int decimals, bool left, bool zeros) {
  if (!std::isfinite(value) || decimals > kMostDecimals) {
    // Rare: let printf write it ("inf", "-nan", or a very long fraction).
    char spec[32];
    std::snprintf(spec, sizeof spec, "%%%s%s%d.%df", left ? "-" : "", zeros ? "0" : "", width, decimals);
    const int needed = std::snprintf(nullptr, 0, spec, value);
    if (needed <= 0) return;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(needed) + 1);
    std::snprintf(&out[start], static_cast<std::size_t>(needed) + 1, spec, value);
    out.resize(start + static_cast<std::size_t>(needed));
    return;
  }
  char digits[400];
  const std::to_chars_result written =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  AppendPadded(out, digits, static_cast<std::size_t>(written.ptr - digits), width, left, zeros);
}

void AppendInteger(std::string& out, long long value, int width, bool left, bool zeros) {
  char digits[24];
  const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
  AppendPadded(out, digits, static_cast<std::size_t>(written.ptr - digits), width, left, zeros);
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int decimals) {
  AppendFixedFlags(out, value, width, decimals, false, false);
}

bool AppendFormatted(std::string& out, const char* format, va_list args) {
  const std::size_t start = out.size();
  const char* p = format;
  for (;;) {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      out.append(p);
      return true;
    }
    out.append(p, static_cast<std::size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out.push_back('%');
      ++p;
      continue;
    }
    bool left = false;
    bool zeros = false;
    for (;; ++p) {
      if (*p == '-') {
        left = true;
      } else if (*p == '0') {
        zeros = true;
      } else {
        break;
      }
    }
    int width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
    int precision = -1;
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        precision = va_arg(args, int);
        if (precision < 0) precision = -1;  // as if none was given
        ++p;
      } else {
        precision = 0;
        while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
      }
    }
    int longs = 0;
    while (*p == 'l') {
      ++longs;
      ++p;
    }
    if (width > 4096 || precision > 4096 || longs > 2) {
      out.resize(start);
      return false;
    }
    const bool zeroPadded = zeros && !left;
    switch (*p) {
      case 'd':
      case 'i': {
        if (precision >= 0) break;  // digits with a minimum count: left to printf
        const long long value = longs == 2 ? va_arg(args, long long) : longs == 1 ? va_arg(args, long) : va_arg(args, int);
        AppendInteger(out, value, width, left, zeroPadded);
        ++p;
        continue;
      }
      case 'f': {
        if (longs == 2) break;
        AppendFixedFlags(out, va_arg(args, double), width, precision < 0 ? 6 : precision, left, zeroPadded);
        ++p;
        continue;
      }
      case 's': {
        if (longs != 0 || zeros) break;
        const char* text = va_arg(args, const char*);
        if (text == nullptr) break;  // printf's own way with a null text
        const std::size_t length = precision < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(precision));
        AppendPadded(out, text, length, width, left, false);
        ++p;
        continue;
      }
      default:
        break;
    }
    out.resize(start);
    return false;
  }
}

}  // namespace common
