#include "formats/landxml/landxml_summary.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "formats/landxml/landxml_alignment.h"

namespace viaducto {
namespace {

using common::CrossSectionSummary;
using common::GetAttribute;
using common::GetNumber;
using common::LandXmlAttributes;
using common::NameIs;
using common::ProfileSummary;

double FirstNumber(std::string_view text) {
  // strtod reads a terminated text: a short one is copied to the stack.
  char buffer[256];
  if (text.size() < sizeof buffer) {
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return std::strtod(buffer, nullptr);
  }
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

// Counts the profiles, cross sections, surfaces and points of a document, and names its
// alignments; the alignment reader beside it gets the same events and reads their elements.
class Counter : public common::LandXmlHandler {
 public:
  Counter(LandXmlSummary& summary, LandXmlAlignmentsReader& alignments)
      : summary_(summary), alignments_(alignments) {}

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    alignments_.StartElement(name, attributes);
    const auto text = [&](std::string_view attribute) {
      const auto value = GetAttribute(attributes, attribute);
      return value ? std::string(*value) : std::string();
    };
    if (NameIs(name, "Alignment")) {
      names_.push_back(text("name"));
      inAlignment_ = true;
    } else if (NameIs(name, "ProfAlign")) {
      ProfileSummary profile;
      const std::string alignment = inAlignment_ ? names_.back() : std::string();
      profile.name = alignment.empty() ? text("name") : alignment + ": " + text("name");
      summary_.profiles.push_back(profile);
      inProfAlign_ = true;
    } else if (inProfAlign_ && (NameIs(name, "PVI") || NameIs(name, "ParaCurve") || NameIs(name, "CircCurve"))) {
      ++summary_.profiles.back().vertices;
      readingStation_ = true;
    } else if (NameIs(name, "CrossSect")) {
      sectionSurfaces_.clear();
    } else if (NameIs(name, "DesignCrossSectSurf") || NameIs(name, "CrossSectSurf")) {
      const std::string alignment = inAlignment_ ? names_.back() : std::string();
      currentSet_ = SetIndex(alignment + ": " + text("name"));
      if (sectionSurfaces_.insert(currentSet_).second) ++Set().sections;
    } else if (NameIs(name, "CrossSectPnt") && currentSet_ >= 0) {
      ++Set().points;
    } else if (NameIs(name, "PntList2D") && currentSet_ >= 0) {
      readingPairs_ = true;
    } else if (NameIs(name, "StationOffsetPoint")) {
      // The cross sections of the other LandXML layout: one element per point.
      currentSet_ = SetIndex(inAlignment_ ? names_.back() : std::string());
      ++Set().points;
    } else if (NameIs(name, "station") && currentSet_ >= 0) {
      const auto station = GetAttribute(attributes, "internalStation");
      if (station && stationsSeen_[currentSet_].insert(std::string(*station)).second) ++Set().sections;
    } else if (NameIs(name, "Surface")) {
      summary_.surfaces.push_back({text("name"), 0, 0, 0});
      inSurface_ = true;
    } else if (inSurface_ && NameIs(name, "P")) {
      ++summary_.surfaces.back().points;
    } else if (inSurface_ && NameIs(name, "F")) {
      ++summary_.surfaces.back().faces;
      const auto invisible = GetAttribute(attributes, "i");
      if (invisible && *invisible == "1") ++summary_.surfaces.back().invisibleFaces;
    } else if (NameIs(name, "CgPoint")) {
      summary_.points = summary_.points < 0 ? 1 : summary_.points + 1;
    }
  }

  void EndElement(std::string_view name) override {
    alignments_.EndElement(name);
    if (NameIs(name, "Alignment")) {
      inAlignment_ = false;
    } else if (NameIs(name, "ProfAlign")) {
      inProfAlign_ = false;
    } else if (NameIs(name, "PVI") || NameIs(name, "ParaCurve") || NameIs(name, "CircCurve")) {
      readingStation_ = false;
    } else if (NameIs(name, "DesignCrossSectSurf") || NameIs(name, "CrossSectSurf") ||
               NameIs(name, "StationOffsetPoint")) {
      currentSet_ = -1;
    } else if (NameIs(name, "PntList2D")) {
      readingPairs_ = false;
    } else if (NameIs(name, "Surface")) {
      inSurface_ = false;
    }
  }

  void Characters(std::string_view text) override {
    if (alignments_.WantsText()) alignments_.Characters(text);
    if (readingPairs_ && currentSet_ >= 0) {
      // Offset and elevation pairs separated by blanks.
      long numbers = 0;
      bool inNumber = false;
      for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank && !inNumber) ++numbers;
        inNumber = !blank;
      }
      Set().points += numbers / 2;
      return;
    }
    if (!readingStation_ || summary_.profiles.empty()) return;
    ProfileSummary& profile = summary_.profiles.back();
    const double station = FirstNumber(text);
    if (profile.vertices == 1) profile.startStation = station;
    profile.endStation = station;
  }

  bool WantsText() const override { return readingStation_ || readingPairs_ || alignments_.WantsText(); }

  const std::vector<std::string>& names() const { return names_; }

 private:
  long SetIndex(const std::string& key) {
    auto found = sectionSets_.find(key);
    if (found == sectionSets_.end()) {
      found = sectionSets_.emplace(key, summary_.crossSections.size()).first;
      summary_.crossSections.push_back({key, 0, 0});
    }
    return static_cast<long>(found->second);
  }
  CrossSectionSummary& Set() { return summary_.crossSections[static_cast<std::size_t>(currentSet_)]; }

  LandXmlSummary& summary_;
  LandXmlAlignmentsReader& alignments_;
  std::vector<std::string> names_;  // of the alignments, in document order
  bool inAlignment_ = false;
  bool inProfAlign_ = false;
  bool inSurface_ = false;
  bool readingStation_ = false;
  bool readingPairs_ = false;
  long currentSet_ = -1;
  std::map<std::string, std::size_t> sectionSets_;
  std::set<long> sectionSurfaces_;  // the sets the current CrossSect has counted
  std::map<long, std::set<std::string>> stationsSeen_;
};

}  // namespace

LandXmlSummary SummarizeLandXml(const common::LandXmlSource& source) {
  LandXmlSummary summary;
  LandXmlAlignmentsReader alignments;
  Counter counter(summary, alignments);
  summary.parse = source.Parse(counter);
  const std::vector<LandXmlAlignmentImport> imported = alignments.Finish(summary.parse);
  for (std::size_t i = 0; i < imported.size(); ++i) {
    common::AlignmentSummary alignment = common::SummarizeAlignment(imported[i].elements);
    if (i < counter.names().size()) alignment.name = counter.names()[i];
    summary.alignments.push_back(std::move(alignment));
  }
  return summary;
}

}  // namespace viaducto
