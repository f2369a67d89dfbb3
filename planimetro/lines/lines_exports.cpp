// The DXF-to-lines export: a thin wrapper that never lets an exception out.
#include "common/export_guard.h"
#include "planimetro.h"
#include "planimetro/lines/lines_file.h"

int32_t Calzada_creaFicheroLineas(const char* ficheroLineas, const char* /*ficheroDXF*/, const char* ficheroCapas,
                                  const char* ficheroEje) {
  // The drawing read is the one last listed by Calzada_getCapasDxf, not the one named here.
  return common::GuardedExport(0, [&] {
    return planimetro::lines::CreateLinesFile(common::PathArgument(ficheroLineas), common::PathArgument(ficheroCapas),
                                              common::PathArgument(ficheroEje));
  });
}
