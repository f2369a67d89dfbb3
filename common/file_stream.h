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

// Keeps the regular file at `path` open while it lives, so that the passes of one conversion
// over its source (the check of its kind, a copy, the reading itself) open it once and read
// the same file even if it is renamed or replaced meanwhile: every FileChunkReader and whole
// read of the same path in this thread reads through this opening. When the holder ends, the
// opening is kept for the next holder of the same path, which takes it over when the file at
// that path is still the same and unchanged (device, inode, size, modification and change
// times): the listing of a source and its conversion, two calls, open it once. Holding a file
// that cannot be opened holds nothing: the readers then open it and report as they always do.
class HeldSource {
 public:
  explicit HeldSource(const std::string& path);
  ~HeldSource();
  HeldSource(const HeldSource&) = delete;
  HeldSource& operator=(const HeldSource&) = delete;

 private:
  friend int DuplicateHeldSource(const std::string& path);
  std::string path_;
  int fd_ = -1;
  HeldSource* outer_ = nullptr;
};

// A new descriptor of the opening of `path` held in this thread (the caller closes it; it
// shares the file position, so it is read with pread); -1 when `path` is not held.
int DuplicateHeldSource(const std::string& path);

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

  // Back to the start of the file, for another pass over the same opening.
  void Rewind() {
    offset_ = 0;
    failed_ = false;
  }

 private:
  int fd_ = -1;
  long long offset_ = 0;  // read with pread: a held source's descriptors share their position
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
