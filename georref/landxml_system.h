// The coordinate system a LandXML target of a conversion is in, named in the document as its
// CoordinateSystem, so that a reader knows what the coordinates moved to are.
#pragma once

#include <string>

#include "formats/landxml/landxml_coordinate_system.h"

namespace georref {

// What names the system `definition` (an EPSG code, a PROJ string or WKT) in a LandXML
// document: the EPSG code when the definition is one or PROJ finds it equivalent to one
// (never for a definition bound to a datum change of its own, which the code would drop), the
// WKT PROJ writes for it (WKT1 as LandXML readers know it, else WKT2) and PROJ's name. False,
// with `problem` set, when PROJ does not take it as a coordinate system.
bool LandXmlSystemOf(const std::string& definition, viaducto::LandXmlCoordinateSystem& system, std::string& problem);

// The target system of Georref_Sistemas put into the LandXML document `salida` as its
// CoordinateSystem (see viaducto::PutLandXmlCoordinateSystem); 1 when written, 0 with the
// document untouched otherwise.
int NameSystemInLandXml(const std::string& salida);

}  // namespace georref
