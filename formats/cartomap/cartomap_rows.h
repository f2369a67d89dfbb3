// Rows of the tab-separated Cartomap listings, shared by the alignment and the profile
// readers: lines of up to 499 characters, the line feed removed, fields split at runs of tabs,
// stations written as kilometres "+" metres or as plain numbers.
#pragma once

#include <string_view>
#include <vector>

#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

// "2+125.5" is 2125.5; with a leading minus the metres are subtracted ("-0+20" is -20); a
// minus without "+" reads as 0; otherwise the plain number.
double ReadCartomapStation(std::string_view text);

// Calls `visit(const std::vector<std::string_view>& fields)` for every row of `text`.
template <typename Visit>
void ForEachCartomapRow(std::string_view text, Visit&& visit) {
  constexpr std::size_t kLineBuffer = 500;
  common::LineReader reader(text, kLineBuffer);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    common::SplitTokens(common::WithoutLineFeed(piece), "\t", fields);
    visit(static_cast<const std::vector<std::string_view>&>(fields));
  }
}

}  // namespace viaducto
