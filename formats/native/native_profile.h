// The native profile file (*.ras): one vertex per line, station, elevation, kv, tangent length
// and external ordinate. Written in three layouts; read with a rule per caller.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/profile_curves.h"
#include "common/text_output.h"

namespace common {

enum class NativeProfileLayout {
  kFixedWidth,  // "%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf" on every vertex
  kTab,         // tab-separated, first and last vertex without curve
  kBlank,       // blank-separated, first and last vertex without curve
};

void FormatNativeProfile(const Profile& profile, NativeProfileLayout layout, TextWriter& writer);

// 1 when written, 0 when not.
int WriteNativeProfile(const Profile& profile, NativeProfileLayout layout, const std::string& path);

// What tells the readers of the native file apart. Fields are station, elevation, kv, tangent
// and external ordinate; those past `requiredFields` are taken when present.
struct NativeProfileRule {
  std::string_view delimiters;     // between fields; the line feed always ends the last one
  std::size_t requiredFields;      // a line with fewer is skipped
  bool skipHashComments;           // lines that begin with "#"
  std::size_t minimumLineLength;   // counted with the line feed; shorter lines are skipped
};
// The GTS conversion: five fields on every line.
inline constexpr NativeProfileRule kGtsProfileReader{" \t", 5, true, 0};
// The LandXML export: lines of at least five characters, station and elevation required.
inline constexpr NativeProfileRule kLandXmlProfileReader{" \t", 2, false, 5};
// The Clip and Ispol exports: fields also split at commas, station, elevation and kv required.
inline constexpr NativeProfileRule kCommaProfileReader{" \t,", 3, false, 0};

Profile ParseNativeProfile(std::string_view text, const NativeProfileRule& rule);

// The reader of the GTS conversion.
Profile ParseNativeProfile(std::string_view text);

// The reader of the LandXML export.
Profile ParseNativeProfileForLandXml(std::string_view text);

// The vertices as the LandXML export's reader gets them back from the blank layout: values
// with three decimals, the first and last vertex without curve. What a listing converted on
// to LandXML carries.
Profile AsStoredInNativeProfile(const Profile& profile);

}  // namespace common
