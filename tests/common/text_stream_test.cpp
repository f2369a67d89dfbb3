#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/file_stream.h"
#include "common/outcome.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "common/text_stream.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> WholePieces(std::string text) {
  common::NormalizeLineEnds(text);
  common::LineReader reader(text);
  std::vector<std::string> pieces;
  std::string_view piece;
  while (reader.Next(piece)) pieces.emplace_back(piece);
  return pieces;
}

std::vector<std::string> StreamedPieces(const std::string& text) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("t.txt"), text);
  common::StreamedLineReader reader;
  EXPECT_TRUE(reader.Open(dir.File("t.txt")));
  std::vector<std::string> pieces;
  std::string_view piece;
  while (reader.Next(piece)) pieces.emplace_back(piece);
  EXPECT_FALSE(reader.failed());
  return pieces;
}

std::string Repeated(const std::string& text, std::size_t times) {
  std::string all;
  for (std::size_t i = 0; i < times; ++i) all += text;
  return all;
}

}  // namespace

TEST(StreamedLineReader, HandsOutThePiecesOfTheWholeText) {
  const std::size_t kChunk = 1 << 16;
  const std::vector<std::string> texts = {
      "",
      "a\nbb",
      "a\r\nb\rc\r\n\r\n",
      std::string(600, 'x') + "\n" + std::string(255, 'y') + "\n" + std::string(254, 'z'),
      // A CR LF pair split by the chunk boundary, and a lone CR at the very end.
      std::string(kChunk - 1, 'q') + "\r\n" + std::string(kChunk - 1, 'w') + "\r",
      // A line end right at the boundary, then a line that spans two chunks.
      std::string(kChunk - 1, 'e') + "\n" + std::string(kChunk + 300, 'r') + "\r\nfin",
      // LF only over several chunks (nothing to normalise), then a CR LF in the last chunk.
      Repeated("linea de texto sin retorno\n", 7000) + "a\r\nb",
      // A chunk that ends in a CR that is not followed by LF, and lone CRs everywhere.
      std::string(kChunk - 1, 'm') + "\rx" + Repeated("c\r", kChunk),
      // A CR held back at two chunk ends in a row: CR LF at the first, a lone CR at the second.
      std::string(kChunk - 1, 'u') + "\r\n" + std::string(kChunk - 2, 'v') + "\rz\r\n",
  };
  // Short lines of every length around the eight-byte steps the line feed is sought in,
  // and bytes one bit away from a line feed (0x0B, 0x8A) or with the high bit set beside one.
  std::string shortLines;
  for (int round = 0; round < 50; ++round) {
    for (std::size_t length = 0; length <= 40; ++length) shortLines += std::string(length, static_cast<char>('a' + length % 26)) + "\n";
    shortLines += std::string("\x0b\x8a\n\x0b\xff\x80\n\x09\x0a\x0b", 10);
  }
  std::vector<std::string> all = texts;
  all.push_back(shortLines);
  for (const std::string& text : all) {
    EXPECT_EQ(StreamedPieces(text), WholePieces(text)) << text.size();
  }
}

TEST(StreamedLineReader, RefusesWhatIsNotARegularFile) {
  testing_support::TempDir dir;
  common::StreamedLineReader reader;
  EXPECT_FALSE(reader.Open(dir.File("no.txt")));
  EXPECT_FALSE(reader.Open(dir.path()));
}

TEST(TargetFileStream, WritesInPlaceAndLeavesNothingHalfWritten) {
  testing_support::TempDir dir;
  const std::string target = dir.File("t.sup");
  testing_support::WriteFile(target, "contenido anterior, más largo que el nuevo");
  {
    common::TargetFileStream stream(target);
    ASSERT_TRUE(stream.ok());
    EXPECT_TRUE(stream.Write("uno "));
    EXPECT_TRUE(stream.Write(std::string(70000, 'x')));
    EXPECT_TRUE(stream.Finish());
  }
  EXPECT_EQ(testing_support::ReadFile(target), "uno " + std::string(70000, 'x'));
  // A target abandoned half-way (the conversion failed) is removed, not left truncated.
  {
    common::TargetFileStream stream(target);
    EXPECT_TRUE(stream.Write("a medias"));
  }
  EXPECT_FALSE(testing_support::FileExists(target));
  // What is not a regular file is refused and left alone; so is a target in a missing folder.
  common::TargetFileStream folder(dir.path());
  EXPECT_FALSE(folder.ok());
  EXPECT_FALSE(folder.Write("x"));
  EXPECT_FALSE(folder.Finish());
  EXPECT_TRUE(testing_support::FileExists(dir.path()));
  common::TargetFileStream missing(dir.File("no/t.sup"));
  EXPECT_FALSE(missing.ok());
  // The whole-file writer is the same stream: its checks hold too.
  EXPECT_FALSE(common::WriteFileBytes(dir.path(), "x"));
  EXPECT_TRUE(common::WriteFileBytes(target, ""));
  EXPECT_EQ(testing_support::ReadFile(target), "");
}
