// The DXF conversions of the library: the layer list of a drawing, its POINT entities to a
// native point file, and a native point file to a drawing of points and labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/point_file.h"
#include "common/text_output.h"
#include "formats/dxf/dxf_reader.h"

namespace planimetro::dxf {

// The names of the drawing's layer table, in table order.
std::vector<std::string> ParseLayerTable(DxfFile& file);

// Writes the layer names of the drawing's layer table to `layerFile`, one per line in table
// order, and makes the drawing the current one. Returns the number of names; a drawing that
// cannot be read, is no DXF or has no layer table gives 0 (with the reason) and an empty layer
// file. The layer file is a list for the front end, not a target: a failure never removes it.
int ListDxfLayers(const std::string& layerFile, const std::string& drawing);

// The POINT entities of the text of a drawing, in file order.
std::vector<DxfVertex> ParseDxfPoints(std::string_view text);
// Short point lines numbered from 1.
void FormatShortPointFile(const std::vector<DxfVertex>& points, common::TextWriter& out);
// Writes every POINT of the drawing as a short point line numbered from 1. Returns 1 when
// written; 0, with nothing written, when the drawing cannot be read, is no DXF or holds no
// POINT, or the point file cannot be written.
int ImportDxfPoints(const std::string& drawing, const std::string& pointFile);

// The point lines of the text of a point file (the code is the first word after z), and their
// drawing: each a POINT with its elevation, number and code as texts beside it, on layers named
// after the code.
std::vector<common::PointLine> ParsePointLines(std::string_view text);
void FormatPointDrawing(const std::vector<common::PointLine>& points, common::TextWriter& out);
// Returns 1 when the drawing was written; 0 when the point file cannot be read, is no text
// file or holds no point, or the drawing cannot be written.
int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing);

}  // namespace planimetro::dxf
