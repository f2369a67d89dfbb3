// Reading a line the way sscanf reads it: numbers in order, blanks skipped before each, a
// literal character that must come next, and a count of what matched. For layouts given as
// scanf formats ("%lf , %lf", "%d %d %lf"), where a field that is not a number ends the match.
#pragma once

#include <string>
#include <string_view>

namespace common {

class ScannedFields {
 public:
  // Keeps its own copy of `line`, so a number is never read past the line's end.
  explicit ScannedFields(std::string_view line) : text_(line) {}

  // "%lf": skips white space, then reads a number with "." as the decimal point. False, and
  // nothing consumed, when no number stands there; a value that is not finite reads as 0.
  bool Double(double& value);

  // "%d": skips white space, then reads a decimal integer (clamped to 32 bits).
  bool Int(int& value);

  // A literal in the format: skips white space, then consumes `c` when it comes next.
  bool Literal(char c);

 private:
  void SkipSpace();

  std::string text_;
  std::size_t position_ = 0;
};

}  // namespace common
