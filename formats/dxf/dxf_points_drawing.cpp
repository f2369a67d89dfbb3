#include "formats/dxf/dxf_points_drawing.h"

#include "common/conversion_rules.h"
#include "formats/dxf/dxf_point_entities.h"
#include "common/numbers.h"
#include "formats/native/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace calzada {

std::vector<common::PointLine> ParsePointsForDrawing(std::string_view puntos) {
  std::vector<common::PointLine> leidos;
  common::ForEachPointLine(puntos, common::PointCodeRule::kFirstWord, common::kBlankSeparated,
                           [&](const common::PointLine& punto) { leidos.push_back(punto); });
  return leidos;
}

void FormatPointsDrawing(const std::vector<common::PointLine>& puntos, common::TextWriter& dibujo) {
  common::WriteDxfEntitiesHead(dibujo);
  for (const common::PointLine& punto : puntos) {
    common::WriteDxfPoint(dibujo, "PUNTOS", punto.x, punto.y, punto.z);
    common::WriteDxfLabel(dibujo, "Z", punto.x + 1, punto.y - 1, common::ElevationLabel(punto.z));
    common::WriteDxfLabel(dibujo, "N", punto.x + 1, punto.y + 1, std::to_string(common::LenientInt(punto.number)));
  }
  common::WriteDxfEntitiesTail(dibujo);
}

std::string FormatPointsDrawingText(std::string_view puntos) {
  common::TextWriter dibujo;
  FormatPointsDrawing(ParsePointsForDrawing(puntos), dibujo);
  return dibujo.Bytes();
}

int ExportPointsDrawing(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kFicheroPuntos, ParsePointsForDrawing, FormatPointsDrawing);
}

}  // namespace calzada
