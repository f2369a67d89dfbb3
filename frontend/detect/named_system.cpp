#include "frontend/detect/named_system.h"

#include <strings.h>

#include <fstream>
#include <sstream>

#include "formats/ifc/ifc_alignment.h"
#include "formats/ifc/step.h"
#include "formats/shapefile/shapefile_points.h"

namespace detect {
namespace {

// The first quoted name of a WKT text ("ETRS89 / UTM zone 30N").
std::string WktName(const std::string& wkt) {
  const std::size_t open = wkt.find('"');
  if (open == std::string::npos) return wkt;
  const std::size_t close = wkt.find('"', open + 1);
  return close == std::string::npos ? wkt : wkt.substr(open + 1, close - open - 1);
}

}  // namespace

NamedSystem NamedSystemOfLandXml(const viaducto::LandXmlCoordinateSystem& system) {
  NamedSystem named;
  if (!system.epsgCode.empty()) {
    named.definition = strncasecmp(system.epsgCode.c_str(), "EPSG:", 5) == 0 ? system.epsgCode : "EPSG:" + system.epsgCode;
    named.name = system.name.empty() ? named.definition : system.name + " (" + named.definition + ")";
  } else if (!system.ogcWkt.empty()) {
    named = NamedSystemOfWkt(system.ogcWkt);
  }
  return named;
}

NamedSystem NamedSystemOfWkt(const std::string& wkt) {
  NamedSystem named;
  if (wkt.empty()) return named;
  named.definition = wkt;
  named.name = WktName(wkt);
  return named;
}

NamedSystem NamedSystemOfIfc(const std::string& crsName) {
  NamedSystem named;
  named.definition = crsName;
  named.name = crsName;
  return named;
}

NamedSystem NamedSystemOfFile(const std::string& path, const std::string& kind) {
  if (kind == "landxml") return NamedSystemOfLandXml(viaducto::ReadLandXmlCoordinateSystem(path));
  if (kind == "shapefile") return NamedSystemOfWkt(shapeline::ReadShapefileProjection(path));
  if (kind == "ifc") {
    std::ifstream in(path, std::ios::binary);
    if (!in) return NamedSystem();
    std::ostringstream text;
    text << in.rdbuf();
    ifc::StepFile file;
    if (!ifc::ParseStep(text.str(), file).ok) return NamedSystem();
    return NamedSystemOfIfc(ifc::ProjectedCrsName(file));
  }
  return NamedSystem();
}

}  // namespace detect
