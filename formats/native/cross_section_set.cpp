#include "formats/native/cross_section_set.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "common/numbers.h"
#include "common/tokens.h"

namespace viaducto {

double Printable(double value) { return common::PrintableZero(value, 3); }

std::size_t CrossSectionSet::Load(const std::string& path) {
  points.clear();
  std::string text;
  if (!common::LoadTextFile(path, text)) return 0;
  return Parse(text);
}

std::size_t CrossSectionSet::Parse(std::string_view text) {
  points.clear();
  // A last line without a line break is lost, as the listings' writers always end their lines.
  return common::ParseNativeCrossSections(text, common::kNativeSectionsLoseUnendedLine, points);
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

void CrossSectionSet::Format(common::TextWriter& writer) const { common::FormatNativeCrossSections(points, writer); }

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
