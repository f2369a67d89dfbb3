#include "formats/ispol/ispol_alignment_reader.h"

#include <cmath>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {

std::vector<AlignmentElement> ParseIspolAlignment(std::string_view text, IspolListEnd end) {
  std::vector<AlignmentElement> elements;
  std::vector<int> types;
  LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  bool startRead = false;
  bool elementLineSeen = false;
  double station = 0;
  while (reader.Next(piece)) {
    const std::string_view line = WithoutLineFeed(piece);
    if (!line.empty() && line.front() == '#') {
      const bool listStarted = end == IspolListEnd::kCommentAfterFirstElement ? !elements.empty() : elementLineSeen;
      if (listStarted) break;
      continue;
    }
    const std::size_t count = SplitTokens(line, "\t ", fields);
    if (!startRead) {
      station = count > 0 ? LenientDouble(fields[0]) : 0.0;
      startRead = true;
      continue;
    }
    elementLineSeen = true;
    // A straight has no value field: its line ends with the azimuth.
    if (count < 7) continue;
    const int type = LenientInt(fields[0]);
    if (type != 1 && count < 8) continue;
    const double value = type != 1 ? LenientDouble(fields[7]) : 0.0;
    AlignmentElement e;
    e.station = station;
    e.length = LenientDouble(fields[1]);
    e.x = LenientDouble(fields[2]);
    e.y = LenientDouble(fields[3]);
    e.azimuth = std::fabs(LenientDouble(fields[6]));
    if (type == 2) e.radius = value;
    if (type == 3) e.radius = -value;
    if (type >= 4 && type <= 7) e.parameter = value;
    e.kind = type == 1 ? kStraight : (type == 2 || type == 3) ? kArc : kClothoid;
    station += e.length;
    elements.push_back(e);
    types.push_back(type);
  }
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    if (types[i] == 4 || types[i] == 7) elements[i].radius = elements[i + 1].radius;
  }
  return elements;
}

}  // namespace common
