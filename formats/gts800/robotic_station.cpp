#include "formats/gts800/robotic_station.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "common/conversion.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

namespace {

constexpr double kGonToRadians = 0.015707963267948967;

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return std::string_view();
  const std::size_t end = text.find_last_not_of(" \t");
  return text.substr(start, end - start + 1);
}

enum class Keyword { kOther, kStation, kSideshot, kMeasurement, kCoordinates, kDate, kJob };

// The keyword of a line, and a tokenizer standing after it.
Keyword ReadKeyword(std::string_view line, common::Tokenizer& tokenizer) {
  tokenizer = common::Tokenizer(line);
  std::string_view word;
  if (!tokenizer.Next(" \t\n", word)) return Keyword::kOther;
  const std::string lower = common::LowerAscii(word);
  if (lower == "stn") return Keyword::kStation;
  if (lower == "ss") return Keyword::kSideshot;
  if (lower == "sd") return Keyword::kMeasurement;
  if (lower == "xyz") return Keyword::kCoordinates;
  if (lower == "date") return Keyword::kDate;
  if (lower == "job") return Keyword::kJob;
  return Keyword::kOther;
}

// "name,height,code" after STN or SS; false when the name or the height is missing.
bool ReadTargetFields(common::Tokenizer& tokenizer, ObservationRecord& record) {
  std::string_view name, height, code;
  if (!tokenizer.Next(", \t", name) || !tokenizer.Next(",", height)) return false;
  record.name = std::string(TrimBlanks(name));
  record.height = common::LenientDouble(height);
  if (tokenizer.Next(", ", code)) record.code = std::string(code);
  return true;
}

// The three numbers of an SD or XYZ line.
bool ReadThreeNumbers(common::Tokenizer& tokenizer, double& a, double& b, double& c) {
  std::string_view first, second, third;
  if (!tokenizer.Next(",", first) || !tokenizer.Next(",", second) || !tokenizer.Next(", ", third)) return false;
  a = common::LenientDouble(first);
  b = common::LenientDouble(second);
  c = common::LenientDouble(third);
  return true;
}

// Hz, D and the height difference of a sideshot, and the point they give from the station.
ComputedPoint PolarPoint(const StationReadings& readings, const ObservationRecord& face, double hz, double distance,
                         double heightDifference, double targetHeight) {
  ComputedPoint point;
  point.name = face.name;
  point.code = face.code;
  point.x = readings.x0 + distance * std::sin(hz * kGonToRadians);
  point.y = readings.y0 + distance * std::cos(hz * kGonToRadians);
  point.z = readings.z0 + readings.instrumentHeight + heightDifference - targetHeight;
  return point;
}

// D / tan(V): the height of the target above the instrument's axis. A zenith angle whose
// tangent is 0 (straight up or down) gives no usable height and reads as 0.
double HeightDifference(double distance, double zenith) {
  const double tangent = std::tan(zenith * kGonToRadians);
  return tangent != 0.0 ? distance / tangent : 0.0;
}

// The second face turned back by 200 and averaged with the first, in [0, 400).
double MeanDirection(double a, double b) {
  const double aUnwrapped = a >= b ? a : a + 400.0;
  double hz = a - (aUnwrapped - (b + 200.0)) * 0.5;
  hz = std::fmod(hz, 400.0);
  if (hz < 0) hz += 400.0;
  if (hz > 399.99995) hz = 0;
  return hz;
}

ComputedPoint TwoFacePoint(const StationReadings& readings, const ObservationRecord* first,
                           const ObservationRecord* second) {
  if (first->zenith >= 200.0) std::swap(first, second);
  const double hz = MeanDirection(first->horizontal, second->horizontal);
  const double distance = second->distance != 0.0 ? (first->distance + second->distance) * 0.5 : first->distance;
  const double dz1 = HeightDifference(first->distance, first->zenith);
  const double dz2 = HeightDifference(second->distance, second->zenith);
  const double sign = dz1 > 0.0001 ? 1.0 : (dz1 < -0.0001 ? -1.0 : 0.0);
  const double heightDifference = (std::fabs(dz1) + std::fabs(dz2)) * 0.5 * sign;
  return PolarPoint(readings, *first, hz, distance, heightDifference, (first->height + second->height) * 0.5);
}

ComputedPoint SingleFacePoint(const StationReadings& readings, const ObservationRecord& face) {
  return PolarPoint(readings, face, face.horizontal, face.distance, HeightDifference(face.distance, face.zenith),
                    face.height);
}

}  // namespace

StationReadings ParseStationReadings(std::string_view text) {
  StationReadings readings;
  common::LineReader reader(text);
  std::string_view line;
  bool haveLine = false;  // a line read after STN or SS that still needs its own turn
  common::Tokenizer tokenizer{std::string_view()};
  while (haveLine || reader.Next(line)) {
    haveLine = false;
    const Keyword keyword = ReadKeyword(common::WithoutLineFeed(line), tokenizer);
    if (keyword == Keyword::kDate) {
      ObservationRecord date;
      date.kind = ObservationKind::kDate;
      readings.records.push_back(date);
      continue;
    }
    if (keyword != Keyword::kStation && keyword != Keyword::kSideshot) continue;
    ObservationRecord record;
    record.kind = keyword == Keyword::kStation ? ObservationKind::kSetUp : ObservationKind::kSideshot;
    if (!ReadTargetFields(tokenizer, record)) continue;
    if (keyword == Keyword::kStation) readings.instrumentHeight = record.height;
    std::string_view next;
    if (!reader.Next(next)) break;
    common::Tokenizer numbers{std::string_view()};
    const Keyword nextKeyword = ReadKeyword(common::WithoutLineFeed(next), numbers);
    if (nextKeyword != Keyword::kMeasurement && nextKeyword != Keyword::kCoordinates) {
      // Not a measurement: the set-up or sideshot is dropped, and this line is read on its
      // own (a sideshot that follows one without a measurement is not lost).
      line = next;
      haveLine = true;
      continue;
    }
    if (!ReadThreeNumbers(numbers, record.horizontal, record.zenith, record.distance)) continue;
    if (nextKeyword == Keyword::kCoordinates) {
      readings.x0 = record.horizontal;
      readings.y0 = record.zenith;
      readings.z0 = record.distance;
    }
    readings.records.push_back(std::move(record));
  }
  return readings;
}

std::vector<KnownPoint> ParseKnownPoints(std::string_view text) {
  std::vector<KnownPoint> points;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (common::SplitTokens(common::WithoutLineFeed(line), ", \t", fields) < 4) continue;
    KnownPoint point;
    point.name = std::string(TrimBlanks(fields[0]));
    point.x = common::LenientDouble(fields[1]);
    point.y = common::LenientDouble(fields[2]);
    point.z = common::LenientDouble(fields[3]);
    points.push_back(std::move(point));
  }
  return points;
}

void KeepObservedPoints(const StationReadings& readings, std::vector<KnownPoint>& points) {
  std::unordered_set<std::string> observed;
  for (const ObservationRecord& record : readings.records) {
    if (record.kind == ObservationKind::kSideshot) observed.insert(common::LowerAscii(record.name));
  }
  std::vector<std::pair<std::string, KnownPoint>> keyed;
  keyed.reserve(points.size());
  for (KnownPoint& point : points) {
    std::string key = common::LowerAscii(point.name);
    if (observed.count(key) != 0) keyed.emplace_back(std::move(key), std::move(point));
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  points.clear();
  for (auto& entry : keyed) points.push_back(std::move(entry.second));
}

std::vector<ComputedPoint> ComputePoints(const StationReadings& readings) {
  std::vector<ComputedPoint> points;
  const std::vector<ObservationRecord>& records = readings.records;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].kind != ObservationKind::kSideshot) continue;
    if (i + 1 < records.size() && records[i + 1].kind == ObservationKind::kSideshot &&
        common::EqualsIgnoringCase(records[i].name, records[i + 1].name)) {
      points.push_back(TwoFacePoint(readings, &records[i], &records[i + 1]));
      ++i;
    } else {
      points.push_back(SingleFacePoint(readings, records[i]));
    }
  }
  return points;
}

ReportLayout LayoutForTarget(const std::string& salida) {
  return salida.find("temp") != std::string::npos ? ReportLayout::kBlankSeparated : ReportLayout::kColumns;
}

namespace {

// The computed points of each known point, in computed order.
std::vector<std::vector<const ComputedPoint*>> GroupByKnownPoint(const std::vector<KnownPoint>& known,
                                                                 const std::vector<ComputedPoint>& computed) {
  std::unordered_map<std::string, std::vector<const ComputedPoint*>> byName;
  for (const KnownPoint& point : known)
    byName.emplace(common::LowerAscii(point.name), std::vector<const ComputedPoint*>());
  for (const ComputedPoint& point : computed) {
    auto found = byName.find(common::LowerAscii(point.name));
    if (found != byName.end()) found->second.push_back(&point);
  }
  std::vector<std::vector<const ComputedPoint*>> groups;
  groups.reserve(known.size());
  for (const KnownPoint& point : known) groups.push_back(byName[common::LowerAscii(point.name)]);
  return groups;
}

struct Coordinates {
  double x = 0, y = 0, z = 0;
};

struct Statistics {
  Coordinates mean;
  Coordinates spread;
};

Statistics StatisticsOf(const std::vector<const ComputedPoint*>& group) {
  Statistics stats;
  if (group.empty()) return stats;
  Coordinates sum, low{1e8, 1e8, 1e8}, high{-1e8, -1e8, -1e8};
  for (const ComputedPoint* p : group) {
    sum.x += p->x;
    sum.y += p->y;
    sum.z += p->z;
    low = Coordinates{std::min(low.x, p->x), std::min(low.y, p->y), std::min(low.z, p->z)};
    high = Coordinates{std::max(high.x, p->x), std::max(high.y, p->y), std::max(high.z, p->z)};
  }
  const double n = static_cast<double>(group.size());
  stats.mean = Coordinates{sum.x / n, sum.y / n, sum.z / n};
  stats.spread = Coordinates{high.x - low.x, high.y - low.y, high.z - low.z};
  return stats;
}

// The texts that tell the two layouts apart.
struct LayoutTexts {
  const char* headerSeparator;  // between a header label and its value
  const char* afterHeader;
  const char* valueFormat;
  const char* labelEnd;        // after "X0", "X1", "XM"
  const char* spreadLabelEnd;  // after "XDif"
  bool blankLineBeforeMeans;
};

constexpr LayoutTexts kColumnTexts{":\t", "\n\n", "%11.3lf", "         ", "       ", false};
constexpr LayoutTexts kBlankTexts{" ", "\n", "%0.3lf ", " ", " ", true};

void WriteHeaderLine(common::TextWriter& writer, const char* label, const char* separator, const std::string& value) {
  writer.Printf("%s%s%s\n", label, separator, value.empty() ? "-" : value.c_str());
}

template <typename Value>
void WriteRows(common::TextWriter& writer, const LayoutTexts& texts, const std::string& tag, const char* labelEnd,
               std::size_t count, Value value) {
  static const char* const kAxes[] = {"X", "Y", "Z"};
  for (int axis = 0; axis < 3; ++axis) {
    writer.Printf("%s%s%s", kAxes[axis], tag.c_str(), labelEnd);
    // A level sight leaves a height difference of about -1e-15: written as 0.000, not -0.000.
    for (std::size_t k = 0; k < count; ++k) writer.Printf(texts.valueFormat, common::PrintableZero(value(k, axis), 3));
    writer.Write("\n");
  }
}

double Axis(const Coordinates& c, int axis) { return axis == 0 ? c.x : (axis == 1 ? c.y : c.z); }

}  // namespace

void FormatMonitoringReport(const ReportHeader& header, const std::vector<KnownPoint>& known,
                            const std::vector<ComputedPoint>& computed, ReportLayout layout,
                            common::TextWriter& writer) {
  const LayoutTexts& texts = layout == ReportLayout::kColumns ? kColumnTexts : kBlankTexts;
  WriteHeaderLine(writer, "TRABAJO", texts.headerSeparator, header.trabajo);
  WriteHeaderLine(writer, "OPERARIO", texts.headerSeparator, header.operario);
  WriteHeaderLine(writer, "DESCRIPCION", texts.headerSeparator, header.descripcion);
  if (header.temperatura.empty()) {
    writer.Write("TEMPERATURA -\n");
  } else {
    writer.Printf(
        "TEMPERATURA %s\xBA"
        "C\n",
        header.temperatura.c_str());
  }
  WriteHeaderLine(writer, "FECHA", " ", header.fecha);
  WriteHeaderLine(writer, "HORA", " ", header.hora);
  if (!computed.empty()) writer.Printf("CODIGO%s%s\n", texts.headerSeparator, computed.front().code.c_str());
  writer.Write(texts.afterHeader);

  if (layout == ReportLayout::kColumns) {
    writer.Printf("%-11s", " ");
    for (const KnownPoint& point : known) writer.Printf("%11s", point.name.c_str());
  } else {
    writer.Write(" ");
    for (const KnownPoint& point : known) writer.Printf("%s ", point.name.c_str());
  }
  writer.Write("\n");

  const std::size_t count = known.size();
  WriteRows(writer, texts, "0", texts.labelEnd, count, [&](std::size_t k, int axis) {
    return Axis(Coordinates{known[k].x, known[k].y, known[k].z}, axis);
  });
  writer.Write("\n");

  // Complete series only: the first series that misses a point ends them.
  const std::vector<std::vector<const ComputedPoint*>> groups = GroupByKnownPoint(known, computed);
  for (std::size_t series = 0; count > 0; ++series) {
    const bool complete =
        std::all_of(groups.begin(), groups.end(), [&](const auto& group) { return series < group.size(); });
    if (!complete) break;
    WriteRows(writer, texts, std::to_string(series + 1), texts.labelEnd, count, [&](std::size_t k, int axis) {
      const ComputedPoint& p = *groups[k][series];
      return Axis(Coordinates{p.x, p.y, p.z}, axis);
    });
    writer.Write("\n");
  }

  std::vector<Statistics> stats;
  stats.reserve(count);
  for (const auto& group : groups) stats.push_back(StatisticsOf(group));
  if (texts.blankLineBeforeMeans) writer.Write("\n");
  WriteRows(writer, texts, "M", texts.labelEnd, count,
            [&](std::size_t k, int axis) { return Axis(stats[k].mean, axis); });
  writer.Write("\n");
  WriteRows(writer, texts, "Dif", texts.spreadLabelEnd, count,
            [&](std::size_t k, int axis) { return Axis(stats[k].spread, axis); });
}

int ProcessRoboticStation(const std::string& lecturas, const std::string& puntos, const std::string& salida,
                          const ReportHeader& header) {
  constexpr common::ConversionRule kReadings{"un fichero de lecturas de la estación", "ninguna lectura"};
  constexpr common::ConversionRule kKnownPoints{"un fichero de puntos", "ningún punto"};
  if (!common::CheckConversionTarget(lecturas, salida) || !common::CheckConversionTarget(puntos, salida)) return 0;
  std::string readingsText, pointsText;
  if (!common::LoadConversionSource(lecturas, kReadings, readingsText) ||
      !common::LoadConversionSource(puntos, kKnownPoints, pointsText)) {
    return 0;
  }
  const StationReadings readings = ParseStationReadings(readingsText);
  std::vector<KnownPoint> known = ParseKnownPoints(pointsText);
  KeepObservedPoints(readings, known);
  const std::vector<ComputedPoint> computed = ComputePoints(readings);
  common::TextWriter writer;
  FormatMonitoringReport(header, known, computed, LayoutForTarget(salida), writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

ReadingsHeader ParseReadingsHeader(std::string_view text) {
  ReadingsHeader header;
  common::LineReader reader(text);
  std::string_view line;
  common::Tokenizer tokenizer{std::string_view()};
  while (reader.Next(line)) {
    const Keyword keyword = ReadKeyword(line, tokenizer);
    if (keyword == Keyword::kDate) {
      // Date up to the first comma; the time is the whole rest, line break included.
      const std::string_view rest = tokenizer.Rest();
      const std::size_t comma = rest.find(',');
      const std::string_view date = rest.substr(0, comma);
      header.date = std::string(TrimBlanks(common::WithoutLineFeed(date)));
      header.time = comma == std::string_view::npos ? std::string() : std::string(TrimBlanks(rest.substr(comma + 1)));
    } else if (keyword == Keyword::kJob) {
      const std::size_t comma = line.find(',');
      if (comma == std::string_view::npos) {
        header.job.clear();
        continue;
      }
      const std::string_view afterComma = line.substr(comma + 1);
      header.job = std::string(TrimBlanks(afterComma.substr(0, afterComma.find_first_of(".\n"))));
    }
  }
  return header;
}

int WriteReadingsHeader(const std::string& lecturas, const std::string& salida) {
  constexpr common::ConversionRule kReadings{"un fichero de lecturas de la estación", "ninguna lectura"};
  if (!common::CheckConversionTarget(lecturas, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(lecturas, kReadings, text)) return 0;
  const ReadingsHeader header = ParseReadingsHeader(text);
  common::TextWriter writer;
  writer.Printf("%s\n", header.job.c_str());
  writer.Printf("%s\n", header.date.c_str());
  writer.Printf("%s\n", header.time.c_str());
  return writer.SaveTo(salida) ? 1 : 0;
}

}  // namespace viaducto
