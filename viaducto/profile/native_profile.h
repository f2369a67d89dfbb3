// The native profile file (*.ras): one vertex per line, station, elevation, kv, tangent length
// and external ordinate. Written in three layouts; read with two rules.
#pragma once

#include <string>
#include <string_view>

#include "common/text_output.h"
#include "viaducto/profile/profile_model.h"

namespace viaducto {

enum class NativeProfileLayout {
  kFixedWidth,  // "%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf" on every vertex
  kTab,         // tab-separated, first and last vertex without curve
  kBlank,       // blank-separated, first and last vertex without curve
};

void FormatNativeProfile(const Profile& profile, NativeProfileLayout layout, common::TextWriter& writer);

// 1 when written, 0 when not.
int WriteNativeProfile(const Profile& profile, NativeProfileLayout layout, const std::string& path);

// The reader of the GTS conversion: lines that are not empty and not "#" comments and hold five
// fields.
Profile ParseNativeProfile(std::string_view text);

// The reader of the LandXML export: lines of at least five characters; station and elevation
// required, kv, tangent and external taken when present.
Profile ParseNativeProfileForLandXml(std::string_view text);

}  // namespace viaducto
