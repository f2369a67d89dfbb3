#include "planimetro/dxf/dxf_conversions.h"

#include <string_view>

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

// The layer of a label: the code followed by `suffix`, or the fixed name used without code.
void WriteLayer(common::TextWriter& out, std::string_view code, const char* suffix, const char* withoutCode) {
  if (code.empty()) {
    out.Printf(" 8\n%s\n", withoutCode);
  } else {
    out.Printf(" 8\n%.*s%s\n", static_cast<int>(code.size()), code.data(), suffix);
  }
}

void WritePointEntities(common::TextWriter& out, const common::PointLine& point) {
  out.Write(" 0\nPOINT\n");
  WriteLayer(out, point.code, "-PUNTOS", "PUNTOS-P");
  out.Printf("10\n%0.3lf\n20\n%0.3lf\n30\n%0.3lf\n", point.x, point.y, point.z);

  out.Write(" 0\nTEXT\n");
  WriteLayer(out, point.code, "-Z", "PUNTOS-Z");
  out.Printf("10\n%0.3lf\n20\n%0.3lf\n1\n%0.2lf\n40\n1.000\n50\n0.0\n", point.x + 1, point.y - 1, point.z);

  out.Write(" 0\nTEXT\n");
  WriteLayer(out, point.code, "-N", "PUNTOS-N");
  out.Printf("10\n%0.3lf\n20\n%0.3lf\n1\n%.*s\n40\n1.000\n50\n0.0\n", point.x + 1, point.y + 1,
             static_cast<int>(point.number.size()), point.number.data());

  if (!point.code.empty()) {
    out.Write(" 0\nTEXT\n");
    WriteLayer(out, point.code, "-CODIGOS", "");
    out.Printf("10\n%0.3lf\n20\n%0.3lf\n1\n%.*s\n40\n1.000\n50\n0.0\n", point.x + 1, point.y - 2.5,
               static_cast<int>(point.code.size()), point.code.data());
  }
}

}  // namespace

int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing) {
  std::string text;
  if (!common::LoadTextFile(pointFile, text)) return 0;
  common::TextWriter out;
  out.Write(" 0\nSECTION\n 2\nENTITIES\n");
  common::ForEachPointLine(text, common::PointCodeRule::kFirstWord,
                           [&](const common::PointLine& point) { WritePointEntities(out, point); });
  out.Write(" 0\nENDSEC\n 0\nEOF\n");
  return out.SaveTo(drawing) ? 1 : 0;
}

}  // namespace planimetro::dxf
