// The reader of the native alignment file (*.eje): one element start per line, six numbers:
// station, x, y, azimuth, clothoid parameter, radius; the last line is the end point. Both road
// libraries read it, each with its rule for comment lines and field separators.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

// What tells the readers apart.
struct NativeAlignmentRule {
  bool skipCommentLines;  // lines that begin with "*"
  // What separates the first five fields, and what ends the sixth.
  std::string_view leadingFieldDelimiters = " \t\n";
  std::string_view lastFieldDelimiters = " \t\n";
};

struct NativeAlignment {
  std::vector<AlignmentElement> elements;
  std::size_t lineCount = 0;  // CountLines of the file
  std::size_t capacity = 0;   // three records per counted line: room for split arcs
};

// Parses the text of a native alignment file (line ends already normalised), read in pieces as
// a 256-byte buffer reads them. Pieces with fewer than six fields are skipped; a field that is
// not a number reads as 0. The kind of each record comes from its parameter and radius.
NativeAlignment ParseNativeAlignment(std::string_view text, NativeAlignmentRule rule);

}  // namespace common
