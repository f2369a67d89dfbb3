#include "viaducto/crosssection/cross_section_set.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/numbers.h"
#include "common/tokens.h"

namespace viaducto {

double Printable(double value) { return common::PrintableZero(value, 3); }

int CompareStationThenOffset(const CrossSectionPoint& a, const CrossSectionPoint& b, double tolerance) {
  const double stationGap = std::fabs(a.station - b.station);
  if (stationGap < tolerance && std::fabs(a.offset - b.offset) < tolerance) return 0;
  if (a.station < b.station) return -1;
  if (stationGap >= tolerance) return 1;
  return a.offset < b.offset ? -1 : 1;
}

void SortByStationThenOffset(std::vector<CrossSectionPoint>& points, double tolerance) {
  // A merge sort never leaves the range, even where the tolerance makes the answers of the
  // comparison disagree; for data written with three decimals it is a plain order.
  std::stable_sort(points.begin(), points.end(), [tolerance](const CrossSectionPoint& a, const CrossSectionPoint& b) {
    return CompareStationThenOffset(a, b, tolerance) < 0;
  });
}

std::size_t CrossSectionSet::Load(const std::string& path) {
  points.clear();
  std::string text;
  if (!common::LoadTextFile(path, text)) return 0;
  return Parse(text);
}

std::size_t CrossSectionSet::Parse(std::string_view text) {
  points.clear();
  common::LineReader reader(text);
  std::string_view line;
  while (NextCompleteLine(reader, line)) {
    common::Tokenizer fields(line);
    std::string_view station, offset, elevation, code;
    if (!fields.Next(" \t", station) || !fields.Next(" \t", offset) || !fields.Next(" \t", elevation)) continue;
    CrossSectionPoint point;
    point.station = common::LenientDouble(station);
    point.offset = common::LenientDouble(offset);
    point.elevation = common::LenientDouble(elevation);
    if (fields.Next(" \t\n", code)) point.code.assign(code);
    points.push_back(std::move(point));
  }
  return points.size();
}

void CrossSectionSet::Clean() {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (kept > 0) {
      const CrossSectionPoint& previous = points[kept - 1];
      if (points[i].station == previous.station && points[i].offset == previous.offset &&
          points[i].elevation == previous.elevation) {
        continue;
      }
    }
    if (kept != i) points[kept] = std::move(points[i]);
    ++kept;
  }
  points.resize(kept);
  for (std::size_t i = 1; i < points.size(); ++i) {
    if (points[i].station == points[i - 1].station && points[i].offset == points[i - 1].offset) {
      points[i].offset -= 0.001;
    }
  }
}

void CrossSectionSet::Sort() { SortByStationThenOffset(points, kSectionTolerance); }

void CrossSectionSet::Format(common::TextWriter& writer) const {
  for (const CrossSectionPoint& p : points) {
    writer.Printf("%8.3lf %8.3lf %8.3lf %s\n", Printable(p.station), Printable(p.offset), Printable(p.elevation),
                  p.code.c_str());
  }
}

bool CrossSectionSet::Write(const std::string& path) const {
  common::TextWriter writer;
  Format(writer);
  return writer.SaveTo(path);
}

std::vector<double> CrossSectionSet::StationsInRange(double lower, double upper) const {
  std::vector<double> stations;
  stations.reserve(points.size() + 2);
  for (const CrossSectionPoint& p : points) {
    if (p.station >= lower && p.station <= upper) stations.push_back(p.station);
  }
  if (lower != kLowestStation) stations.push_back(lower);
  if (upper != kHighestStation) stations.push_back(upper);
  std::sort(stations.begin(), stations.end());
  stations.erase(std::unique(stations.begin(), stations.end()), stations.end());
  return stations;
}

bool CrossSectionSet::StationRun(double station, std::size_t& first, std::size_t& last) const {
  bool started = false;
  bool extended = false;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (points[i].station > station) break;
    if (points[i].station != station) continue;
    if (!started) {
      first = i;
      started = true;
    } else {
      last = i;
      extended = true;
    }
  }
  return started && extended;
}

}  // namespace viaducto
