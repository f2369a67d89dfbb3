#include "calzada/points/dxf_points.h"

#include "common/dxf_point_entities.h"
#include "common/numbers.h"
#include "common/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace calzada {

std::string DibujoDePuntos(std::string_view puntos) {
  common::TextWriter dibujo;
  common::WriteDxfEntitiesHead(dibujo);
  common::ForEachPointLine(puntos, common::PointCodeRule::kFirstWord, common::kBlankSeparated,
                           [&](const common::PointLine& punto) {
                             common::WriteDxfPoint(dibujo, "PUNTOS", punto.x, punto.y, punto.z);
                             common::WriteDxfLabel(dibujo, "Z", punto.x + 1, punto.y - 1,
                                                   common::ElevationLabel(punto.z));
                             common::WriteDxfLabel(dibujo, "N", punto.x + 1, punto.y + 1,
                                                   std::to_string(common::LenientInt(punto.number)));
                           });
  common::WriteDxfEntitiesTail(dibujo);
  return dibujo.Bytes();
}

int ExportaPuntosDxf(const std::string& entrada, const std::string& salida) {
  std::string puntos;
  if (!common::LoadTextFile(entrada, puntos)) return 0;
  return common::WriteFileBytes(salida, DibujoDePuntos(puntos)) ? 1 : 0;
}

}  // namespace calzada
