// Reading text files the way the suite's converters expect: the whole file at once, then
// line by line with the semantics of text-mode fgets and a fixed buffer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace common {

// Reads a whole regular file into memory. False when the path cannot be opened, is not a
// regular file (a directory or a FIFO never blocks or reads as empty) or a read fails.
// The file is remembered as a source of the running conversion (common/source_files.h) unless
// `isSource` is false (a file opened to be updated in place).
bool ReadWholeFile(const std::string& path, std::string& contents, bool isSource = true);

// As ReadWholeFile, with every CR LF turned into LF, as text-mode reading delivers it.
bool LoadTextFile(const std::string& path, std::string& text);

// Drops each CR that stands right before an LF.
void NormalizeLineEnds(std::string& text);
// The same in place on `size` bytes; the size left.
std::size_t NormalizeLineEnds(char* text, std::size_t size);

// Splits text held in memory into the pieces that fgets with a buffer of `bufferSize` bytes
// returns: at most bufferSize - 1 characters, ending after a line feed when one comes first
// (the line feed stays in the piece). A longer line arrives in several pieces.
class LineReader {
 public:
  static constexpr std::size_t kDefaultBuffer = 256;

  explicit LineReader(std::string_view text, std::size_t bufferSize = kDefaultBuffer);

  // The next piece; false at the end of the data.
  bool Next(std::string_view& piece);

  // True once a read ran into the end of the data: after a last line without a line break,
  // or after a read that found nothing. This is when fgets sets the end-of-file flag.
  bool AtEnd() const { return atEnd_; }

 private:
  std::string_view text_;
  std::size_t maxPiece_;
  std::size_t position_ = 0;
  bool atEnd_ = false;
};

// The number of reads with a 256-byte buffer up to the end of file: the number of lines,
// plus one when the last line ends with a line break (an empty text counts 1). Used only to
// size record tables.
std::size_t CountLines(std::string_view text, std::size_t bufferSize = LineReader::kDefaultBuffer);

// The same for a file; 0 when it cannot be read.
std::size_t CountFileLines(const std::string& path);

// The piece without its trailing line feed.
inline std::string_view WithoutLineFeed(std::string_view piece) {
  if (!piece.empty() && piece.back() == '\n') piece.remove_suffix(1);
  return piece;
}

// Text from the 1-based `column`, cut after `width` characters, of the line filled with blanks
// to 255 characters, so a field past the end of a short line reads as blanks. A width below 1
// or a column below 1 gives an empty text.
std::string ColumnField(std::string_view line, int column, int width);

}  // namespace common
