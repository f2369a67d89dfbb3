// Loads the four libraries from build/lib and resolves an export on the handle of the library
// the table names, never through the process-wide lookup (two libraries export the same name).
#pragma once

#include <map>
#include <string>

namespace frontend {

// <directory of the running program>/../lib, where the build puts the libraries.
std::string DefaultLibraryDirectory();

class LibraryLoader {
 public:
  explicit LibraryLoader(std::string directory = DefaultLibraryDirectory());
  ~LibraryLoader();
  LibraryLoader(const LibraryLoader&) = delete;
  LibraryLoader& operator=(const LibraryLoader&) = delete;

  // The address of `symbol` in lib<library>.so; null with `error` set when it cannot be had.
  void* Resolve(const std::string& library, const std::string& symbol, std::string& error);

 private:
  std::string directory_;
  std::map<std::string, void*> handles_;
};

}  // namespace frontend
