// Field splitting with the rules of strtok: runs of delimiter characters separate fields and
// empty fields do not exist. Each reader passes its own delimiter set.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace common {

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view text) : rest_(text) {}

  // The next field ended by any character of `delimiters`. As with strtok, the delimiter that
  // ends a field is consumed with it, and each call may pass another delimiter set.
  bool Next(std::string_view delimiters, std::string_view& token);

  // What has not been consumed yet.
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// All fields of `text`, into `tokens` (cleared first). Returns their number.
std::size_t SplitTokens(std::string_view text, std::string_view delimiters,
                        std::vector<std::string_view>& tokens);

}  // namespace common
