// Text files too large to hold whole (a scanner listing of millions of points), read in chunks
// and handed out exactly as LineReader hands out the whole text: line ends reduced to LF, pieces
// of at most 255 characters ending after a line feed. Memory stays that of one chunk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/file_stream.h"

namespace common {

class StreamedLineReader {
 public:
  // False when the path is not a regular file that can be opened.
  bool Open(const std::string& path);

  // The next piece, valid until the next call; false at the end of the file or after a read
  // error (`failed()` tells them apart).
  bool Next(std::string_view& piece) {
    // Most lines are short and a whole piece is at hand: found here, eight bytes at a time,
    // without a call and without a branch per character.
    if (end_ - position_ > kMaxPiece) {
      const char* start = buffer_.get() + position_;
      for (std::size_t offset = 0; offset < kShortLine; offset += 8) {
        const std::size_t found = LineFeedIn8(start + offset);
        if (found < 8) {
          piece = std::string_view(start, offset + found + 1);
          position_ += offset + found + 1;
          return true;
        }
      }
    }
    return NextFromChunk(piece);
  }
  bool failed() const { return file_.failed(); }

 private:
  bool NextFromChunk(std::string_view& piece);

  // The position of the first line feed among the eight bytes at `bytes`; 8 when none. A
  // byte equal to LF becomes 0 after the XOR, and (v - 0x01..) & ~v & 0x80.. marks the first
  // zero byte exactly (a borrow can only mark bytes after it).
  static std::size_t LineFeedIn8(const char* bytes) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    const uint64_t v = word ^ 0x0A0A0A0A0A0A0A0Aull;
    const uint64_t marks = (v - 0x0101010101010101ull) & ~v & 0x8080808080808080ull;
    return marks == 0 ? 8 : static_cast<std::size_t>(__builtin_ctzll(marks)) / 8;
#else
    for (std::size_t i = 0; i < 8; ++i) {
      if (bytes[i] == '\n') return i;
    }
    return 8;
#endif
  }
  // Appends the next chunk to the pending text, or notes the end of the file.
  void Refill();

  static constexpr std::size_t kMaxPiece = 255;
  static constexpr std::size_t kShortLine = 24;
  static constexpr std::size_t kChunk = 1 << 16;

  FileChunkReader file_;
  // Normalised text not handed out yet, from `position_` to `end_`: what is left of a chunk
  // (less than a piece), a CR held back, and the next chunk, read in place.
  std::unique_ptr<char[]> buffer_{new char[kMaxPiece + 1 + kChunk]};
  std::size_t position_ = 0;
  std::size_t end_ = 0;
  bool heldCarriageReturn_ = false;  // a chunk ended in CR: it may be the CR of a CR LF
  bool endOfFile_ = false;
};

}  // namespace common
