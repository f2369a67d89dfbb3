// What a drawing holds, read with the drawing reader: the layers of its layer table and of its
// entities, the entities of each layer by type, and the box their coordinates span.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/record_summary.h"
#include "formats/dxf/dxf_reader.h"

namespace planimetro::dxf {

struct DxfLayerSummary {
  std::string name;
  std::map<std::string, long> entities;  // entity type (upper case) -> count
};

struct DxfSummary {
  std::vector<DxfLayerSummary> layers;  // in the order first met
  // x and y of every coordinate of the entities; z from their own z values (0 to 0 when none
  // has one).
  common::Extents extents;
  bool failed = false;  // a streamed drawing could not be read to its end
};

// Reads `file` from where it stands to its end. The vertices of a polyline and the attributes
// of a block reference belong to them and are not counted on their own.
DxfSummary SummarizeDxf(DxfFile& file);

}  // namespace planimetro::dxf
