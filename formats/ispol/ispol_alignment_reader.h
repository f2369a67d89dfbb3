// The Ispol alignment listing, read by both libraries: "#" comment lines, a line with the
// start station, then one element per line (type, length, x, y, two unused fields, azimuth,
// radius or parameter) up to the next "#" line. Types: 1 straight (no value field), 2 and 3
// arcs turning clockwise and counter-clockwise, 4 to 7 clothoids; 4 and 7 lead into the
// element after them and take its radius. Stations run from the start by the lengths.
#pragma once

#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

// Where the element list ends.
enum class IspolListEnd {
  kCommentAfterFirstElementLine,  // the first "#" after the first line past the start station
  kCommentAfterFirstElement,      // the first "#" once an element has been read
};

std::vector<AlignmentElement> ParseIspolAlignment(std::string_view text, IspolListEnd end);

}  // namespace common
