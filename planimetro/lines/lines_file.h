// The lines file: the polyline vertices of chosen layers of a drawing, each given its station
// and signed offset on a road alignment, gathered into cross sections and sorted.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/alignment_projection.h"
#include "common/clothoid.h"
#include "common/geometry.h"
#include "common/records.h"
#include "common/text_output.h"
#include "formats/dxf/dxf_reader.h"

namespace planimetro::lines {

// One line of the lines file.
struct PuntoLinea {
  double station = 0;
  double offset = 0;  // negative to the left of the alignment
  double x = 0;
  double y = 0;
  double z = 0;
  std::string layer;
  long sequence = 0;  // order of reading: keeps the order of points that sort equal
};

// One element of the alignment, with what projecting on it needs (start point possibly
// recomputed, length set, and the clothoid of a clothoid).
using TramoLineas = common::ProjectionElement;

// The alignment from a native alignment file: lines whose first field starts with "*" are
// header lines, lines without six fields are skipped. Each element's length is the next
// station minus its own (the last record, the end point, has length 0); an element of length
// 0 loses its radius and parameter; the start point after a straight, and after an arc longer
// than 0.001, is recomputed from that element. False when the file cannot be read.
bool ReadLinesAlignment(const std::string& path, std::vector<TramoLineas>& alignment);
void ParseLinesAlignment(std::string_view text, std::vector<TramoLineas>& alignment);
void PrepareAlignment(const std::vector<common::AlignmentElement>& records, std::vector<TramoLineas>& alignment);

// Station and offset of `point`: the foot on the element with the smallest offset among those
// whose foot lies within the element (0.001 of slack at each end). False when no element has
// the foot, or the station is before the start or more than 0.001 past the end.
bool ProjectOnAlignment(const std::vector<TramoLineas>& alignment, const common::Point2& point, double& station,
                        double& offset);

// Rounds stations to millimetres and snaps every station within 0.2 of a more frequent one to
// it, then sorts by station and offset.
void GatherAndSort(std::vector<PuntoLinea>& points);

// The chosen layers of a layer list, one per line, in lower case; empty lines are no layer.
std::unordered_set<std::string> ParseLayerList(std::string_view text);

// The vertices of the drawing's LWPOLYLINE and POLYLINE entities on the chosen layers that lie
// on the alignment, in drawing order, with their station and offset (offsets under 0.009 are 0).
std::vector<PuntoLinea> CollectLinePoints(dxf::DxfFile& file, const std::unordered_set<std::string>& layers,
                                          const std::vector<TramoLineas>& alignment);

// One line per point: station, offset, x, y, z with three decimals, then the layer.
void FormatLinesFile(const std::vector<PuntoLinea>& points, common::TextWriter& out);

// The export: the layers listed in `layerFile`, of the drawing last listed (the current
// drawing), projected on `alignmentFile`, into `linesFile`. 1 when written; 0, with the reason
// recorded and nothing written, when an input cannot be read or is of another kind, no drawing
// has been listed, the list names no layer, the alignment has no element, or no vertex of
// those layers lies on the alignment.
int CreateLinesFile(const std::string& linesFile, const std::string& layerFile, const std::string& alignmentFile);

}  // namespace planimetro::lines
