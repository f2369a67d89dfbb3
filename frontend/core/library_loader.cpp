#include "frontend/core/library_loader.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "common/paths.h"

namespace frontend {

std::string DefaultLibraryDirectory() {
  char executable[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) return "lib";
  const std::string directory = common::SplitPath(std::string(executable, static_cast<std::size_t>(length))).directory;
  return directory + "../lib";
}

LibraryLoader::LibraryLoader(std::string directory) : directory_(std::move(directory)) {}

LibraryLoader::~LibraryLoader() {
  for (auto& [name, handle] : handles_) ::dlclose(handle);
}

void* LibraryLoader::Resolve(const std::string& library, const std::string& symbol, std::string& error) {
  auto found = handles_.find(library);
  if (found == handles_.end()) {
    const std::string path = common::JoinPath(directory_, "lib" + library + ".so");
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* reason = ::dlerror();
      error = "no se puede cargar " + path + (reason != nullptr ? std::string(": ") + reason : std::string());
      return nullptr;
    }
    found = handles_.emplace(library, handle).first;
  }
  ::dlerror();
  void* address = ::dlsym(found->second, symbol.c_str());
  if (address == nullptr) error = "la biblioteca " + library + " no exporta " + symbol;
  return address;
}

}  // namespace frontend
