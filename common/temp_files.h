// The temporary directory and the scratch files of one conversion.
#pragma once

#include <string>

namespace common {

// $TEMP, else $TMPDIR, else /tmp; without a trailing separator.
std::string TempDirectory();

// `name` inside the temporary directory (for the fixed names other programs look for).
std::string TempPath(const std::string& name);

// <tempdir>/$$$$.EJE: the list of entries a LandXML selection export writes and the front end
// reads and deletes.
std::string SelectionListPath();

// A unique empty file in the temporary directory, removed when the object goes. Two
// conversions running at once never share one.
class ScratchFile {
 public:
  ScratchFile();
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace common
