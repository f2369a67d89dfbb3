#include "formats/dxf/dxf_conversions.h"

#include <string>
#include <string_view>
#include <vector>

#include "common/conversion.h"
#include "formats/dxf/dxf_point_entities.h"
#include "formats/native/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "formats/dxf/dxf_reader.h"
#include "common/segmented_array.h"

namespace planimetro::dxf {

namespace {

constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ningún punto", common::FileKind::kDxf};
constexpr common::ConversionRule kPointFile{"un fichero de puntos", "ningún punto"};

}  // namespace

std::vector<std::string> ParseLayerTable(DxfFile& file) {
  SegmentedArray<std::string> layers;
  if (BuscarTablaCapas(file)) {
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
  return layers.Records();
}

int ListDxfLayers(const std::string& layerFile, const std::string& drawing) {
  std::vector<std::string> layers;
  // Read as a stream up to the end of the layer table: a drawing of any size lists its layers
  // with the memory of one chunk.
  DxfFile file;
  if (common::CheckConversionSourceKind(drawing, kDrawing) && file.OpenStreamed(drawing)) {
    layers = ParseLayerTable(file);
    // A drawing that could not be read is no drawing without layers.
    if (file.failed()) {
      layers.clear();
    } else if (layers.empty()) {
      common::RecordNothingToWrite(drawing, "ninguna tabla de capas");
    }
  }
  common::TextWriter out;
  for (const std::string& layer : layers) {
    out.Write(layer);
    out.Write("\n");
  }
  // The list is read by the front end whatever the drawing held, so it is no target: a failure
  // leaves it (empty) in place. A list that cannot be written does not change what the drawing
  // holds.
  common::WriteFileReplacing(layerFile, out.Bytes());
  return static_cast<int>(layers.size());
}

namespace {

// The POINT entities of the drawing, in file order.
std::vector<DxfVertex> ReadDxfPoints(DxfFile& file) {
  std::vector<DxfVertex> points;
  DxfGroup group;
  DxfVertex point;
  while (LeerGrupoDxf(file, group)) {
    // Only a group that starts an entity names one: a text or a layer called "POINT" is not
    // a point.
    if (group.code != 0 || !IsKeyword(group.value, "POINT")) continue;
    if (LeerPunto(file, point)) points.push_back(point);
  }
  return points;
}

}  // namespace

std::vector<DxfVertex> ParseDxfPoints(std::string_view text) {
  DxfFile file{std::string(text)};
  return ReadDxfPoints(file);
}

void FormatShortPointFile(const std::vector<DxfVertex>& points, common::TextWriter& out) {
  int32_t number = 0;
  for (const DxfVertex& point : points) common::WriteShortPointLine(out, ++number, point.x, point.y, point.z);
}

int ImportDxfPoints(const std::string& drawing, const std::string& pointFile) {
  if (!common::CheckConversionTarget(drawing, pointFile)) return 0;
  if (!common::CheckConversionSourceKind(drawing, kDrawing)) return 0;
  // The drawing is streamed in one pass; only its points are kept.
  DxfFile file;
  if (!file.OpenStreamed(drawing)) return 0;
  const std::vector<DxfVertex> points = ReadDxfPoints(file);
  // A drawing that could not be read to its end is not taken for one with fewer points.
  if (file.failed()) return 0;
  if (!common::RequireSomething(points.empty(), drawing, kDrawing)) return 0;
  common::TextWriter out;
  FormatShortPointFile(points, out);
  return out.SaveTo(pointFile) ? 1 : 0;
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

std::vector<common::PointLine> ParsePointLines(std::string_view text) {
  std::vector<common::PointLine> points;
  common::ForEachPointLine(text, common::PointCodeRule::kFirstWord,
                           [&](const common::PointLine& point) { points.push_back(point); });
  return points;
}

void FormatPointDrawing(const std::vector<common::PointLine>& points, common::TextWriter& out) {
  common::WriteDxfEntitiesHead(out);
  for (const common::PointLine& point : points) WritePointEntities(out, point);
  common::WriteDxfEntitiesTail(out);
}

int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing) {
  return common::ConvertFile(pointFile, drawing, kPointFile, ParsePointLines, FormatPointDrawing);
}

}  // namespace planimetro::dxf
