// Ispol profile listing: the grade listing read with its comment-line rule.
#include "formats/ispol/ispol.h"

#include "formats/istram/istram.h"

namespace viaducto {
Profile ParseIspolProfile(std::string_view text) {
  Profile profile = ReadGradeListing(text, CommentLines::kEndTheData);
  // The listing gives the grade that ends at each vertex: move it to the vertex where it starts.
  for (std::size_t i = 0; i < profile.size(); ++i) {
    profile[i].grade = i + 1 < profile.size() ? profile[i + 1].grade : 0.0;
  }
  CurvesFromListedGrades(profile);
  return profile;
}

}  // namespace viaducto
