#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/text_input.h"
#include "common/text_output.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/native/superelevation.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;

TEST(IspolSuperelevation, FallsChosenByHowManyAreGiven) {
  const std::string table =
      "PERALTES EJE 1\n"
      "# comentario 1 2 3\n"
      "7 1250.5 2.0 3.0 4.0\n"
      "7\t1250.5\t2.0\t3.0\n"
      "7 1250.5 2.0\n"
      "7 1260.0 2.0 3.0 \n"  // a trailing blank is no fifth value
      "8 1270.0\n"           // too short: skipped
      "9 1280.0 0.0 1.5";    // last line without line break
  EXPECT_EQ(ConvertBytes(MyDll_peralteispol2gts, table), CrLf("1250.500  4.000 -2.000\n"
                                                              "1250.500  3.000 -2.000\n"
                                                              "1250.500  0.000 -2.000\n"
                                                              "1260.000  3.000 -2.000\n"
                                                              "1280.000  1.500  0.000\n"));
}

TEST(IspolSuperelevation, HeaderOnlyGivesNoFile) {
  EXPECT_EQ(ConvertBytes(MyDll_peralteispol2gts, "PERALTES\r\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(MyDll_peralteispol2gts, "", 0), "<none>");
}

TEST(ClipSuperelevation, SecondFallMirrorsTheFirstWhenMissing) {
  EXPECT_EQ(ConvertBytes(MyDll_peralteClip2gts, "100 2.5\n100,2.5,-2.5\r\n\t100.25\t-3\t3\n150\n200,1"),
            CrLf(" 100.000  2.500 -2.500\n"
                 " 100.000  2.500  2.500\n"
                 " 100.250 -3.000 -3.000\n"
                 " 200.000  1.000 -1.000\n"));
}

TEST(Superelevation, MissingTableOrUnwritableTargetWritesNothing) {
  TempDir dir;
  const std::string target = dir.File("peraltes.per");
  EXPECT_EQ(MyDll_peralteispol2gts(dir.File("no-existe.txt").c_str(), target.c_str()), 0);
  EXPECT_EQ(MyDll_peralteClip2gts(dir.File("no-existe.txt").c_str(), target.c_str()), 0);
  EXPECT_FALSE(FileExists(target));
  const std::string unwritable = dir.File("no/existe.per");
  EXPECT_EQ(MyDll_peralteClip2gts(DataFile("clip/peraltes_clip.txt").c_str(), unwritable.c_str()), 0);
  EXPECT_EQ(MyDll_peralteispol2gts(nullptr, nullptr), 0);
}

TEST(Superelevation, SampleTablesOfBothPrograms) {
  TempDir dir;
  ASSERT_EQ(MyDll_peralteispol2gts(DataFile("ispol/peraltes_ispol.txt").c_str(), dir.File("i.per").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("i.per")), ReadFile(DataFile("ispol/peraltes_ispol.per")));
  ASSERT_EQ(MyDll_peralteClip2gts(DataFile("clip/peraltes_clip.txt").c_str(), dir.File("c.per").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("c.per")), ReadFile(DataFile("clip/peraltes_clip.per")));
}

// The native file's reader (the views read it) takes back what the conversions write.
TEST(Superelevation, TheNativeReaderTakesBackWhatIsWritten) {
  std::string text = ReadFile(DataFile("ispol/peraltes_ispol.per"));
  common::NormalizeLineEnds(text);
  const std::vector<viaducto::SuperelevationRecord> records = viaducto::ParseNativeSuperelevation(text + "12.5 3\n");
  ASSERT_FALSE(records.empty());
  common::TextWriter writer;
  viaducto::FormatNativeSuperelevation(records, writer);
  EXPECT_EQ(writer.Bytes(), ReadFile(DataFile("ispol/peraltes_ispol.per")));  // the short line holds none
}
