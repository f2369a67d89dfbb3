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
int ImportClipTrvChecked(const std::string& entrada, const std::string& salida) {
  return ConvertChecked(kListadoTransversales, ImportClipTrv, entrada, salida);
}
int ExportClipTrvChecked(const std::string& entrada, const std::string& salida) {
  return ConvertChecked(kFicheroTransversales, ExportClipTrv, entrada, salida);
}
int ImportMxroadSectionsChecked(const std::string& entrada, const std::string& salida) {
  return ConvertChecked(kListadoTransversales, ImportMxroadSections, entrada, salida);
}

}  // namespace
}  // namespace calzada

int32_t Calzada_Transver_Importa_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipTrvChecked, entrada, salida);
}
int32_t Calzada_Transver_Exporta_Cliptrv(const char* entrada, const char* salida) {
  return RunConversion(calzada::ExportClipTrvChecked, entrada, salida);
}
int32_t Calzada_Transver_Importa_Ispol(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportIspolSections, entrada, salida);
}
int32_t Calzada_Transver_Importa_Mxroad(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportMxroadSectionsChecked, entrada, salida);
}
int32_t Calzada_Transver_Importa_InRoadsTXT(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportInroadsSectionListing, entrada, salida);
}
int32_t Calzada_inroads2gts(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportInroadsSectionReport, entrada, salida);
}
int32_t Calzada_Transver_Importa_DRAGADOSMDW(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportDragadosSections, entrada, salida);
}
int32_t Calzada_Transver_ClipSeccionPlat(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipPlatformListing, entrada, salida);
}
int32_t Calzada_Transver_ClipSeccionSubras(const char* entrada, const char* salida) {
  return RunConversion(calzada::ImportClipSubgradeListing, entrada, salida);
}
int32_t Calzada_TransverInterpolaCota(const char* entrada, const char* salida) {
  return RunConversion(calzada::InterpolateAxisElevations, entrada, salida);
}
