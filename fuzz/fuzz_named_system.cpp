// The coordinate system a file names for itself (a LandXML document's CoordinateSystem, an IFC
// file's IfcProjectedCRS), read from the fuzzer's bytes in memory by the readers `info` and
// `convert` take it from. The first byte picks the reading; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/ifc/ifc_alignment.h"
#include "formats/landxml/landxml_summary.h"
#include "frontend/detect/named_system.h"
#include "fuzz/driver.h"

namespace fuzzing {

int Run_named_system(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const detect::NamedSystem system =
      (data[0] & 1) != 0
          ? detect::NamedSystemOfIfc(ifc::ReadAlignmentsText(text).projectedCrs)
          : detect::NamedSystemOfLandXml(viaducto::SummarizeLandXml(common::LandXmlSource::Bytes(text)).coordinateSystem);
  // A name never holds more than the file it comes from, but for the "EPSG:" put before a code.
  if (system.definition.size() > text.size() + 5) __builtin_trap();
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(named_system)
