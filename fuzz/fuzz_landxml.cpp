// LandXML documents: alignments, profiles, cross sections, surfaces and survey points, read
// from the fuzzer's bytes in memory by the same readers the exports use (no file is written,
// so the reader runs thousands of times a second).
//
// The first byte picks the reading, the second a selection index or a name; the rest is the
// document.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "common/message_hook.h"
#include "common/text_output.h"
#include "formats/landxml/xml_reader.h"
#include "fuzz/driver.h"
#include "formats/landxml/landxml_points.h"
#include "formats/landxml/landxml_surface.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_cross_sections.h"
#include "formats/landxml/landxml_profile.h"

namespace fuzzing {
namespace {

// The readings, in the order the first byte picks them (the seed script counts the entries).
struct Reading {
  const char* name;
  void (*read)(const common::LandXmlSource& source, uint8_t choice);
};

const char* const kNames[] = {"A", "a", "Eje", "Terreno", "EG", "left", "A: R", "Eje: Terreno"};
std::string NameOf(uint8_t choice) { return kNames[choice % (sizeof kNames / sizeof kNames[0])]; }

const Reading kReadings[] = {
    {"Viaducto:ListLandXmlAlignments", [](const common::LandXmlSource& s, uint8_t) { viaducto::ListLandXmlAlignments(s); }},
    {"Viaducto:ImportLandXmlAlignment",
     [](const common::LandXmlSource& s, uint8_t choice) {
       const viaducto::LandXmlAlignmentImport imported = viaducto::ImportLandXmlAlignment(s, choice % 4);
       viaducto::ReadLandXmlStationEquations(s, choice % 4);
       common::TextWriter writer;
       viaducto::FormatImportedAlignment(imported.elements, writer);
       if (!imported.elements.empty()) {
         common::LandXmlWriter document;
         viaducto::WriteLandXmlAlignment(imported.elements, "A", document);
         document.EndDocumentBytes();
       }
     }},
    {"Viaducto:ListLandXmlProfiles", [](const common::LandXmlSource& s, uint8_t) { viaducto::ListLandXmlProfiles(s); }},
    {"Viaducto:ImportLandXmlProfile",
     [](const common::LandXmlSource& s, uint8_t choice) { viaducto::ImportLandXmlProfile(s, NameOf(choice)); }},
    {"Viaducto:ListLandXmlCrossSectionSurfaces",
     [](const common::LandXmlSource& s, uint8_t) { viaducto::ListLandXmlCrossSectionSurfaces(s); }},
    {"Viaducto:ReadLandXmlCrossSections",
     [](const common::LandXmlSource& s, uint8_t choice) {
       viaducto::CrossSectionSet set;
       viaducto::ReadLandXmlCrossSections(s, NameOf(choice), NameOf(choice >> 4), set);
     }},
    {"Viaducto:ReadInroadsCrossSections",
     [](const common::LandXmlSource& s, uint8_t) {
       viaducto::CrossSectionSet set;
       viaducto::ReadInroadsCrossSections(s, set);
     }},
    {"Planimetro:ReadLandXmlSurface",
     [](const common::LandXmlSource& s, uint8_t choice) {
       planimetro::landxml::LandXmlSurfaceRead read =
           planimetro::landxml::ReadLandXmlSurface(s, NameOf(choice), [](std::string_view) { return true; });
       planimetro::surface::SuperficieTin model;
       if (!read.points.empty()) planimetro::landxml::BuildSurface(model, std::move(read.points), read.triangles);
     }},
    {"Planimetro:ReadLandXmlPoints",
     [](const common::LandXmlSource& s, uint8_t) {
       const planimetro::landxml::LandXmlPointsImport imported = planimetro::landxml::ReadLandXmlPoints(s);
       planimetro::landxml::FormatLandXmlPoints(imported.points, "P");
     }},
};

}  // namespace

int Run_landxml(const uint8_t* data, std::size_t size) {
  static const bool silenced = (common::SilenceMessagesByDefault(), true);
  (void)silenced;
  if (size < 2) return 0;
  const Reading& reading = kReadings[data[0] % (sizeof kReadings / sizeof kReadings[0])];
  const std::string_view document(reinterpret_cast<const char*>(data + 2), size - 2);
  reading.read(common::LandXmlSource::Bytes(document), data[1]);
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(landxml)
