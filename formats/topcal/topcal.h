// Total-station observations written as Topcal observation files: from the native survey file
// (*.lea) and from a comma- or blank-separated observation list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"

namespace viaducto {

// One observation of the native survey, with the set-up it belongs to.
struct SurveyObservation {
  std::string setUp;
  std::string point;
  double horizontal = 0;  // gon
  double zenith = 0;      // gon
  double distance = 0;    // horizontal as read; slope after ToSlopeDistances
  double fourth = 0;
  double instrumentHeight = 0;
  std::string code;
};

// "S name height" starts a set-up; "E" or "P" lines "name Hz V distance fourth [code]" are its
// observations. Other lines, observations before the first set-up and observations lacking
// a number are skipped.
std::vector<SurveyObservation> ParseNativeSurvey(std::string_view text);

// Horizontal distance / sin(V): the slope distance Topcal expects (0 when sin(V) is 0).
void ToSlopeDistances(std::vector<SurveyObservation>& observations);

void FormatTopcalObservations(const std::vector<SurveyObservation>& observations, bool withCodes,
                              common::TextWriter& writer);
void FormatTopcalCodes(const std::vector<SurveyObservation>& observations, common::TextWriter& writer);

// The code file written beside a Topcal observation file: its extension replaced by "cod".
std::string TopcalCodePath(const std::string& salida);

// Native survey to Topcal, codes in a file beside it (separateCodeFile) or on each line.
// 1 when at least one observation was written, else 0.
int ConvertSurveyToTopcal(const std::string& entrada, const std::string& salida, bool separateCodeFile);

// Observation list lines "name1 name2 n1 n2 n3 n4 n5 [code]" (blanks, commas, tabs) to the wide
// Topcal layout; a code "zemta" is written empty. Returns the number of lines written; the
// conversion gives 0 when a file cannot be read or written, or there is no observation.
std::size_t FormatWideTopcal(std::string_view text, common::TextWriter& writer);
int ConvertObservationListToTopcal(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
