// The tokenising line reader of the importers: the input is loaded whole, then handed out line
// by line (at most 255 characters, as a 256-byte buffer reads it) and each line token by token.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {

class LectorLineas {
 public:
  LectorLineas() = default;
  LectorLineas(const LectorLineas&) = delete;  // the line and its tokens point into the text
  LectorLineas& operator=(const LectorLineas&) = delete;

  // Loads `path`; its tokens are separated by any character of `delimiters`. False, and the
  // error count set to 1, when the file cannot be read.
  bool Open(const std::string& path, std::string_view delimiters);

  // The same on the text of a file already loaded (line ends normalised).
  void OpenText(std::string text, std::string_view delimiters);

  // The next line without its line feed; false at the end or when nothing is open.
  bool NextLine();

  // The tokens of the current line, whatever has been taken from it already.
  std::size_t TokenCount() const;

  // The next token of the current line; at the end of the line the error count grows.
  bool NextToken(std::string_view& token);

  bool GetInt(int& value);          // a decimal integer
  bool GetDouble(double& value);    // a real; a token that is no number gives 0
  bool GetDecimal(double& value);   // a real with the decimal-comma rule (LeeDecimal)
  bool GetString(std::string& value);

  void Close();

  int ErrorCount() const { return errors_; }
  std::string_view Line() const { return line_; }

 private:
  std::string text_;
  std::string delimiters_;
  std::optional<common::LineReader> reader_;
  std::string_view line_;
  common::Tokenizer tokens_{std::string_view()};
  int errors_ = 0;
};

}  // namespace calzada
