#include "common/tokens.h"

#include <cstring>

namespace common {
namespace {

// Readers pass one to a few delimiters: a plain comparison beats a general search per field.
inline bool IsDelimiter(char c, std::string_view delimiters) {
  for (const char delimiter : delimiters) {
    if (c == delimiter) return true;
  }
  return false;
}

}  // namespace

bool Tokenizer::Next(std::string_view delimiters, std::string_view& token) {
  const char* p = rest_.data();
  const char* const end = p + rest_.size();
  while (p != end && IsDelimiter(*p, delimiters)) ++p;
  if (p == end) {
    rest_ = std::string_view();
    return false;
  }
  const char* const start = p;
  if (delimiters.size() == 1) {
    // One delimiter, the usual case: the end of the field is found by the library's search.
    const void* found = std::memchr(p, delimiters[0], static_cast<std::size_t>(end - p));
    p = found != nullptr ? static_cast<const char*>(found) : end;
  } else {
    while (p != end && !IsDelimiter(*p, delimiters)) ++p;
  }
  token = std::string_view(start, static_cast<std::size_t>(p - start));
  // The delimiter that ends the field goes with it.
  rest_ = p == end ? std::string_view() : std::string_view(p + 1, static_cast<std::size_t>(end - p - 1));
  return true;
}

std::size_t SplitTokens(std::string_view text, std::string_view delimiters,
                        std::vector<std::string_view>& tokens) {
  tokens.clear();
  Tokenizer tokenizer(text);
  std::string_view token;
  while (tokenizer.Next(delimiters, token)) tokens.push_back(token);
  return tokens.size();
}

}  // namespace common
