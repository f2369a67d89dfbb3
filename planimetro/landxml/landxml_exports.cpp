// The LandXML exports of the library: surfaces and survey points; thin wrappers that never let
// an exception out.
#include "common/export_guard.h"
#include "planimetro.h"
#include "formats/landxml/landxml_points.h"
#include "formats/landxml/landxml_surface.h"
#include "formats/landxml/xml_reader.h"

namespace {

// A document that is not well formed (cut short, broken) fails the reading export, whatever
// was read before the error; the reader has recorded the reason with the line.
template <typename Work>
int RefusingMalformed(Work&& work) {
  common::ForgetMalformedDocuments();
  const int result = static_cast<int>(work());
  return common::MalformedDocumentSeen() ? 0 : result;
}

}  // namespace

int32_t Calzada_SupSel_LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return RefusingMalformed([&] {
      return planimetro::landxml::ListLandXmlSurfaces(common::PathArgument(entrada), common::PathArgument(salida));
    });
  });
}

int32_t Calzada_Sup_Importa_LandXML(const char* entrada, const char* entrada2, const char* salida) {
  return common::GuardedExport(0, [&] {
    return RefusingMalformed([&] {
      return planimetro::landxml::ImportLandXmlSurface(common::PathArgument(entrada), common::PathArgument(entrada2),
                                                       common::PathArgument(salida));
    });
  });
}

int32_t Planimetro_Puntos_Importa_LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return RefusingMalformed([&] {
      return planimetro::landxml::ImportLandXmlPoints(common::PathArgument(entrada), common::PathArgument(salida));
    });
  });
}

int32_t Planimetro_Puntos_Exporta_LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return planimetro::landxml::ExportLandXmlPoints(common::PathArgument(entrada), common::PathArgument(salida));
  });
}
