#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "viaducto.h"
#include "formats/rtf/clip_report.h"
#include "formats/rtf/rtf_text.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
using viaducto::ClipReportSurfaces;
using viaducto::CrossSectionPoint;

namespace {

using Row = std::vector<std::string>;

// A report table in RTF the way a word processor writes one: each cell a paragraph in the
// table, closed by \cell, each row by \row.
std::string ReportRtf(const std::vector<Row>& rows) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\n"
      "{\\*\\generator Prueba 1.0;}{\\info{\\title Secciones}}\\pard\\plain Listado de secciones\\par\n";
  for (const Row& row : rows) {
    rtf += "\\trowd\\cellx1000\\cellx2000\n";
    for (const std::string& cell : row) rtf += "\\pard\\intbl {\\b0 " + cell + "}\\cell\n";
    rtf += "\\row\n";
  }
  rtf += "\\pard\\par Fin\\par}\n";
  return rtf;
}

// A row of ten cells: the first surface in cells 0 and 1, the second in cells 8 and 9.
Row PointRow(const std::string& offset1, const std::string& elevation1, const std::string& offset2,
             const std::string& elevation2) {
  return Row{offset1, elevation1, "0.00", "x", "", "", "", "", offset2, elevation2};
}

std::string Native(const std::vector<CrossSectionPoint>& points) {
  std::string text;
  char line[128];
  for (const CrossSectionPoint& p : points) {
    std::snprintf(line, sizeof line, "%.3f %.3f %.3f %s\n", p.station, p.offset, p.elevation, p.code.c_str());
    text += line;
  }
  return text;
}

}  // namespace

TEST(RtfText, ParagraphsTablesAndSpecialCharacters) {
  EXPECT_EQ(viaducto::RtfToText("{\\rtf1 a\\emdash b\\par}"), "a\x97" "b\n");
  EXPECT_EQ(viaducto::RtfToText("{\\rtf1 \\{x\\}\\\\ y\\; \\'f3\\lquote\\par}"), "{x}\\ y; \xf3\x91\n");
  // Font table, colour table, "\*" groups and \info are not text; a control word ends at any
  // character that cannot belong to it.
  EXPECT_EQ(viaducto::RtfToText("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                "{\\*\\unknown hidden}{\\info{\\author yo}}\\b0.5\\b visible\\par}"),
            ".5visible\n");
  EXPECT_EQ(viaducto::RtfToText(ReportRtf({{"Estaci\\'f3n", "0+512.340"}, {"", "b c"}})),
            "Listado de secciones\n\n\n Estaci\xf3n |  0+512.340 | \n\n |  b c | \n\nFin\n");
  EXPECT_EQ(viaducto::RtfToText("}}{{\\pard\\intbl"), "\n\n ");  // unbalanced or cut short: no harm
}

TEST(ClipReportCells, StationsHeadingsAndCellWords) {
  const ClipReportSurfaces s = viaducto::ReadClipReportCells(
      " Estaci\xf3n |  0+512.340 | \n"
      " T.Dis |  Cota |  |  |  |  |  |  |  |  | \n"
      " -5.5 |  100.2 |  a b |  |  |  |  |  |  -5.5 |  101 | \n"
      " uno dos 3.25 |  7 |  |  |  |  |  |  |  |  | \n"   // three words: the last one counts
      " dos 4.5 |  7 |  |  |  |  |  |  |  |  | \n"        // two words: no value
      " 1 |  2 |  |  |  6 |  9 |  |  |  |  | \n"          // cells 4 and 5 replace 0 and 1
      " 8 |  |  |  |  |  |  |  |  |  | \n"                // an offset without elevation adds nothing
      " estacion |  512.34 | \n"
      " 0 |  3 |  |  |  |  |  |  |  |  | \n");
  EXPECT_EQ(Native(s.first.points), "512.340 -5.500 100.200 \n512.340 3.250 7.000 \n512.340 6.000 9.000 \n"
                                    "512.340 0.000 3.000 \n");
  EXPECT_EQ(Native(s.second.points), "512.340 -5.500 101.000 \n");
}

TEST(ClipReportMatching, CleaningOrderAndSeparation) {
  ClipReportSurfaces s;
  s.first.points = {{10, 1, 5, ""}, {10, 1, 5, ""}, {10, 2, 6, ""}, {10, 2, 6.5, ""}, {10, 2, 7, ""}, {10, -1, 4, ""}};
  s.second.points = {{20, 0, 1, ""}};
  viaducto::MatchClipReportSurfaces(s);
  // The repeated row is one point; three points at one offset keep their order 0.001 apart.
  EXPECT_EQ(Native(s.first.points),
            "10.000 -1.000 4.000 \n10.000 1.000 5.000 \n10.000 2.000 6.000 \n10.000 2.001 6.500 \n10.000 2.002 7.000 \n");
  EXPECT_EQ(Native(s.second.points), "20.000 0.000 1.000 \n");  // another station: kept as it is
}

TEST(ClipReportMatching, NoCommonPointLeavesCodesEmpty) {
  ClipReportSurfaces s;
  s.first.points = {{10, -5, 1, ""}, {10, 0, 1.1, ""}, {10, 5, 1, ""}};
  s.second.points = {{10, -3, 2, ""}, {10, 3, 2, ""}};
  viaducto::MatchClipReportSurfaces(s);
  EXPECT_EQ(Native(s.first.points), "10.000 -5.000 1.000 \n10.000 0.000 1.100 \n10.000 5.000 1.000 \n");
  EXPECT_EQ(Native(s.second.points), "10.000 -3.000 2.000 \n10.000 3.000 2.000 \n");
}

TEST(ClipReportMatching, NumbersFromTheCommonPointsAndCompletesTheSecondSurface) {
  ClipReportSurfaces s;
  for (double o : {-10.0, -8.0, -6.0, -3.0, 0.0, 3.0, 6.0, 8.0, 10.0}) {
    const double a = o < 0 ? -o : o;
    s.first.points.push_back({100, o, a == 10 ? 5 : a == 8 ? 4 : a == 6 ? 3.5 : 3, ""});
  }
  s.second.points = {{100, -6, 3.5, ""}, {100, -3.5, 4, ""}, {100, 0, 4.1, ""}, {100, 3.5, 4, ""}, {100, 6, 3.5, ""}};
  viaducto::MatchClipReportSurfaces(s);
  EXPECT_EQ(Native(s.first.points),
            "100.000 -10.000 5.000 99\n100.000 -8.000 4.000 98\n100.000 -6.000 3.500 40\n100.000 -3.000 3.000 39\n"
            "100.000 0.000 3.000 \n100.000 3.000 3.000 39\n100.000 6.000 3.500 40\n100.000 8.000 4.000 98\n"
            "100.000 10.000 5.000 99\n");
  EXPECT_EQ(Native(s.second.points),
            "100.000 -10.000 5.000 99\n100.000 -8.000 4.000 98\n100.000 -6.000 3.500 40\n100.000 -3.500 4.000 39\n"
            "100.000 0.000 4.100 \n100.000 3.500 4.000 39\n100.000 6.000 3.500 40\n100.000 8.000 4.000 98\n"
            "100.000 10.000 5.000 99\n");
}

TEST(ClipReportExport, RtfReportToTwoSurfaces) {
  // The edges fall towards the outside: their points are numbered from 79.
  TempDir dir;
  std::vector<Row> rows = {{"Estaci\\'f3n", "0+100.000"}, {"T.Dis", "Cota", "", "", "", "", "", "", "T.Dis", "Cota"}};
  rows.push_back(PointRow("-8.000", "3.000", "-6.000", "3.500"));
  rows.push_back(PointRow("-6.000", "3.500", "0.000", "4.100"));
  rows.push_back(PointRow("0.000", "3.000", "6.000", "3.500"));
  rows.push_back(PointRow("6.000", "3.500", "", ""));
  rows.push_back(PointRow("8.000", "3.000", "", ""));
  WriteFile(dir.File("informe.rtf"), ReportRtf(rows));
  EXPECT_EQ(MyDll_clipST2zemta(dir.File("informe.rtf").c_str(), dir.File("t.tra").c_str(), dir.File("p.tra").c_str()), 5);
  EXPECT_EQ(ReadFile(dir.File("t.tra")), CrLf("    100.000      -8.000       3.000 79\n    100.000      -6.000       3.500 40\n"
                                              "    100.000       0.000       3.000 \n    100.000       6.000       3.500 40\n"
                                              "    100.000       8.000       3.000 79\n"));
  EXPECT_EQ(ReadFile(dir.File("p.tra")), CrLf("    100.000      -8.000       3.000 79\n    100.000      -6.000       3.500 40\n"
                                              "    100.000       0.000       4.100 \n    100.000       6.000       3.500 40\n"
                                              "    100.000       8.000       3.000 79\n"));
  EXPECT_EQ(MyDll_clipST2zemta(dir.File("no.rtf").c_str(), dir.File("a.tra").c_str(), dir.File("b.tra").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("a.tra")));
}
