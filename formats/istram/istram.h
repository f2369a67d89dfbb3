// Istram: fixed-column and element listings of alignments, profile listings and section
// listings; and the grade listing layout Istram and Ispol profiles share.
#pragma once

#include <string_view>
#include <vector>

#include "common/profile_curves.h"
#include "common/records.h"
#include "formats/native/native_alignment_file.h"

namespace viaducto {

using common::Profile;

// Istram fixed-column listing.
Alignment ParseIstramAlignment(std::string_view text);
// Istram element listing.
Alignment ParseIstramElementList(std::string_view text);

// Istram: a line "4 ... station ..." opens a section, the next gives the left and right point
// counts, then the pairs; each section sorted left to right.
bool ParseIstramSections(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// Istram listing: lines of at least eight fields; station, elevation, grade in percent of the
// segment that starts at the vertex (field 7) and kv (field 8). The curve at an inner vertex is
// |change of grade x kv| long.
Profile ParseIstramProfile(std::string_view text);

// The grade listing: one vertex per line of at least eight fields (station, elevation, grade in
// percent in field 7, kv in field 8); the formats that use it differ in their "#" lines.
enum class CommentLines {
  kSkipped,      // "#" lines anywhere are passed over
  kEndTheData,   // "#" lines before the data are passed over; the next one ends it
};
Profile ReadGradeListing(std::string_view text, CommentLines comments);
// Curves of the inner vertices from their kv, once each vertex holds the grade of the segment
// that starts at it.
void CurvesFromListedGrades(Profile& profile);

}  // namespace viaducto
