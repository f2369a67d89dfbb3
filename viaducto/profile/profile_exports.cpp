// Profile conversions between the native profile file, the GTS road file and the listings of
// other programs.
#include <cstdio>
#include <string>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "formats/gts/gts_profile.h"
#include "formats/native/native_profile.h"
#include "formats/istram/istram.h"
#include "formats/ispol/ispol.h"
#include "formats/cartomap/cartomap.h"

namespace viaducto {

namespace {

using ProfileParser = Profile (*)(std::string_view);

constexpr common::ConversionRule kProfileListing{"un listado de rasante", "ninguna rasante"};
constexpr common::ConversionRule kGtsProfile{"un fichero de rasante GTS", "ninguna rasante"};

// Reads `entrada` with `parse` and writes the GTS comma layout: 0 and no file when the input
// cannot be read, is not a text listing or holds no vertex.
int ListingToGts(const char* entrada, const char* salida, ProfileParser parse) {
  return common::ConvertFile(common::PathArgument(entrada), common::PathArgument(salida), kProfileListing, parse,
                             FormatGtsProfileComma);
}

// A listing to the native file in `layout`; the number of vertices when `countRecords`.
int ListingToNative(const char* entrada, const char* salida, common::ConversionRule rule, ProfileParser parse,
                    common::NativeProfileLayout layout) {
  return common::ConvertFile(common::PathArgument(entrada), common::PathArgument(salida), rule, parse,
                             [layout](const Profile& profile, common::TextWriter& writer) {
                               common::FormatNativeProfile(profile, layout, writer);
                             });
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
    return viaducto::ListingToNative(entrada, salida, viaducto::kGtsProfile, viaducto::ParseGtsProfileComma,
                                     common::NativeProfileLayout::kTab);
  });
}

int32_t MyDll_rascartomap2zemta(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ListingToNative(entrada, salida, viaducto::kProfileListing, viaducto::ParseCartomapKeywordProfile,
                                     common::NativeProfileLayout::kFixedWidth);
  });
}

int32_t MyDll_rasantecartomap2terrex(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    common::ConversionRule rule = viaducto::kProfileListing;
    rule.countRecords = true;
    return viaducto::ListingToNative(entrada, salida, rule, viaducto::ParseCartomapProfileListing,
                                     common::NativeProfileLayout::kBlank);
  });
}
