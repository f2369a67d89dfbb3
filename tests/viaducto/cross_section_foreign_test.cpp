#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/test_support.h"
#include "viaducto.h"
#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"
#include "formats/mxroad/mxroad.h"
#include "formats/istram/istram.h"
#include "formats/clip/clip.h"
#include "formats/cartomap/cartomap.h"

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// The points a reader makes of `listing`, in the native layout, with its result.
struct ReaderOutput {
  bool ok;
  std::string native;
};

ReaderOutput Read(viaducto::CrossSectionReader reader, const std::string& listing) {
  std::vector<common::CrossSectionPoint> points;
  const bool ok = reader(listing, points);
  common::TextWriter writer;
  common::FormatNativeCrossSections(points, writer);
  return ReaderOutput{ok, writer.Bytes()};
}

// A line with `value` right-aligned in the 8-character field that begins at `column` (1-based).
void Put(std::string& line, int column, const char* value, int width = 8) {
  const std::string text(value);
  if (line.size() < static_cast<std::size_t>(column - 1 + width)) line.resize(column - 1 + width, ' ');
  line.replace(column - 1, width, std::string(width - text.size(), ' ') + text);
}

}  // namespace

TEST(HtrazadoSections, StationLinesAndPairs) {
  const ReaderOutput out = Read(viaducto::ParseHtrazadoSections,
                                "PK  1200.5\n-5.5 , 101.23\n0,101.34\n\nTITULO\npk  1220\n5.5, 99\n");
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.native, CrLf("1200.500   -5.500  101.230 \n1200.500    0.000  101.340 \n1220.000    5.500   99.000 \n"));
}

TEST(MxroadSections, SectionsSortedWithCodeMos) {
  const std::string listing =
      "MXROAD SECTIONS\n"
      "  1220.000   3         \n"
      "-5.0 10.0 5.0 10.5\n"
      "\n"
      "0.0 11.0\n"
      "  1200.000   2         \n"
      "3.0 9.0 -3.0 9.5\n"
      "short\n";
  const ReaderOutput out = Read(viaducto::ParseMxroadSections, listing);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.native, CrLf("1200.000   -3.000    9.500 MOS\n1200.000    3.000    9.000 MOS\n"
                             "1220.000   -5.000   10.000 MOS\n1220.000    0.000   11.000 MOS\n"
                             "1220.000    5.000   10.500 MOS\n"));
  EXPECT_FALSE(Read(viaducto::ParseMxroadSections, "H\n  1200.000   2         \n3.0 9.0 -3.0\n").ok);
}

TEST(MxroadSections, DenseLinesAreRead) {
  // Many more pairs than lines: the table grows with them.
  std::string listing = "H\n  1200.000   40        \n";
  for (int i = 0; i < 40; ++i) listing += std::to_string(i) + " 1 ";
  listing += "\n";
  const ReaderOutput out = Read(viaducto::ParseMxroadSections, listing);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(std::count(out.native.begin(), out.native.end(), '\n'), 40);
}

TEST(IstramSections, LeftPointsNegatedSortedAndRepeatsDropped) {
  const std::string listing =
      "4 1 0.0 0.0 1200.0 0.0\n"
      "1 1 1 2 3\n"
      "2.0 100.2 5.0 100.5\n"
      "1.0 100.1 1.0 100.9 3.0 100.3\n"
      "7 7 7 7 7 7\n"
      "4 2 0 0 1220 0\n"
      "0 0 0 0 1\n"
      "0.5 99\n";
  const ReaderOutput out = Read(viaducto::ParseIstramSections, listing);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.native, CrLf("1200.000   -5.000  100.500 \n1200.000   -2.000  100.200 \n"
                             "1200.000    1.000  100.100 \n1200.000    3.000  100.300 \n"
                             "1220.000    0.500   99.000 \n"));
}

TEST(ClipListingSections, AxisSideColumnsAndDuplicates) {
  std::string first = "SECCION    ";
  Put(first, 12, "1200.000", 9);
  std::string second;
  Put(second, 13, "101.340");
  const char* offsets[] = {"-5.500", "0.000", "0.000", "5.500", "0", "0", "0", "0", "0", "12.000"};
  const char* elevations[] = {"101.230", "101.340", "102.000", "101.230", "0", "0", "0", "0", "0", ""};
  const int columns[] = {26, 46, 36, 56, 66, 76, 86, 96, 106, 116};
  for (int i = 0; i < 9; ++i) {  // the tenth offset stands past the end of the line: read as blank
    Put(first, columns[i], offsets[i]);
    Put(second, columns[i], elevations[i]);
  }
  second.resize(110, ' ');
  std::string zeroAxis = second;
  Put(zeroAxis, 13, "0.000");
  const std::string listing = "LISTADO\n" + first + "\n" + second + "\n" + first + "\n" + zeroAxis + "\n";
  const ReaderOutput out = Read(viaducto::ParseClipListingSections, listing);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.native, CrLf("1200.000   -5.500  101.230 10\n1200.000    0.000  101.340 0\n"
                             "1200.000    0.005  102.000 10\n1200.000    5.500  101.230 10\n"));
}

TEST(ClipTrvSections, HeadingCountsAndRepeatedOffsets) {
  const ReaderOutput out = Read(viaducto::ParseClipTrvSections,
                                "\n*TRV version 2\nOBRA\n1200.5,3\n-5.5,101.2,TALUD,x\n-5.5,101.3,REP\nsin valores\n"
                                "1220 , 2\n0,100\n4.0,100.4,BORDE\n");
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.native, CrLf("1200.500   -5.500  101.200 TALUD\n1220.000    0.000  100.000 \n1220.000    4.000  100.400 BORDE\n"));
  EXPECT_FALSE(Read(viaducto::ParseClipTrvSections, "*XYZ\n1200,1\n1,2\n").ok);
}

TEST(ForeignToGts, ReadersRunIntoTheGtsWriter) {
  TempDir dir;
  WriteFile(dir.File("bad.trv"), "*XYZ\n1200,1\n1,2,A\n");
  EXPECT_EQ(MyDll_cliptrv2gts(dir.File("bad.trv").c_str(), dir.File("bad.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("bad.gts")));
  EXPECT_EQ(MyDll_istram2gts(dir.File("none.txt").c_str(), dir.File("none.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("none.gts")));

  WriteFile(dir.File("s.trv"), "*TRV\nOBRA\n100,2\n-1,10,A B\n1,11\n");
  EXPECT_EQ(MyDll_cliptrv2gts(dir.File("s.trv").c_str(), dir.File("s.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("s.gts")), CrLf("100.000,-1.000,10.000,A\n100.000,1.000,11.000\n"));

  WriteFile(dir.File("h.txt"), "PK  50\n-1,2\n");
  EXPECT_EQ(MyDll_htrazado2gts(dir.File("h.txt").c_str(), dir.File("h.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("h.gts")), CrLf("50.000,-1.000,2.000\n"));
}

TEST(ForeignToGts, SampleListings) {
  TempDir dir;
  struct Case {
    int32_t (*conversion)(const char*, const char*);
    const char* listing;
    const char* expected;
  } cases[] = {
      {MyDll_htrazado2gts, "htrazado/htrazado.txt", "htrazado/htrazado.gts"},
      {MyDll_mxroad2gts, "mxroad/mxroad.txt", "mxroad/mxroad.gts"},
      {MyDll_istram2gts, "istram/istram.txt", "istram/istram.gts"},
      {MyDll_clip2gts, "clip/clip.ter", "clip/clip.gts"},
      {MyDll_cliptrv2gts, "clip/tramo.trv", "clip/cliptrv.gts"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.listing);
    const std::string out = dir.File("out.gts");
    EXPECT_EQ(c.conversion(DataFile(c.listing).c_str(), out.c_str()), 1);
    EXPECT_EQ(ReadFile(out), ReadFile(DataFile(c.expected)));
  }
}

TEST(CartomapSections, DistanceLayout) {
  TempDir dir;
  WriteFile(dir.File("c.txt"),
            "Perfiles transversales  Distancia  Cota\n"
            "PERFIL 1\n"
            "1+250.5\n"
            "-5.0, 0, 0, 100.5, TALUD\n"
            "0.0 0 0 101\n"
            "\n"
            "5.0\t0\t0\t100.4\tBORDE\n"
            "0+100 \n"
            "2.0 0 0 50 EJE\n");
  ASSERT_EQ(MyDll_traCartomap2zemta(dir.File("c.txt").c_str(), dir.File("c.tra").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("c.tra")), CrLf(" 100.000    2.000   50.000 EJE\n"
                                              "1250.500   -5.000  100.500 TALUD\n"
                                              "1250.500    5.000  100.400 BORDE\n"));
}

TEST(CartomapSections, PkLayoutSortsSections) {
  TempDir dir;
  WriteFile(dir.File("c.txt"), "\"PK\" 1220\n-3 10\n 3 10\n3,11\n\"pk\",1200\n1 9\n-1 9.5\n");
  ASSERT_EQ(MyDll_traCartomap2zemta(dir.File("c.txt").c_str(), dir.File("c.tra").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("c.tra")), CrLf("1200.000   -1.000    9.500 \n1200.000    1.000    9.000 \n"
                                              "1220.000   -3.000   10.000 \n1220.000    3.000   11.000 \n"));
  EXPECT_EQ(MyDll_traCartomap2zemta(dir.File("no.txt").c_str(), dir.File("no.tra").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("no.tra")));
}
