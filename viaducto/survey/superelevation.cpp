#include "viaducto/survey/superelevation.h"

#include "common/conversion.h"

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

namespace {

using TableParser = std::vector<SuperelevationRecord> (*)(std::string_view);

int ConvertSuperelevation(const std::string& entrada, const std::string& salida, TableParser parse) {
  constexpr common::ConversionRule kSuperelevationTable{"una tabla de peraltes", "ningún peralte"};
  return common::ConvertFile(entrada, salida, kSuperelevationTable, parse, FormatNativeSuperelevation);
}

}  // namespace

int ConvertIspolSuperelevation(const std::string& entrada, const std::string& salida) {
  return ConvertSuperelevation(entrada, salida, ParseIspolSuperelevation);
}

int ConvertClipSuperelevation(const std::string& entrada, const std::string& salida) {
  return ConvertSuperelevation(entrada, salida, ParseClipSuperelevation);
}

}  // namespace viaducto
