#include "common/paths.h"

namespace common {

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  const std::size_t slash = path.find_last_of('/');
  const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  parts.directory = path.substr(0, nameStart);
  const std::string file = path.substr(nameStart);
  const std::size_t dot = file.find_last_of('.');
  if (dot == std::string::npos) {
    parts.name = file;
  } else {
    parts.name = file.substr(0, dot);
    parts.extension = file.substr(dot);
  }
  return parts;
}

std::string ChangeExtension(const std::string& path, const std::string& extension) {
  const PathParts parts = SplitPath(path);
  return parts.directory + parts.name + "." + extension;
}

std::string AppendSuffix(const std::string& path, const std::string& suffix) {
  const PathParts parts = SplitPath(path);
  return parts.directory + parts.name + suffix + parts.extension;
}

std::string JoinPath(const std::string& directory, const std::string& name) {
  if (directory.empty()) return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

}  // namespace common
