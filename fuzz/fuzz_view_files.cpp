// Files of every kind the views read, into the view model, its checks and its summary: the
// first byte picks the kind (by the extension the file gets), the second the entry of a file
// of several (a LandXML document; 0 the first, else its number), the rest is the file.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "frontend/view/checks.h"
#include "fuzz/driver.h"

namespace fuzzing {
namespace {

// Written as "view:extension" entries, one per kind the first byte picks.
struct ViewFileKind {
  const char* entry;
};
const ViewFileKind kKinds[] = {{"view:.eje"}, {"view:.ras"}, {"view:.tra"}, {"view:.pun"},
                               {"view:.per"}, {"view:.sup"}, {"view:.dxf"}, {"view:.xml"}};

// A private directory for the one input file, removed when the program ends.
class InputFile {
 public:
  InputFile() {
    char pattern[] = "/tmp/pasarela-fuzz-vistas-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    directory_ = made;
  }
  ~InputFile() { ::rmdir(directory_.c_str()); }
  std::string Path(const char* extension) const { return directory_ + "/entrada" + extension; }

 private:
  std::string directory_;
};

}  // namespace

int Run_view_files(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static InputFile input;
  const char* entry = kKinds[data[0] % (sizeof kKinds / sizeof kKinds[0])].entry;
  const std::string path = input.Path(entry + 5);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  std::fwrite(data + 2, 1, size - 2, file);
  std::fclose(file);
  view::ViewModel model;
  std::string error;
  const std::string choice = data[1] == 0 ? std::string() : std::to_string(data[1]);
  if (view::LoadViewFile(path, choice, model, error)) {
    (void)view::CheckModel(model);
    (void)view::Summary(model);
  }
  ::unlink(path.c_str());
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(view_files)
