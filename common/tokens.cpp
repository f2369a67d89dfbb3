#include "common/tokens.h"

namespace common {

bool Tokenizer::Next(std::string_view delimiters, std::string_view& token) {
  const std::size_t start = rest_.find_first_not_of(delimiters);
  if (start == std::string_view::npos) {
    rest_ = std::string_view();
    return false;
  }
  const std::size_t end = rest_.find_first_of(delimiters, start);
  if (end == std::string_view::npos) {
    token = rest_.substr(start);
    rest_ = std::string_view();
  } else {
    token = rest_.substr(start, end - start);
    rest_.remove_prefix(end + 1);
  }
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
