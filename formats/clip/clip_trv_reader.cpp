#include "formats/clip/clip_trv_reader.h"

#include <string>

#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {
namespace {

// The offset before a section's first point, as far left as no section reaches.
constexpr double kNoOffset = -100000000.0;

bool IsEmptyLine(std::string_view line) { return line.empty() || line == "\n"; }

class TrvLines {
 public:
  TrvLines(std::string_view text, bool readsUnendedLastLine) : reader_(text), readsUnended_(readsUnendedLastLine) {}

  bool Next(std::string_view& line) { return reader_.Next(line) && (readsUnended_ || !reader_.AtEnd()); }

 private:
  LineReader reader_;
  bool readsUnended_;
};

// Skips the heading; false when it is refused. `pending` is set when the first line read is a
// section line already.
bool SkipHeading(TrvLines& lines, const ClipTrvRule& rule, std::string_view& pending, bool& hasPending) {
  std::string_view line;
  hasPending = false;
  if (rule.headingAlwaysThere) return lines.Next(line) && lines.Next(line);
  while (lines.Next(line)) {
    if (IsEmptyLine(line)) continue;
    if (line.front() != '*') {
      pending = line;
      hasPending = true;
      return true;
    }
    if (line.size() < 4 || !EqualsIgnoringCase(line.substr(0, 4), "*TRV")) return false;
    lines.Next(line);  // the title under the heading
    return true;
  }
  return true;
}

bool ReadSectionLine(std::string_view line, const ClipTrvRule& rule, double& station, int& count) {
  if (rule.scannedSectionLines) {
    ScannedFields fields(line);
    return fields.Double(station) && fields.Literal(',') && fields.Int(count);
  }
  const std::string_view header = WithoutLineFeed(line);
  const std::size_t comma = header.find(',');
  station = LenientDouble(header.substr(0, comma));
  count = comma == std::string_view::npos ? 0 : LenientInt(header.substr(comma + 1));
  return true;
}

}  // namespace

bool ParseClipTrv(std::string_view text, const ClipTrvRule& rule, std::vector<CrossSectionPoint>& points) {
  TrvLines lines(text, rule.readsUnendedLastLine);
  std::string_view line;
  bool hasPending = false;
  if (!SkipHeading(lines, rule, line, hasPending)) return false;
  while (hasPending || lines.Next(line)) {
    hasPending = false;
    double station = 0;
    int count = 0;
    if (!ReadSectionLine(line, rule, station, count)) continue;
    double previousOffset = kNoOffset;
    for (int i = 0; i < count && lines.Next(line); ++i) {
      // With the code in the third field, the line feed ends the last field read.
      Tokenizer fields(rule.codeIsRestOfLine ? WithoutLineFeed(line) : line);
      std::string_view offsetField, elevationField;
      if (!fields.Next(",", offsetField) || !fields.Next(",", elevationField)) continue;
      CrossSectionPoint point;
      point.station = station;
      point.offset = LenientDouble(offsetField);
      point.elevation = LenientDouble(elevationField);
      if (rule.codeIsRestOfLine) {
        point.code.assign(fields.Rest());
      } else {
        std::string_view code;
        if (fields.Next(",", code)) point.code.assign(WithoutLineFeed(code));
      }
      if (rule.dropsRepeatedOffsets) {
        if (point.offset == previousOffset) continue;
        previousOffset = point.offset;
      }
      points.push_back(std::move(point));
    }
  }
  return true;
}

}  // namespace common
