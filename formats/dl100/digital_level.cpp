#include "formats/dl100/digital_level.h"

#include "common/conversion.h"
#include "common/listing_conversion.h"

#include <climits>
#include <cmath>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

namespace {


int KindOf(char c) {
  switch (c) {
    case 'g':
      return kFirstBack;
    case 'h':
      return kSecondBack;
    case 'i':
      return kFirstFore;
    case 'j':
      return kSecondFore;
    case 'c':
      return kStart;
    case 'v':
      return kEndV;
    case 'w':
      return kEndW;
    default:
      return -1;
  }
}

struct Scale {
  double reading;
  double distance;
};

bool ScaleOf(char resolution, Scale& scale) {
  switch (resolution) {
    case '1':
      scale = Scale{0.001, 0.01};
      return true;
    case '2':
    case '7':
      scale = Scale{0.0001, 0.01};
      return true;
    case '3':
    case '8':
      scale = Scale{0.00001, 0.001};
      return true;
    default:
      return false;
  }
}

// The text between the 7th and the 8th comma (to the end when there is no 8th); false when
// the line has fewer than seven commas.
bool PointNumberField(std::string_view line, std::string_view& field) {
  std::size_t position = 0;
  for (int comma = 0; comma < 7; ++comma) {
    const std::size_t found = line.find(',', position);
    if (found == std::string_view::npos) return false;
    position = found + 1;
  }
  field = line.substr(position, line.find(',', position) - position);
  return true;
}

bool ParseReading(std::string_view line, const std::vector<std::string_view>& fields, LevelRecord& record) {
  if (fields.size() < 4 || fields[1].size() < 2) return false;
  Scale scale;
  if (!ScaleOf(fields[1][1], scale)) return false;
  std::string_view pointField;
  if (!PointNumberField(line, pointField)) return false;
  record.resolution = fields[1][1];
  record.reading = common::LenientInt(fields[2]) * scale.reading;
  record.distance = common::LenientInt(fields[3]) * scale.distance;
  record.point = common::LenientInt(pointField);
  return true;
}

// The first field of ten characters or more among the `look` fields after the first, read as
// YYMMDDhhmm.
bool ParseDateTime(const std::vector<std::string_view>& fields, std::size_t look, std::string& date,
                   std::string& time) {
  for (std::size_t i = 1; i < fields.size() && i <= look; ++i) {
    const std::string_view f = fields[i];
    if (f.size() < 10) continue;
    auto two = [&](std::size_t at) { return std::string(f.substr(at, 2)); };
    date = two(4) + "/" + two(2) + "/" + two(0);
    time = two(6) + ":" + two(8);
    return true;
  }
  return false;
}

}  // namespace

LevelLine ParseLevelRecords(std::string_view text) {
  LevelLine level;
  bool startKnown = false, endKnown = false;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (piece.empty()) continue;
    const int kind = KindOf(piece.front());
    if (kind < 0) continue;
    const std::string_view line = common::WithoutLineFeed(piece);
    common::SplitTokens(line, ",", fields);
    LevelRecord record;
    record.kind = kind;
    if (kind <= kSecondFore) {
      if (!ParseReading(line, fields, record)) continue;
    } else if (kind == kStart) {
      if (!ParseDateTime(fields, 18, level.startDate, level.startTime)) continue;
      startKnown = true;
    } else {
      if (!ParseDateTime(fields, 4, level.endDate, level.endTime)) continue;
      endKnown = true;
    }
    level.records.push_back(record);
  }
  if (endKnown && !startKnown) {
    level.startDate = level.endDate;
    level.startTime = level.endTime;
  } else if (startKnown && !endKnown) {
    level.endDate = level.startDate;
    level.endTime = level.startTime;
  }
  return level;
}

void FormatLevellingBook(const LevelLine& level, const LevelBookHeader& header, common::TextWriter& writer) {
  const std::vector<LevelRecord>& records = level.records;
  int startBenchmark = 0, endBenchmark = 0;
  bool startFound = false;
  for (const LevelRecord& r : records) {
    if (r.kind == kFirstBack && !startFound) {
      startBenchmark = r.point;
      startFound = true;
    }
    if (r.kind == kSecondFore) endBenchmark = r.point;
  }

  const std::string empresa = "EMPRESA: " + header.empresa;
  const std::string operador = "OPERADOR: " + header.operador;
  writer.Printf("%-44s%-44s\n", empresa.c_str(), operador.c_str());
  writer.Printf(
      "NIVEL:   TOPCON   MODELO: DL100             N/S:    %s CU\xA5"
      "A: \n",
      header.nserie.c_str());
  writer.Printf("CLV SAL: %-6d   FECHA:  %-8s HORA:    %-8sMIRA1: %s\n", startBenchmark, level.startDate.c_str(),
                level.startTime.c_str(), header.mira1.c_str());
  writer.Printf("CLV FIN: %-6d   FECHA:  %-8s HORA:    %-8sMIRA2: %s\n\n", endBenchmark, level.endDate.c_str(),
                level.endTime.c_str(), header.mira2.c_str());
  writer.Write(std::string(86, '_') + "\n");
  writer.Write("00000000011111111112222222222333333333344444444445555555555666666666677777777778888888\n");
  writer.Write("12345678901234567890123456789012345678901234567890123456789012345678901234567890123456\n");
  writer.Write("EEEEEEEE  d1.ee   d2.ee    1.eeeee 2.eeeee  d1.ff   d2.ff    1.fffff 2.fffff  FFFFFFFF\n");
  writer.Write(std::string(86, '\xEE') + "\n");

  // Each first back-sight starts a row; the records after it fill it as far as they follow the
  // order back, fore, fore, back.
  static const LevelRecord kAbsent{-1, 0, 0, 0, 0};
  auto at = [&](std::size_t i) -> const LevelRecord& { return i < records.size() ? records[i] : kAbsent; };
  for (std::size_t i = 0; i < records.size(); ++i) {
    const LevelRecord& g = records[i];
    if (g.kind != kFirstBack) continue;
    const LevelRecord& next1 = at(i + 1);
    const LevelRecord& next2 = at(i + 2);
    const LevelRecord& next3 = at(i + 3);
    const bool firstFore = next1.kind == kFirstFore;
    const bool secondFore = firstFore && next2.kind == kSecondFore;
    const bool secondBack = secondFore && next3.kind == kSecondBack;
    const LevelRecord& r1 = firstFore ? next1 : kAbsent;
    const LevelRecord& r2 = secondFore ? next2 : kAbsent;
    const LevelRecord& r3 = secondBack ? next3 : kAbsent;
    writer.Printf("%-8d%7.2lf%8.2lf%11.5lf%8.5lf%7.2lf%8.2lf%11.5lf%8.5lf  %-8d\n", g.point, g.distance, r3.distance,
                  g.reading, r3.reading, r1.distance, r2.distance, r1.reading, r2.reading, r1.point);
  }
}

int ConvertLevelToBook(const std::string& entrada, const std::string& salida, const LevelBookHeader& header) {
  constexpr common::ConversionRule kLevelRecords{"un registro de nivel digital", "ninguna lectura de nivelación"};
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kLevelRecords, text)) return 0;
  const LevelLine level = ParseLevelRecords(text);
  // Two records make no set-up: a start and an end at most.
  if (!common::RequireSomething(level.records.size() <= 2, entrada, kLevelRecords)) return 0;
  common::TextWriter writer;
  FormatLevellingBook(level, header, writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

namespace {

// Z in whole millimetres, truncated toward zero, held inside the 32-bit range.
int Millimetres(double z) {
  const double mm = std::trunc(z * 1000.0);
  if (mm >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (mm <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(mm);
}

}  // namespace

std::size_t FormatLevelPoints(std::string_view text, common::TextWriter& writer) {
  std::size_t written = 0;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    const std::size_t count = common::SplitTokens(line, " \t\n", fields);
    if (count < 4) continue;
    const std::string name(fields[0]);
    const std::string code = count >= 5 ? std::string(fields[4]) : std::string();
    writer.Printf("z,01,%s,,,+%d,%s\n", name.c_str(), Millimetres(common::LenientDouble(fields[3])), code.c_str());
    ++written;
  }
  return written;
}

int ConvertPointsToLevel(const std::string& entrada, const std::string& salida) {
  return ConvertListing(entrada, salida, kPointList, FormatLevelPoints);
}

}  // namespace viaducto
