// The DXF conversions of the library: the layer list of a drawing, its POINT entities to a
// native point file, and a native point file to a drawing of points and labels.
#pragma once

#include <string>

namespace planimetro::dxf {

// Writes the layer names of the drawing's layer table to `layerFile`, one per line in table
// order, and makes the drawing the current one. Returns the number of names; a drawing that
// cannot be read, or has no layer table, gives 0 and an empty layer file.
int ListDxfLayers(const std::string& layerFile, const std::string& drawing);

// Writes every POINT of the drawing as a short point line numbered from 1. Returns 1 when at
// least one point was written; 0 otherwise (an unreadable drawing leaves an empty point file,
// a point file that cannot be written leaves none).
int ImportDxfPoints(const std::string& drawing, const std::string& pointFile);

// Writes each point of the point file as a POINT with its elevation, number and code as texts
// beside it, on layers named after the code. Returns 1; 0 when the point file cannot be read
// or the drawing cannot be written.
int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing);

}  // namespace planimetro::dxf
