// The coordinate system a file names for itself, read without PROJ so that detection and `info`
// can tell it: a LandXML document's CoordinateSystem (epsgCode, else ogcWktCode), a
// shapefile's .prj beside it, an IFC file's IfcProjectedCRS. A file that names its system needs
// no source system on the command line.
#pragma once

#include <string>
#include <string_view>

namespace geo {

struct NamedSystem {
  std::string definition;  // as PROJ takes it: "EPSG:25830" or WKT; empty when none
  std::string name;        // for people: "ETRS89 / UTM zone 30N", the code, or the definition
};

// The CoordinateSystem element of a LandXML document (its text, or the first part of it).
NamedSystem NamedSystemOfLandXml(std::string_view text);

// The .prj (or .PRJ) beside the shapefile at `path`.
NamedSystem NamedSystemOfShapefile(const std::string& path);

// The first IfcProjectedCRS of an IFC file's text (its Name, "EPSG:25830").
NamedSystem NamedSystemOfIfc(std::string_view text);

// The system the file at `path` names, by its kind: "landxml", "shapefile" or "ifc".
NamedSystem NamedSystemOfFile(const std::string& path, std::string_view kind);

}  // namespace geo
