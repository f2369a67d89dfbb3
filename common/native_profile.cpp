#include "common/native_profile.h"

#include <vector>

#include "common/numbers.h"
#include "common/printed_values.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {

void FormatNativeProfile(const Profile& profile, NativeProfileLayout layout, TextWriter& writer) {
  const std::size_t n = profile.size();
  for (std::size_t i = 0; i < n; ++i) {
    const ProfileVertex& v = profile[i];
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
  TextWriter writer;
  FormatNativeProfile(profile, layout, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

Profile ParseNativeProfile(std::string_view text, const NativeProfileRule& rule) {
  Profile profile;
  LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (line.size() < rule.minimumLineLength) continue;
    if (rule.skipHashComments && !line.empty() && line.front() == '#') continue;
    if (SplitTokens(WithoutLineFeed(line), rule.delimiters, fields) < rule.requiredFields) continue;
    ProfileVertex vertex;
    double* const values[] = {&vertex.station, &vertex.elevation, &vertex.kv, &vertex.tangent, &vertex.external};
    for (std::size_t i = 0; i < fields.size() && i < 5; ++i) *values[i] = LenientDouble(fields[i]);
    profile.push_back(vertex);
  }
  return profile;
}

Profile ParseNativeProfile(std::string_view text) { return ParseNativeProfile(text, kGtsProfileReader); }

Profile ParseNativeProfileForLandXml(std::string_view text) {
  return ParseNativeProfile(text, kLandXmlProfileReader);
}

Profile AsStoredInNativeProfile(const Profile& profile) {
  Profile stored;
  stored.reserve(profile.size());
  const std::size_t n = profile.size();
  for (std::size_t i = 0; i < n; ++i) {
    const ProfileVertex& v = profile[i];
    const bool end = i == 0 || i + 1 == n;
    const std::string line = end ? FormattedLine("%0.3lf %0.3lf 0.000 0.000 0.000\n", v.station, v.elevation)
                                 : FormattedLine("%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", v.station, v.elevation,
                                                 v.kv, v.tangent, v.external);
    if (line.size() < LineReader::kDefaultBuffer) {
      ProfileVertex vertex;
      vertex.station = AsPrinted(v.station, 3);
      vertex.elevation = AsPrinted(v.elevation, 3);
      if (!end) {
        vertex.kv = AsPrinted(v.kv, 3);
        vertex.tangent = AsPrinted(v.tangent, 3);
        vertex.external = AsPrinted(v.external, 3);
      }
      stored.push_back(vertex);
      continue;
    }
    // Values so long that the reader gets the line in pieces: read as written.
    for (const ProfileVertex& piece : ParseNativeProfile(line, kLandXmlProfileReader)) stored.push_back(piece);
  }
  return stored;
}

}  // namespace common
