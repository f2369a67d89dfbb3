// Text files too large to hold whole (a scanner listing of millions of points), read in chunks
// and handed out exactly as LineReader hands out the whole text: line ends reduced to LF, pieces
// of at most 255 characters ending after a line feed. Memory stays that of one chunk.
#pragma once

#include <cstddef>
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
  bool Next(std::string_view& piece);
  bool failed() const { return file_.failed(); }

 private:
  // Appends the next chunk to the pending text, or notes the end of the file.
  void Refill();

  static constexpr std::size_t kMaxPiece = 255;
  static constexpr std::size_t kChunk = 1 << 16;

  FileChunkReader file_;
  std::string pending_;       // normalised text not handed out yet, from `position_`
  std::size_t position_ = 0;
  bool heldCarriageReturn_ = false;  // a chunk ended in CR: it may be the CR of a CR LF
  bool endOfFile_ = false;
};

}  // namespace common
