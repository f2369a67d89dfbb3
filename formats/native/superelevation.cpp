// The native superelevation file (*.per), and the conversion of a table into it.
#include "formats/native/superelevation.h"

#include "common/conversion.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {
std::vector<SuperelevationRecord> ParseNativeSuperelevation(std::string_view text) {
  std::vector<SuperelevationRecord> records;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (common::SplitTokens(line, " \t\n", fields) < 3) continue;
    records.push_back({common::LenientDouble(fields[0]), common::LenientDouble(fields[1]),
                       common::LenientDouble(fields[2])});
  }
  return records;
}

void FormatNativeSuperelevation(const std::vector<SuperelevationRecord>& records, common::TextWriter& writer) {
  // A fall of 0 negated is -0: written as "0.000", never "-0.000".
  for (const SuperelevationRecord& r : records) {
    writer.Printf("%8.3lf %6.3lf %6.3lf\n", r.station, common::PrintableZero(r.first, 3),
                  common::PrintableZero(r.second, 3));
  }
}

int ImportSuperelevation(const std::string& entrada, const std::string& salida, SuperelevationParser parse) {
  constexpr common::ConversionRule kSuperelevationTable{"una tabla de peraltes", "ningún peralte"};
  return common::ConvertFile(entrada, salida, kSuperelevationTable, parse, FormatNativeSuperelevation);
}

}  // namespace viaducto
