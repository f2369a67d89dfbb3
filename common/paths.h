// Path helpers: a path split into directory, name and extension, and rebuilt.
#pragma once

#include <string>

namespace common {

struct PathParts {
  std::string directory;  // up to and including the last "/", empty when there is none
  std::string name;       // file name without the extension
  std::string extension;  // from the last "." of the file name on (with the dot), or empty
};

PathParts SplitPath(const std::string& path);

// The path with its extension replaced by `extension` (given without the dot).
std::string ChangeExtension(const std::string& path, const std::string& extension);

// The path with `suffix` appended to the file name, before the extension.
std::string AppendSuffix(const std::string& path, const std::string& suffix);

// `name` inside `directory`, with one separator between them.
std::string JoinPath(const std::string& directory, const std::string& name);

}  // namespace common
