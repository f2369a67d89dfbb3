#include "viaducto/profile/native_profile.h"

#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

void FormatNativeProfile(const Profile& profile, NativeProfileLayout layout, common::TextWriter& writer) {
  const std::size_t n = profile.size();
  for (std::size_t i = 0; i < n; ++i) {
    const common::ProfileVertex& v = profile[i];
    const bool end = i == 0 || i + 1 == n;
    switch (layout) {
      case NativeProfileLayout::kFixedWidth:
        writer.Printf("%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf\n", v.station, v.elevation, v.kv, v.tangent, v.external);
        break;
      case NativeProfileLayout::kTab:
        if (end) {
          writer.Printf("%0.3lf\t%0.3lf\t0.000\t0.000\t0.000\n", v.station, v.elevation);
        } else {
          writer.Printf("%0.3lf\t%0.3lf\t%0.3lf\t%0.3lf\t%0.3lf\n", v.station, v.elevation, v.kv, v.tangent,
                        v.external);
        }
        break;
      case NativeProfileLayout::kBlank:
        if (end) {
          writer.Printf("%0.3lf %0.3lf 0.000 0.000 0.000\n", v.station, v.elevation);
        } else {
          writer.Printf("%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", v.station, v.elevation, v.kv, v.tangent, v.external);
        }
        break;
    }
  }
}

int WriteNativeProfile(const Profile& profile, NativeProfileLayout layout, const std::string& path) {
  common::TextWriter writer;
  FormatNativeProfile(profile, layout, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

Profile ParseNativeProfile(std::string_view text) {
  Profile profile;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (line.empty() || line.front() == '\n' || line.front() == '#') continue;
    if (common::SplitTokens(line, " \t\n", fields) < 5) continue;
    common::ProfileVertex vertex;
    vertex.station = common::LenientDouble(fields[0]);
    vertex.elevation = common::LenientDouble(fields[1]);
    vertex.kv = common::LenientDouble(fields[2]);
    vertex.tangent = common::LenientDouble(fields[3]);
    vertex.external = common::LenientDouble(fields[4]);
    profile.push_back(vertex);
  }
  return profile;
}

Profile ParseNativeProfileForLandXml(std::string_view text) {
  Profile profile;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (line.size() < 5) continue;
    // The line feed is no field: a line of one number has no elevation.
    if (common::SplitTokens(common::WithoutLineFeed(line), " \t", fields) < 2) continue;
    common::ProfileVertex vertex;
    vertex.station = common::LenientDouble(fields[0]);
    vertex.elevation = common::LenientDouble(fields[1]);
    if (fields.size() > 2) vertex.kv = common::LenientDouble(fields[2]);
    if (fields.size() > 3) vertex.tangent = common::LenientDouble(fields[3]);
    if (fields.size() > 4) vertex.external = common::LenientDouble(fields[4]);
    profile.push_back(vertex);
  }
  return profile;
}

}  // namespace viaducto
