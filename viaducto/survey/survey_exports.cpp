// The survey exports: point lists, the digital level, Topcal observations, superelevation
// tables and the robotic station's readings.
#include "common/export_guard.h"
#include "viaducto.h"
#include "formats/dl100/digital_level.h"
#include "formats/gts/gts_points.h"
#include "formats/gts800/robotic_station.h"
#include "formats/native/superelevation.h"
#include "formats/ispol/ispol.h"
#include "formats/clip/clip.h"
#include "formats/topcal/topcal.h"

using common::PathArgument;

int32_t MyDll_puntos2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertPointsToGts(PathArgument(entrada), PathArgument(salida)); });
}

int32_t MyDll_anivel2ing(const char* entrada, const char* salida, const char* empresa, const char* operador,
                         const char* mira1, const char* mira2, const char* nserie) {
  return common::GuardedExport(0, [&] {
    // A null text reads as empty.
    const viaducto::LevelBookHeader header{PathArgument(empresa), PathArgument(operador), PathArgument(mira1),
                                           PathArgument(mira2), PathArgument(nserie)};
    return viaducto::ConvertLevelToBook(PathArgument(entrada), PathArgument(salida), header);
  });
}

int32_t MyDll_puntos2nivel(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertPointsToLevel(PathArgument(entrada), PathArgument(salida)); });
}

int32_t MyDll_topoLea2Topcal(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertSurveyToTopcal(PathArgument(entrada), PathArgument(salida), true); });
}

int32_t MyDll_topoLea2TopcalCod(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertSurveyToTopcal(PathArgument(entrada), PathArgument(salida), false); });
}

int32_t MyDll_lectgts2topcal(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ConvertObservationListToTopcal(PathArgument(entrada), PathArgument(salida)); });
}

int32_t MyDll_peralteispol2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ImportIspolSuperelevation(PathArgument(entrada), PathArgument(salida)); });
}

int32_t MyDll_peralteClip2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ImportClipSuperelevation(PathArgument(entrada), PathArgument(salida)); });
}

// fecha and hora are only read: the caller's buffers have no stated size, so the date and time
// of the readings are not copied back into them (MyDll_procesaCabecera hands them over).
int32_t MyDll_procesaRobotizada(const char* lecturas, const char* puntos, const char* salida, const char* trabajo,
                                const char* operario, const char* descripcion, const char* temperatura,
                                const char* fecha, const char* hora) {
  return common::GuardedExport(0, [&] {
    const viaducto::ReportHeader header{PathArgument(trabajo),     PathArgument(operario), PathArgument(descripcion),
                                        PathArgument(temperatura), PathArgument(fecha),    PathArgument(hora)};
    return viaducto::ProcessRoboticStation(PathArgument(lecturas), PathArgument(puntos), PathArgument(salida), header);
  });
}

int32_t MyDll_procesaCabecera(const char* lecturas, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::WriteReadingsHeader(PathArgument(lecturas), PathArgument(salida)); });
}
