// Clip superelevation table.
#include "formats/clip/clip.h"

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {
std::vector<SuperelevationRecord> ParseClipSuperelevation(std::string_view text) {
  std::vector<SuperelevationRecord> records;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    const std::size_t count = common::SplitTokens(common::WithoutLineFeed(line), "\t, ", fields);
    if (count < 2) continue;
    SuperelevationRecord record;
    record.station = common::LenientDouble(fields[0]);
    record.first = common::LenientDouble(fields[1]);
    record.second = -common::LenientDouble(count >= 3 ? fields[2] : fields[1]);
    records.push_back(record);
  }
  return records;
}

int ImportClipSuperelevation(const std::string& entrada, const std::string& salida) {
  return ImportSuperelevation(entrada, salida, ParseClipSuperelevation);
}

}  // namespace viaducto
