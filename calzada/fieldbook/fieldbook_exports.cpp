// The field-book export: a thin wrapper that never lets an exception or the caller's locale in.
#include "calzada.h"
#include "formats/clip/libreta_clip_ter.h"
#include "common/export_guard.h"

int32_t Calzada_Transver_Libreta2ClipTer(const char* puntra, const char* eje, const char* salida) {
  return common::GuardedExport(0, [&] {
    return calzada::Libreta2ClipTer(common::PathArgument(puntra), common::PathArgument(eje),
                                    common::PathArgument(salida));
  });
}
