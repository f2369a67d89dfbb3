// GTS-800 robotic total-station records: the readings of one set-up observing control points
// in series, reduced to coordinates and reported against the points' known coordinates.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"

namespace viaducto {

enum class ObservationKind { kSetUp, kSideshot, kDate };

// One STN or SS line with the SD or XYZ line right after it, or one DATE line.
struct ObservationRecord {
  ObservationKind kind = ObservationKind::kSideshot;
  std::string name;
  std::string code;
  double height = 0;      // instrument height (set-up) or target height (sideshot)
  double horizontal = 0;  // SD: Hz (gon); XYZ: X
  double zenith = 0;      // SD: V (gon); XYZ: Y
  double distance = 0;    // SD: D; XYZ: Z
};

struct StationReadings {
  std::vector<ObservationRecord> records;
  double instrumentHeight = 0;    // of the last STN line
  double x0 = 0, y0 = 0, z0 = 0;  // of the last XYZ line after an STN or SS line
};

struct KnownPoint {
  std::string name;
  double x = 0, y = 0, z = 0;
};

struct ComputedPoint {
  std::string name;
  std::string code;
  double x = 0, y = 0, z = 0;
};

StationReadings ParseStationReadings(std::string_view text);

// Known points in file order; lines lacking a coordinate are skipped.
std::vector<KnownPoint> ParseKnownPoints(std::string_view text);

// Sorts the known points by name without regard to case and drops those no sideshot observed.
void KeepObservedPoints(const StationReadings& readings, std::vector<KnownPoint>& points);

// Reduces the sideshots in file order: two consecutive sideshots of one name are the two faces
// of one measurement; any other sideshot stands alone.
std::vector<ComputedPoint> ComputePoints(const StationReadings& readings);

struct ReportHeader {
  std::string trabajo, operario, descripcion, temperatura, fecha, hora;
};

enum class ReportLayout { kColumns, kBlankSeparated };

// The blank-separated layout is chosen by "temp" (exact case) anywhere in the target path.
ReportLayout LayoutForTarget(const std::string& salida);

void FormatMonitoringReport(const ReportHeader& header, const std::vector<KnownPoint>& known,
                            const std::vector<ComputedPoint>& computed, ReportLayout layout,
                            common::TextWriter& writer);

// The whole processing; 0 when a file cannot be read or the report cannot be written.
int ProcessRoboticStation(const std::string& lecturas, const std::string& puntos, const std::string& salida,
                          const ReportHeader& header);

// Job, date and time of the readings.
struct ReadingsHeader {
  std::string job, date, time;
};
ReadingsHeader ParseReadingsHeader(std::string_view text);

// Writes job, date and time to `salida`, one per line; 0 when a file cannot be read or written.
int WriteReadingsHeader(const std::string& lecturas, const std::string& salida);

}  // namespace viaducto
