// Writing files the way the suite writes them on disk: formatted text with CR LF line ends,
// built whole in memory and written in one go, so a failed conversion never leaves a
// half-written target behind.
#pragma once

#include <string>
#include <string_view>

namespace common {

class TextWriter {
 public:
  // printf formats exactly as the file layouts give them, always in the "C" locale; each "\n"
  // of the result is written as CR LF.
  void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Plain text; each "\n" becomes CR LF.
  void Write(std::string_view text);

  const std::string& Bytes() const { return bytes_; }

  // Forgets the bytes and keeps their storage: a writer handing its text on in batches reuses
  // the same memory for each.
  void Clear() { bytes_.clear(); }

  // Writes the bytes to `path`, replacing its content. On failure the target is removed and
  // false returned.
  bool SaveTo(const std::string& path) const;

 private:
  std::string bytes_;
};

// Writes `bytes` to `path` as they are. On failure the target is removed and false returned; a
// target that is not a regular file is refused and left alone.
bool WriteFileBytes(const std::string& path, std::string_view bytes);

// Writes `bytes` to a file of a fixed name by writing a unique file beside it and renaming it
// into place: a symbolic link planted under that name is replaced, never followed, and a
// reader never sees the file half-written.
bool WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace common
