// PROJ's context and objects held by their owners, and a coordinate system made from a
// definition as GIS users write it: what every user of PROJ in the suite shares.
#pragma once

#include <proj.h>

#include <memory>
#include <string>

namespace geo {

struct ContextDeleter {
  void operator()(PJ_CONTEXT* context) const { proj_context_destroy(context); }
};
struct ObjectDeleter {
  void operator()(PJ* object) const { proj_destroy(object); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextDeleter>;
using Object = std::unique_ptr<PJ, ObjectDeleter>;

// A context that uses only what is on this machine (a conversion never depends on the
// network) and logs nothing.
Context NewContext();

// The system `definition` names (EPSG code, PROJ string or WKT; PROJ strings without
// "+type=crs" are taken as systems, as GIS programs take them). Null, with `problem` set in
// Spanish, when PROJ does not take it as a coordinate system.
Object CreateSystem(PJ_CONTEXT* context, std::string definition, std::string& problem);

}  // namespace geo
