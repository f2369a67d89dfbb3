// The coordinate system a LandXML document names for its coordinates: its `CoordinateSystem`
// element (epsgCode, ogcWktCode, name), read (the first such element counts) and written into
// a document the suite wrote.
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

// The element that names `system`: `<CoordinateSystem name=".." epsgCode=".." ogcWktCode=".."/>`,
// an empty value left out; characters outside ASCII are written as character references, so
// that the element reads the same in a document of any encoding. `prefix` ("lx:") is the
// prefix of the document's root, whose namespace the element must share.
std::string CoordinateSystemElement(const LandXmlCoordinateSystem& system, std::string_view prefix = {});

// Puts `system` into the LandXML document at `path` as its root's CoordinateSystem: in place of
// the one the root has (any further one of the root removed), else before the root's first
// child other than Project and Units (after the Units, as the schema lists them, and before the
// data), else before the root's end tag. Every other byte of the document stays as it was.
// The document is written anew beside itself and renamed into place with its permissions, so
// a failure never leaves it half written. False, with the reason recorded and the document
// untouched, when it cannot be read, is not a well-formed LandXML document with content, or
// the new one cannot be written.
bool PutLandXmlCoordinateSystem(const std::string& path, const LandXmlCoordinateSystem& system);

// The same on a document in memory: `result` is the document with the element.
bool PutCoordinateSystemInDocument(std::string_view document, const LandXmlCoordinateSystem& system,
                                   std::string& result);

}  // namespace viaducto
