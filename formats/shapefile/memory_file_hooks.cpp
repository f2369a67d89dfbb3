#include "formats/shapefile/memory_file_hooks.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <new>
#include <string>
#include <unistd.h>
#include <unordered_map>

#include "common/numbers.h"
#include "common/source_files.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace shapeline {
namespace {

thread_local unsigned failedWrites = 0;

// A file created on this thread and closed, by path, until it is opened again for update:
// shapelib creates a shapefile or a table by writing its header, closing it and reopening it
// "r+b", and the reopened file starts from these bytes instead of reading back what was just
// written. Only small files are kept (a header is some hundred bytes).
constexpr std::size_t kLargestKeptFile = 1 << 16;
thread_local std::unordered_map<std::string, std::string> justCreated;

struct MemoryFile {
  std::string path;
  std::string data;
  std::size_t position = 0;
  bool writable = false;
  bool created = false;  // opened with "w": its content is all this program's
  bool modified = false;
};

MemoryFile* AsFile(SAFile handle) { return reinterpret_cast<MemoryFile*>(handle); }

SAFile Open(const char* filename, const char* access) {
  if (filename == nullptr || access == nullptr) return nullptr;
  const bool truncate = std::strchr(access, 'w') != nullptr;
  const bool update = std::strchr(access, '+') != nullptr;
  try {
    auto* file = new MemoryFile;
    file->path = filename;
    file->writable = truncate || update;
    if (truncate) {
      // Made on disk at once, so that a target that cannot be created fails here.
      // A target that is not a regular file (a FIFO, a device) or is a file this conversion
      // read is refused, never waited on and never truncated.
      const int fd = ::open(filename, O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
      struct stat info {};
      const bool regular = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                           !common::IsSourceFile(info) && ::ftruncate(fd, 0) == 0;
      if (fd >= 0) ::close(fd);
      if (!regular) {
        delete file;
        return nullptr;
      }
      justCreated.erase(file->path);
      file->created = true;
      file->modified = true;
    } else if (const auto kept = update ? justCreated.find(file->path) : justCreated.end();
               kept != justCreated.end()) {
      file->data = std::move(kept->second);
      justCreated.erase(kept);
    } else if (!common::ReadWholeFile(file->path, file->data, !update)) {
      delete file;
      return nullptr;
    }
    return reinterpret_cast<SAFile>(file);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

SAOffset Read(void* buffer, SAOffset size, SAOffset count, SAFile handle) {
  MemoryFile* file = AsFile(handle);
  if (size == 0 || file->position >= file->data.size()) return 0;
  const SAOffset whole = std::min<SAOffset>(count, (file->data.size() - file->position) / size);
  std::memcpy(buffer, file->data.data() + file->position, whole * size);
  file->position += whole * size;
  return whole;
}

SAOffset Write(void* buffer, SAOffset size, SAOffset count, SAFile handle) {
  MemoryFile* file = AsFile(handle);
  if (!file->writable) return 0;
  const std::size_t bytes = size * count;
  try {
    if (file->position + bytes > file->data.size()) {
      if (file->position + bytes > file->data.capacity()) {
        file->data.reserve(std::max(file->position + bytes, file->data.capacity() * 2));
      }
      file->data.resize(file->position + bytes);
    }
  } catch (const std::exception&) {
    return 0;
  }
  std::memcpy(&file->data[file->position], buffer, bytes);
  file->position += bytes;
  file->modified = true;
  return count;
}

SAOffset Seek(SAFile handle, SAOffset offset, int whence) {
  MemoryFile* file = AsFile(handle);
  switch (whence) {
    case SEEK_SET:
      file->position = offset;
      return 0;
    case SEEK_CUR:
      file->position += offset;
      return 0;
    case SEEK_END:
      file->position = file->data.size() + offset;
      return 0;
    default:
      return static_cast<SAOffset>(-1);
  }
}

SAOffset Tell(SAFile handle) { return AsFile(handle)->position; }

int Flush(SAFile) { return 0; }

int Close(SAFile handle) {
  MemoryFile* file = AsFile(handle);
  int result = 0;
  if (file->writable && file->modified && !common::WriteFileBytes(file->path, file->data)) {
    ++failedWrites;
    result = EOF;
  } else if (file->created && file->data.size() <= kLargestKeptFile) {
    try {
      justCreated[file->path] = std::move(file->data);
    } catch (const std::bad_alloc&) {
      // Not kept: the reopening reads the file.
    }
  }
  delete file;
  return result;
}

int Remove(const char* filename) {
  if (filename != nullptr) justCreated.erase(filename);
  return ::unlink(filename);
}

// shapelib's own diagnostics are not for the user: the library reports its own reasons.
void IgnoreError(const char*) {}

double ReadNumber(const char* text) { return common::LenientDouble(text != nullptr ? text : ""); }

}  // namespace

SAHooks MemoryFileHooks() {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.FOpen = &Open;
  hooks.FRead = &Read;
  hooks.FWrite = &Write;
  hooks.FSeek = &Seek;
  hooks.FTell = &Tell;
  hooks.FFlush = &Flush;
  hooks.FClose = &Close;
  hooks.Remove = &Remove;
  hooks.Error = &IgnoreError;
  hooks.Atof = &ReadNumber;
  return hooks;
}

WriteFailureCounter::WriteFailureCounter() : start_(failedWrites) {}

bool WriteFailureCounter::AnyFailed() const { return failedWrites != start_; }

}  // namespace shapeline
