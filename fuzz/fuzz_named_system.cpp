// The coordinate system a file names for itself (a LandXML document's CoordinateSystem, an IFC
// file's IfcProjectedCRS), read from the fuzzer's bytes in memory by the same reader `info` and
// `convert` use. The first byte picks the reading; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "formats/geo/named/named_system.h"
#include "fuzz/driver.h"

namespace fuzzing {

int Run_named_system(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const geo::NamedSystem system = (data[0] & 1) != 0 ? geo::NamedSystemOfIfc(text) : geo::NamedSystemOfLandXml(text);
  // A name is never longer than the file it comes from.
  if (system.definition.size() > text.size()) __builtin_trap();
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(named_system)
