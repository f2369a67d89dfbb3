// The coordinate systems of `convert` (--s_srs, --t_srs, --allow-ballpark): handed to the
// georeferencing library before a source converts, and the points or surface moved on the way
// through the conversion that reads or writes them: a native point file given as source is
// transformed into a scratch copy that the conversion reads; a native point or surface file
// written by a conversion is transformed where it stands.
#pragma once

#include <string>

#include "frontend/core/command_flow.h"
#include "frontend/core/conversions.h"

namespace cli {

struct SystemOptions {
  std::string source;  // --s_srs
  std::string target;  // --t_srs
  bool allowBallpark = false;
  bool Given() const { return !source.empty() || !target.empty() || allowBallpark; }
};

// Takes --s_srs VALUE, --t_srs VALUE and --allow-ballpark at arguments[i] (moving i past a
// value). False when the argument is none of them; `error` set when its value is missing.
bool ParseSystemOption(const std::vector<std::string>& arguments, std::size_t& i, SystemOptions& options,
                       std::string& error);

// The coordinate system `source` (read as `format`) names for itself: a LandXML document's
// CoordinateSystem, a shapefile's .prj. Empty when it names none.
std::string NamedSystemOfSource(const std::string& source, detect::Format format);

// What must happen around one conversion of `source` (read as `format`) by `command`.
struct SystemStep {
  enum Kind { kNone, kSourcePoints, kTargetPoints, kTargetSurface } kind = kNone;
  bool shapefileTarget = false;  // the target system goes into the .prj beside it
  std::string scratch;  // kSourcePoints: the transformed copy the conversion reads
  ~SystemStep();
};

// Hands the systems to the library (the source's own when --s_srs is not given and the file
// names one) and works out the step. False, with the reason said, when the conversion cannot
// take systems (an alignment, a profile...) or the library refuses them.
bool PrepareSystems(const SystemOptions& options, const frontend::MenuCommand& command, detect::Format format,
                    const std::string& source, frontend::ExportCaller& exports, SystemStep& step);

// After the conversion wrote `target`: the transformation of a native target. False, with the
// target removed and the reason said, when it fails.
bool FinishSystems(const SystemStep& step, const std::string& target, frontend::ExportCaller& exports);

}  // namespace cli
