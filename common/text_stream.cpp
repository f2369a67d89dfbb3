#include "common/text_stream.h"

#include <algorithm>
#include <cstring>

#include "common/text_input.h"

namespace common {

bool StreamedLineReader::Open(const std::string& path) {
  position_ = 0;
  end_ = 0;
  heldCarriageReturn_ = false;
  endOfFile_ = false;
  return file_.Open(path);
}

void StreamedLineReader::Refill() {
  char* const buffer = buffer_.get();
  // Less than a piece is left: it moves to the front, and the chunk is read in behind it,
  // after a CR held back from the last chunk.
  const std::size_t kept = end_ - position_;
  std::memmove(buffer, buffer + position_, kept);
  position_ = 0;
  end_ = kept;
  if (heldCarriageReturn_) buffer[end_++] = '\r';
  heldCarriageReturn_ = false;
  const std::size_t got = file_.Read(buffer + end_, kChunk);
  end_ += got;
  if (got == 0) {
    endOfFile_ = true;
  } else if (buffer[end_ - 1] == '\r') {
    --end_;
    heldCarriageReturn_ = true;
  }
  // Most files have LF line ends: their chunks have nothing to normalise. What was kept is
  // normalised already.
  if (std::memchr(buffer + kept, '\r', end_ - kept) == nullptr) return;
  end_ = kept + NormalizeLineEnds(buffer + kept, end_ - kept);
}

bool StreamedLineReader::NextFromChunk(std::string_view& piece) {
  for (;;) {
    const std::size_t remaining = end_ - position_;
    const std::size_t window = std::min(remaining, kMaxPiece);
    const char* start = buffer_.get() + position_;
    const void* lineFeed = window > 0 ? std::memchr(start, '\n', window) : nullptr;
    std::size_t length = 0;
    if (lineFeed != nullptr) {
      length = static_cast<std::size_t>(static_cast<const char*>(lineFeed) - start) + 1;
    } else if (remaining >= kMaxPiece || (endOfFile_ && remaining > 0)) {
      length = window;
    } else if (!endOfFile_) {
      Refill();
      continue;
    } else {
      return false;
    }
    piece = std::string_view(start, length);
    position_ += length;
    return true;
  }
}

}  // namespace common
