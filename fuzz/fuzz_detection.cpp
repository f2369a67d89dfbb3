// Format detection and the reading of what a file holds, on the fuzzer's bytes in memory (the
// same readers as for a file, without writing one): the first byte picks the file's extension,
// the second is left for the selector the other targets have (so their seeds fit), the rest is
// the content.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/detect/contents.h"
#include "fuzz/driver.h"

namespace fuzzing {

int Run_detection(const uint8_t* data, std::size_t size) {
  static const char* const kExtensions[] = {"eje", "ras", "tra", "pun", "per", "lea", "sup", "gts",
                                            "xml", "dxf", "shp", "txt", "res", "trv", "plt", "mdb"};
  const std::size_t pick = size > 0 ? data[0] % (sizeof kExtensions / sizeof kExtensions[0]) : 0;
  // A folder that does not exist: a shapefile's companions are looked for beside the name.
  const std::string name = std::string("/pasarela-fuzz-sin-carpeta/entrada.") + kExtensions[pick];
  const std::string_view content =
      size > 2 ? std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2) : std::string_view();
  const detect::Contents contents = detect::ReadContentsInMemory(content, name);
  // Every text the program would show is built.
  std::size_t shown = detect::SummaryLine(contents).size() + detect::DescribeDetection(contents.detection).size();
  for (const std::string& line : detect::DescriptionLines(contents)) shown += line.size();
  (void)shown;
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(detection)
