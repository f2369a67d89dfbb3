// The native point file: both reading rules and both line layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/native/point_file.h"
#include "support/test_support.h"

namespace {

using common::PointCodeRule;

std::vector<common::PointLine> ReadAll(const std::string& text, PointCodeRule rule) {
  std::vector<common::PointLine> lines;
  common::ForEachPointLine(text, rule, [&](const common::PointLine& line) { lines.push_back(line); });
  return lines;
}

TEST(PointFile, CommasAndBlanksSeparateFieldsAndTheNumberStaysAsWritten) {
  for (PointCodeRule rule : {PointCodeRule::kFirstWord, PointCodeRule::kRestOfLine}) {
    const std::string text = "12,100,200,30\n007\t1.5 , 2.5,3.5\n";
    const auto lines = ReadAll(text, rule);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].number, "12");
    EXPECT_DOUBLE_EQ(lines[0].x, 100);
    EXPECT_DOUBLE_EQ(lines[0].y, 200);
    EXPECT_DOUBLE_EQ(lines[0].z, 30);
    EXPECT_EQ(lines[0].code, "");
    EXPECT_EQ(lines[1].number, "007");
    EXPECT_DOUBLE_EQ(lines[1].z, 3.5);
    EXPECT_EQ(common::ToNativePoint(lines[1]).number, 7);
  }
}

TEST(PointFile, TheTwoRulesTakeTheCodeDifferently) {
  const std::string text = "5 1 2 3 ARBOL GRANDE\n6 1 2 3  ESPACIO\n7 1 2 3,COMA\n";
  const auto word = ReadAll(text, PointCodeRule::kFirstWord);
  const auto rest = ReadAll(text, PointCodeRule::kRestOfLine);
  ASSERT_EQ(word.size(), 3u);
  ASSERT_EQ(rest.size(), 3u);
  EXPECT_EQ(word[0].code, "ARBOL");
  EXPECT_EQ(rest[0].code, "ARBOL GRANDE");
  // Only the one separator that ends z goes; the rest of the line is the code.
  EXPECT_EQ(word[1].code, "ESPACIO");
  EXPECT_EQ(rest[1].code, " ESPACIO");
  EXPECT_EQ(word[2].code, "COMA");
  EXPECT_EQ(rest[2].code, "COMA");
}

TEST(PointFile, ShortAndBlankLinesAreSkippedAndCrLfIsAccepted) {
  std::string text = testing_support::CrLf("1 2 3\n\n1 2 3 \n4 5 6 7 \n");
  common::NormalizeLineEnds(text);
  for (PointCodeRule rule : {PointCodeRule::kFirstWord, PointCodeRule::kRestOfLine}) {
    const auto lines = ReadAll(text, rule);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].number, "4");
    EXPECT_DOUBLE_EQ(lines[0].z, 7);
    EXPECT_EQ(lines[0].code, "");  // a full line with an empty code ends in a blank
  }
}

TEST(PointFile, LinesLongerThan255CharactersArriveInPieces) {
  // The first 255 characters are one point; what follows is read as a line of its own.
  const std::string code(255 - 8, 'A');
  const std::string text = "1 2 3 4 " + code + "9 8 7 6\n";
  const auto lines = ReadAll(text, PointCodeRule::kRestOfLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].code, code);
  EXPECT_EQ(lines[1].number, "9");
}

TEST(PointFile, FullAndShortLayoutsAndTheirReadingBack) {
  common::TextWriter full;
  common::WriteFullPointLine(full, common::NativePoint{3, 100.5, -20.25, 7.1236, "BORDE CALZADA"});
  common::WriteFullPointLine(full, common::NativePoint{123456, 1234567.8914, 1, -1, ""});
  EXPECT_EQ(full.Bytes(), testing_support::CrLf("    3     100.500     -20.250    7.124 BORDE CALZADA\n"
                                                "123456 1234567.891       1.000   -1.000 \n"));

  common::TextWriter brief;
  common::WriteShortPointLine(brief, 1, 10, 20, 30.0004);
  common::WriteShortPointLine(brief, 2, -1.5, 0, 0);
  EXPECT_EQ(brief.Bytes(), "\r\n1 10.000 20.000 30.000\r\n2 -1.500 0.000 0.000");

  // The short form reads back with its leading empty line skipped and no codes.
  std::string text = brief.Bytes();
  common::NormalizeLineEnds(text);
  const auto lines = ReadAll(text, PointCodeRule::kRestOfLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].number, "2");
  EXPECT_DOUBLE_EQ(lines[1].x, -1.5);
  EXPECT_EQ(lines[1].code, "");
}

TEST(PointFile, ReadPointFileFailsOnlyWhenTheFileCannotBeRead) {
  testing_support::TempDir dir;
  std::vector<common::NativePoint> points;
  EXPECT_FALSE(common::ReadPointFile(dir.File("no-existe.pun"), PointCodeRule::kRestOfLine, points));
  testing_support::WriteFile(dir.File("p.pun"), "8 1 2 3 CODIGO LARGO\r\nbasura\r\n");
  ASSERT_TRUE(common::ReadPointFile(dir.File("p.pun"), PointCodeRule::kRestOfLine, points));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].number, 8);
  EXPECT_EQ(points[0].code, "CODIGO LARGO");
}

}  // namespace
