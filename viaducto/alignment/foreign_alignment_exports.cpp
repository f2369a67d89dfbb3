// The exports of the foreign alignment listings: to the native file, and through a scratch
// native file on to the GTS road file or LandXML.
#include "common/export_guard.h"
#include "common/temp_files.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "viaducto/alignment/foreign_alignment.h"
#include "viaducto/alignment/gts_alignment.h"
#include "viaducto/frame/settings.h"
#include "viaducto/landxml/landxml_alignment.h"

namespace viaducto {

namespace {

// The GTS form is chosen as for a native alignment: the element form when the limit in
// jalonex.ini reaches the native file's line count.
int NativeToGts(const std::string& native, const std::string& salida, const std::string& pathAp) {
  const bool elementForm = ReadElementLimit(common::CountFileLines(native), pathAp) == 1;
  const int written = elementForm ? WriteGtsElements(native, salida) : WriteGtsIntersections(native, salida);
  return written != 0 ? 1 : 0;
}

int ForeignToGts(AlignmentParser parser, const char* entrada, const char* salida, const char* pathAp) {
  common::ScratchFile native;
  if (!native.ok()) return 0;
  if (ConvertForeignAlignment(parser, common::PathArgument(entrada), native.path()) != 1) return 0;
  return NativeToGts(native.path(), common::PathArgument(salida), common::PathArgument(pathAp));
}

int ForeignToLandXml(AlignmentParser parser, const char* entrada, const char* salida) {
  common::ScratchFile native;
  if (!native.ok()) return 0;
  if (ConvertForeignAlignment(parser, common::PathArgument(entrada), native.path()) != 1) return 0;
  return ExportNativeToLandXml(native.path(), common::PathArgument(salida));
}

int ForeignToNative(AlignmentParser parser, const char* entrada, const char* salida) {
  return ConvertForeignAlignment(parser, common::PathArgument(entrada), common::PathArgument(salida));
}

int CartomapToNineColumns(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  const Alignment elements = ParseCartomapAlignment(text);
  if (elements.empty()) return 0;
  common::TextWriter writer;
  FormatNineColumnAlignment(elements, writer);
  return writer.SaveTo(salida) ? static_cast<int>(elements.size()) : 0;
}

}  // namespace

}  // namespace viaducto

using viaducto::ForeignToGts;
using viaducto::ForeignToLandXml;
using viaducto::ForeignToNative;

int32_t MyDll_aistram2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToNative(viaducto::ParseIstramAlignment, entrada, salida); });
}

int32_t MyDll_aclipplt2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToNative(viaducto::ParseClipPltAlignment, entrada, salida); });
}

int32_t MyDll_ejecartomap2terrex(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::CartomapToNineColumns(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t MyDll_aistram2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] { return ForeignToGts(viaducto::ParseIstramAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_aistramList2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignToGts(viaducto::ParseIstramElementList, entrada, salida, pathAp); });
}

int32_t MyDll_aispol2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] { return ForeignToGts(viaducto::ParseIspolAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_aclipplt2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignToGts(viaducto::ParseClipPltAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_amxroad2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] { return ForeignToGts(viaducto::ParseMxRoadAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_ahtrazado2gts(const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(
      0, [&] { return ForeignToGts(viaducto::ParseHTrazadoAlignment, entrada, salida, pathAp); });
}

int32_t MyDll_aistram2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToLandXml(viaducto::ParseIstramAlignment, entrada, salida); });
}

int32_t MyDll_ahtrazado2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToLandXml(viaducto::ParseHTrazadoAlignment, entrada, salida); });
}

int32_t MyDll_aclipplt2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToLandXml(viaducto::ParseClipPltAlignment, entrada, salida); });
}

int32_t MyDll_aistramList2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToLandXml(viaducto::ParseIstramElementList, entrada, salida); });
}

int32_t MyDll_aispol2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return ForeignToLandXml(viaducto::ParseIspolAlignment, entrada, salida); });
}
