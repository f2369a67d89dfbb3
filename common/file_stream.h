// Large files piece by piece, for inputs that must not be held whole in memory (a LandXML
// document of a hundred megabytes): a chunked reader of regular files and a writer with the
// safety of WriteFileReplacing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// Reads a regular file in chunks. A directory or a FIFO is refused, never waited on.
class FileChunkReader {
 public:
  FileChunkReader() = default;
  ~FileChunkReader();
  FileChunkReader(const FileChunkReader&) = delete;
  FileChunkReader& operator=(const FileChunkReader&) = delete;

  bool Open(const std::string& path);

  // Up to `size` bytes into `buffer`; 0 at the end of the file. `failed()` tells a read error
  // from the end.
  std::size_t Read(char* buffer, std::size_t size);
  bool failed() const { return failed_; }

 private:
  int fd_ = -1;
  bool failed_ = false;
};

// Writes a file piece by piece into a unique file beside `path`; Commit() renames it into
// place (a symbolic link planted under that name is replaced, never followed). A stream that
// is not committed, or whose writing failed, leaves no file behind.
class ReplacingFileStream {
 public:
  // A target is remembered once committed, so that a failed export removes it; a scratch file
  // (a copy the conversion reads again) is not.
  enum class Role { kTarget, kScratch };

  explicit ReplacingFileStream(const std::string& path, Role role = Role::kTarget);
  ~ReplacingFileStream();
  ReplacingFileStream(const ReplacingFileStream&) = delete;
  ReplacingFileStream& operator=(const ReplacingFileStream&) = delete;

  bool ok() const { return fd_ >= 0 && !failed_; }
  bool Write(std::string_view bytes);
  bool Commit();

 private:
  std::string path_;
  Role role_;
  std::string unique_;
  int fd_ = -1;
  bool failed_ = false;
};

}  // namespace common
