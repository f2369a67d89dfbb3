// Large files piece by piece, for inputs and results that must not be held whole in memory (a
// LandXML document of a hundred megabytes, a surface file of millions of edges): a chunked
// reader of regular files, a writer with the safety of WriteFileReplacing and a writer of
// targets in place.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// All of `bytes` to the open file `fd`, across short and interrupted writes; false with errno
// set when a write fails.
bool WriteWhole(int fd, std::string_view bytes);

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

// Writes a target in place, piece by piece, with the checks of WriteFileBytes: a target that is
// not a regular file, or that is a file the conversion read, is refused and left alone. Once
// opened, a target whose writing fails, or that is not finished, is removed.
class TargetFileStream {
 public:
  explicit TargetFileStream(const std::string& path);
  ~TargetFileStream();
  TargetFileStream(const TargetFileStream&) = delete;
  TargetFileStream& operator=(const TargetFileStream&) = delete;

  bool ok() const { return fd_ >= 0 && !failed_; }
  bool Write(std::string_view bytes);
  // Closes the file and remembers it as a written target; false (file removed) on failure.
  bool Finish();

 private:
  void Abandon();

  std::string path_;
  int fd_ = -1;
  bool failed_ = false;
};

// Bytes gathered in memory and handed to a stream whenever about `kBatch` have gathered, so
// that a long result is written with few system calls and never held whole.
template <typename Stream>
class BatchedOutput {
 public:
  static constexpr std::size_t kBatch = 1 << 20;

  explicit BatchedOutput(Stream& stream) : stream_(stream) { bytes_.reserve(kBatch + 4096); }

  // Where the next bytes go; call Spill() once they are in.
  std::string& Bytes() { return bytes_; }
  bool Spill() {
    if (bytes_.size() >= kBatch) return Flush();
    return good_;
  }
  bool Flush() {
    good_ = good_ && stream_.Write(bytes_);
    bytes_.clear();
    return good_;
  }

 private:
  Stream& stream_;
  std::string bytes_;
  bool good_ = true;
};

}  // namespace common
