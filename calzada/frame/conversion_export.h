// What every two-path export of this library does around its conversion: paths checked for
// null, the "C" locale, and no exception crossing the C boundary (it becomes result 0).
#pragma once

#include <cstdint>
#include <string>

#include "common/export_guard.h"

namespace calzada {

using Conversion = int (*)(const std::string& entrada, const std::string& salida);

inline int32_t RunConversion(Conversion conversion, const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return conversion(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

}  // namespace calzada
