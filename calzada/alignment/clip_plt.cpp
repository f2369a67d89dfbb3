// Clip PLT alignments, read into native elements and written from the native file.
#include <vector>

#include "calzada/alignment/alignment_importers.h"
#include "common/alignment_fields.h"
#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {
namespace {

// "%lf , %lf , %lf , %lf , %lf , %lf": all six numbers or no point.
bool ScanPltPoint(std::string_view line, TramoEje& point) {
  common::ScannedFields scan(line);
  double* const values[] = {&point.station, &point.x, &point.y, &point.azimuth, &point.radius, &point.parameter};
  for (int i = 0; i < 6; ++i) {
    if (i > 0 && !scan.Literal(',')) return false;
    if (!scan.Double(*values[i])) return false;
  }
  return true;
}

// Of two consecutive records at exactly one station the first goes; the walk then steps past
// the one that stayed, so of three equal stations two remain.
Eje WithoutRepeatedStations(const Eje& records) {
  Eje kept;
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
Eje WithInflectionStraights(const Eje& records) {
  Eje out;
  out.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i > 0 && records[i - 1].radius * records[i].radius < 0 && records[i].parameter != 0) {
      TramoEje straight = records[i];
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

Eje ParseClipPlt(std::string_view text) {
  Eje records;
  common::LineReader reader(text);
  std::string_view piece;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.empty()) continue;
    TramoEje point;
    if (ScanPltPoint(line, point)) records.push_back(point);
  }
  // The radius and parameter of a line close the element that ends there: move them back.
  for (std::size_t i = 0; i < records.size(); ++i) {
    const bool last = i + 1 == records.size();
    records[i].length = last ? 0.0 : records[i + 1].station - records[i].station;
    records[i].radius = last ? 0.0 : records[i + 1].radius;
    records[i].parameter = last ? 0.0 : records[i + 1].parameter;
  }
  records = WithInflectionStraights(WithoutRepeatedStations(records));
  SetKindsFromValues(records);
  for (std::size_t i = 1; i < records.size(); ++i) {
    if (records[i].station < records[i - 1].station) records[i].station = records[i - 1].station;
  }
  return records;
}

int ImportClipPlt(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  const Eje records = ParseClipPlt(text);
  if (records.empty()) return 0;
  return EscribeEjeNativo(records, salida);
}

bool FormatClipPlt(std::string_view nativeText, std::string& plt) {
  const Eje records = LeeEjeNativo(nativeText);
  if (records.empty()) return false;
  common::TextWriter writer;
  writer.Write("*PLT1\n");
  for (std::size_t i = 0; i < records.size(); ++i) {
    // Each point closes the element that the previous record starts.
    const TramoEje& before = RecordOrZeros(records, static_cast<long>(i) - 1);
    writer.Printf("%12.4lf ,%13.4lf ,%13.4lf ,%11.5lf ,%12.4lf ,%12.4lf\n", records[i].station, records[i].x,
                  records[i].y, records[i].azimuth, before.radius, before.parameter);
  }
  plt = writer.Bytes();
  return true;
}

int ExportClipPlt(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  std::string plt;
  if (!FormatClipPlt(text, plt)) return 0;
  return common::WriteFileBytes(salida, plt) ? 1 : 0;
}

}  // namespace calzada
