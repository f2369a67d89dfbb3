// The cross-section exports: the native file to and from the GTS file, the foreign listings to
// GTS and to the native file, and the Clip section report.
#include "common/conversion.h"
#include "common/export_guard.h"
#include "formats/native/native_cross_section.h"
#include "viaducto.h"
#include "formats/rtf/clip_report.h"
#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"
#include "formats/mxroad/mxroad.h"
#include "formats/istram/istram.h"
#include "formats/clip/clip.h"
#include "formats/cartomap/cartomap.h"
#include "formats/gts/gts_cross_sections.h"

namespace viaducto {

namespace {

using common::PathArgument;

constexpr common::ConversionRule kNativeSections{"un fichero de perfiles transversales", "ningún perfil transversal"};
constexpr common::ConversionRule kGtsSections{"un fichero de perfiles transversales GTS",
                                              "ningún perfil transversal"};

std::vector<common::CrossSectionPoint> ParseNativeForGts(std::string_view text) {
  std::vector<common::CrossSectionPoint> points;
  common::ParseNativeCrossSections(text, kGtsSectionsReader, points);
  return points;
}

// A foreign listing to GTS, its points as they read back from the native file.
int ForeignSectionsToGts(const char* entrada, const char* salida, CrossSectionReader reader) {
  const std::string source = PathArgument(entrada);
  const std::string target = PathArgument(salida);
  if (!common::CheckConversionTarget(source, target)) return 0;
  std::vector<common::CrossSectionPoint> points;
  if (!ReadForeignSections(source, reader, points, kGtsSectionsReader)) return 0;
  return WriteGtsCrossSections(points, target);
}

std::vector<common::CrossSectionPoint> ParseCartomap(std::string_view text) {
  std::vector<common::CrossSectionPoint> points;
  ParseCartomapSections(text, points);
  return points;
}

}  // namespace

}  // namespace viaducto

int32_t MyDll_zemta2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return common::ConvertFile(common::PathArgument(entrada), common::PathArgument(salida), viaducto::kNativeSections,
                               viaducto::ParseNativeForGts, viaducto::FormatGtsCrossSections);
  });
}

int32_t MyDll_trazemta2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return common::ConvertFile(common::PathArgument(entrada), common::PathArgument(salida), viaducto::kGtsSections,
                               viaducto::ParseGtsCrossSections, common::FormatNativeCrossSections);
  });
}

int32_t MyDll_htrazado2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ForeignSectionsToGts(entrada, salida, viaducto::ParseHtrazadoSections);
  });
}

int32_t MyDll_mxroad2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ForeignSectionsToGts(entrada, salida, viaducto::ParseMxroadSections);
  });
}

int32_t MyDll_istram2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ForeignSectionsToGts(entrada, salida, viaducto::ParseIstramSections);
  });
}

int32_t MyDll_clip2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ForeignSectionsToGts(entrada, salida, viaducto::ParseClipListingSections); });
}

int32_t MyDll_cliptrv2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ForeignSectionsToGts(entrada, salida, viaducto::ParseClipTrvSections);
  });
}

int32_t MyDll_traCartomap2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return common::ConvertFile(common::PathArgument(entrada), common::PathArgument(salida), viaducto::kForeignSections,
                               viaducto::ParseCartomap, common::FormatNativeCrossSections);
  });
}

int32_t MyDll_clipST2zemta(const char* lecturas, const char* salida1, const char* salida2) {
  return common::GuardedExport(0, [&] {
    return viaducto::ConvertClipReport(common::PathArgument(lecturas), common::PathArgument(salida1),
                                       common::PathArgument(salida2));
  });
}
