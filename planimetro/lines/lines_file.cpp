#include "planimetro/lines/lines_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <unordered_set>

#include "common/conversion.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "common/tokens.h"
#include "planimetro/dxf/current_drawing.h"
#include "formats/dxf/dxf_reader.h"

namespace planimetro::lines {
namespace {

constexpr double kOffsetOnAxis = 0.009;    // smaller offsets are written as 0
constexpr long long kSectionWindow = 200;  // mm: stations closer than 0.2 form one section

// Every record is an element (the last, of length 0, catches points square to the end), the
// clothoid foot is halved down to a millimetre, and corners give no foot.
constexpr common::ProjectionRules kLinesProjection{0.001, false, false};

constexpr common::ConversionRule kLayerList{"una lista de capas", "ninguna capa"};
constexpr common::ConversionRule kAlignment{"un fichero de ejes", "ningún eje"};
constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ninguna polilínea de las capas elegidas sobre el eje",
                                          common::FileKind::kDxf};

// A station or offset in whole millimetres. A value beyond what a long long holds (a drawing
// with a coordinate of 1e51) is held at the largest millimetre count instead of being
// converted out of range; NaN counts as 0.
long long Millimetres(double value) {
  constexpr double kLimit = 9.0e18;
  const double millimetres = std::floor(value * 1000 + 0.5);
  if (std::isnan(millimetres)) return 0;
  if (millimetres >= kLimit) return static_cast<long long>(kLimit);
  if (millimetres <= -kLimit) return -static_cast<long long>(kLimit);
  return static_cast<long long>(millimetres);
}

}  // namespace

std::unordered_set<std::string> ParseLayerList(std::string_view text) {
  std::unordered_set<std::string> layers;
  common::LineReader reader(text);
  std::string_view piece;
  while (reader.Next(piece)) {
    const std::string_view name = common::WithoutLineFeed(piece);
    if (!name.empty()) layers.insert(common::LowerAscii(name));
  }
  return layers;
}

void PrepareAlignment(const std::vector<common::AlignmentElement>& records, std::vector<TramoLineas>& alignment) {
  alignment.clear();
  alignment.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    TramoLineas tramo;
    tramo.element = records[i];
    common::AlignmentElement& e = tramo.element;
    e.length = i + 1 < records.size() ? records[i + 1].station - e.station : 0;
    if (e.length == 0) {
      e.radius = 0;
      e.parameter = 0;
    }
    e.kind = common::KindFromValues(e.parameter, e.radius);
    alignment.push_back(tramo);
  }
  for (std::size_t i = 0; i + 1 < alignment.size(); ++i) {
    const common::AlignmentElement& e = alignment[i].element;
    common::AlignmentElement& next = alignment[i + 1].element;
    const common::Point2 start{e.x, e.y};
    if (e.kind == common::kStraight) {
      const common::Point2 end = common::PointAlong(start, e.length, e.azimuth);
      next.x = end.x;
      next.y = end.y;
    } else if (e.kind == common::kArc && e.length > 0.001) {
      // The centre is where the radius at the start meets the radius through the recorded
      // next start; the next start is then put on the circle.
      const double startRadial = common::NormalizeGrads(e.azimuth + 100);
      const double endRadial = startRadial + e.length / e.radius * common::kGradsPerRadian;
      const common::Point2 recorded{next.x, next.y};
      const std::optional<common::Point2> centre =
          common::IntersectLines(start, common::PointAlong(start, 10, startRadial), recorded,
                                 common::PointAlong(recorded, 10, endRadial));
      const common::Point2 c = centre ? *centre : common::PointAlong(start, e.radius, startRadial);
      const common::Point2 end = common::PointAlong(c, e.radius, endRadial - 200);
      next.x = end.x;
      next.y = end.y;
    }
  }
  for (std::size_t i = 0; i < alignment.size(); ++i) {
    const double previousRadius = i > 0 ? alignment[i - 1].element.radius : 0;
    alignment[i] = common::MakeProjectionElement(alignment[i].element, previousRadius);
  }
}

bool ReadLinesAlignment(const std::string& path, std::vector<TramoLineas>& alignment) {
  alignment.clear();
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  ParseLinesAlignment(text, alignment);
  return true;
}

void ParseLinesAlignment(std::string_view text, std::vector<TramoLineas>& alignment) {
  alignment.clear();
  std::vector<common::AlignmentElement> records;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (common::SplitTokens(piece, " \t\n", fields) < 6 || fields[0][0] == '*') continue;
    common::AlignmentElement e;
    e.station = common::LenientDouble(fields[0]);
    e.x = common::LenientDouble(fields[1]);
    e.y = common::LenientDouble(fields[2]);
    e.azimuth = common::LenientDouble(fields[3]);
    e.parameter = common::LenientDouble(fields[4]);
    e.radius = common::LenientDouble(fields[5]);
    records.push_back(e);
  }
  PrepareAlignment(records, alignment);
}

bool ProjectOnAlignment(const std::vector<TramoLineas>& alignment, const common::Point2& point, double& station,
                        double& offset) {
  common::AxisFoot foot;
  if (!common::ProjectOnAxis(alignment, point, kLinesProjection, foot)) return false;
  station = foot.station;
  offset = foot.offset;
  return true;
}

void GatherAndSort(std::vector<PuntoLinea>& points) {
  if (points.empty()) return;
  std::vector<long long> stations(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) stations[i] = Millimetres(points[i].station);

  // Distinct stations, most frequent first; equally frequent ones in station order.
  std::vector<long long> distinct = stations;
  std::sort(distinct.begin(), distinct.end());
  std::vector<std::pair<long long, long long>> frequency;  // count, station
  for (std::size_t i = 0; i < distinct.size();) {
    std::size_t j = i;
    while (j < distinct.size() && distinct[j] == distinct[i]) ++j;
    frequency.emplace_back(static_cast<long long>(j - i), distinct[i]);
    i = j;
  }
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::stable_sort(frequency.begin(), frequency.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });

  // Points in station order; snapping a window to a station inside it keeps that order.
  std::vector<std::size_t> order(points.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return stations[a] < stations[b]; });
  std::vector<long long> sorted(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) sorted[i] = stations[order[i]];

  std::vector<bool> discarded(distinct.size(), false);
  for (const auto& [count, centre] : frequency) {
    const std::size_t at = static_cast<std::size_t>(std::lower_bound(distinct.begin(), distinct.end(), centre) - distinct.begin());
    if (discarded[at]) continue;
    const long long low = centre - kSectionWindow + 1;
    const long long high = centre + kSectionWindow - 1;
    auto first = std::lower_bound(sorted.begin(), sorted.end(), low);
    auto last = std::upper_bound(sorted.begin(), sorted.end(), high);
    for (auto it = first; it != last; ++it) *it = centre;
    auto firstCandidate = std::lower_bound(distinct.begin(), distinct.end(), low);
    auto lastCandidate = std::upper_bound(distinct.begin(), distinct.end(), high);
    for (auto it = firstCandidate; it != lastCandidate; ++it) discarded[static_cast<std::size_t>(it - distinct.begin())] = true;
  }
  for (std::size_t i = 0; i < order.size(); ++i) stations[order[i]] = sorted[i];

  // Station, then offset: stations are whole millimetres now; offsets within the same
  // millimetre count as equal and keep their reading order.
  std::vector<std::size_t> byKey(points.size());
  std::vector<long long> offsets(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    byKey[i] = i;
    offsets[i] = Millimetres(points[i].offset);
  }
  std::sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) {
    if (stations[a] != stations[b]) return stations[a] < stations[b];
    if (offsets[a] != offsets[b]) return offsets[a] < offsets[b];
    return points[a].sequence < points[b].sequence;
  });
  std::vector<PuntoLinea> result;
  result.reserve(points.size());
  for (const std::size_t i : byKey) {
    result.push_back(std::move(points[i]));
    result.back().station = static_cast<double>(stations[i]) / 1000.0;
  }
  points = std::move(result);
}

std::vector<PuntoLinea> CollectLinePoints(dxf::DxfFile& file, const std::unordered_set<std::string>& layers,
                                          const std::vector<TramoLineas>& alignment) {
  std::vector<PuntoLinea> points;
  if (dxf::BuscarEntidades(file)) {
    dxf::DxfGroup group;
    dxf::DxfPolyline polyline;
    while (dxf::LeerGrupoDxf(file, group)) {
      if (group.code != 0) continue;
      if (dxf::IsKeyword(group.value, "ENDSEC")) break;
      if (dxf::IsKeyword(group.value, "LWPOLYLINE")) {
        dxf::LeerPolilineaLigera(file, polyline);
      } else if (dxf::IsKeyword(group.value, "POLYLINE")) {
        dxf::LeerPolilinea(file, polyline);
      } else {
        continue;
      }
      if (layers.count(common::LowerAscii(polyline.layer)) == 0) continue;
      for (const dxf::DxfVertex& vertex : polyline.vertices) {
        PuntoLinea point;
        if (!ProjectOnAlignment(alignment, common::Point2{vertex.x, vertex.y}, point.station, point.offset)) continue;
        if (std::fabs(point.offset) < kOffsetOnAxis) point.offset = 0;
        point.x = vertex.x;
        point.y = vertex.y;
        point.z = vertex.z;
        point.layer = polyline.layer;
        point.sequence = static_cast<long>(points.size());
        points.push_back(std::move(point));
      }
    }
  }
  return points;
}

void FormatLinesFile(const std::vector<PuntoLinea>& points, common::TextWriter& out) {
  for (const PuntoLinea& point : points) {
    out.Printf("%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %s\n", common::PrintableZero(point.station, 3),
               common::PrintableZero(point.offset, 3), common::PrintableZero(point.x, 3), common::PrintableZero(point.y, 3),
               common::PrintableZero(point.z, 3), point.layer.c_str());
  }
}

int CreateLinesFile(const std::string& linesFile, const std::string& layerFile, const std::string& alignmentFile) {
  // Every input is checked before the drawing is searched: the layer list, the alignment and
  // the drawing last listed, which must be one.
  const std::string drawing = dxf::CurrentDrawing();
  for (const std::string* source : {&layerFile, &alignmentFile, &drawing}) {
    if (!common::CheckConversionTarget(*source, linesFile)) return 0;
  }
  std::string text;
  if (!common::LoadConversionSource(layerFile, kLayerList, text)) return 0;
  const std::unordered_set<std::string> layers = ParseLayerList(text);
  if (!common::RequireSomething(layers.empty(), layerFile, kLayerList)) return 0;

  std::vector<TramoLineas> alignment;
  if (!common::LoadConversionSource(alignmentFile, kAlignment, text)) return 0;
  ParseLinesAlignment(text, alignment);
  if (!common::RequireSomething(alignment.empty(), alignmentFile, kAlignment)) return 0;

  if (drawing.empty()) {
    common::RecordFailure("No se ha elegido ningún dibujo: las capas de un dibujo se eligen antes");
    return 0;
  }
  if (!common::LoadConversionSource(drawing, kDrawing, text)) return 0;

  std::vector<PuntoLinea> points;
  {
    dxf::DxfFile file(std::move(text));
    points = CollectLinePoints(file, layers, alignment);
  }
  if (!common::RequireSomething(points.empty(), drawing, kDrawing)) return 0;
  GatherAndSort(points);

  common::TextWriter out;
  FormatLinesFile(points, out);
  return out.SaveTo(linesFile) ? 1 : 0;
}

}  // namespace planimetro::lines
