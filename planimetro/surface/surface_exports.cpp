// The surface export of DXF 3D faces: a thin wrapper that never lets an exception out. The
// target and the kind of the drawing are checked before the faces are read, and a drawing
// without faces that make a triangle on the layer is said to hold none.
#include <string>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "planimetro.h"
#include "planimetro/surface/dxf_surface.h"

namespace {

constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ninguna cara 3D", common::FileKind::kDxf};

long ImportSurface(const std::string& drawing, const std::string& layer, const std::string& target) {
  if (!common::CheckConversionTarget(drawing, target)) return 0;
  if (!common::CheckConversionSourceKind(drawing, kDrawing)) return 0;
  const long triangles = planimetro::surface::ImportDxfSurface(drawing, layer, target);
  if (triangles == 0 && !common::HasRecordedFailure()) {
    const std::string what = "ninguna cara 3D que forme un triángulo en la capa " + layer;
    common::RecordNothingToWrite(drawing, what.c_str());
  }
  return triangles;
}

}  // namespace

int32_t Calzada_Sup_Importa_Dxf(const char* entrada, const char* entrada2, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ImportSurface(common::PathArgument(entrada), common::PathArgument(entrada2), common::PathArgument(salida));
  });
}
