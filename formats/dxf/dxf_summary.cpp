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
  const auto finishEntity = [&] {
    if (!counted) ++layer(entityLayer).entities[entity];
    counted = true;
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
    // The point of a polyline's own header is a placeholder, not a vertex.
    if (entity == "POLYLINE" && !counted) continue;
    if (group.code >= 10 && group.code <= 13) {
      x = FirstNumber(value);
      haveX = true;
      haveY = false;
    } else if (group.code >= 20 && group.code <= 23 && haveX) {
      y = FirstNumber(value);
      haveY = true;
      summary.extents.Add(x, y, 0);
    } else if (group.code >= 30 && group.code <= 33 && haveX && haveY) {
      const double z = FirstNumber(value);
      minZ = haveZ && minZ < z ? minZ : z;
      maxZ = haveZ && maxZ > z ? maxZ : z;
      haveZ = true;
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
