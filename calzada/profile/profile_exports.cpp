// The profile exports: thin wrappers that never let an exception or the caller's locale in.
#include "calzada.h"
#include "calzada/frame/conversion_export.h"
#include "formats/native/rasante.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/mxroad/mxroad.h"
#include "formats/ispol/ispol.h"
#include "formats/dragados/dragados.h"
#include "formats/wtrazado/wtrazado.h"

using calzada::RunConversion;

int32_t Calzada_Rasante_Importa_Inroads(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportInroadsProfile, entrada, salida);
}
int32_t Calzada_Rasante_Importa_Clip(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipAlz, entrada, salida);
}
int32_t Calzada_Rasante_Importa_ClipTanSimple(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipAlzTanSimple, entrada, salida);
}
int32_t Calzada_Rasante_Exporta_Clip(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportClipAlz, entrada, salida);
}
int32_t Calzada_Rasante_Importa_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportIspolProfile, entrada, salida);
}
int32_t Calzada_Rasante_Exporta_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportIspolProfile, entrada, salida);
}
int32_t Calzada_Rasante_Importa_Mxroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportMxroadProfile, entrada, salida);
}
int32_t Calzada_Rasante_Importa_DragadosMDW(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportDragadosProfile, entrada, salida);
}
int32_t Calzada_Rasante_Importa_Wtrazado(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportWtrazadoProfile, entrada, salida);
}
