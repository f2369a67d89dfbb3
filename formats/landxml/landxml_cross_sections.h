// Cross sections in LandXML: the (alignment, surface) pairs a document offers, the points of one
// pair as a native cross-section file, the station-offset points of InRoads, and native cross
// sections written as a `CrossSects` element.
#pragma once

#include <string>
#include <vector>

#include "common/text_output.h"
#include "formats/native/cross_section_set.h"
#include "formats/landxml/landxml_document.h"

namespace viaducto {

// "alignment: surface" for every surface of a cross section, in order of first appearance; an
// alignment without a name is "*". A pair is listed once.
std::vector<std::string> ListLandXmlCrossSectionSurfaces(const common::LandXmlSource& source);

// The points of the surface `surface` under the alignment `alignment` (names compared without
// regard to case), cleaned and in section order. False when the document cannot be read or is
// malformed: then nothing is to be written. A document in feet is read in metres; `feet`,
// when given, receives the metres in its foot (0 for a document in metres).
bool ReadLandXmlCrossSections(const common::LandXmlSource& source, const std::string& alignment,
                              const std::string& surface, CrossSectionSet& set, double* feet = nullptr);

// The station-offset points of an InRoads document, in section order.
bool ReadInroadsCrossSections(const common::LandXmlSource& source, CrossSectionSet& set);

// The document: frame, `CrossSects` named `name`, one `CrossSect` per distinct station in
// increasing order, each with one `CrossSectSurf` whose `PntList2D` holds the offset and
// elevation of the section's points in file order.
void FormatLandXmlCrossSections(const CrossSectionSet& set, const std::string& name, LandXmlWriter& writer);

// Writes `set` as LandXML to `salida`, named after its file; false when it cannot be written.
bool WriteLandXmlCrossSections(const CrossSectionSet& set, const std::string& salida);

}  // namespace viaducto
