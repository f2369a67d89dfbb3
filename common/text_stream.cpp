#include "common/text_stream.h"

#include <algorithm>
#include <cstring>

#include "common/text_input.h"

namespace common {

bool StreamedLineReader::Open(const std::string& path) {
  pending_.clear();
  position_ = 0;
  heldCarriageReturn_ = false;
  endOfFile_ = false;
  return file_.Open(path);
}

void StreamedLineReader::Refill() {
  pending_.erase(0, position_);
  position_ = 0;
  // What is pending is normalised already; the chunk is read in behind it, after a CR held
  // back from the last chunk.
  const std::size_t kept = pending_.size();
  if (heldCarriageReturn_) pending_.push_back('\r');
  heldCarriageReturn_ = false;
  const std::size_t start = pending_.size();
  pending_.resize(start + kChunk);
  const std::size_t got = file_.Read(&pending_[start], kChunk);
  pending_.resize(start + got);
  if (got == 0) {
    endOfFile_ = true;
  } else if (pending_.back() == '\r') {
    pending_.pop_back();
    heldCarriageReturn_ = true;
  }
  // Most files have LF line ends: their chunks have nothing to normalise.
  if (std::memchr(pending_.data() + kept, '\r', pending_.size() - kept) == nullptr) return;
  std::string fresh = pending_.substr(kept);
  NormalizeLineEnds(fresh);
  pending_.resize(kept);
  pending_ += fresh;
}

bool StreamedLineReader::NextFromChunk(std::string_view& piece) {
  for (;;) {
    const std::size_t remaining = pending_.size() - position_;
    const std::size_t window = std::min(remaining, kMaxPiece);
    const char* start = pending_.data() + position_;
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
    piece = std::string_view(pending_.data() + position_, length);
    position_ += length;
    return true;
  }
}

}  // namespace common
