// The surface export of DXF 3D faces: a thin wrapper that never lets an exception out.
#include "common/export_guard.h"
#include "planimetro.h"
#include "planimetro/surface/surface_conversion.h"

int32_t Calzada_Sup_Importa_Dxf(const char* entrada, const char* entrada2, const char* salida) {
  return common::GuardedExport(0, [&] {
    return planimetro::surface::ConvertDxfFacesToSurface(common::PathArgument(entrada), common::PathArgument(entrada2),
                                                         common::PathArgument(salida));
  });
}
