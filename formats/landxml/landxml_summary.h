// What a LandXML document holds: its alignments through the alignment import's own reader and
// its profiles through the profile import (so their elements, vertices, lengths and stations
// are those a conversion writes), and the cross-section sets, surfaces and survey points it
// offers, counted. One pass over the document, and one more per profile.
#pragma once

#include <vector>

#include "common/record_summary.h"
#include "formats/landxml/landxml_coordinate_system.h"
#include "formats/landxml/xml_reader.h"

namespace viaducto {

struct LandXmlSummary {
  common::ParseResult parse = common::ParseResult::kComplete;
  std::vector<common::AlignmentSummary> alignments;
  std::vector<common::ProfileSummary> profiles;  // "alignment: profile", as the import lists them
  std::vector<common::CrossSectionSummary> crossSections;  // named "alignment: surface"
  std::vector<common::SurfaceSummary> surfaces;
  long points = -1;  // `CgPoint` elements; -1 when there is none
  LandXmlCoordinateSystem coordinateSystem;
};

LandXmlSummary SummarizeLandXml(const common::LandXmlSource& source);

}  // namespace viaducto
