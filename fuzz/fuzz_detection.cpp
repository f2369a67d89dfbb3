// Format detection and the reading of what a file holds, on files written from the fuzzer's
// bytes: the first byte picks the file's extension, the second is left for the selector the
// other targets have (so their seeds fit), the rest is the content.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frontend/detect/contents.h"

namespace fuzzing {

int Run_detection(const uint8_t* data, std::size_t size) {
  static const char* const kExtensions[] = {"eje", "ras", "tra", "pun", "per", "lea", "sup", "gts",
                                            "xml", "dxf", "shp", "txt", "res", "trv", "plt", "mdb"};
  static const std::string directory = [] {
    char pattern[] = "/tmp/pasarela-fuzz-detection-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    return std::string(made);
  }();
  const std::size_t pick = size > 0 ? data[0] % (sizeof kExtensions / sizeof kExtensions[0]) : 0;
  const std::string path = directory + "/entrada." + kExtensions[pick];
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 2 && std::fwrite(data + 2, 1, size - 2, file) != size - 2) std::abort();
  std::fclose(file);
  const detect::Contents contents = detect::ReadContents(path);
  // Every text the program would show is built.
  std::size_t shown = detect::SummaryLine(contents).size() + detect::DescribeDetection(contents.detection).size();
  for (const std::string& line : detect::DescriptionLines(contents)) shown += line.size();
  std::remove(path.c_str());
  (void)shown;
  return 0;
}

}  // namespace fuzzing

#ifdef PASARELA_FUZZ_ENTRY
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  return fuzzing::Run_detection(data, size);
}
#endif
