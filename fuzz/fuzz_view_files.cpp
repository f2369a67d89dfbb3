// Files of every kind the views read, into the view model, its checks and its summary, on the
// fuzzer's bytes in memory (the same readers as for a file, without writing one): the first
// byte picks the kind (by the extension of the file's name), the second the entry of a file of
// several (a LandXML document; 0 the first, else its number), the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frontend/view/checks.h"
#include "fuzz/driver.h"

namespace fuzzing {

int Run_view_files(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const char* const kNames[] = {"entrada.eje", "entrada.ras", "entrada.tra", "entrada.pun",
                                       "entrada.per", "entrada.sup", "entrada.dxf", "entrada.xml"};
  const std::string name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
  const std::string_view content(reinterpret_cast<const char*>(data) + 2, size - 2);
  view::ViewModel model;
  std::string error;
  const std::string choice = data[1] == 0 ? std::string() : std::to_string(data[1]);
  if (view::LoadViewBytes(content, name, choice, model, error)) {
    (void)view::CheckModel(model);
    (void)view::Summary(model);
  }
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(view_files)
