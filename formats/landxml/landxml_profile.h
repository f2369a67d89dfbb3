// Vertical profiles in LandXML: `Profile` / `ProfAlign` with `PVI`, `ParaCurve` and `CircCurve`.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "formats/landxml/landxml_document.h"
#include "common/profile_curves.h"

namespace viaducto {

using common::Profile;

// "alignment: profile" for every named `ProfAlign`, in document order, each entry once.
std::vector<std::string> ListLandXmlProfiles(const common::LandXmlSource& source);

struct LandXmlProfileImport {
  ParseResult parse = ParseResult::kComplete;
  Profile profile;  // curves completed
  std::vector<std::string> notes;  // what was approximated, in Spanish
};

// The vertices of the profile whose entry ("alignment: profile") equals `entry` without regard
// to case. Curves are completed as parabolas, or as circles at the vertices of a `CircCurve`.
LandXmlProfileImport ImportLandXmlProfile(const common::LandXmlSource& source, std::string_view entry);

// A document holding `Profile` / `ProfAlign name=...`: the first and last vertex as `PVI`, the
// inner ones as `ParaCurve` with their curve length.
void WriteLandXmlProfile(const Profile& profile, const std::string& name, LandXmlWriter& writer);

// The document for `profile`, its `ProfAlign` named after `salida`'s file name; 1 when written,
// 0 when the profile is empty or the target cannot be written.
int ExportProfileToLandXml(const Profile& profile, const std::string& salida);
int ExportProfileToLandXml(const Profile& profile, const std::string& salida, const std::tm& when);

}  // namespace viaducto
