// The coordinate systems of a conversion: the source's system, the target's and whether a
// ballpark operation is accepted, handed to the georeferencing library before a source
// converts. A conversion of that library (a map, a change of system) takes them itself; any
// other conversion of points or a surface has them moved on the way through it: a native point
// file given as source is transformed into a scratch copy that the conversion reads; a native
// point or surface file written by a conversion is transformed where it stands. Both front ends
// run this through CommandRunner: pasarela-cli from --s_srs, --t_srs and --allow-ballpark, the
// desktop from its "Sistemas de coordenadas" dialog.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/detect/detect.h"

namespace frontend {

inline constexpr const char* kGeorefLibrary = "Georref";

struct SystemOptions {
  std::string source;  // empty: the one the source file names, if any
  std::string target;  // empty: none (a GeoJSON or KML map is always WGS84)
  bool allowBallpark = false;
  bool Given() const { return !source.empty() || !target.empty() || allowBallpark; }
};

// The coordinate system `source` (read as `format`) names for itself: a LandXML document's
// CoordinateSystem, a shapefile's .prj, an IFC file's projected system. Empty when it names none.
std::string NamedSystemOfSource(const std::string& source, detect::Format format);

// How a conversion takes coordinate systems.
enum class SystemUse {
  kNone,           // it carries no coordinates to move (an alignment, a profile...)
  kOwn,            // a conversion of the georeferencing library: it takes them itself
  kSourcePoints,   // native points read: moved into a scratch copy first
  kTargetPoints,   // native points written: moved where they stand
  kTargetSurface,  // a native surface written: moved where it stands
};

// `command` run on a source of `format` (kUnknown: the format the command reads).
SystemUse SystemUseOf(const MenuCommand& command, detect::Format format);

// What happens around one run of a command with systems; the scratch copy goes with it.
struct SystemStep {
  SystemUse use = SystemUse::kNone;
  bool shapefileTarget = false;  // the target system goes into the .prj beside the target
  bool landXmlTarget = false;    // the target system goes into the document's CoordinateSystem
  std::string scratch;           // kSourcePoints: the moved copy the conversion reads
  SystemStep() = default;
  SystemStep(const SystemStep&) = delete;
  SystemStep& operator=(const SystemStep&) = delete;
  ~SystemStep();
};

// Calls one export of the georeferencing library: true on success, else false with the
// library's reason in `reason`.
using GeorefCall = std::function<bool(const char* name, const std::vector<std::string>& arguments, std::string& reason)>;

// Checks the systems against `command`, hands them to the library (the source's own system when
// none is given and the file names one) and makes the scratch copy of a native point source.
// False, with the reason, when the conversion cannot take systems or the library refuses them.
// A command of another library with no systems given needs nothing: true with use kNone.
bool PrepareSystems(const SystemOptions& options, const MenuCommand& command, detect::Format format,
                    const std::string& source, const GeorefCall& call, SystemStep& step, std::string& reason);

// After the conversion wrote `target`: the transformation of a native target, the system named
// beside or inside it. False, with the target removed and the reason, when that fails: a target
// left in the source's system would look like a result.
bool FinishSystems(const SystemStep& step, const std::string& target, const GeorefCall& call, std::string& reason);

}  // namespace frontend
