// The library's DXF exports (layers, points, the surface of 3D faces): thin wrappers that never
// let an exception out.
#include "common/export_guard.h"
#include "planimetro.h"
#include "planimetro/dxf/current_drawing.h"
#include "formats/dxf/dxf_conversions.h"
#include "formats/dxf/dxf_surface.h"

int32_t Calzada_getCapasDxf(const char* ficheroCapas, const char* ficheroDXF) {
  return common::GuardedExport(0, [&] {
    // The drawing is remembered for the lines file whether or not its layers can be listed.
    planimetro::dxf::SetCurrentDrawing(common::PathArgument(ficheroDXF));
    return planimetro::dxf::ListDxfLayers(common::PathArgument(ficheroCapas), common::PathArgument(ficheroDXF));
  });
}

int32_t Calzada_Puntos_Importa_Dxf(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return planimetro::dxf::ImportDxfPoints(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Calzada_Puntos_Exporta_Dxf(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return planimetro::dxf::ExportPointsToDxf(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Calzada_Sup_Importa_Dxf(const char* entrada, const char* entrada2, const char* salida) {
  return common::GuardedExport(0, [&] {
    return planimetro::surface::ConvertDxfFacesToSurface(common::PathArgument(entrada), common::PathArgument(entrada2),
                                                         common::PathArgument(salida));
  });
}
