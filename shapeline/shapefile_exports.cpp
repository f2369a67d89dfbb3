// The library's exports: thin wrappers that never let an exception out.
#include "common/export_guard.h"
#include "shapeline.h"
#include "shapeline/shapefile_outcomes.h"

int32_t ImportarPuntosDeShapeline(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return shapeline::ConvertShapefileToPoints(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t ExportarPuntosToShapeline(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return shapeline::ConvertPointsToShapefile(common::PathArgument(entrada), common::PathArgument(salida));
  });
}
