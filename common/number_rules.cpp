#include "common/number_rules.h"

#include <cstring>
#include <string>

#include "common/numbers.h"
#include "common/tokens.h"

namespace common {
namespace {

// The text read with its first comma taken as the decimal point.
double WithCommaAsPoint(std::string_view text, std::size_t comma) {
  char small[128];
  if (text.size() > sizeof small) {
    std::string copy(text);
    copy[comma] = '.';
    return LenientDouble(copy);
  }
  std::memcpy(small, text.data(), text.size());
  small[comma] = '.';
  return LenientDouble(std::string_view(small, text.size()));
}

}  // namespace

double LeeDecimal(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return LenientDouble(text);
  if (text.substr(0, comma).find('.') != std::string_view::npos) return LenientDouble(text);
  return WithCommaAsPoint(text, comma);
}

double LeeNumeroComa(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (text.size() <= 1 || comma == std::string_view::npos) return LenientDouble(text);
  return WithCommaAsPoint(text, comma);
}

double LeeEstacion(std::string_view text) {
  if (text.find('+') == std::string_view::npos && text.find('-') == std::string_view::npos) {
    return LeeNumeroComa(text);
  }
  // Fields as strtok gives them: a leading "+" is no separator of an empty kilometre part.
  Tokenizer fields(text);
  std::string_view kilometres;
  if (!fields.Next("+", kilometres)) return 0.0;
  const double start = LenientDouble(kilometres) * 1000.0;
  std::string_view metres;
  if (!fields.Next("+", metres)) return start;
  const double rest = LeeNumeroComa(metres);
  return kilometres.front() == '-' ? start - rest : start + rest;
}

int SignoTolerante(double value) {
  if (value < -0.001) return -1;
  if (value > 0.001) return 1;
  return 0;
}

}  // namespace common
