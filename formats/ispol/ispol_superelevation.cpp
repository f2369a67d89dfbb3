// Ispol superelevation table.
#include "formats/ispol/ispol.h"

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {
std::vector<SuperelevationRecord> ParseIspolSuperelevation(std::string_view text) {
  std::vector<SuperelevationRecord> records;
  common::LineReader reader(text);
  std::string_view line;
  if (!reader.Next(line)) return records;  // the header
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (!line.empty() && line.front() == '#') continue;
    // The line feed is dropped first so that a trailing blank never reads as an empty fall.
    const std::size_t count = common::SplitTokens(common::WithoutLineFeed(line), "\t ", fields);
    if (count < 3) continue;
    SuperelevationRecord record;
    record.station = common::LenientDouble(fields[1]);
    if (count >= 5) {
      record.first = common::LenientDouble(fields[4]);
    } else if (count == 4) {
      record.first = common::LenientDouble(fields[3]);
    }
    record.second = -common::LenientDouble(fields[2]);
    records.push_back(record);
  }
  return records;
}

int ImportIspolSuperelevation(const std::string& entrada, const std::string& salida) {
  return ImportSuperelevation(entrada, salida, ParseIspolSuperelevation);
}

}  // namespace viaducto
