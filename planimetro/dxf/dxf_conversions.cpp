#include "planimetro/dxf/dxf_conversions.h"

#include <string>
#include <string_view>

#include "common/dxf_point_entities.h"
#include "common/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "planimetro/dxf/current_drawing.h"
#include "planimetro/dxf/dxf_reader.h"
#include "planimetro/frame/segmented_array.h"

namespace planimetro::dxf {

int ListDxfLayers(const std::string& layerFile, const std::string& drawing) {
  SetCurrentDrawing(drawing);
  SegmentedArray<std::string> layers;
  DxfFile file;
  if (file.Open(drawing) && BuscarTablaCapas(file)) {
    DxfGroup group;
    bool inLayerRecord = false;
    while (LeerGrupoDxf(file, group)) {
      if (group.code == 0) {
        if (IsKeyword(group.value, "ENDTAB")) break;
        inLayerRecord = IsKeyword(group.value, "LAYER");
      } else if (group.code == 2 && inLayerRecord) {
        // The first name of the record is the layer's; a later code 2 is something else.
        layers.Append(std::string(group.value));
        inLayerRecord = false;
      }
    }
  }
  common::TextWriter out;
  for (const std::string& layer : layers.Records()) {
    out.Write(layer);
    out.Write("\n");
  }
  // A layer file that cannot be written does not change what the drawing holds.
  out.SaveTo(layerFile);
  return static_cast<int>(layers.Size());
}

int ImportDxfPoints(const std::string& drawing, const std::string& pointFile) {
  common::TextWriter out;
  int32_t count = 0;
  DxfFile file;
  if (file.Open(drawing)) {
    DxfGroup group;
    DxfVertex point;
    while (LeerGrupoDxf(file, group)) {
      // Only a group that starts an entity names one: a text or a layer called "POINT" is not
      // a point.
      if (group.code != 0 || !IsKeyword(group.value, "POINT")) continue;
      if (!LeerPunto(file, point)) continue;
      common::WriteShortPointLine(out, ++count, point.x, point.y, point.z);
    }
  }
  if (!out.SaveTo(pointFile)) return 0;
  return count > 0 ? 1 : 0;
}

namespace {

// The layer of an entity: the code followed by `suffix`, or the fixed name used without code.
std::string LayerOf(std::string_view code, const char* suffix, const char* withoutCode) {
  if (code.empty()) return withoutCode;
  std::string layer(code);
  layer += suffix;
  return layer;
}

void WritePointEntities(common::TextWriter& out, const common::PointLine& point) {
  common::WriteDxfPoint(out, LayerOf(point.code, "-PUNTOS", "PUNTOS-P"), point.x, point.y, point.z);
  common::WriteDxfLabel(out, LayerOf(point.code, "-Z", "PUNTOS-Z"), point.x + 1, point.y - 1,
                        common::ElevationLabel(point.z));
  common::WriteDxfLabel(out, LayerOf(point.code, "-N", "PUNTOS-N"), point.x + 1, point.y + 1, point.number);
  if (!point.code.empty()) {
    common::WriteDxfLabel(out, LayerOf(point.code, "-CODIGOS", ""), point.x + 1, point.y - 2.5, point.code);
  }
}

}  // namespace

int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing) {
  std::string text;
  if (!common::LoadTextFile(pointFile, text)) return 0;
  common::TextWriter out;
  common::WriteDxfEntitiesHead(out);
  common::ForEachPointLine(text, common::PointCodeRule::kFirstWord,
                           [&](const common::PointLine& point) { WritePointEntities(out, point); });
  common::WriteDxfEntitiesTail(out);
  return out.SaveTo(drawing) ? 1 : 0;
}

}  // namespace planimetro::dxf
