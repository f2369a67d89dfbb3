#include "common/scanned_fields.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "common/export_guard.h"

namespace common {

void ScannedFields::SkipSpace() {
  while (position_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[position_]))) ++position_;
}

bool ScannedFields::Double(double& value) {
  SkipSpace();
  const char* start = text_.c_str() + position_;
  char* end = nullptr;
  const double read = strtod_l(start, &end, CLocaleHandle());
  if (end == start) return false;
  position_ += static_cast<std::size_t>(end - start);
  value = std::isfinite(read) ? read : 0.0;
  return true;
}

bool ScannedFields::Int(int& value) {
  SkipSpace();
  const char* start = text_.c_str() + position_;
  char* end = nullptr;
  const long long read = strtoll_l(start, &end, 10, CLocaleHandle());
  if (end == start) return false;
  position_ += static_cast<std::size_t>(end - start);
  value = read > INT_MAX ? INT_MAX : read < INT_MIN ? INT_MIN : static_cast<int>(read);
  return true;
}

bool ScannedFields::Literal(char c) {
  SkipSpace();
  if (position_ >= text_.size() || text_[position_] != c) return false;
  ++position_;
  return true;
}

}  // namespace common
