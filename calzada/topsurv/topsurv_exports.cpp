// The TopSurv exports: thin wrappers that never let an exception or the caller's locale in.
#include "calzada.h"
#include "calzada/frame/conversion_export.h"
#include "formats/topsurv/topsurv.h"

int32_t Calzada_Puntos_Importa_Topsurv(const char* entrada, const char* salida) {
  return calzada::RunConversion(calzada::ImportTopsurvPoints, entrada, salida);
}
int32_t Calzada_Trazemta2Topsurv(const char* entrada, const char* salida) {
  return calzada::RunConversion(calzada::ExportTopsurvSections, entrada, salida);
}
