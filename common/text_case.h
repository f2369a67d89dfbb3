// Comparing keywords and names without regard to letter case: only the ASCII letters fold, as
// in the "C" locale, so names with accented bytes compare byte for byte.
#pragma once

#include <string>
#include <string_view>

namespace common {

inline char LowerAsciiChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAsciiChar(c);
  return lower;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
  }
  return true;
}

// Whether `text` holds `part`, ASCII letters compared without regard to case.
inline bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return LowerAscii(text).find(LowerAscii(part)) != std::string::npos;
}

}  // namespace common
