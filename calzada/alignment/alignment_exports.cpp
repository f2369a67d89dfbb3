// The alignment exports: thin wrappers that never let an exception or the caller's locale in.
#include "calzada.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/ispol/ispol.h"
#include "formats/plroad/plroad.h"
#include "formats/mxroad/mxroad.h"
#include "formats/wtrazado/wtrazado.h"
#include "formats/dragados/dragados.h"
#include "formats/asotec/asotec.h"
#include "calzada/frame/conversion_export.h"
#include "common/conversion_rules.h"

using calzada::RunConversion;

namespace calzada {
namespace {

// The Clip PLT reader opens its source itself.
int ImportClipPltChecked(const std::string& entrada, const std::string& salida) {
  return ConvertChecked(kListadoEjes, ImportClipPlt, entrada, salida);
}
int ExportClipPltChecked(const std::string& entrada, const std::string& salida) {
  return ConvertChecked(kFicheroEjes, ExportClipPlt, entrada, salida);
}

}  // namespace
}  // namespace calzada

int32_t Calzada_Eje_Importa_ClipPlt(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipPltChecked, entrada, salida);
}
int32_t Calzada_Eje_Exporta_ClipPlt(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportClipPltChecked, entrada, salida);
}
int32_t Calzada_Eje_Importa_Inroads(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportInroadsAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportIspolAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_Plroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportPlroadAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_Mxroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportMxroadAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_Dragados(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportDragadosAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_Asotec(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportAsotecAlignment, entrada, salida);
}
int32_t Calzada_Eje_Importa_WTrazado(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportWtrazadoAlignment, entrada, salida);
}
