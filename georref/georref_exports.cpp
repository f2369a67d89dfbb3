// The library's exports: thin wrappers that never let an exception out.
#include <cstring>

#include "common/export_guard.h"
#include "common/message_hook.h"
#include "georref.h"
#include "georref/georeferencing.h"
#include "georref/landxml_system.h"

void Georref_SetMessageHook(GeorrefMessageHook hook) { common::SetMessageHook(hook); }

int32_t Georref_Sistemas(const char* origen, const char* destino, int32_t aproximada) {
  return common::GuardedExport(0, [&] {
    return georref::SetSystems(common::PathArgument(origen), common::PathArgument(destino), aproximada != 0) ? 1 : 0;
  });
}

int32_t Georref_Puntos_Transforma(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::TransformPointFile(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Sup_Transforma(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::TransformSurfaceFile(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Puntos_Mapa(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::PointsToMap(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Sup_Mapa(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::SurfaceToMap(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Eje_Mapa(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::AlignmentToMap(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Eje_Rasante_Mapa(const char* entrada, const char* rasante, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::AlignmentWithProfileToMap(common::PathArgument(entrada), common::PathArgument(rasante),
                                              common::PathArgument(salida));
  });
}

int32_t Georref_Rasante_Mapa(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::ProfileToMap(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Transver_Mapa(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return georref::CrossSectionsToMap(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t Georref_Prj(const char* salida) {
  return common::GuardedExport(0, [&] { return georref::WriteProjection(common::PathArgument(salida)); });
}

int32_t Georref_LandXml_Sistema(const char* salida) {
  return common::GuardedExport(0, [&] { return georref::NameSystemInLandXml(common::PathArgument(salida)); });
}

int32_t Georref_Operacion(char* texto) {
  return common::GuardedExport(0, [&] {
    if (texto == nullptr) return 0;
    const std::string& operation = georref::LastOperation();
    const std::size_t size = std::min<std::size_t>(operation.size(), 1023);
    std::memcpy(texto, operation.data(), size);
    texto[size] = '\0';
    return operation.empty() ? 0 : 1;
  });
}
