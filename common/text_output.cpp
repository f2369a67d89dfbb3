#include "common/text_output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/export_guard.h"
#include "common/file_stream.h"
#include "common/fixed_format.h"
#include "common/outcome.h"
#include "common/source_files.h"

namespace common {

void TextWriter::Printf(const char* format, ...) {
  // Formatted straight onto the bytes; then each "\n" among them becomes CR LF.
  const std::size_t start = bytes_.size();
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const bool done = AppendFormatted(bytes_, format, args);
  va_end(args);
  if (done) {
    va_end(copy);
    const std::size_t end = bytes_.size();
    std::size_t feeds = 0;
    for (const char* p = bytes_.data() + start; (p = static_cast<const char*>(std::memchr(p, '\n', bytes_.data() + end - p))) != nullptr; ++p) {
      ++feeds;
    }
    if (feeds == 0) return;
    // Widened in place from the back, each line feed preceded by its carriage return.
    bytes_.resize(end + feeds);
    char* const data = &bytes_[0];
    std::size_t from = end;
    std::size_t to = end + feeds;
    while (from > start) {
      const char c = data[--from];
      data[--to] = c;
      if (c == '\n') data[--to] = '\r';
    }
    return;
  }
  // A conversion the quick formatter leaves alone: the C library formats it all.
  CLocaleScope cLocale;
  char small[512];
  va_list again;
  va_copy(again, copy);
  const int needed = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (needed < 0) {
    va_end(again);
    return;
  }
  if (static_cast<std::size_t>(needed) < sizeof small) {
    va_end(again);
    Write(std::string_view(small, static_cast<std::size_t>(needed)));
    return;
  }
  std::vector<char> large(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(large.data(), large.size(), format, again);
  va_end(again);
  Write(std::string_view(large.data(), static_cast<std::size_t>(needed)));
}

void TextWriter::Write(std::string_view text) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t lineFeed = text.find('\n', start);
    if (lineFeed == std::string_view::npos) {
      bytes_.append(text.substr(start));
      return;
    }
    bytes_.append(text.substr(start, lineFeed - start));
    bytes_.append("\r\n");
    start = lineFeed + 1;
  }
}

bool TextWriter::SaveTo(const std::string& path) const { return WriteFileBytes(path, bytes_); }

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  TargetFileStream target(path);
  return target.Write(bytes) && target.Finish();
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  if (path.empty()) return false;
  if (PathIsSourceFile(path.c_str())) {
    RecordFailure(kSameFileText);
    return false;
  }
  std::string unique = path + ".XXXXXX";
  const int fd = ::mkstemp(unique.data());
  if (fd < 0) {
    RecordTargetFailure(path, errno);
    return false;
  }
  bool ok = WriteWhole(fd, bytes);
  if (::close(fd) != 0) ok = false;
  if (ok && ::rename(unique.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) RecordTargetFailure(path, errno);
  if (!ok) ::unlink(unique.c_str());
  return ok;
}

}  // namespace common
