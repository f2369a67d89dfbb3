#include "formats/landxml/landxml_summary.h"

#include <map>
#include <set>
#include <string>

#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_profile.h"

namespace viaducto {
namespace {

using common::CrossSectionSummary;
using common::GetAttribute;
using common::GetNumber;
using common::LandXmlAttributes;
using common::NameIs;

// Lists the profiles and counts the cross sections, surfaces and points of a document, and names its
// alignments; the alignment reader beside it gets the same events and reads their elements.
class Counter : public common::LandXmlHandler {
 public:
  Counter(LandXmlSummary& summary, LandXmlAlignmentsReader& alignments)
      : summary_(summary), alignments_(alignments) {}

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    alignments_.StartElement(name, attributes);
    TakeCoordinateSystem(name, attributes, summary_.coordinateSystem);
    const auto text = [&](std::string_view attribute) {
      const auto value = GetAttribute(attributes, attribute);
      return value ? std::string(*value) : std::string();
    };
    if (NameIs(name, "Alignment")) {
      names_.push_back(text("name"));
      // The cross sections are listed under the alignment they follow, "*" when unnamed.
      sectionAlignment_ = GetAttribute(attributes, "name") ? text("name") : std::string("*");
      const auto named = GetAttribute(attributes, "name");
      firstAttributes_.push_back(named ? std::string(*named)
                                       : attributes.empty() ? std::string() : std::string(attributes.front().value));
      inAlignment_ = true;
    } else if (NameIs(name, "ProfAlign")) {
      // The entry the profile import selects it by, as its list names it.
      const auto profileName = GetAttribute(attributes, "name");
      if (profileName) {
        std::string entry = (inAlignment_ ? firstAttributes_.back() : std::string()) + ": " + std::string(*profileName);
        bool listed = false;
        for (const std::string& known : profileEntries_) listed = listed || known == entry;
        if (!listed) profileEntries_.push_back(std::move(entry));
      }
    } else if (NameIs(name, "CrossSect")) {
      sectionSurfaces_.clear();
    } else if (NameIs(name, "DesignCrossSectSurf") || NameIs(name, "CrossSectSurf")) {
      // Named as the cross-section import lists them: a surface by its name, a design surface
      // without one by its side.
      auto surface = GetAttribute(attributes, "name");
      if (!surface) surface = GetAttribute(attributes, "side");
      const std::string alignment = inAlignment_ ? sectionAlignment_ : std::string();
      std::string key = alignment + ": " + std::string(surface ? *surface : std::string_view());
      for (char& c : key) {
        if (c == '\n' || c == '\r') c = ' ';
      }
      currentSet_ = SetIndex(key);
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
    }
  }

  bool WantsText() const override { return readingPairs_ || alignments_.WantsText(); }

  const std::vector<std::string>& names() const { return names_; }
  const std::vector<std::string>& profileEntries() const { return profileEntries_; }

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
  std::vector<std::string> firstAttributes_;  // their names as the profile import takes them
  std::vector<std::string> profileEntries_;   // "alignment: profile", each once
  std::string sectionAlignment_;  // of the cross sections: the last alignment's name
  bool inAlignment_ = false;
  bool inSurface_ = false;
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
  // Each profile the import offers, read by the import: its vertices as a conversion writes
  // them (what the import reads of a document cut short).
  if (summary.parse != common::ParseResult::kCannotOpen) {
    for (const std::string& entry : counter.profileEntries()) {
      common::ProfileSummary profile = common::SummarizeProfile(ImportLandXmlProfile(source, entry).profile);
      profile.name = entry.compare(0, 2, ": ") == 0 ? entry.substr(2) : entry;
      summary.profiles.push_back(std::move(profile));
    }
  }
  return summary;
}

}  // namespace viaducto
