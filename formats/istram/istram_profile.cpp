// Istram profile listing, and the grade listing layout Istram and Ispol share.
#include "formats/istram/istram.h"

#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {
namespace {

// Station, elevation, grade (percent, field 7) and kv (field 8) of a listing line; false for a
// line of fewer than eight fields.
bool ReadGradeLine(std::string_view line, std::vector<std::string_view>& fields, common::ProfileVertex& vertex) {
  if (common::SplitTokens(line, " \t\n", fields) < 8) return false;
  vertex = common::ProfileVertex();
  vertex.station = common::LenientDouble(fields[0]);
  vertex.elevation = common::LenientDouble(fields[1]);
  vertex.grade = common::LenientDouble(fields[6]) / 100.0;
  vertex.kv = common::LenientDouble(fields[7]);
  return true;
}

bool StartsWith(std::string_view line, char c) { return !line.empty() && line.front() == c; }

}  // namespace

Profile ReadGradeListing(std::string_view text, CommentLines comments) {
  Profile profile;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  common::ProfileVertex vertex;
  bool beforeData = true;
  while (reader.Next(line)) {
    if (StartsWith(line, '#')) {
      if (comments == CommentLines::kSkipped || beforeData) continue;
      break;
    }
    beforeData = false;
    if (ReadGradeLine(line, fields, vertex)) profile.push_back(vertex);
  }
  return profile;
}

// Curves of the inner vertices from their kv, once each vertex holds the grade of the segment
// that starts at it.
void CurvesFromListedGrades(Profile& profile) {
  for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
    CurveFromKv(profile[i], profile[i].grade - profile[i - 1].grade);
  }
}


Profile ParseIstramProfile(std::string_view text) {
  Profile profile = ReadGradeListing(text, CommentLines::kSkipped);
  CurvesFromListedGrades(profile);
  return profile;
}

}  // namespace viaducto
