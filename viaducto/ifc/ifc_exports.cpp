// The IFC exports: alignments of every format the library and its sibling read, to IFC files
// (one IfcAlignment per alignment, its profile as the vertical layout), and the alignments of
// IFC files to the native files and to LandXML.
#include <string>
#include <vector>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/paths.h"
#include "formats/asotec/asotec.h"
#include "formats/cartomap/cartomap.h"
#include "formats/clip/clip.h"
#include "formats/dragados/dragados.h"
#include "formats/htrazado/htrazado.h"
#include "formats/ifc/ifc_conversions.h"
#include "formats/inroads/inroads.h"
#include "formats/ispol/ispol.h"
#include "formats/istram/istram.h"
#include "formats/landxml/landxml_document.h"
#include "formats/mxroad/mxroad.h"
#include "formats/native/native_profile.h"
#include "formats/plroad/plroad.h"
#include "formats/wtrazado/wtrazado.h"
#include "viaducto.h"

namespace viaducto {
namespace {

using Parser = std::vector<common::AlignmentElement> (*)(std::string_view text);

constexpr common::ConversionRule kForeignListing{"un listado de eje", "ningún eje"};
constexpr common::ConversionRule kProfile{"un fichero de rasantes", "ninguna rasante"};

// A listing read into records, with the native profile `rasante` when given, to IFC.
int ForeignToIfc(Parser parser, const char* entrada, const char* salida, const char* rasante, const char* crs) {
  const std::string source = common::PathArgument(entrada);
  const std::string target = common::PathArgument(salida);
  if (!common::CheckConversionTarget(source, target)) return 0;
  std::string text;
  if (!common::LoadConversionSource(source, kForeignListing, text)) return 0;
  const std::vector<common::AlignmentElement> elements = parser(text);
  if (!common::RequireSomething(elements.size() < 2, source, kForeignListing)) return 0;
  common::Profile profile;
  const std::string profilePath = common::PathArgument(rasante);
  if (!profilePath.empty()) {
    std::string profileText;
    if (!common::LoadConversionSource(profilePath, kProfile, profileText)) return 0;
    profile = common::ParseNativeProfileForLandXml(profileText);
    if (!common::RequireSomething(profile.size() < 2, profilePath, kProfile)) return 0;
  }
  const ifc::AlignmentLayouts layouts = ifc::LayoutsFromRecords(common::SplitPath(source).name, elements,
                                                                profile.empty() ? nullptr : &profile);
  return ifc::WriteIfcFile({layouts}, target, common::PathArgument(crs));
}

}  // namespace
}  // namespace viaducto

int32_t MyDll_aterrex2ifc(const char* entrada, const char* salida, const char* rasante, const char* crs) {
  return common::GuardedExport(0, [&] {
    return ifc::ExportNativeToIfc(common::PathArgument(entrada), common::PathArgument(rasante),
                                  common::PathArgument(salida), common::PathArgument(crs));
  });
}

int32_t MyDll_alandxml2ifc(const char* entrada, const char* salida, const char* /*rasante*/, const char* crs) {
  return common::GuardedExport(0, [&] {
    return ifc::ExportLandXmlToIfc(common::PathArgument(entrada), common::PathArgument(salida),
                                   common::PathArgument(crs));
  });
}

#define VIADUCTO_FOREIGN_TO_IFC(name, parser)                                                        \
  int32_t name(const char* entrada, const char* salida, const char* rasante, const char* crs) {      \
    return common::GuardedExport(0, [&] { return viaducto::ForeignToIfc(parser, entrada, salida, rasante, crs); }); \
  }

VIADUCTO_FOREIGN_TO_IFC(MyDll_aistram2ifc, viaducto::ParseIstramAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_aistramList2ifc, viaducto::ParseIstramElementList)
VIADUCTO_FOREIGN_TO_IFC(MyDll_aispol2ifc, viaducto::ParseIspolAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_aclipplt2ifc, viaducto::ParseClipPltAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_amxroad2ifc, viaducto::ParseMxRoadAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_ahtrazado2ifc, viaducto::ParseHTrazadoAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_acartomap2ifc, viaducto::ParseCartomapAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_amxroadElementos2ifc, calzada::ParseMxroadAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_ainroads2ifc, calzada::ParseInroadsAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_adragados2ifc, calzada::ParseDragadosAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_awtrazado2ifc, calzada::ParseWtrazadoAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_aplroad2ifc, calzada::ParsePlroadAlignment)
VIADUCTO_FOREIGN_TO_IFC(MyDll_aasotec2ifc, calzada::ParseAsotecAlignment)

int32_t MyDll_seleccionaEjeIfc(const char* entrada) {
  return common::GuardedExport(0, [&] {
    const std::vector<std::string> names = ifc::ListIfcAlignments(common::PathArgument(entrada));
    viaducto::WriteSelectionList(names);
    return names.empty() ? 0 : 1;
  });
}

int32_t MyDll_aifc2terrex(int32_t selec, const char* entrada, const char* salida, const char* /*pathAp*/) {
  return common::GuardedExport(0, [&] {
    if (selec < 0) return 0;
    return ifc::ImportIfcToNativeAlignment(common::PathArgument(entrada), static_cast<std::size_t>(selec),
                                           common::PathArgument(salida));
  });
}

int32_t MyDll_seleccionaRasanteIfc(const char* entrada) {
  return common::GuardedExport(0, [&] {
    const std::string source = common::PathArgument(entrada);
    ifc::AlignmentsRead read;
    std::vector<std::string> names;
    if (ifc::ReadIfcFile(source, read)) {
      for (const ifc::AlignmentLayouts& a : read.alignments) {
        if (!a.vertical.empty()) names.push_back(a.name);
      }
    }
    viaducto::WriteSelectionList(names);
    return names.empty() ? 0 : 1;
  });
}

int32_t MyDll_rifc2terrex(const char* nombreEje, const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ifc::ImportIfcToNativeProfile(common::PathArgument(entrada), common::PathArgument(nombreEje),
                                         common::PathArgument(salida));
  });
}

int32_t MyDll_aifc2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ifc::ImportIfcToLandXml(common::PathArgument(entrada), common::PathArgument(salida));
  });
}
