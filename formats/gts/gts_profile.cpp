#include "formats/gts/gts_profile.h"

#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

void FormatGtsProfileComma(const Profile& profile, common::TextWriter& writer) {
  const std::size_t n = profile.size();
  if (n == 0) return;
  // A lone vertex is written once, as the last one.
  if (n > 1) writer.Printf("%0.3lf, %0.3lf, 0.000\n", profile[0].station, profile[0].elevation);
  for (std::size_t i = 1; i + 1 < n; ++i) {
    writer.Printf("%0.3lf, %0.3lf, %0.3lf\n", profile[i].station, profile[i].elevation, 2.0 * profile[i].tangent);
  }
  writer.Printf("%0.3lf, %0.3lf, 0.000", profile[n - 1].station, profile[n - 1].elevation);
}

void FormatGtsProfileColumns(const Profile& profile, common::TextWriter& writer) {
  const std::size_t n = profile.size();
  for (std::size_t i = 0; i < n; ++i) {
    const double length = (i == 0 || i + 1 == n) ? 0.0 : 2.0 * profile[i].tangent;
    writer.Printf("%10.3lf %8.3lf %9.3lf\n", profile[i].station, profile[i].elevation, length);
  }
}

Profile ParseGtsProfileComma(std::string_view text) {
  Profile profile;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (common::SplitTokens(common::WithoutLineFeed(line), ",", fields) < 2) continue;
    common::ProfileVertex vertex;
    vertex.station = common::LenientDouble(fields[0]);
    vertex.elevation = common::LenientDouble(fields[1]);
    if (fields.size() > 2) vertex.tangent = common::LenientDouble(fields[2]) / 2.0;
    profile.push_back(vertex);
  }
  CompleteCurves(profile, false);
  return profile;
}

}  // namespace viaducto
