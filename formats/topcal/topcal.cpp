#include "formats/topcal/topcal.h"

#include "common/conversion.h"
#include "common/listing_conversion.h"

#include <cmath>

#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

namespace {

constexpr double kGonToRadians = 0.015707963267948967;

// The placeholder code the native programs write for "no code".
bool IsZemtaCode(std::string_view code) { return common::EqualsIgnoringCase(code, "zemta"); }

}  // namespace

std::vector<SurveyObservation> ParseNativeSurvey(std::string_view text) {
  std::vector<SurveyObservation> observations;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  bool inSetUp = false;
  std::string setUp;
  double instrumentHeight = 0;
  while (reader.Next(line)) {
    if (line.empty()) continue;
    const char kind = line.front();
    if (kind != 'S' && kind != 'E' && kind != 'P') continue;
    const std::size_t count = common::SplitTokens(common::WithoutLineFeed(line), " \t", fields);
    if (kind == 'S') {
      if (count < 2) continue;
      inSetUp = true;
      setUp = std::string(fields[1]);
      instrumentHeight = count >= 3 ? common::LenientDouble(fields[2]) : 0.0;
      continue;
    }
    if (!inSetUp || count < 6) continue;
    SurveyObservation observation;
    observation.setUp = setUp;
    observation.point = std::string(fields[1]);
    observation.horizontal = common::LenientDouble(fields[2]);
    observation.zenith = common::LenientDouble(fields[3]);
    observation.distance = common::LenientDouble(fields[4]);
    observation.fourth = common::LenientDouble(fields[5]);
    observation.instrumentHeight = instrumentHeight;
    if (count >= 7) observation.code = std::string(fields[6]);
    observations.push_back(std::move(observation));
  }
  return observations;
}

void ToSlopeDistances(std::vector<SurveyObservation>& observations) {
  for (SurveyObservation& o : observations) {
    const double s = std::sin(o.zenith * kGonToRadians);
    o.distance = s != 0.0 ? o.distance / s : 0.0;
  }
}

void FormatTopcalObservations(const std::vector<SurveyObservation>& observations, bool withCodes,
                              common::TextWriter& writer) {
  for (const SurveyObservation& o : observations) {
    if (withCodes) {
      writer.Printf("%5s%6s%9.4lf%9.4lf%10.3lf%8.3lf%8.3lf %8s\n", o.setUp.c_str(), o.point.c_str(), o.horizontal,
                    o.zenith, o.distance, o.fourth, o.instrumentHeight, o.code.c_str());
    } else {
      writer.Printf("%5s%6s%9.4lf%9.4lf%10.3lf%8.3lf%8.3lf\n", o.setUp.c_str(), o.point.c_str(), o.horizontal, o.zenith,
                    o.distance, o.fourth, o.instrumentHeight);
    }
  }
}

void FormatTopcalCodes(const std::vector<SurveyObservation>& observations, common::TextWriter& writer) {
  for (const SurveyObservation& o : observations) writer.Printf("%6s %8s\n", o.point.c_str(), o.code.c_str());
}

std::string TopcalCodePath(const std::string& salida) { return common::ChangeExtension(salida, "cod"); }

int ConvertSurveyToTopcal(const std::string& entrada, const std::string& salida, bool separateCodeFile) {
  constexpr common::ConversionRule kSurvey{"un fichero de lecturas topográficas", "ninguna observación"};
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kSurvey, text)) return 0;
  std::vector<SurveyObservation> observations = ParseNativeSurvey(text);
  if (!common::RequireSomething(observations.empty(), entrada, kSurvey)) return 0;
  ToSlopeDistances(observations);
  common::TextWriter writer;
  FormatTopcalObservations(observations, !separateCodeFile, writer);
  if (!writer.SaveTo(salida)) return 0;
  if (separateCodeFile) {
    // A target that already ends in ".cod" would be overwritten by its own code file.
    const std::string codePath = TopcalCodePath(salida);
    if (codePath != salida) {
      common::TextWriter codes;
      FormatTopcalCodes(observations, codes);
      codes.SaveTo(codePath);  // the observations stand without it
    }
  }
  return 1;
}

std::size_t FormatWideTopcal(std::string_view text, common::TextWriter& writer) {
  std::size_t written = 0;
  common::LineReader reader(text);
  std::string_view line;
  std::vector<std::string_view> fields;
  while (reader.Next(line)) {
    const std::size_t count = common::SplitTokens(line, " ,\t\n", fields);
    if (count < 7) continue;
    double numbers[5];
    for (int i = 0; i < 5; ++i) numbers[i] = common::LenientDouble(fields[2 + i]);
    std::string code = count >= 8 ? std::string(fields[7]) : std::string();
    if (IsZemtaCode(code)) code.clear();
    writer.Printf("%9s%9s%11.4lf%10.4lf%10.3lf%7.3lf%7.3lf%7s\n", std::string(fields[0]).c_str(),
                  std::string(fields[1]).c_str(), numbers[0], numbers[1], numbers[2], numbers[3], numbers[4],
                  code.c_str());
    ++written;
  }
  return written;
}

int ConvertObservationListToTopcal(const std::string& entrada, const std::string& salida) {
  constexpr common::ConversionRule kObservations{"una lista de observaciones", "ninguna observación"};
  return ConvertListing(entrada, salida, kObservations, FormatWideTopcal);
}

}  // namespace viaducto
