// Cartomap profiles: the keyword text and the tab-separated listing.
#include "formats/cartomap/cartomap.h"

#include <cmath>
#include <strings.h>
#include <vector>

#include "common/numbers.h"
#include "common/scanned_fields.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "formats/cartomap/cartomap_rows.h"

namespace viaducto {
Profile ParseCartomapKeywordProfile(std::string_view text) {
  Profile profile;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    if (line.size() < 10) continue;
    if (common::SplitTokens(common::WithoutLineFeed(line), " \t", fields) < 3) continue;
    const std::string keyword(fields[0]);
    if (strcasecmp(keyword.c_str(), "INICIO") != 0 && strcasecmp(keyword.c_str(), "VERTICE") != 0 &&
        strcasecmp(keyword.c_str(), "FINAL") != 0) {
      continue;
    }
    common::ProfileVertex vertex;
    vertex.station = common::LenientDouble(fields[1]);
    vertex.elevation = common::LenientDouble(fields[2]);
    if (fields.size() > 3) vertex.kv = common::LenientDouble(fields[3]);
    profile.push_back(vertex);
  }
  CompleteCurvesFromKv(profile, 1, profile.size());
  for (common::ProfileVertex& vertex : profile) vertex.kv = std::fabs(vertex.kv);
  return profile;
}

namespace {

// A field of a Cartomap row read as the number it must be; false when it is not one.
bool CartomapNumber(std::string_view field, double& value) { return common::ScannedFields(field).Double(value); }

}  // namespace

Profile ParseCartomapProfileListing(std::string_view text) {
  Profile profile;
  bool haveEnd = false;
  common::ProfileVertex end;
  ForEachCartomapRow(text, [&](const std::vector<std::string_view>& fields) {
    common::ProfileVertex vertex;
    vertex.station = ReadCartomapStation(fields.empty() ? std::string_view() : fields[0]);
    switch (fields.size()) {
      case 7:
      case 8:
        if (CartomapNumber(fields[4], vertex.elevation)) profile.push_back(vertex);
        break;
      case 9:
        if (!CartomapNumber(fields[4], vertex.elevation)) break;
        if (profile.empty()) {
          profile.push_back(vertex);
        } else {
          end = vertex;
          haveEnd = true;
        }
        break;
      case 10:
        if (CartomapNumber(fields[7], vertex.kv) && CartomapNumber(fields[8], vertex.elevation)) {
          vertex.kv = std::fabs(vertex.kv);
          profile.push_back(vertex);
        }
        break;
      default:
        break;
    }
  });
  if (haveEnd && !profile.empty() && end.station > profile.back().station) profile.push_back(end);
  if (profile.size() > 2) common::CompleteCurvesFromKv(profile, 1, profile.size() - 1);
  return profile;
}

}  // namespace viaducto
