// The native alignment reader with the rules the two libraries read their files by: comment
// lines, commas between fields, and pieces too short to hold a record.
#include <gtest/gtest.h>

#include <string>

#include "formats/native/native_alignment.h"

namespace {

constexpr common::NativeAlignmentRule kBlanksAndComments{true};
constexpr common::NativeAlignmentRule kCommasToo{true, "\t ,\n", "\t ,\n"};

}  // namespace

TEST(NativeAlignmentReader, CommentsCommasAndShortLines) {
  const std::string text =
      "* comentario 1 2 3 4 5 6\n"
      "0.000 1000.000 2000.000 50.000000 0.000 0.000\n"
      "100,1100,2000,50,0,0\n"  // one field for a reader that splits at blanks only
      "1 2 3 4 5\n"
      "\n"
      "200.000\t1200.000\t2000.000\t50.000000\t0.000\t250.000,x\n";
  const common::NativeAlignment blanks = common::ParseNativeAlignment(text, kBlanksAndComments);
  ASSERT_EQ(blanks.elements.size(), 2u);
  EXPECT_EQ(blanks.elements[1].station, 200);
  EXPECT_EQ(blanks.lineCount, 7u);

  const common::NativeAlignment commas = common::ParseNativeAlignment(text, kCommasToo);
  ASSERT_EQ(commas.elements.size(), 3u);
  EXPECT_EQ(commas.elements[1].station, 100);
  EXPECT_EQ(commas.elements[1].x, 1100);
  EXPECT_EQ(commas.elements[2].radius, 250);

  const common::NativeAlignment all = common::ParseNativeAlignment(text, common::NativeAlignmentRule{false});
  ASSERT_EQ(all.elements.size(), 3u);  // the comment line is six fields, two of them no number
  EXPECT_EQ(all.elements[0].station, 0);
  EXPECT_EQ(all.elements[0].radius, 4);
}
