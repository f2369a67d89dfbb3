// The native cross-section file as the importers and exporters of this library read and write
// it, and the pass that gives each section its axis point.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"

namespace calzada {

// A cross-section point: station, offset (negative to the left), elevation, code.
using PuntoTransversal = common::CrossSectionPoint;
using Transversales = std::vector<PuntoTransversal>;

// Reads the text of a native file (line ends normalised): station, offset and elevation are
// the first three fields, the code the next word; a last line without a line break is read.
// Returns the points in file order.
Transversales ParseNativeSections(std::string_view text);

// The same from a file; false when it cannot be read.
bool ReadNativeSectionsFile(const std::string& path, Transversales& puntos);

// The stations of the points in file order, each value once (exact comparison).
std::vector<double> DistinctStations(const Transversales& puntos);

// A value as the files print it with three decimals: infinite or undefined values as 0, and
// never "-0.000".
double WrittenValue(double value);

// One point in the layout of this library's native files, "%9.3lf %8.3lf %8.3lf %s": station,
// offset, elevation, code; a line feed that ends the code is not written.
void FormatSectionPoint(common::TextWriter& writer, const PuntoTransversal& punto);

// The points with an axis point (offset 0, elevation interpolated, code "0") inserted where a
// section crosses from a point left of the axis to the next point right of it.
Transversales WithAxisPoints(const Transversales& puntos);

// What an importer writes when it runs the axis-point pass on its own output: the points as
// the file would give them back, with their axis points, in "%9.3lf %8.3lf %8.3lf %s".
void FormatWithAxisPoints(const Transversales& puntos, common::TextWriter& writer);
// The same written to `salida`; an empty list writes an empty file. 1 when written.
int WriteWithAxisPoints(const Transversales& puntos, const std::string& salida);

// The axis-point pass on a file: reads `entrada` whole, then writes `salida` (which may be
// the same file: it is replaced only once the new text is complete, and a failure leaves it
// as it was). 1 when written; 0 when the input cannot be read, is no text file, holds no
// point, or the target cannot be written.
int InterpolateAxisElevations(const std::string& entrada, const std::string& salida);

}  // namespace calzada
