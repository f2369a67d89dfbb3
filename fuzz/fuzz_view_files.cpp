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

namespace {

// Written as "view:extension" entries, one per kind the first byte picks (the seed script counts
// the entries).
struct ViewFileKind {
  const char* entry;
};
const ViewFileKind kKinds[] = {{"view:.eje"}, {"view:.ras"}, {"view:.tra"}, {"view:.pun"},
                               {"view:.per"}, {"view:.sup"}, {"view:.dxf"}, {"view:.xml"}};

}  // namespace

int Run_view_files(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::string name = std::string("entrada") + (kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])].entry + 5);
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
