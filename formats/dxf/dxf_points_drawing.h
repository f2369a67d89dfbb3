// The native point file as a drawing of points for this library's callers: fixed layers
// "PUNTOS" (the points), "Z" (elevation labels) and "N" (number labels). The CAD library's export
// of the same name writes per-code layers and a code label instead.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/point_file.h"
#include "common/text_output.h"

namespace calzada {

// The points of the text of a native point file, and their drawing.
std::vector<common::PointLine> ParsePointsForDrawing(std::string_view puntos);
void FormatPointsDrawing(const std::vector<common::PointLine>& puntos, common::TextWriter& dibujo);

// The drawing of the points of `puntos` (text of a native point file, line ends normalised;
// fields split at blanks: number, x, y, z; a line with fewer is skipped).
std::string FormatPointsDrawingText(std::string_view puntos);

// The export: 1 when the drawing was written; 0 when the point file cannot be read, is no
// text file or holds no point, or the drawing cannot be written.
int ExportPointsDrawing(const std::string& entrada, const std::string& salida);

}  // namespace calzada
