// Surfaces of a LandXML file: the list of their names, and the import of one surface (its P
// points, with CgPoints referred to by pntRef, and its F faces) into the native surface file.
#pragma once

#include <string>

namespace planimetro::landxml {

// Writes the name of every Surface to `listFile`, one per line in document order. Returns the
// number of names (0, with an empty list, when the document cannot be read).
int ListLandXmlSurfaces(const std::string& document, const std::string& listFile);

// The points and faces of every Surface called `surfaceName` (letter case ignored) go through
// the triangle file "$$$.TRI" of the temporary directory into the surface file `target`.
// Returns 1 once the triangle file has loaded (even when the surface file cannot be written);
// 0 when the document cannot be read or the surface has no point.
int ImportLandXmlSurface(const std::string& document, const std::string& surfaceName, const std::string& target);

// The fixed triangle file the import leaves behind.
std::string TriangleFilePath();

}  // namespace planimetro::landxml
