// The coordinate system a file names for itself (a LandXML document's CoordinateSystem, an IFC
// file's IfcProjectedCRS), read from the fuzzer's bytes in memory by the readers `info` and
// `convert` take it from, and a system put into a LandXML document, in memory too. The first
// byte picks the reading; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/ifc/ifc_alignment.h"
#include "formats/landxml/landxml_coordinate_system.h"
#include "formats/landxml/landxml_summary.h"
#include "frontend/detect/named_system.h"
#include "fuzz/driver.h"

namespace fuzzing {
namespace {

// A name never holds more than the file it comes from, but for the "EPSG:" put before a code
// and the file's text made UTF-8 (a Latin byte becomes two, a UTF-16 character up to three).
void CheckNamed(const detect::NamedSystem& system, std::string_view text) {
  if (system.definition.size() > 3 * text.size() + 5) __builtin_trap();
}

// A document that takes the element is still whole with it, and takes it again unchanged.
void PutSystem(std::string_view text) {
  viaducto::LandXmlCoordinateSystem system;
  system.name = "Sistema \xc3\xb1 <&>";
  system.epsgCode = "25830";
  system.ogcWkt = "PROJCS[\"ETRS89 / UTM zone 30N\",GEOGCS[\"ETRS89\"]]";
  std::string once, twice;
  if (!viaducto::PutCoordinateSystemInDocument(text, system, once)) return;
  if (!viaducto::PutCoordinateSystemInDocument(once, system, twice) || twice != once) __builtin_trap();
}

// The readings, in the order the first byte picks them (the seed script counts the entries).
struct Reading {
  const char* name;
  void (*read)(std::string_view text);
};

const Reading kReadings[] = {
    {"Viaducto:SummarizeLandXml",
     [](std::string_view text) {
       CheckNamed(detect::NamedSystemOfLandXml(viaducto::SummarizeLandXml(common::LandXmlSource::Bytes(text)).coordinateSystem),
                  text);
     }},
    {"Viaducto:ReadAlignmentsText",
     [](std::string_view text) { CheckNamed(detect::NamedSystemOfIfc(ifc::ReadAlignmentsText(text).projectedCrs), text); }},
    {"Viaducto:PutCoordinateSystemInDocument", PutSystem},
};

}  // namespace

int Run_named_system(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  kReadings[data[0] % (sizeof kReadings / sizeof kReadings[0])].read(text);
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(named_system)
