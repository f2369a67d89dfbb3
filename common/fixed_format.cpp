#include "common/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace common {
namespace {

// Doubles need at most 309 integer digits; beyond this many decimals printf does the work.
constexpr int kMostDecimals = 60;

// Collects formatted text on the stack and hands it to the string in few large appends: a
// line of many short fields costs one append, not one per field.
class Sink {
 public:
  explicit Sink(std::string& out) : out_(out) {}
  ~Sink() { Flush(); }
  Sink(const Sink&) = delete;
  Sink& operator=(const Sink&) = delete;

  void Append(const char* text, std::size_t length) {
    if (length > sizeof buffer_ - used_) {
      Flush();
      if (length > sizeof buffer_) {
        out_.append(text, length);
        return;
      }
    }
    std::memcpy(buffer_ + used_, text, length);
    used_ += length;
  }

  void Fill(char c, std::size_t count) {
    if (count > sizeof buffer_ - used_) {
      Flush();
      if (count > sizeof buffer_) {
        out_.append(count, c);
        return;
      }
    }
    std::memset(buffer_ + used_, c, count);
    used_ += count;
  }

  void Flush() {
    out_.append(buffer_, used_);
    used_ = 0;
  }

  // Forgets what has not been handed over yet.
  void Drop() { used_ = 0; }

 private:
  std::string& out_;
  char buffer_[512];
  std::size_t used_ = 0;
};

void AppendPadded(Sink& out, const char* text, std::size_t length, int width, bool left, bool zeros) {
  const std::size_t padding = width > 0 && static_cast<std::size_t>(width) > length ? width - length : 0;
  if (padding == 0) {
    out.Append(text, length);
  } else if (left) {
    out.Append(text, length);
    out.Fill(' ', padding);
  } else if (zeros) {
    // Zeros go between the sign and the digits.
    const std::size_t sign = length > 0 && text[0] == '-' ? 1 : 0;
    out.Append(text, sign);
    out.Fill('0', padding);
    out.Append(text + sign, length - sign);
  } else {
    out.Fill(' ', padding);
    out.Append(text, length);
  }
}

void AppendFixedFlags(Sink& out, double value, int width, int decimals, bool left, bool zeros) {
  if (!std::isfinite(value) || decimals > kMostDecimals) {
    // Rare: let printf write it ("inf", "-nan", or a very long fraction).
    char conversion[32];
    std::snprintf(conversion, sizeof conversion, "%%%s%s%d.%df", left ? "-" : "", zeros ? "0" : "", width, decimals);
    const int needed = std::snprintf(nullptr, 0, conversion, value);
    if (needed <= 0) return;
    std::string text(static_cast<std::size_t>(needed) + 1, '\0');
    std::snprintf(&text[0], text.size(), conversion, value);
    out.Append(text.data(), static_cast<std::size_t>(needed));
    return;
  }
  char digits[400];
  const std::to_chars_result written =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  AppendPadded(out, digits, static_cast<std::size_t>(written.ptr - digits), width, left, zeros);
}

void AppendInteger(Sink& out, long long value, int width, bool left, bool zeros) {
  char digits[24];
  const std::to_chars_result written = std::to_chars(digits, digits + sizeof digits, value);
  AppendPadded(out, digits, static_cast<std::size_t>(written.ptr - digits), width, left, zeros);
}

}  // namespace

void AppendFixed(std::string& out, double value, int width, int decimals) {
  Sink sink(out);
  AppendFixedFlags(sink, value, width, decimals, false, false);
}

bool AppendFormatted(std::string& text, const char* format, va_list args) {
  const std::size_t start = text.size();
  Sink out(text);
  const char* p = format;
  for (;;) {
    const char* percent = std::strchr(p, '%');
    if (percent == nullptr) {
      out.Append(p, std::strlen(p));
      return true;
    }
    out.Append(p, static_cast<std::size_t>(percent - p));
    p = percent + 1;
    if (*p == '%') {
      out.Append("%", 1);
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
      out.Drop();
      text.resize(start);
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
    out.Drop();
    text.resize(start);
    return false;
  }
}

}  // namespace common
