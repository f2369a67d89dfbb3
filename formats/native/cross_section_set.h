// The cross sections of one native file (*.tra): a flat list of points, one per line
// ("%8.3lf %8.3lf %8.3lf %s": station, offset, elevation, code); a section is the run of
// points that share one station. Every cross-section conversion passes through this file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/native/native_cross_section.h"
#include "common/records.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace viaducto {

using common::CrossSectionPoint;

// The next line of a listing for the cross-section readers: a last line without a line break
// is not read, as the listings' writers always end their lines.
inline bool NextCompleteLine(common::LineReader& reader, std::string_view& line) {
  return reader.Next(line) && !reader.AtEnd();
}

// The section order, shared with the other library that reads the native file.
using common::CompareStationThenOffset;
using common::SortByStationThenOffset;

// Stations of the native file compare within this tolerance.
inline constexpr double kSectionTolerance = 0.0001;

// The open bounds of StationsInRange, which add no station of their own.
inline constexpr double kLowestStation = -100000000.0;
inline constexpr double kHighestStation = 100000000.0;

class CrossSectionSet {
 public:
  std::vector<CrossSectionPoint> points;

  std::size_t Count() const { return points.size(); }

  // Replaces the content with the points of a native file; returns their number (0 when the
  // file cannot be read). Lines with fewer than three fields are skipped; the code is the
  // first word after the elevation.
  std::size_t Load(const std::string& path);
  std::size_t Parse(std::string_view text);  // the text of a file, line ends normalised

  // Drops each point equal in station, offset and elevation to the one kept before it, then
  // moves a point that has the station and offset of the point before it 0.001 to the left,
  // so a vertical step keeps two distinct offsets.
  void Clean();

  // Section order: sections by increasing station, points of a section left to right.
  void Sort();

  // One line per point in index order.
  void Format(common::TextWriter& writer) const;
  // Creates or truncates the file; false (and no file) when it cannot be written.
  bool Write(const std::string& path) const;

  // The distinct stations of the points within [lower, upper], increasing, plus each bound
  // that is not one of the open bounds.
  std::vector<double> StationsInRange(double lower, double upper) const;

  // First and last index of the run of points carrying exactly `station`, scanning from the
  // first point and stopping at the first greater station. Found only when at least two
  // points carry it.
  bool StationRun(double station, std::size_t& first, std::size_t& last) const;
};

// A value as the cross-section files print it with three decimals: never "-0.000".
double Printable(double value);

}  // namespace viaducto
