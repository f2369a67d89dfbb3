// The cross-section exports: thin wrappers that never let an exception or the caller's locale in.
#include "calzada.h"
#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/mxroad/mxroad.h"
#include "formats/dragados/dragados.h"
#include "formats/ispol/ispol.h"
#include "calzada/frame/conversion_export.h"

using calzada::RunConversion;

namespace calzada {
namespace {

// The Clip TRV and MxRoad readers open their sources themselves.
int ImportaClipTrvComprobando(const std::string& entrada, const std::string& salida) {
  return ConvertirComprobando(kListadoTransversales, ImportaClipTrv, entrada, salida);
}
int ExportaClipTrvComprobando(const std::string& entrada, const std::string& salida) {
  return ConvertirComprobando(kFicheroTransversales, ExportaClipTrv, entrada, salida);
}
int ImportaMxroadComprobando(const std::string& entrada, const std::string& salida) {
  return ConvertirComprobando(kListadoTransversales, ImportaMxroad, entrada, salida);
}

}  // namespace
}  // namespace calzada

int32_t Calzada_Transver_Importa_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaClipTrvComprobando, entrada, salida);
}
int32_t Calzada_Transver_Exporta_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportaClipTrvComprobando, entrada, salida);
}
int32_t Calzada_Transver_Importa_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaIspol, entrada, salida);
}
int32_t Calzada_Transver_Importa_Mxroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportaMxroadComprobando, entrada, salida);
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
