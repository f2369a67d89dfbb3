// Coordinates moved from one coordinate reference system to another through PROJ, with the
// operation chosen honestly: PROJ's own list of operations for the data's area, the best one
// whose grids are installed used and named with its accuracy, the better ones that need a
// missing grid named with that grid and where to put it, and a ballpark operation (or a change
// of heights without its geoid grid) refused unless the caller allows it. Coordinates are
// always easting, northing (longitude, latitude for a geographic system) whatever axis order
// the system's definition gives. The network is never used: only grids on this machine.
#pragma once

#include "common/geometry.h"
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace geo {

// A rectangle in the coordinates of a system (easting/northing or longitude/latitude).
using Extent = common::Extents;

// A grid a better operation needs and that is not installed.
struct MissingGrid {
  std::string name;  // the file name PROJ looks for ("es_ign_SPED2ETV2.tif")
  std::string url;   // where it is published, when PROJ knows it
};

// The operation chosen for one pair of systems and one area.
struct OperationChoice {
  std::string name;        // PROJ's name of the operation ("ED50 to ETRS89 (7)")
  double accuracy = -1;    // metres; negative when unknown
  bool ballpark = false;   // no real datum change (or heights left as they are)
  bool vertical = false;   // the ballpark part is a change of heights
  std::string better;      // the best operation that needs a missing grid
  double betterAccuracy = -1;
  std::vector<MissingGrid> missing;  // its grids that are not installed
};

// "1,5 m", "0,05 m", "1 m"; "exactitud desconocida" when negative.
std::string SpanishAccuracy(double metres);

// "ED50 to ETRS89 (7), 1,5 m".
std::string DescribeOperation(const OperationChoice& choice);

// The Spanish note for a better operation that needs grids which are not installed: which
// grid, what accuracy it would give, and the folders where PROJ finds it. Empty when none.
std::string MissingGridNote(const OperationChoice& choice);

// A name of a system as GIS users write it (EPSG code, PROJ string or WKT) made into PROJ's
// canonical name for messages ("ED50 / UTM zone 30N (EPSG:23030)"). False, with `problem`
// set, when PROJ does not take it as a coordinate system.
bool DescribeSystem(const std::string& definition, std::string& description, std::string& problem);

class CoordinateTransform {
 public:
  CoordinateTransform();
  ~CoordinateTransform();
  CoordinateTransform(const CoordinateTransform&) = delete;
  CoordinateTransform& operator=(const CoordinateTransform&) = delete;

  // Chooses the operation from `source` to `target` for the data inside `area` (in the
  // source's coordinates; empty: PROJ's list without an area). False, with `problem` set to a
  // Spanish reason, when a system is not understood, no operation exists, or the best one
  // available is a ballpark one (or changes heights without its geoid) and `allowBallpark` is
  // false.
  bool Prepare(const std::string& source, const std::string& target, const Extent& area, bool allowBallpark,
               std::string& problem);

  const OperationChoice& choice() const { return choice_; }

  // Transforms `count` points in place (z may be null: heights left out). False, with
  // `problem` naming the first point (from 0) PROJ could not transform.
  bool Transform(double* x, double* y, double* z, std::size_t count, std::string& problem);

 private:
  struct State;
  std::unique_ptr<State> state_;
  OperationChoice choice_;
};

}  // namespace geo
