#include "formats/dxf/dxf_summary.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace planimetro::dxf {
namespace {

double FirstNumber(std::string_view text) {
  // strtod reads a terminated text: a DXF value (255 characters at most) is copied to the stack.
  char buffer[256];
  if (text.size() < sizeof buffer) {
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return std::strtod(buffer, nullptr);
  }
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

}  // namespace

DxfSummary SummarizeDxf(DxfFile& file) {
  DxfSummary summary;
  std::map<std::string, std::size_t> layerIndex;
  const auto layer = [&](std::string_view name) -> DxfLayerSummary& {
    auto found = layerIndex.find(std::string(name));
    if (found == layerIndex.end()) {
      found = layerIndex.emplace(name, summary.layers.size()).first;
      summary.layers.push_back({std::string(name), {}});
    }
    return summary.layers[found->second];
  };
  std::string section;
  std::string entity;  // the entity of the ENTITIES section being read
  std::string entityLayer = "0";
  bool expectSectionName = false;
  bool inLayerEntry = false;
  bool counted = true;
  double x = 0, y = 0, minZ = 0, maxZ = 0;
  bool haveX = false, haveY = false, haveZ = false;
  // The coordinates of the entity being read: they count once the entity is known to be drawn
  // in model space (67 = 1 puts it in paper space, where a title block has coordinates of the
  // sheet, not of the site).
  common::Extents entityExtents;
  double entityMinZ = 0, entityMaxZ = 0;
  bool entityHasZ = false;
  bool paperSpace = false;
  bool otherPoints = false;  // codes 11-13 are points of this entity, not vectors or sizes
  const auto finishEntity = [&] {
    if (!counted) ++layer(entityLayer).entities[entity];
    counted = true;
    if (!paperSpace && entityExtents.known) {
      summary.extents.Add(entityExtents.minX, entityExtents.minY, 0);
      summary.extents.Add(entityExtents.maxX, entityExtents.maxY, 0);
    }
    if (!paperSpace && entityHasZ) {
      minZ = haveZ && minZ < entityMinZ ? minZ : entityMinZ;
      maxZ = haveZ && maxZ > entityMaxZ ? maxZ : entityMaxZ;
      haveZ = true;
    }
    entityExtents = common::Extents();
    entityHasZ = false;
    haveX = haveY = false;
  };
  DxfGroup group;
  while (LeerGrupoDxf(file, group)) {
    const std::string_view value = group.value;
    if (group.code == 0) {
      finishEntity();
      inLayerEntry = false;
      if (IsKeyword(value, "SECTION")) {
        expectSectionName = true;
        continue;
      }
      if (IsKeyword(value, "ENDSEC")) {
        section.clear();
        continue;
      }
      if (section == "TABLES" && IsKeyword(value, "LAYER")) inLayerEntry = true;
      if (section == "ENTITIES" && !IsKeyword(value, "VERTEX") && !IsKeyword(value, "SEQEND") &&
          !IsKeyword(value, "ATTRIB")) {
        entity = UpperCase(value);
        entityLayer = "0";
        counted = false;
        paperSpace = false;
        // An image's 13/23 are its size in pixels, an ellipse's or a ray's 11/21 a vector:
        // only these entities keep further corners in 11 to 13.
        otherPoints = entity == "LINE" || entity == "3DFACE" || entity == "SOLID" || entity == "TRACE";
      }
      continue;
    }
    if (expectSectionName && group.code == 2) {
      section = UpperCase(value);
      expectSectionName = false;
      continue;
    }
    if (inLayerEntry && group.code == 2) {
      layer(value);
      continue;
    }
    if (section != "ENTITIES") continue;
    if (group.code == 8 && !counted) entityLayer = value;
    // A polyline's vertices follow it: its paper-space flag is theirs.
    if (group.code == 67 && (!counted || entity == "POLYLINE")) paperSpace = FirstNumber(value) == 1;
    // The point of a polyline's own header is a placeholder, not a vertex.
    if (entity == "POLYLINE" && !counted) continue;
    const int last = group.code % 10;
    const bool coordinate = last == 0 || (otherPoints && last <= 3);
    if (group.code >= 10 && group.code <= 13 && coordinate) {
      x = FirstNumber(value);
      haveX = true;
      haveY = false;
    } else if (group.code >= 20 && group.code <= 23 && coordinate && haveX) {
      y = FirstNumber(value);
      haveY = true;
      entityExtents.Add(x, y, 0);
    } else if (group.code >= 30 && group.code <= 33 && coordinate && haveX && haveY) {
      const double z = FirstNumber(value);
      entityMinZ = entityHasZ && entityMinZ < z ? entityMinZ : z;
      entityMaxZ = entityHasZ && entityMaxZ > z ? entityMaxZ : z;
      entityHasZ = true;
      haveX = haveY = false;
    }
  }
  finishEntity();
  summary.extents.minZ = haveZ ? minZ : 0;
  summary.extents.maxZ = haveZ ? maxZ : 0;
  summary.failed = file.failed();
  return summary;
}

}  // namespace planimetro::dxf
