// The scanner export: a thin wrapper that never lets an exception or the caller's locale in.
#include "calzada.h"
#include "calzada/frame/conversion_export.h"
#include "formats/sacyr/sacyr_scanner.h"

int32_t Calzada_SacyrScanner(const char* entrada, const char* salida) {
  return calzada::RunConversion(calzada::SacyrScanner, entrada, salida);
}
