#include "georref/landxml_system.h"

#include <proj.h>
#include <strings.h>

#include <memory>

#include "common/outcome.h"
#include "formats/geo/proj_handles.h"
#include "georref/georeferencing.h"

namespace georref {
namespace {

using geo::Context;
using geo::Object;

std::string Text(const char* text) { return text != nullptr ? text : std::string(); }

// The EPSG code PROJ finds equivalent to `system` (apart from names at most); empty when none.
std::string IdentifiedEpsgCode(PJ_CONTEXT* context, PJ* system) {
  const std::string authority = Text(proj_get_id_auth_name(system, 0));
  if (!authority.empty()) return strcasecmp(authority.c_str(), "EPSG") == 0 ? Text(proj_get_id_code(system, 0)) : "";
  // A datum change bound to the definition would be lost behind a code.
  if (proj_get_type(system) == PJ_TYPE_BOUND_CRS) return std::string();
  int* confidence = nullptr;
  PJ_OBJ_LIST* candidates = proj_identify(context, system, "EPSG", nullptr, &confidence);
  std::string code;
  // The candidates come best first; 90 and above: the same system, its name aside.
  if (candidates != nullptr && proj_list_get_count(candidates) > 0 && confidence != nullptr && confidence[0] >= 90) {
    const Object best(proj_list_get(context, candidates, 0));
    if (best) code = Text(proj_get_id_code(best.get(), 0));
  }
  proj_int_list_destroy(confidence);
  proj_list_destroy(candidates);
  return code;
}

}  // namespace

bool LandXmlSystemOf(const std::string& definitionText, viaducto::LandXmlCoordinateSystem& system, std::string& problem) {
  const Context context = geo::NewContext();
  const Object crs = geo::CreateSystem(context.get(), definitionText, problem);
  if (!crs) return false;
  system = viaducto::LandXmlCoordinateSystem();
  system.name = Text(proj_get_name(crs.get()));
  system.epsgCode = IdentifiedEpsgCode(context.get(), crs.get());
  const char* const options[] = {"MULTILINE=NO", nullptr};
  const char* wkt = proj_as_wkt(context.get(), crs.get(), PJ_WKT1_GDAL, options);
  if (wkt == nullptr) wkt = proj_as_wkt(context.get(), crs.get(), PJ_WKT2_2019, options);
  system.ogcWkt = Text(wkt);
  if (system.ogcWkt.empty()) {
    problem = "PROJ no puede escribir el sistema de coordenadas «" + definitionText + "» como WKT";
    return false;
  }
  system.seen = true;
  return true;
}

int NameSystemInLandXml(const std::string& salida) {
  const std::string& target = TargetSystem();
  if (target.empty()) {
    common::RecordFailure("Falta el sistema de coordenadas de destino (--t_srs) para nombrarlo en el documento LandXML " +
                          salida);
    return 0;
  }
  viaducto::LandXmlCoordinateSystem system;
  std::string problem;
  if (!LandXmlSystemOf(target, system, problem)) {
    common::RecordFailure(problem);
    return 0;
  }
  return viaducto::PutLandXmlCoordinateSystem(salida, system) ? 1 : 0;
}

}  // namespace georref
