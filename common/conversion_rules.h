// What the sources of this library's conversions are, and what each says when its source holds
// nothing it can write: one rule per kind of file read.
#pragma once

#include "common/conversion.h"

namespace calzada {

inline constexpr common::ConversionRule kListadoEjes{"un listado de ejes", "ningún eje"};
inline constexpr common::ConversionRule kFicheroEjes{"un fichero de ejes", "ningún eje"};
inline constexpr common::ConversionRule kListadoRasantes{"un listado de rasantes", "ninguna rasante"};
inline constexpr common::ConversionRule kFicheroRasantes{"un fichero de rasantes", "ninguna rasante"};
inline constexpr common::ConversionRule kListadoTransversales{"un listado de perfiles transversales",
                                                              "ningún perfil transversal"};
inline constexpr common::ConversionRule kFicheroTransversales{"un fichero de perfiles transversales",
                                                              "ningún perfil transversal"};
inline constexpr common::ConversionRule kFicheroPuntos{"un fichero de puntos", "ningún punto"};
inline constexpr common::ConversionRule kListadoPuntos{"un listado de puntos", "ningún punto"};

// A conversion whose reader opens its source itself: the target and the kind of the source are
// checked first, and a failure without a reason of its own is said to be an empty source.
template <typename Conversion>
int ConvertChecked(const common::ConversionRule& rule, Conversion&& conversion, const std::string& entrada,
                         const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  if (!common::CheckConversionSourceKind(entrada, rule)) return 0;
  const int result = conversion(entrada, salida);
  if (result == 0 && !common::HasRecordedFailure()) common::RecordNothingToWrite(entrada, rule.nothing);
  return result;
}

}  // namespace calzada
