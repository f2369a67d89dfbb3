// The coordinate system a file names for itself, as its format's reader reads it: a LandXML
// document's CoordinateSystem (epsgCode, else ogcWktCode), a shapefile's .prj beside it, an IFC
// file's IfcProjectedCRS. A file that names its system needs no source system on the command
// line; `info` shows it.
#pragma once

#include <string>

#include "formats/landxml/landxml_coordinate_system.h"

namespace detect {

struct NamedSystem {
  std::string definition;  // as PROJ takes it: "EPSG:25830" or WKT; empty when none
  std::string name;        // for people: "ETRS89 / UTM zone 30N", the code, or the definition
};

// A LandXML document's CoordinateSystem.
NamedSystem NamedSystemOfLandXml(const viaducto::LandXmlCoordinateSystem& system);
// A projection text (a shapefile's .prj, a WKT): named by its first quoted name.
NamedSystem NamedSystemOfWkt(const std::string& wkt);
// The name of an IFC file's IfcProjectedCRS ("EPSG:25830").
NamedSystem NamedSystemOfIfc(const std::string& crsName);

// The system the file at `path`, of the kind "landxml", "shapefile" or "ifc", names.
NamedSystem NamedSystemOfFile(const std::string& path, const std::string& kind);

}  // namespace detect
