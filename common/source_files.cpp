#include "common/source_files.h"

#include <vector>

namespace common {
namespace {

struct FileIdentity {
  dev_t device;
  ino_t inode;
};

thread_local std::vector<FileIdentity> sources;
thread_local int exportDepth = 0;  // sources are kept only while an export runs

}  // namespace

void RememberSourceFile(const struct stat& info) {
  if (exportDepth == 0 || IsSourceFile(info)) return;
  sources.push_back(FileIdentity{info.st_dev, info.st_ino});
}

bool IsSourceFile(const struct stat& info) {
  for (const FileIdentity& source : sources) {
    if (source.device == info.st_dev && source.inode == info.st_ino) return true;
  }
  return false;
}

bool PathIsSourceFile(const char* path) {
  struct stat info {};
  return ::stat(path, &info) == 0 && IsSourceFile(info);
}

void ForgetSourceFile(const char* path) {
  struct stat info {};
  if (::stat(path, &info) != 0) return;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (sources[i].device == info.st_dev && sources[i].inode == info.st_ino) {
      sources.erase(sources.begin() + static_cast<long>(i));
      return;
    }
  }
}

ExportSourcesScope::ExportSourcesScope() {
  if (exportDepth++ == 0) sources.clear();
}

ExportSourcesScope::~ExportSourcesScope() {
  if (--exportDepth == 0) sources.clear();
}

bool SameExistingFile(const char* first, const char* second) {
  struct stat a {};
  struct stat b {};
  return ::stat(first, &a) == 0 && ::stat(second, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace common
