// Alignments in IFC files: the horizontal and vertical layouts of each IfcAlignment, written
// with their design parameters and their geometry, and read back from either.
//
// Conventions of the file: directions in radians counter-clockwise from the x axis (east),
// radii positive turning left (counter-clockwise) and 0 for infinite. The suite's records use
// grads clockwise from north and radii positive turning right; the conversions below turn one
// into the other.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"
#include "formats/ifc/step.h"

namespace ifc {

enum class HorizontalType { kLine, kCircularArc, kClothoid };
enum class VerticalType { kConstantGradient, kParabolicArc, kCircularArc };

struct HorizontalSegment {
  HorizontalType type = HorizontalType::kLine;
  double x = 0, y = 0;     // start point
  double direction = 0;    // radians, counter-clockwise from +x
  double startRadius = 0;  // + left, 0 infinite
  double endRadius = 0;
  double length = 0;
};

struct VerticalSegment {
  VerticalType type = VerticalType::kConstantGradient;
  double startDistAlong = 0;  // from the start of the horizontal layout
  double length = 0;          // horizontal length
  double startHeight = 0;
  double startGradient = 0;
  double endGradient = 0;
  double radius = 0;  // parabola: length / (end - start gradient); circle: + sag; 0 when none
};

// A station equation: at `distAlong` from the start of the horizontal layout the stations
// before it end at `incoming` (when known) and go on from `station`.
struct StationEquation {
  double distAlong = 0;
  double station = 0;
  bool hasIncoming = false;
  double incoming = 0;
};

struct AlignmentLayouts {
  std::string name;
  double startStation = 0;
  std::vector<StationEquation> equations;  // each a referent of its own, after the start's
  std::vector<HorizontalSegment> horizontal;  // ends with a zero-length segment
  std::vector<VerticalSegment> vertical;      // empty without a profile; else ends with a zero-length one
  bool fromGeometry = false;                  // read from the curves, the file had no design parameters
};

// ---- Between the suite's records and the layouts ------------------------------------------------

// The layouts of an alignment of records (the last one the end point) and, when given, its
// profile (stations as the alignment's). A clothoid's start radius is the one of the two its
// parameter and end radius allow that continues the element before it.
AlignmentLayouts LayoutsFromRecords(std::string name, const std::vector<common::AlignmentElement>& elements,
                                    const common::Profile* profile);

// The records of the horizontal layout, the last one its end point. A clothoid between two
// finite radii keeps its parameter and its end radius.
std::vector<common::AlignmentElement> RecordsFromLayouts(const AlignmentLayouts& layouts);

// The vertices of the vertical layout (curves completed as the native file keeps them); empty
// without one.
common::Profile ProfileFromLayouts(const AlignmentLayouts& layouts);

// ---- Geometry ---------------------------------------------------------------------------------

struct PlanePose {
  double x = 0, y = 0, direction = 0;  // radians counter-clockwise from +x
};

// The end of a curve of curvature k1 at its start changing linearly to k2 over `length`
// (curvature + left), starting at `start`.
PlanePose EndOfCurve(const PlanePose& start, double k1, double k2, double length);

// The end of a horizontal segment from its design parameters.
PlanePose EndOfSegment(const HorizontalSegment& segment);

// ---- Files ------------------------------------------------------------------------------------

struct WriteOptions {
  std::string fileName;   // for the header
  std::string timeStamp;  // ISO 8601, for the header
  long long unixTime = 0; // for the owner history
  std::string crs;        // "EPSG:25830"; empty for none
};

// The IFC file of the alignments, each aggregated under one project.
std::string WriteAlignmentsFile(const std::vector<AlignmentLayouts>& alignments, const WriteOptions& options);

struct AlignmentsRead {
  bool ok = false;
  std::string error;  // Spanish
  std::vector<AlignmentLayouts> alignments;
  std::vector<std::string> notes;  // what could not be read, in Spanish
  std::string projectedCrs;  // the name of the file's IfcProjectedCRS ("EPSG:25830"), empty when none
};

// Every IfcAlignment of a parsed file, from its design parameters, or from its geometry when it
// has none.
AlignmentsRead ReadAlignments(const StepFile& file);
AlignmentsRead ReadAlignmentsText(std::string_view text);

// Metres per length unit of the file's project (0.3048 for feet).
double LengthUnitFactor(const StepFile& file);

// The name of the file's projected coordinate system (IfcProjectedCRS), empty when it has none.
std::string ProjectedCrsName(const StepFile& file);

}  // namespace ifc
