// Profile conversions between the native profile file, the GTS road file and the listings of
// other programs.
#include <cstdio>
#include <string>

#include "common/export_guard.h"
#include "common/temp_files.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "viaducto/profile/gts_profile.h"
#include "viaducto/landxml/landxml_profile.h"
#include "common/native_profile.h"
#include "viaducto/profile/profile_listings.h"

namespace viaducto {

namespace {

using ProfileParser = Profile (*)(std::string_view);

// Reads `entrada` with `parse` and writes the GTS comma layout: 0 and no file when the input
// cannot be read or holds no vertex.
int ListingToGts(const char* entrada, const char* salida, ProfileParser parse) {
  std::string text;
  if (!common::LoadTextFile(common::PathArgument(entrada), text)) return 0;
  const Profile profile = parse(text);
  if (profile.empty()) return 0;
  common::TextWriter writer;
  FormatGtsProfileComma(profile, writer);
  return writer.SaveTo(common::PathArgument(salida)) ? 1 : 0;
}

// A native profile file that begins with "#" is an Ispol listing saved under the native name.
Profile ParseNativeOrIspolProfile(std::string_view text) {
  return !text.empty() && text.front() == '#' ? ParseIspolProfile(text) : common::ParseNativeProfile(text);
}

}  // namespace

}  // namespace viaducto

int32_t MyDll_rterrex2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return viaducto::ListingToGts(entrada, salida, viaducto::ParseNativeOrIspolProfile); });
}

int32_t MyDll_ristram2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return viaducto::ListingToGts(entrada, salida, viaducto::ParseIstramProfile); });
}

int32_t MyDll_rispol2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return viaducto::ListingToGts(entrada, salida, viaducto::ParseIspolProfile); });
}

int32_t MyDll_raszemta2gts(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    std::string text;
    if (!common::LoadTextFile(common::PathArgument(entrada), text)) return 0;
    return common::WriteNativeProfile(viaducto::ParseGtsProfileComma(text), common::NativeProfileLayout::kTab,
                                        common::PathArgument(salida));
  });
}

int32_t MyDll_rascartomap2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    std::string text;
    if (!common::LoadTextFile(common::PathArgument(entrada), text)) return 0;
    return common::WriteNativeProfile(viaducto::ParseCartomapKeywordProfile(text),
                                        common::NativeProfileLayout::kFixedWidth, common::PathArgument(salida));
  });
}

namespace viaducto {

namespace {

// A listing converted to LandXML through its temporary native file.
int ListingToLandXml(const char* entrada, const char* salida, ProfileParser parse) {
  std::string text;
  if (!common::LoadTextFile(common::PathArgument(entrada), text)) return 0;
  return ExportProfileToLandXml(ThroughTemporaryNativeFile(parse(text)), common::PathArgument(salida));
}

}  // namespace

}  // namespace viaducto

int32_t MyDll_rasantecartomap2terrex(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    std::string text;
    if (!common::LoadTextFile(common::PathArgument(entrada), text)) return 0;
    const viaducto::Profile profile = viaducto::ParseCartomapProfileListing(text);
    if (profile.empty()) return 0;
    if (common::WriteNativeProfile(profile, common::NativeProfileLayout::kBlank, common::PathArgument(salida)) == 0) {
      return 0;
    }
    return static_cast<int>(profile.size());
  });
}

int32_t MyDll_rterrex2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ListingToLandXml(entrada, salida, common::ParseNativeProfileForLandXml);
  });
}

int32_t MyDll_ristram2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return viaducto::ListingToLandXml(entrada, salida, viaducto::ParseIstramProfile); });
}

int32_t MyDll_rispol2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] { return viaducto::ListingToLandXml(entrada, salida, viaducto::ParseIspolProfile); });
}

void MyDll_seleccionaRasanteLandXML(const char* entrada) {
  common::GuardedExportVoid(
      [&] { viaducto::WriteSelectionList(viaducto::ListLandXmlProfiles(common::PathArgument(entrada))); });
}

int32_t MyDll_rlandxml2gts(const char* nombreRas, const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    const viaducto::LandXmlProfileImport imported =
        viaducto::ImportLandXmlProfile(common::PathArgument(entrada), common::PathArgument(nombreRas));
    if (imported.parse == viaducto::ParseResult::kCannotOpen) return 0;
    common::TextWriter writer;
    viaducto::FormatGtsProfileColumns(imported.profile, writer);
    return writer.SaveTo(common::PathArgument(salida)) ? 1 : 0;
  });
}

int32_t MyDll_rlandxml2gtsWCE(const char* nombreRas, const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    // The joined copy is read from a file of this call alone, then left as "$$$.xml".
    common::ScratchFile joined;
    if (!joined.ok() || !viaducto::JoinTextLines(common::PathArgument(entrada), joined.path())) return 0;
    const viaducto::LandXmlProfileImport imported =
        viaducto::ImportLandXmlProfile(joined.path(), common::PathArgument(nombreRas));
    std::rename(joined.path().c_str(), common::TempPath("$$$.xml").c_str());
    if (imported.parse == viaducto::ParseResult::kCannotOpen) return 0;
    return common::WriteNativeProfile(imported.profile, common::NativeProfileLayout::kFixedWidth,
                                        common::PathArgument(salida));
  });
}
