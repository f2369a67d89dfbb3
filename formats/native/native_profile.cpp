#include "formats/native/native_profile.h"

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
    // The ends are written without curve: "0.000" three times.
    const PrintedValue values[] = {Printed(v.station, 3), Printed(v.elevation, 3), Printed(end ? 0.0 : v.kv, 3),
                                   Printed(end ? 0.0 : v.tangent, 3), Printed(end ? 0.0 : v.external, 3)};
    std::size_t lineLength = 5;  // four blanks and the line feed
    for (const PrintedValue& value : values) lineLength += value.length;
    if (lineLength < LineReader::kDefaultBuffer) {
      ProfileVertex vertex;
      vertex.station = values[0].value;
      vertex.elevation = values[1].value;
      vertex.kv = values[2].value;
      vertex.tangent = values[3].value;
      vertex.external = values[4].value;
      stored.push_back(vertex);
      continue;
    }
    // Values so long that the reader gets the line in pieces: read as written.
    const std::string line = end ? FormattedLine("%0.3lf %0.3lf 0.000 0.000 0.000\n", v.station, v.elevation)
                                 : FormattedLine("%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf\n", v.station, v.elevation,
                                                 v.kv, v.tangent, v.external);
    for (const ProfileVertex& piece : ParseNativeProfile(line, kLandXmlProfileReader)) stored.push_back(piece);
  }
  return stored;
}

}  // namespace common
