// Profile conversions between the native profile file, the GTS road file and the listings of
// other programs.
#include <cstdio>
#include <string>

#include "common/export_guard.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "viaducto/profile/gts_profile.h"
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
