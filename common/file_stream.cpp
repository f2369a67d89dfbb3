#include "common/file_stream.h"

#include "common/outcome.h"
#include "common/source_files.h"

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

bool WriteWhole(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t done = ::write(fd, data, left);
    if (done < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += done;
    left -= static_cast<std::size_t>(done);
  }
  return true;
}

namespace {

// The holders of this thread, innermost first.
thread_local HeldSource* innermostHolder = nullptr;

bool SameUnchangedFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// The opening the last holder left, for the next holder of the same path.
struct KeptOpening {
  std::mutex mutex;
  std::string path;
  int fd = -1;
  struct stat info {};
};

KeptOpening& Kept() {
  static KeptOpening kept;
  return kept;
}

}  // namespace

HeldSource::HeldSource(const std::string& path) : path_(path), outer_(innermostHolder) {
  // Held already in this thread: the same opening.
  fd_ = DuplicateHeldSource(path);
  if (fd_ >= 0) {
    innermostHolder = this;
    return;
  }
  struct stat now {};
  if (::stat(path.c_str(), &now) != 0 || !S_ISREG(now.st_mode)) return;
  KeptOpening& kept = Kept();
  {
    const std::lock_guard<std::mutex> lock(kept.mutex);
    if (kept.fd >= 0 && kept.path == path && SameUnchangedFile(kept.info, now)) {
      fd_ = kept.fd;
      kept.fd = -1;
    }
  }
  if (fd_ < 0) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (fd_ >= 0 && (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode))) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  if (fd_ >= 0) innermostHolder = this;
}

HeldSource::~HeldSource() {
  if (fd_ < 0) return;
  innermostHolder = outer_;
  KeptOpening& kept = Kept();
  struct stat info {};
  const bool known = ::fstat(fd_, &info) == 0;
  const std::lock_guard<std::mutex> lock(kept.mutex);
  if (kept.fd >= 0) ::close(kept.fd);
  kept.fd = -1;
  if (!known) {
    ::close(fd_);
    return;
  }
  kept.path = path_;
  kept.fd = fd_;
  kept.info = info;
}

int DuplicateHeldSource(const std::string& path) {
  for (const HeldSource* holder = innermostHolder; holder != nullptr; holder = holder->outer_) {
    if (holder->path_ == path) return ::fcntl(holder->fd_, F_DUPFD_CLOEXEC, 0);
  }
  return -1;
}

FileChunkReader::~FileChunkReader() {
  if (fd_ >= 0) ::close(fd_);
}

bool FileChunkReader::Open(const std::string& path) {
  if (fd_ >= 0) ::close(fd_);
  failed_ = false;
  offset_ = 0;
  fd_ = DuplicateHeldSource(path);
  if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    RecordSourceFailure(path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd_);
    fd_ = -1;
    RecordSourceFailure(path, 0);
    return false;
  }
  RememberSourceFile(info);
  return true;
}

std::size_t FileChunkReader::Read(char* buffer, std::size_t size) {
  if (fd_ < 0 || failed_) return 0;
  for (;;) {
    const ssize_t got = ::pread(fd_, buffer, size, static_cast<off_t>(offset_));
    if (got >= 0) {
      offset_ += got;
      return static_cast<std::size_t>(got);
    }
    if (errno != EINTR) {
      failed_ = true;
      return 0;
    }
  }
}

ReplacingFileStream::ReplacingFileStream(const std::string& path, Role role) : path_(path), role_(role) {
  if (path_.empty()) {
    RecordTargetFailure(path_, ENOENT);
    return;
  }
  unique_ = path_ + ".XXXXXX";
  fd_ = ::mkstemp(unique_.data());
  if (fd_ < 0) {
    RecordTargetFailure(path_, errno);
    unique_.clear();
  }
}

ReplacingFileStream::~ReplacingFileStream() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(unique_.c_str());
  }
}

bool ReplacingFileStream::Write(std::string_view bytes) {
  if (!ok()) return false;
  if (WriteWhole(fd_, bytes)) return true;
  RecordTargetFailure(path_, errno);
  failed_ = true;
  return false;
}

bool ReplacingFileStream::Commit() {
  if (fd_ < 0) return false;
  // Never over a file this conversion read: the source keeps its content.
  const bool sameAsSource = PathIsSourceFile(path_.c_str());
  if (sameAsSource) RecordFailure(kSameFileText);
  bool good = !failed_ && !sameAsSource;
  if (::close(fd_) != 0) {
    if (good) RecordTargetFailure(path_, errno);
    good = false;
  }
  fd_ = -1;
  if (good && std::rename(unique_.c_str(), path_.c_str()) != 0) {
    RecordTargetFailure(path_, errno);
    good = false;
  }
  if (!good) ::unlink(unique_.c_str());
  if (good && role_ == Role::kTarget) RememberWrittenTarget(path_);
  return good;
}

TargetFileStream::TargetFileStream(const std::string& path) : path_(path) {
  if (path_.empty()) {
    RecordTargetFailure(path_, ENOENT);
    return;
  }
  // A target that is not a regular file (a FIFO, a device, a directory), or that is a file the
  // conversion read, is refused before it is truncated, never waited on and never removed.
  const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    RecordTargetFailure(path_, errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    RecordTargetFailure(path_, 0);
    return;
  }
  if (IsSourceFile(info)) {
    ::close(fd);
    RecordFailure(kSameFileText);
    return;
  }
  fd_ = fd;
  if (::ftruncate(fd_, 0) != 0) {
    RecordTargetFailure(path_, errno);
    failed_ = true;
  }
}

TargetFileStream::~TargetFileStream() {
  if (fd_ >= 0) Abandon();
}

void TargetFileStream::Abandon() {
  ::close(fd_);
  fd_ = -1;
  ::unlink(path_.c_str());
}

bool TargetFileStream::Write(std::string_view bytes) {
  if (!ok()) return false;
  if (WriteWhole(fd_, bytes)) return true;
  RecordTargetFailure(path_, errno);
  failed_ = true;
  return false;
}

bool TargetFileStream::Finish() {
  if (fd_ < 0) return false;
  if (failed_) {
    Abandon();
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    RecordTargetFailure(path_, errno);
    ::unlink(path_.c_str());
    return false;
  }
  RememberWrittenTarget(path_);
  return true;
}

}  // namespace common
