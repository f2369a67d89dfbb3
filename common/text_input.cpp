#include "common/text_input.h"

#include "common/file_stream.h"
#include "common/outcome.h"

#include "common/source_files.h"

#include <algorithm>
#include <cstring>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {

bool ReadWholeFile(const std::string& path, std::string& contents, bool isSource) {
  contents.clear();
  // Non-blocking open so that a FIFO given as a source is refused instead of waiting forever.
  int fd = DuplicateHeldSource(path);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (isSource) RecordSourceFailure(path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    if (isSource) RecordSourceFailure(path, 0);
    return false;
  }
  if (isSource) RememberSourceFile(info);
  if (info.st_size > 0) contents.reserve(static_cast<std::size_t>(info.st_size));
  char buffer[1 << 16];
  bool ok = true;
  off_t offset = 0;
  for (;;) {
    // pread: a held source's descriptors share their position.
    ssize_t got = ::pread(fd, buffer, sizeof buffer, offset);
    if (got > 0) {
      offset += got;
      contents.append(buffer, static_cast<std::size_t>(got));
    } else if (got == 0) {
      break;
    } else if (errno != EINTR) {
      ok = false;
      break;
    }
  }
  ::close(fd);
  if (!ok) {
    contents.clear();
    if (isSource) RecordSourceFailure(path, EIO);
  }
  return ok;
}

std::size_t NormalizeLineEnds(char* text, std::size_t size) {
  std::size_t out = 0;
  for (std::size_t in = 0; in < size; ++in) {
    if (text[in] == '\r' && in + 1 < size && text[in + 1] == '\n') continue;
    text[out++] = text[in];
  }
  return out;
}

void NormalizeLineEnds(std::string& text) { text.resize(NormalizeLineEnds(&text[0], text.size())); }

bool LoadTextFile(const std::string& path, std::string& text) {
  if (!ReadWholeFile(path, text)) return false;
  if (text.find('\r') != std::string::npos) NormalizeLineEnds(text);
  return true;
}

LineReader::LineReader(std::string_view text, std::size_t bufferSize)
    : text_(text), maxPiece_(bufferSize > 1 ? bufferSize - 1 : 1) {}

bool LineReader::Next(std::string_view& piece) {
  const std::size_t remaining = text_.size() - position_;
  if (remaining == 0) {
    atEnd_ = true;
    return false;
  }
  const std::size_t window = std::min(remaining, maxPiece_);
  const char* start = text_.data() + position_;
  const void* lineFeed = std::memchr(start, '\n', window);
  std::size_t length;
  if (lineFeed != nullptr) {
    length = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1;
  } else {
    length = window;
    // Only a read that stopped for lack of data (not for a full buffer) meets the end.
    if (remaining < maxPiece_) atEnd_ = true;
  }
  piece = std::string_view(start, length);
  position_ += length;
  return true;
}

std::size_t CountLines(std::string_view text, std::size_t bufferSize) {
  LineReader reader(text, bufferSize);
  std::string_view piece;
  std::size_t reads = 0;
  do {
    reader.Next(piece);
    ++reads;
  } while (!reader.AtEnd());
  return reads;
}

std::size_t CountFileLines(const std::string& path) {
  std::string text;
  if (!LoadTextFile(path, text)) return 0;
  return CountLines(text);
}

std::string ColumnField(std::string_view line, int column, int width) {
  constexpr std::size_t kPaddedLength = 255;
  if (width < 1 || column < 1) return std::string();
  std::string padded(line);
  if (padded.size() < kPaddedLength) padded.resize(kPaddedLength, ' ');
  const std::size_t start = static_cast<std::size_t>(column) - 1;
  if (start >= padded.size()) return std::string();
  return padded.substr(start, static_cast<std::size_t>(width));
}

}  // namespace common
