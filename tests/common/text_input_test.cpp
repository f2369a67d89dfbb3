#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"
#include "support/test_support.h"

using common::LineReader;

namespace {

std::vector<std::string> Pieces(const std::string& text, std::size_t buffer = 256) {
  LineReader reader(text, buffer);
  std::vector<std::string> pieces;
  std::string_view piece;
  while (reader.Next(piece)) pieces.emplace_back(piece);
  return pieces;
}

}  // namespace

TEST(LineReader, SplitsLikeFgetsKeepingTheLineFeed) {
  EXPECT_EQ(Pieces("a\nbb\n"), (std::vector<std::string>{"a\n", "bb\n"}));
  EXPECT_EQ(Pieces("a\nbb"), (std::vector<std::string>{"a\n", "bb"}));
  EXPECT_EQ(Pieces("\n\n"), (std::vector<std::string>{"\n", "\n"}));
  EXPECT_TRUE(Pieces("").empty());
}

TEST(LineReader, LongLinesArriveInPiecesOfBufferMinusOne) {
  const std::string line(600, 'x');
  const std::vector<std::string> pieces = Pieces(line + "\n");
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].size(), 255u);
  EXPECT_EQ(pieces[1].size(), 255u);
  EXPECT_EQ(pieces[2], std::string(90, 'x') + "\n");
}

TEST(LineReader, EndFlagFollowsFgets) {
  // Set by a last line without a line break, not by one that ends with it.
  LineReader withBreak("x\n");
  std::string_view piece;
  ASSERT_TRUE(withBreak.Next(piece));
  EXPECT_FALSE(withBreak.AtEnd());
  EXPECT_FALSE(withBreak.Next(piece));
  EXPECT_TRUE(withBreak.AtEnd());

  LineReader withoutBreak("x\ny");
  ASSERT_TRUE(withoutBreak.Next(piece));
  ASSERT_TRUE(withoutBreak.Next(piece));
  EXPECT_EQ(piece, "y");
  EXPECT_TRUE(withoutBreak.AtEnd());

  // A piece that fills the buffer exactly does not meet the end yet.
  const std::string full(255, 'z');
  LineReader exact(full);
  ASSERT_TRUE(exact.Next(piece));
  EXPECT_FALSE(exact.AtEnd());
  EXPECT_FALSE(exact.Next(piece));
  EXPECT_TRUE(exact.AtEnd());
}

TEST(CountLines, CountsReadsUntilEndOfFile) {
  EXPECT_EQ(common::CountLines("uno\ndos\n"), 3u);
  EXPECT_EQ(common::CountLines("uno\ndos"), 2u);
  EXPECT_EQ(common::CountLines(""), 1u);
  EXPECT_EQ(common::CountLines(std::string(300, 'a') + "\n"), 3u);
  EXPECT_EQ(common::CountFileLines("/no/such/file"), 0u);
}

TEST(LoadTextFile, DropsCarriageReturnsBeforeLineFeedsOnly) {
  testing_support::TempDir dir;
  testing_support::WriteFile(dir.File("a.txt"), "1\r\n2\r3\n\r\n");
  std::string text;
  ASSERT_TRUE(common::LoadTextFile(dir.File("a.txt"), text));
  EXPECT_EQ(text, "1\n2\r3\n\n");
}

TEST(LoadTextFile, RefusesWhatIsNotARegularFile) {
  testing_support::TempDir dir;
  std::string text;
  EXPECT_FALSE(common::LoadTextFile(dir.path(), text));
  EXPECT_FALSE(common::LoadTextFile(dir.File("missing"), text));
  const std::string fifo = dir.File("fifo");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(common::LoadTextFile(fifo, text));  // must not block waiting for a writer
}

TEST(ColumnField, PadsShortLinesWithBlanks) {
  EXPECT_EQ(common::ColumnField("12345678", 3, 4), "3456");
  EXPECT_EQ(common::ColumnField("123", 10, 5), "     ");
  EXPECT_EQ(common::LenientDouble(common::ColumnField("123", 10, 5)), 0.0);
  EXPECT_EQ(common::ColumnField("123", 1, 0), "");
  EXPECT_EQ(common::ColumnField("123", 250, 20), "      ");  // cut at the padded length
}

TEST(Tokenizer, FollowsStrtok) {
  std::vector<std::string_view> tokens;
  EXPECT_EQ(common::SplitTokens("  1\t\t2 ,3\n", " \t,\n", tokens), 3u);
  EXPECT_EQ(tokens[0], "1");
  EXPECT_EQ(tokens[2], "3");
  EXPECT_EQ(common::SplitTokens(" \t\n", " \t\n", tokens), 0u);

  // The delimiter ending a field is consumed even when the next call changes the set.
  common::Tokenizer tokenizer("clave==500 x");
  std::string_view token;
  ASSERT_TRUE(tokenizer.Next("=", token));
  EXPECT_EQ(token, "clave");
  ASSERT_TRUE(tokenizer.Next(" ", token));
  EXPECT_EQ(token, "=500");
}

TEST(LenientNumbers, FollowAtofAndAtoi) {
  EXPECT_DOUBLE_EQ(common::LenientDouble("  12.5abc"), 12.5);
  EXPECT_DOUBLE_EQ(common::LenientDouble("-3e2"), -300.0);
  EXPECT_EQ(common::LenientDouble("abc"), 0.0);
  EXPECT_EQ(common::LenientDouble(""), 0.0);
  EXPECT_EQ(common::LenientDouble(std::string_view()), 0.0);  // no data pointer at all
  EXPECT_EQ(common::LenientInt(std::string_view()), 0);
  EXPECT_DOUBLE_EQ(common::LenientDouble("12,5"), 12.0);
  EXPECT_EQ(common::LenientDouble("nan"), 0.0);
  EXPECT_EQ(common::LenientDouble("-inf"), 0.0);
  EXPECT_EQ(common::LenientDouble("1e999"), 0.0);
  EXPECT_DOUBLE_EQ(common::LenientDouble(std::string(200, '0') + "7.25"), 7.25);
  EXPECT_EQ(common::LenientInt(" 42x"), 42);
  EXPECT_EQ(common::LenientInt("-7.9"), -7);
  EXPECT_EQ(common::LenientInt("99999999999"), 2147483647);
  EXPECT_EQ(common::LenientInt("x"), 0);
}
