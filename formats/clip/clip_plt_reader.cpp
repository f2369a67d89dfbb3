#include "formats/clip/clip_plt_reader.h"

#include "formats/native/alignment_fields.h"
#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {
namespace {

using Alignment = std::vector<AlignmentElement>;

bool SplitPoint(std::string_view line, std::vector<std::string_view>& fields, AlignmentElement& point) {
  if (line.size() <= 9 || line.front() == '*' || line.front() == '#') return false;
  if (SplitTokens(line, "\t ,", fields) < 6) return false;
  double* const values[] = {&point.station, &point.x, &point.y, &point.azimuth, &point.radius, &point.parameter};
  for (int i = 0; i < 6; ++i) *values[i] = LenientDouble(fields[i]);
  return true;
}

bool ScanPoint(std::string_view line, AlignmentElement& point) {
  if (line.empty()) return false;
  ScannedFields scan(line);
  double* const values[] = {&point.station, &point.x, &point.y, &point.azimuth, &point.radius, &point.parameter};
  for (int i = 0; i < 6; ++i) {
    if (i > 0 && !scan.Literal(',')) return false;
    if (!scan.Double(*values[i])) return false;
  }
  return true;
}

// Of two consecutive records at exactly one station the first goes; the walk then steps past
// the one that stayed, so of three equal stations two remain.
Alignment WithoutRepeatedStations(const Alignment& records) {
  Alignment kept;
  kept.reserve(records.size());
  std::size_t i = 0;
  while (i < records.size()) {
    if (i + 1 < records.size() && records[i].station == records[i + 1].station) {
      kept.push_back(records[i + 1]);
      i += 2;
    } else {
      kept.push_back(records[i]);
      ++i;
    }
  }
  return kept;
}

// A clothoid that starts where the radius changes sign gets a zero-length straight before it,
// at the inflection point.
Alignment WithInflectionStraights(const Alignment& records) {
  Alignment out;
  out.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i > 0 && records[i - 1].radius * records[i].radius < 0 && records[i].parameter != 0) {
      AlignmentElement straight = records[i];
      straight.radius = 0;
      straight.parameter = 0;
      straight.length = 0;
      out.push_back(straight);
    }
    out.push_back(records[i]);
  }
  return out;
}

}  // namespace

std::vector<AlignmentElement> ParseClipPlt(std::string_view text, const ClipPltRule& rule) {
  Alignment records;
  LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    const std::string_view line = WithoutLineFeed(piece);
    AlignmentElement point;
    const bool read =
        rule.points == ClipPltPoints::kSplitFields ? SplitPoint(line, fields, point) : ScanPoint(line, point);
    if (read) records.push_back(point);
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    const bool last = i + 1 == records.size();
    records[i].radius = last ? 0.0 : records[i + 1].radius;
    records[i].parameter = last ? 0.0 : records[i + 1].parameter;
  }
  SetLengthsFromStations(records);
  if (rule.tidyStations) records = WithInflectionStraights(WithoutRepeatedStations(records));
  SetKindsFromValues(records);
  if (rule.tidyStations) {
    for (std::size_t i = 1; i < records.size(); ++i) {
      if (records[i].station < records[i - 1].station) records[i].station = records[i - 1].station;
    }
  }
  return records;
}

}  // namespace common
