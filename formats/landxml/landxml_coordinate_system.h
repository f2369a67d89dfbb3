// The coordinate system a LandXML document names for its coordinates: its `CoordinateSystem`
// element (epsgCode, ogcWktCode, name). The first such element counts.
#pragma once

#include <string>
#include <string_view>

#include "formats/landxml/xml_reader.h"

namespace viaducto {

struct LandXmlCoordinateSystem {
  std::string epsgCode;  // as written ("25830", "EPSG:25830"); empty when absent
  std::string ogcWkt;    // the WKT of ogcWktCode, its &quot; entities already undone
  std::string name;
  bool seen = false;     // a CoordinateSystem element was read
};

// Takes the attributes of the element `name` when it is the document's first CoordinateSystem:
// readers that walk a document for something else call it from their StartElement.
void TakeCoordinateSystem(std::string_view name, const common::LandXmlAttributes& attributes,
                          LandXmlCoordinateSystem& into);

// The coordinate system of the document, read on its own.
LandXmlCoordinateSystem ReadLandXmlCoordinateSystem(const common::LandXmlSource& source);

}  // namespace viaducto
