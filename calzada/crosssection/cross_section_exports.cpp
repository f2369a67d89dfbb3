// The cross-section exports: thin wrappers that never let an exception or the caller's locale in.
#include "calzada.h"
#include "calzada/crosssection/cross_section_converters.h"
#include "calzada/frame/conversion_export.h"

using calzada::RunConversion;

int32_t Calzada_Transver_Importa_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaClipTrv, entrada, salida);
}
int32_t Calzada_Transver_Exporta_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportaClipTrv, entrada, salida);
}
int32_t Calzada_Transver_Importa_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaIspol, entrada, salida);
}
int32_t Calzada_Transver_Importa_Mxroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaMxroad, entrada, salida);
}
int32_t Calzada_Transver_Importa_InRoadsTXT(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaListadoInRoads, entrada, salida);
}
int32_t Calzada_inroads2gts(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaInformeInRoads, entrada, salida);
}
int32_t Calzada_Transver_Importa_DRAGADOSMDW(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaDragados, entrada, salida);
}
int32_t Calzada_Transver_ClipSeccionPlat(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaSeccionClipPlataforma, entrada, salida);
}
int32_t Calzada_Transver_ClipSeccionSubras(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaSeccionClipSubrasante, entrada, salida);
}
int32_t Calzada_TransverInterpolaCota(const char* entrada, const char* salida) {
  return RunConversion(calzada::TransverInterpolaCota, entrada, salida);
}
