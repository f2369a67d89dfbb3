// The DXF conversions of the library: the layer list of a drawing, its POINT entities to a
// native point file, and a native point file to a drawing of points and labels.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/native/point_file.h"
#include "common/text_output.h"
#include "formats/dxf/dxf_reader.h"

namespace planimetro::dxf {

// The names of the drawing's layer table, in table order.
std::vector<std::string> ParseLayerTable(DxfFile& file);

// The layers the entities of the drawing name (code 8), in the order first met: the layers of
// a drawing written without a layer table.
std::vector<std::string> ParseEntityLayers(DxfFile& file);

// Writes the layer names of the drawing's layer table to `layerFile`, one per line in table
// order, and makes the drawing the current one; a drawing without a layer table lists the
// layers its entities name. Returns the number of names; a drawing that cannot be read, is no
// DXF or names no layer gives 0 (with the reason) and an empty layer file. The layer file is a
// list for the front end, not a target: a failure never removes it.
int ListDxfLayers(const std::string& layerFile, const std::string& drawing);

// A survey point of a drawing: a POINT entity, or a block reference whose attributes name a
// number, an elevation or a code (survey programs draw their points as such blocks).
struct DxfSurveyPoint {
  DxfVertex at;  // the point, or the insertion point of the block (z from its elevation tag)
  bool fromBlock = false;
  bool hasNumber = false;
  int32_t number = 0;
  std::string code;
};

// The survey points of a drawing's own entities (model space), in file order: the entities of
// block definitions and of paper space are no survey points.
struct DxfSurveyPoints {
  std::vector<DxfSurveyPoint> points;
  long fromBlocks = 0;
  std::vector<std::string> tags;  // the attribute tags taken, upper case, in the order first met
};
DxfSurveyPoints ReadDxfSurveyPoints(DxfFile& file);

// The positions of the survey points of the text of a drawing, in file order.
std::vector<DxfVertex> ParseDxfPoints(std::string_view text);
// Short point lines numbered from 1.
void FormatShortPointFile(const std::vector<DxfVertex>& points, common::TextWriter& out);
// The point file of the survey points: short lines numbered from 1 when every point is a
// POINT entity; full lines with the number and code of the blocks' attributes (the others
// numbered by their place in the drawing) when some come from blocks.
void FormatDxfPointFile(const DxfSurveyPoints& read, common::TextWriter& out);
// What the import says of the points it took from blocks; empty when none.
std::string BlockPointsNote(const DxfSurveyPoints& read);
// Writes every survey point of the drawing (see ReadDxfSurveyPoints) to the point file.
// Returns 1 when written; 0, with nothing written, when the drawing cannot be read, is no DXF
// or holds no point, or the point file cannot be written.
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
