#include "viaducto/crosssection/gts_cross_sections.h"

#include "common/export_guard.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto.h"
#include "viaducto/crosssection/cross_section_set.h"
#include "viaducto/crosssection/foreign_readers.h"

namespace viaducto {

void FormatGtsCrossSections(std::string_view nativeText, common::TextWriter& gts) {
  common::LineReader reader(nativeText);
  std::string_view line;
  while (NextCompleteLine(reader, line)) {
    common::Tokenizer fields(line);
    std::string_view station, offset, elevation, code;
    if (!fields.Next(" \t\n", station) || !fields.Next(" \t\n", offset) || !fields.Next(" \t\n", elevation)) continue;
    const double s = Printable(common::LenientDouble(station));
    const double o = Printable(common::LenientDouble(offset));
    const double e = Printable(common::LenientDouble(elevation));
    if (fields.Next(" \t\n", code)) {
      gts.Printf("%0.3lf,%0.3lf,%0.3lf,%.*s\n", s, o, e, static_cast<int>(code.size()), code.data());
    } else {
      gts.Printf("%0.3lf,%0.3lf,%0.3lf\n", s, o, e);
    }
  }
}

void FormatNativeFromGts(std::string_view gtsText, common::TextWriter& native) {
  common::LineReader reader(gtsText);
  std::string_view line;
  while (NextCompleteLine(reader, line)) {
    common::Tokenizer fields(line);
    std::string_view station, offset, elevation;
    if (!fields.Next(",", station) || !fields.Next(",", offset) || !fields.Next(",", elevation)) continue;
    const std::string_view code = common::WithoutLineFeed(fields.Rest());
    native.Printf("%8.3lf %8.3lf %8.3lf %.*s\n", Printable(common::LenientDouble(station)),
                  Printable(common::LenientDouble(offset)), Printable(common::LenientDouble(elevation)),
                  static_cast<int>(code.size()), code.data());
  }
}

int WriteGtsCrossSections(std::string_view nativeText, const std::string& salida) {
  common::TextWriter gts;
  FormatGtsCrossSections(nativeText, gts);
  return gts.SaveTo(salida) ? 1 : 0;
}

int ConvertNativeToGtsCrossSections(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  return WriteGtsCrossSections(text, salida);
}

int ConvertGtsToNativeCrossSections(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  common::TextWriter native;
  FormatNativeFromGts(text, native);
  return native.SaveTo(salida) ? 1 : 0;
}

namespace {

// A foreign listing to GTS: the reader's native text, then the GTS writer. Nothing is written
// when the reader fails; the result is 1 either way, as callers of these conversions expect.
int32_t ForeignToGts(const char* entrada, const char* salida, CrossSectionReader reader) {
  return common::GuardedExport(1, [&] {
    std::string nativeText;
    if (ReadForeignSections(common::PathArgument(entrada), reader, nativeText)) {
      WriteGtsCrossSections(nativeText, common::PathArgument(salida));
    }
    return 1;
  });
}

}  // namespace

}  // namespace viaducto

int32_t MyDll_zemta2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ConvertNativeToGtsCrossSections(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t MyDll_trazemta2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ConvertGtsToNativeCrossSections(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

int32_t MyDll_htrazado2gts(const char* entrada, const char* salida) {
  return viaducto::ForeignToGts(entrada, salida, viaducto::ReadHtrazadoSections);
}

int32_t MyDll_mxroad2gts(const char* entrada, const char* salida) {
  return viaducto::ForeignToGts(entrada, salida, viaducto::ReadMxroadSections);
}

int32_t MyDll_istram2gts(const char* entrada, const char* salida) {
  return viaducto::ForeignToGts(entrada, salida, viaducto::ReadIstramSections);
}

int32_t MyDll_clip2gts(const char* entrada, const char* salida) {
  return viaducto::ForeignToGts(entrada, salida, viaducto::ReadClipListingSections);
}

int32_t MyDll_cliptrv2gts(const char* entrada, const char* salida) {
  return viaducto::ForeignToGts(entrada, salida, viaducto::ReadClipTrvSections);
}
