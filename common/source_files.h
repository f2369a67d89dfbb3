// The files the running conversion has read. A conversion never writes over one of them: the
// same file given as source and target keeps its content, and the export reports failure.
// The list belongs to the calling thread and lives while an export runs.
#pragma once

#include <sys/stat.h>

namespace common {

// Called by the readers once a source is open.
void RememberSourceFile(const struct stat& info);

// Whether the file described by `info` was read by the running conversion.
bool IsSourceFile(const struct stat& info);

// Whether the existing file at `path` (following links) was read by the running conversion.
bool PathIsSourceFile(const char* path);

// Before a file the conversion read is removed (its inode may then be reused by a target).
void ForgetSourceFile(const char* path);

// The list lives while an export runs: emptied when the outermost export starts and ends.
class ExportSourcesScope {
 public:
  ExportSourcesScope();
  ~ExportSourcesScope();
  ExportSourcesScope(const ExportSourcesScope&) = delete;
  ExportSourcesScope& operator=(const ExportSourcesScope&) = delete;
};

// Whether two paths name one existing file (links followed).
bool SameExistingFile(const char* first, const char* second);

}  // namespace common
