// The alignment exports: foreign listings to the native file, to the GTS road file and to
// LandXML; the native file to GTS.
#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/paths.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "viaducto/alignment/foreign_alignment.h"
#include "formats/istram/istram.h"
#include "formats/ispol/ispol.h"
#include "formats/clip/clip.h"
#include "formats/mxroad/mxroad.h"
#include "formats/htrazado/htrazado.h"
#include "formats/cartomap/cartomap.h"
#include "formats/gts/gts_alignment.h"
#include "formats/native/native_alignment_file.h"
#include "formats/landxml/landxml_alignment.h"

namespace viaducto {

namespace {

using common::PathArgument;

constexpr common::ConversionRule kForeignAlignment{"un listado de eje", "ningún eje"};
constexpr common::ConversionRule kNativeAlignment{"un fichero de ejes", "ningún eje"};

// Reads and parses a foreign listing, refusing a target it cannot write and a listing without
// elements. False with the reason recorded.
bool ReadForeignAlignment(AlignmentParser parser, const std::string& entrada, const std::string& salida,
                          Alignment& elements) {
  if (!common::CheckConversionTarget(entrada, salida)) return false;
  std::string text;
  if (!common::LoadConversionSource(entrada, kForeignAlignment, text)) return false;
  elements = parser(text);
  return common::RequireSomething(elements.empty(), entrada, kForeignAlignment);
}

// Writes the GTS road file of records as they read back from the native file; the form follows
// from the native file's line count. 1 when written.
int WriteGtsOfStored(const Alignment& elements, const std::string& entrada, const std::string& salida,
                     const std::string& pathAp) {
  NativeAlignment stored = AsStoredInNativeAlignment(elements, kElementReader);
  const GtsForm form = GtsFormFor(stored.lineCount, pathAp);
  if (form != GtsForm::kElements) stored = AsStoredInNativeAlignment(elements, NativeRuleOf(form));
  if (!common::RequireSomething(stored.elements.empty(), entrada, kForeignAlignment)) return 0;
  common::TextWriter writer;
  FormatGtsAlignment(std::move(stored), form, writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

int ForeignAlignmentToGts(AlignmentParser parser, const char* entrada, const char* salida, const char* pathAp) {
  Alignment elements;
  if (!ReadForeignAlignment(parser, PathArgument(entrada), PathArgument(salida), elements)) return 0;
  return WriteGtsOfStored(elements, PathArgument(entrada), PathArgument(salida), PathArgument(pathAp));
}

int ForeignAlignmentToLandXml(AlignmentParser parser, const char* entrada, const char* salida) {
  const std::string target = PathArgument(salida);
  Alignment elements;
  if (!ReadForeignAlignment(parser, PathArgument(entrada), target, elements)) return 0;
  NativeAlignment stored = AsStoredInNativeAlignment(elements, kLandXmlExportReader);
  if (!common::RequireSomething(stored.elements.empty(), PathArgument(entrada), kForeignAlignment)) return 0;
  LandXmlWriter writer;
  writer.BeginDocument();
  WriteLandXmlAlignment(std::move(stored.elements), common::SplitPath(target).name, writer);
  return writer.EndDocument(target) ? 1 : 0;
}

int ForeignAlignmentToNative(AlignmentParser parser, const char* entrada, const char* salida) {
  return ConvertForeignAlignment(parser, PathArgument(entrada), PathArgument(salida));
}

// The native file to GTS: the form from its line count and jalonex.ini; the intersection
// form's guess still counts as written.
int NativeToGts(const std::string& entrada, const std::string& salida, const std::string& pathAp, bool settingsForm) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kNativeAlignment, text)) return 0;
  return WriteGtsOfNativeText(text, entrada, salida, pathAp, settingsForm);
}

}  // namespace

int WriteGtsOfNativeText(std::string_view text, const std::string& entrada, const std::string& salida,
                         const std::string& settingsDirectory, bool settingsForm) {
  const GtsForm form =
      settingsForm ? GtsFormFor(common::CountLines(text), settingsDirectory) : GtsForm::kIntersections;
  NativeAlignment alignment = ParseNativeAlignment(text, NativeRuleOf(form));
  if (!common::RequireSomething(alignment.elements.empty(), entrada, kNativeAlignment)) return 0;
  common::TextWriter writer;
  FormatGtsAlignment(std::move(alignment), form, writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

int ConvertForeignAlignment(AlignmentParser parser, const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kForeignAlignment, parser, FormatNativeAlignment);
}

int ConvertCartomapToNineColumns(const std::string& entrada, const std::string& salida) {
  common::ConversionRule rule = kForeignAlignment;
  rule.countRecords = true;
  return common::ConvertFile(entrada, salida, rule, ParseCartomapAlignment, FormatNineColumnAlignment);
}

}  // namespace viaducto

using viaducto::ForeignAlignmentToGts;
using viaducto::ForeignAlignmentToLandXml;
using viaducto::ForeignAlignmentToNative;

int32_t MyDll_azemta2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] {
    return viaducto::NativeToGts(common::PathArgument(entrada), common::PathArgument(salida),
                                 common::PathArgument(pathAp), true);
  });
}

int32_t MyDll_azemta2gtsWCE(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::NativeToGts(common::PathArgument(entrada), common::PathArgument(salida), std::string(), false);
  });
}

int32_t MyDll_aistram2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToNative(viaducto::ParseIstramAlignment, entrada, salida);
  });
}

int32_t MyDll_aclipplt2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToNative(viaducto::ParseClipPltAlignment, entrada, salida);
  });
}

int32_t MyDll_ejecartomap2terrex(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ConvertCartomapToNineColumns(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t MyDll_aistram2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToGts(viaducto::ParseIstramAlignment, entrada, salida, pathAp);
  });
}

int32_t MyDll_aistramList2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignAlignmentToGts(viaducto::ParseIstramElementList, entrada, salida, pathAp); });
}

int32_t MyDll_aispol2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToGts(viaducto::ParseIspolAlignment, entrada, salida, pathAp);
  });
}

int32_t MyDll_aclipplt2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignAlignmentToGts(viaducto::ParseClipPltAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_amxroad2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToGts(viaducto::ParseMxRoadAlignment, entrada, salida, pathAp);
  });
}

int32_t MyDll_ahtrazado2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignAlignmentToGts(viaducto::ParseHTrazadoAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_aistram2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToLandXml(viaducto::ParseIstramAlignment, entrada, salida);
  });
}

int32_t MyDll_ahtrazado2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToLandXml(viaducto::ParseHTrazadoAlignment, entrada, salida);
  });
}

int32_t MyDll_aclipplt2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToLandXml(viaducto::ParseClipPltAlignment, entrada, salida);
  });
}

int32_t MyDll_aistramList2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToLandXml(viaducto::ParseIstramElementList, entrada, salida);
  });
}

int32_t MyDll_aispol2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return ForeignAlignmentToLandXml(viaducto::ParseIspolAlignment, entrada, salida);
  });
}
