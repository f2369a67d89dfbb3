#include "common/temp_files.h"

#include "common/source_files.h"

#include <cstdlib>
#include <unistd.h>

namespace common {

std::string TempDirectory() {
  for (const char* variable : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] != '\0') {
      std::string directory(value);
      while (directory.size() > 1 && directory.back() == '/') directory.pop_back();
      return directory;
    }
  }
  return "/tmp";
}

std::string TempPath(const std::string& name) {
  std::string directory = TempDirectory();
  if (directory != "/") directory += '/';
  return directory + name;
}

ScratchFile::ScratchFile() {
  std::string candidate = TempPath("pasarela-XXXXXX");
  const int fd = ::mkstemp(candidate.data());
  if (fd >= 0) {
    ::close(fd);
    path_ = candidate;
  }
}

ScratchFile::~ScratchFile() {
  if (path_.empty()) return;
  ForgetSourceFile(path_.c_str());
  ::unlink(path_.c_str());
}

std::string SelectionListPath() { return TempPath("$$$$.EJE"); }

}  // namespace common
