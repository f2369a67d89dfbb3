// The DXF points export of this library: a thin wrapper that never lets an exception or the
// caller's locale in.
#include "calzada.h"
#include "calzada/frame/conversion_export.h"
#include "formats/dxf/dxf_points_drawing.h"

int32_t Calzada_Puntos_Exporta_Dxf(const char* entrada, const char* salida) {
  return calzada::RunConversion(calzada::ExportPointsDrawing, entrada, salida);
}
