#include "common/lector_lineas.h"

#include <utility>

#include "common/number_rules.h"
#include "common/numbers.h"

namespace calzada {

bool LectorLineas::Open(const std::string& path, std::string_view delimiters) {
  Close();
  delimiters_ = std::string(delimiters);
  if (!common::LoadTextFile(path, text_)) {
    errors_ = 1;
    return false;
  }
  reader_.emplace(text_);
  return true;
}

void LectorLineas::OpenText(std::string text, std::string_view delimiters) {
  Close();
  delimiters_ = std::string(delimiters);
  text_ = std::move(text);
  reader_.emplace(text_);
}

bool LectorLineas::NextLine() {
  std::string_view piece;
  if (!reader_ || !reader_->Next(piece)) return false;
  line_ = common::WithoutLineFeed(piece);
  tokens_ = common::Tokenizer(line_);
  return true;
}

std::size_t LectorLineas::TokenCount() const {
  common::Tokenizer copy(line_);
  std::string_view token;
  std::size_t count = 0;
  while (copy.Next(delimiters_, token)) ++count;
  return count;
}

bool LectorLineas::NextToken(std::string_view& token) {
  if (tokens_.Next(delimiters_, token)) return true;
  ++errors_;
  return false;
}

bool LectorLineas::GetInt(int& value) {
  std::string_view token;
  if (!NextToken(token)) return false;
  value = common::LenientInt(token);
  return true;
}

bool LectorLineas::GetDouble(double& value) {
  value = 0;
  std::string_view token;
  if (!NextToken(token)) return false;
  value = common::LenientDouble(token);
  return true;
}

bool LectorLineas::GetDecimal(double& value) {
  std::string_view token;
  if (!NextToken(token)) return false;
  value = common::LeeDecimal(token);
  return true;
}

bool LectorLineas::GetString(std::string& value) {
  std::string_view token;
  if (!NextToken(token)) return false;
  value = std::string(token);
  return true;
}

void LectorLineas::Close() {
  reader_.reset();
  text_.clear();
  line_ = std::string_view();
  tokens_ = common::Tokenizer(std::string_view());
  errors_ = 0;
}

}  // namespace calzada
