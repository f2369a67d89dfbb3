#include "formats/mxroad/mxroad_sections_reader.h"

#include <string>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {
namespace {

CrossSectionPoint MosPoint(double station, std::string_view offset, std::string_view elevation) {
  return CrossSectionPoint{station, LenientDouble(offset), LenientDouble(elevation), "MOS"};
}

class ListingLines {
 public:
  ListingLines(std::string_view text, bool readsUnendedLastLine) : reader_(text), readsUnended_(readsUnendedLastLine) {}

  bool Next(std::string_view& line) { return reader_.Next(line) && (readsUnended_ || !reader_.AtEnd()); }

 private:
  LineReader reader_;
  bool readsUnended_;
};

bool ReadSectionLine(std::string_view line, const MxRoadSectionsRule& rule, std::vector<std::string_view>& fields,
                     double& station, int& count) {
  if (rule.shortestSectionLine > 0) {
    if (line.size() < rule.shortestSectionLine) return false;
    Tokenizer header(line);
    std::string_view stationField, countField;
    if (!header.Next(" \t", stationField) || !header.Next(" \t", countField)) return false;
    station = LenientDouble(stationField);
    count = LenientInt(countField);
    return true;
  }
  const std::string_view header = WithoutLineFeed(line);
  if (header.empty() || header.front() == ' ' || header.front() == '\t') return false;
  if (SplitTokens(header, " \t", fields) < 2) return false;
  station = LenientDouble(fields[0]);
  count = LenientInt(fields[1]);
  return true;
}

}  // namespace

bool ParseMxRoadSections(std::string_view text, const MxRoadSectionsRule& rule,
                         std::vector<CrossSectionPoint>& points) {
  ListingLines lines(text, rule.readsUnendedLastLine);
  std::string_view line;
  if (rule.skipsHeaderLine && !lines.Next(line)) return true;
  std::vector<std::string_view> fields;
  while (lines.Next(line)) {
    double station = 0;
    int count = 0;
    if (!ReadSectionLine(line, rule, fields, station, count)) continue;
    if (!rule.pairsRunOverLines) {
      for (int i = 0; i < count && lines.Next(line); ++i) {
        if (SplitTokens(WithoutLineFeed(line), " \t", fields) < 2) continue;
        points.push_back(MosPoint(station, fields[0], fields[1]));
      }
      continue;
    }
    int taken = 0;
    while (taken < count && lines.Next(line)) {
      Tokenizer pairs(line);
      std::string_view offset, elevation;
      while (taken < count && pairs.Next(" \n", offset)) {
        if (!pairs.Next(" \n", elevation)) return false;
        points.push_back(MosPoint(station, offset, elevation));
        ++taken;
      }
    }
  }
  return true;
}

}  // namespace common
