#include "planimetro/surface/surface_conversion.h"

#include "common/conversion.h"
#include "planimetro/surface/dxf_surface.h"

namespace planimetro::surface {
namespace {

constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ninguna cara 3D", common::FileKind::kDxf};

}  // namespace

long ConvertDxfFacesToSurface(const std::string& drawing, const std::string& layer, const std::string& target) {
  if (!common::CheckConversionTarget(drawing, target)) return 0;
  if (!common::CheckConversionSourceKind(drawing, kDrawing)) return 0;
  const long triangles = ImportDxfSurface(drawing, layer, target);
  if (triangles == 0 && !common::HasRecordedFailure()) {
    const std::string what = "ninguna cara 3D que forme un triángulo en la capa " + layer;
    common::RecordNothingToWrite(drawing, what.c_str());
  }
  return triangles;
}

}  // namespace planimetro::surface
