// The native point file: one point per line, number, x, y, z and an optional code. Read by the
// DXF and shapefile converters with one of two rules for the code; written in a full layout
// (with code) or a short one (numbered, without code).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace common {

// How a reader takes the code from a point line.
enum class PointCodeRule {
  kFirstWord,   // the word after z only
  kRestOfLine,  // everything after the single separator that ends z, blanks included
};

// One point line as read, with the number and code still as they stand in the text.
struct PointLine {
  std::string_view number;
  double x = 0;
  double y = 0;
  double z = 0;
  std::string_view code;
};

// Fields are separated by runs of blanks, tabs and commas; coordinates read leniently. False
// for a line of fewer than four fields (a blank line included).
bool ParsePointLine(std::string_view piece, PointCodeRule rule, PointLine& point);

// The same for readers whose fields are separated by runs of `separators` only (blanks, for
// the import library's readers).
bool ParsePointLine(std::string_view piece, PointCodeRule rule, std::string_view separators, PointLine& point);
inline constexpr std::string_view kBlankSeparated = " ";

// Calls `visit(const PointLine&)` for every point line of `text` (line ends already reduced to
// LF), read in the pieces a 256-byte line buffer gives: a longer line counts as several.
template <typename Visit>
void ForEachPointLine(std::string_view text, PointCodeRule rule, Visit&& visit) {
  LineReader reader(text);
  std::string_view piece;
  PointLine point;
  while (reader.Next(piece)) {
    if (ParsePointLine(piece, rule, point)) visit(static_cast<const PointLine&>(point));
  }
}

// The same with fields separated by runs of `separators` only.
template <typename Visit>
void ForEachPointLine(std::string_view text, PointCodeRule rule, std::string_view separators, Visit&& visit) {
  LineReader reader(text);
  std::string_view piece;
  PointLine point;
  while (reader.Next(piece)) {
    if (ParsePointLine(piece, rule, separators, point)) visit(static_cast<const PointLine&>(point));
  }
}

// The record of a line: the number by its leading digits.
NativePoint ToNativePoint(const PointLine& line);

// Every point of the file at `path`. False when it cannot be read.
bool ReadPointFile(const std::string& path, PointCodeRule rule, std::vector<NativePoint>& points);

// "%5d %11.3lf %11.3lf %8.3lf %s\n": an empty code leaves the line ending in a blank.
void WriteFullPointLine(TextWriter& out, int32_t number, double x, double y, double z, std::string_view code);
inline void WriteFullPointLine(TextWriter& out, const NativePoint& point) {
  WriteFullPointLine(out, point.number, point.x, point.y, point.z, point.code);
}

// "\n%d %0.3lf %0.3lf %0.3lf": the line end comes before the point, so such a file starts with
// an empty line and its last line has no line end.
void WriteShortPointLine(TextWriter& out, int32_t number, double x, double y, double z);

}  // namespace common
