#include "formats/landxml/landxml_cross_sections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>
#include <unordered_set>

#include "common/export_guard.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "viaducto.h"
#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"
#include "formats/mxroad/mxroad.h"
#include "formats/istram/istram.h"
#include "formats/clip/clip.h"
#include "formats/cartomap/cartomap.h"
#include "formats/gts/gts_cross_sections.h"

namespace viaducto {

namespace {

constexpr std::size_t kLongestCode = 255;
// White space between the numbers of a point list.
constexpr char kListSeparators[] = " \t\r\n";

std::string CodeText(std::string_view text) { return std::string(text.substr(0, kLongestCode)); }

// Whether an element says its numbers are pairs of grade and distance.
bool IsSlopeDistance(const LandXmlAttributes& attributes) {
  const auto format = GetAttribute(attributes, "dataFormat");
  return format && common::EqualsIgnoringCase(*format, "Slope Distance");
}

// A surface of a cross section is known by its `name`; design surfaces written without one
// by their `side`.
std::optional<std::string_view> SurfaceName(const LandXmlAttributes& attributes) {
  if (const auto name = GetAttribute(attributes, "name")) return name;
  return GetAttribute(attributes, "side");
}

// ---- Listing ---------------------------------------------------------------------------------

class SurfaceListHandler : public LandXmlHandler {
 public:
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (NameIs(name, "Alignment")) {
      const auto alignmentName = GetAttribute(attributes, "name");
      alignment_ = alignmentName ? std::string(*alignmentName) : std::string("*");
      return;
    }
    if (!NameIs(name, "CrossSectSurf") && !NameIs(name, "DesignCrossSectSurf")) return;
    const auto surfaceName = SurfaceName(attributes);
    if (!surfaceName || alignment_.empty()) return;
    std::string entry = alignment_ + ": " + std::string(*surfaceName);
    // A line end inside a name would shift every later entry of the list.
    for (char& c : entry) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    if (seen_.insert(entry).second) entries.push_back(std::move(entry));
  }
  void EndElement(std::string_view) override {}

  std::vector<std::string> entries;

 private:
  std::string alignment_;
  std::unordered_set<std::string> seen_;
};

// ---- One (alignment, surface) pair -----------------------------------------------------------

// Offset and elevation pairs of a text; a lone last number is left out.
void AppendPairs(std::string_view text, double station, const std::string& code, bool negateOffsets,
                 CrossSectionSet& set) {
  common::Tokenizer numbers(text);
  std::string_view offset, elevation;
  while (numbers.Next(kListSeparators, offset) && numbers.Next(kListSeparators, elevation)) {
    CrossSectionPoint point;
    point.station = station;
    point.offset = common::LenientDouble(offset);
    if (negateOffsets) point.offset = -point.offset;
    point.elevation = common::LenientDouble(elevation);
    point.code = code;
    set.points.push_back(std::move(point));
  }
}

// Pairs of grade in percent and horizontal distance, each from the point before, the first
// from the centreline: offset and elevation relative to the centreline, offsets negative on
// the left.
void AppendSlopeDistancePairs(std::string_view text, double station, const std::string& code, bool left,
                              double& offset, double& elevation, CrossSectionSet& set) {
  common::Tokenizer numbers(text);
  std::string_view grade, distance;
  while (numbers.Next(kListSeparators, grade) && numbers.Next(kListSeparators, distance)) {
    const double run = std::fabs(common::LenientDouble(distance));
    offset += left ? -run : run;
    elevation += common::LenientDouble(grade) / 100.0 * run;
    set.points.push_back(CrossSectionPoint{station, offset, elevation, code});
  }
}

class SurfaceHandler : public LandXmlHandler {
 public:
  SurfaceHandler(const std::string& alignment, const std::string& surface, CrossSectionSet& set)
      : wantedAlignment_(alignment), wantedSurface_(surface), set_(set) {}

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (const double foot = common::FeetInMetres(name, attributes)) feet = foot;
    if (NameIs(name, "Alignment")) {
      const auto alignmentName = GetAttribute(attributes, "name");
      if (alignmentName && common::EqualsIgnoringCase(*alignmentName, wantedAlignment_)) inAlignment_ = true;
    } else if (NameIs(name, "CrossSect")) {
      if (const auto sta = GetNumber(attributes, "sta")) station_ = *sta;
      sectionSlope_ = IsSlopeDistance(attributes);
    } else if (NameIs(name, "CrossSectSurf") || NameIs(name, "DesignCrossSectSurf")) {
      const auto surfaceName = SurfaceName(attributes);
      if (surfaceName && common::EqualsIgnoringCase(*surfaceName, wantedSurface_)) {
        inSurface_ = true;
        design_ = NameIs(name, "DesignCrossSectSurf");
        slopeDistance_ = sectionSlope_ || IsSlopeDistance(attributes);
        const auto side = GetAttribute(attributes, "side");
        left_ = side && common::EqualsIgnoringCase(*side, "left");
        runningOffset_ = 0;
        runningElevation_ = 0;
      }
      const auto desc = GetAttribute(attributes, "desc");
      code_ = desc ? CodeText(*desc) : std::string();
    } else if (NameIs(name, "CrossSectPnt")) {
      inPoint_ = true;
      // The format may stand on each point instead of on its surface.
      pointSlope_ = IsSlopeDistance(attributes);
      const auto code = GetAttribute(attributes, "code");
      code_ = code ? CodeText(*code) : std::string();
    } else if (NameIs(name, "PntList2D")) {
      inPointList_ = true;
    }
  }

  void EndElement(std::string_view name) override {
    if (NameIs(name, "Alignment")) {
      inAlignment_ = false;
    } else if (NameIs(name, "CrossSectSurf") || NameIs(name, "DesignCrossSectSurf")) {
      inSurface_ = false;
    } else if (NameIs(name, "CrossSectPnt")) {
      inPoint_ = false;
    } else if (NameIs(name, "PntList2D")) {
      inPointList_ = false;
    }
  }

  bool WantsText() const override { return inAlignment_ && inSurface_ && (inPointList_ || (design_ && inPoint_)); }

  void Characters(std::string_view text) override {
    if (!inAlignment_ || !inSurface_) return;
    const bool slopeDistance = slopeDistance_ || (inPoint_ && pointSlope_);
    if (slopeDistance && (inPointList_ || (design_ && inPoint_))) {
      AppendSlopeDistancePairs(text, station_, code_, left_, runningOffset_, runningElevation_, set_);
    } else if (inPointList_) {
      AppendPairs(text, station_, code_, common::EqualsIgnoringCase(code_, "left"), set_);
    } else if (design_ && inPoint_) {
      AppendPairs(text, station_, code_, false, set_);
    }
  }

  double feet = 0;  // the metres in the document's foot; 0 in a document in metres

 private:
  const std::string& wantedAlignment_;
  const std::string& wantedSurface_;
  CrossSectionSet& set_;
  double station_ = 0;
  std::string code_;
  bool inAlignment_ = false;
  bool inSurface_ = false;
  bool design_ = false;
  bool inPoint_ = false;
  bool inPointList_ = false;
  bool slopeDistance_ = false;  // pairs of grade and distance instead of offset and elevation
  bool sectionSlope_ = false;   // ... said by the section for all its surfaces
  bool pointSlope_ = false;     // ... said by the point being read
  bool left_ = false;
  double runningOffset_ = 0;
  double runningElevation_ = 0;
};

// ---- InRoads station-offset points -------------------------------------------------------------

class InroadsHandler : public LandXmlHandler {
 public:
  explicit InroadsHandler(CrossSectionSet& set) : set_(set) {}

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (NameIs(name, "StationOffsetPoint")) {
      if (const auto code = GetAttribute(attributes, "offsetAlignmentName")) code_ = CodeText(*code);
      if (const auto offset = GetNumber(attributes, "firstOffset")) {
        offset_ = *offset;
        open_ = true;
      }
    } else if (NameIs(name, "offsetpoint")) {
      if (!open_) return;
      if (const auto elevation = GetNumber(attributes, "elevation")) {
        elevation_ = *elevation;
        hasElevation_ = elevation_ != 0.0;
        // An elevation of 0 marks a point without one: it is dropped.
        if (!hasElevation_) open_ = false;
      }
    } else if (NameIs(name, "station")) {
      if (!open_ || !hasElevation_) return;
      if (const auto station = GetNumber(attributes, "internalStation")) {
        set_.points.push_back(CrossSectionPoint{*station, offset_, elevation_, code_});
        open_ = false;
        hasElevation_ = false;
      }
    }
  }
  void EndElement(std::string_view) override {}

 private:
  CrossSectionSet& set_;
  std::string code_;
  double offset_ = 0;
  double elevation_ = 0;
  bool open_ = false;
  bool hasElevation_ = false;
};

}  // namespace

std::vector<std::string> ListLandXmlCrossSectionSurfaces(const common::LandXmlSource& source) {
  SurfaceListHandler handler;
  source.Parse(handler);
  return handler.entries;
}

bool ReadLandXmlCrossSections(const common::LandXmlSource& source, const std::string& alignment,
                              const std::string& surface, CrossSectionSet& set, double* feet) {
  set.points.clear();
  SurfaceHandler handler(alignment, surface, set);
  if (source.Parse(handler) != ParseResult::kComplete) return false;
  if (feet != nullptr) *feet = handler.feet;
  if (handler.feet != 0) {
    for (CrossSectionPoint& point : set.points) {
      point.station *= handler.feet;
      point.offset *= handler.feet;
      point.elevation *= handler.feet;
    }
  }
  set.Clean();
  set.Sort();
  return true;
}

bool ReadInroadsCrossSections(const common::LandXmlSource& source, CrossSectionSet& set) {
  set.points.clear();
  InroadsHandler handler(set);
  if (source.Parse(handler) != ParseResult::kComplete) return false;
  set.Sort();
  return true;
}

void FormatLandXmlCrossSections(const CrossSectionSet& set, const std::string& name, LandXmlWriter& writer) {
  writer.BeginDocument();
  writer.AddText("name", name);
  writer.StartElement("CrossSects");
  // Each section gathers every point of its station, in file order, even where a file is not
  // in section order: no point is left out.
  std::vector<std::size_t> order(set.points.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&set](std::size_t a, std::size_t b) { return set.points[a].station < set.points[b].station; });
  std::string text;
  char pair[96];
  for (std::size_t begin = 0; begin < order.size();) {
    const double station = set.points[order[begin]].station;
    std::size_t end = begin;
    text.clear();
    for (; end < order.size() && set.points[order[end]].station == station; ++end) {
      const CrossSectionPoint& p = set.points[order[end]];
      const int length = std::snprintf(pair, sizeof pair, " %0.3lf %0.3lf", Printable(p.offset), Printable(p.elevation));
      if (length > 0) text.append(pair, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof pair - 1));
    }
    writer.AddNumber("sta", Printable(station), 3);
    writer.StartElement("CrossSect");
    writer.AddText("name", name);
    writer.StartElement("CrossSectSurf");
    writer.StartElement("PntList2D");
    writer.Characters(text);
    writer.EndElement("PntList2D");
    writer.EndElement("CrossSectSurf");
    writer.EndElement("CrossSect");
    begin = end;
  }
  writer.EndElement("CrossSects");
}

bool WriteLandXmlCrossSections(const CrossSectionSet& set, const std::string& salida) {
  LandXmlWriter writer;
  FormatLandXmlCrossSections(set, common::SplitPath(salida).name, writer);
  return writer.EndDocument(salida);
}

}  // namespace viaducto
