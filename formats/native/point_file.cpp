#include "formats/native/point_file.h"

#include "common/numbers.h"
#include "common/tokens.h"

namespace common {
namespace {
constexpr std::string_view kSeparators = " \t,";
}  // namespace

bool ParsePointLine(std::string_view piece, PointCodeRule rule, PointLine& point) {
  return ParsePointLine(piece, rule, kSeparators, point);
}

bool ParsePointLine(std::string_view piece, PointCodeRule rule, std::string_view separators, PointLine& point) {
  // The line end is never part of a field: a line of three numbers and a trailing blank is
  // still a line of three fields.
  Tokenizer fields(WithoutLineFeed(piece));
  std::string_view x, y, z;
  if (!fields.Next(separators, point.number) || !fields.Next(separators, x) || !fields.Next(separators, y) ||
      !fields.Next(separators, z)) {
    return false;
  }
  point.x = LenientDouble(x);
  point.y = LenientDouble(y);
  point.z = LenientDouble(z);
  if (rule == PointCodeRule::kRestOfLine) {
    point.code = fields.Rest();
  } else if (!fields.Next(separators, point.code)) {
    point.code = std::string_view();
  }
  return true;
}

NativePoint ToNativePoint(const PointLine& line) {
  NativePoint point;
  point.number = LenientInt(line.number);
  point.x = line.x;
  point.y = line.y;
  point.z = line.z;
  point.code.assign(line.code.data(), line.code.size());
  return point;
}

bool ReadPointFile(const std::string& path, PointCodeRule rule, std::vector<NativePoint>& points) {
  points.clear();
  std::string text;
  if (!LoadTextFile(path, text)) return false;
  ForEachPointLine(text, rule, [&](const PointLine& line) { points.push_back(ToNativePoint(line)); });
  return true;
}

void WriteFullPointLine(TextWriter& out, int32_t number, double x, double y, double z, std::string_view code) {
  out.Printf("%5d %11.3lf %11.3lf %8.3lf %.*s\n", number, x, y, z, static_cast<int>(code.size()), code.data());
}

void WriteShortPointLine(TextWriter& out, int32_t number, double x, double y, double z) {
  out.Printf("\n%d %0.3lf %0.3lf %0.3lf", number, x, y, z);
}

}  // namespace common
