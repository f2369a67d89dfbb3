#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "viaducto.h"
#include "formats/dl100/digital_level.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// The book of `records` with fixed header texts; "<none>" when nothing was written.
std::string Book(const std::string& records, int32_t expected = 1) {
  TempDir dir;
  WriteFile(dir.File("nivel.txt"), records);
  const int32_t result =
      MyDll_anivel2ing(dir.File("nivel.txt").c_str(), dir.File("libro.txt").c_str(), "EMP", "OPE", "M1", "M2", "123");
  EXPECT_EQ(result, expected);
  return FileExists(dir.File("libro.txt")) ? ReadFile(dir.File("libro.txt")) : "<none>";
}

// The rows after the line of 0xEE bytes.
std::string Rows(const std::string& book) {
  const std::string ruler = std::string(86, '\xEE') + "\r\n";
  const std::size_t at = book.find(ruler);
  return at == std::string::npos ? book : book.substr(at + ruler.size());
}

}  // namespace

TEST(DigitalLevel, ResolutionDigitScalesReadingAndDistance) {
  const viaducto::LevelLine level = viaducto::ParseLevelRecords(
      "g,13,145678,23456,0,0,0,1001\n"
      "h,11,1456,2345,0,0,0,7\n"
      "i,x2,14567,2345,0,0,0,8\n"
      "j,x7,14567,2345,0,0,0,9\n"
      "g,18,145678,23456,0,0,0,10\n"
      "g,14,145678,23456,0,0,0,11\n"  // unknown digit
      "g,3,145678,23456,0,0,0,12\n"   // resolution field too short
      "g,13,145678,23456,0,0\n"       // no point number
      "k,13,145678,23456,0,0,0,13\n"  // not a record
      "c,01,2403\n");                 // no date: skipped
  ASSERT_EQ(level.records.size(), 5u);
  EXPECT_DOUBLE_EQ(level.records[0].reading, 1.45678);
  EXPECT_DOUBLE_EQ(level.records[0].distance, 23.456);
  EXPECT_EQ(level.records[0].point, 1001);
  EXPECT_DOUBLE_EQ(level.records[1].reading, 1.456);
  EXPECT_DOUBLE_EQ(level.records[1].distance, 23.45);
  EXPECT_DOUBLE_EQ(level.records[2].reading, 1.4567);
  EXPECT_DOUBLE_EQ(level.records[3].reading, 1.4567);
  EXPECT_EQ(level.records[3].kind, viaducto::kSecondFore);
  EXPECT_DOUBLE_EQ(level.records[4].distance, 23.456);
  EXPECT_EQ(level.startDate, "");
}

TEST(DigitalLevel, RowsFollowTheOrderOfTheSetUp) {
  const std::string book = Book(
      "c,00,2401311230\n"
      "g,13,100000,10000,0,0,0,1\n"  // g, i, j, h: full row
      "i,13,200000,11000,0,0,0,2\n"
      "j,13,200010,11010,0,0,0,2\n"
      "h,13,100010,10010,0,0,0,1\n"
      "g,13,300000,12000,0,0,0,2\n"  // g, i, j: no second back
      "i,13,400000,13000,0,0,0,3\n"
      "j,13,400020,13020,0,0,0,3\n"
      "g,13,500000,14000,0,0,0,3\n"  // g, i: fore once
      "i,13,600000,15000,0,0,0,4\n"
      "g,13,700000,16000,0,0,0,4\n"  // g alone
      "h,13,700010,16010,0,0,0,4\n");
  EXPECT_EQ(Rows(book),
            CrLf("1         10.00   10.01    1.00000 1.00010  11.00   11.01    2.00000 2.00010  2       \n"
                 "2         12.00    0.00    3.00000 0.00000  13.00   13.02    4.00000 4.00020  3       \n"
                 "3         14.00    0.00    5.00000 0.00000  15.00    0.00    6.00000 0.00000  4       \n"
                 "4         16.00    0.00    7.00000 0.00000   0.00    0.00    0.00000 0.00000  0       \n"));
  // Only a start date: the end takes it. Benchmarks: first g, last j.
  EXPECT_NE(book.find("CLV SAL: 1        FECHA:  31/01/24 HORA:    12:30   MIRA1: M1\r\n"
                      "CLV FIN: 3        FECHA:  31/01/24 HORA:    12:30   MIRA2: M2\r\n\r\n"),
            std::string::npos);
}

TEST(DigitalLevel, HeaderBytesAndDates) {
  // A line of readings without a start record, and an end record with its date in its fifth
  // field: the first set-up is written and the start takes the end's date.
  const std::string book = Book(
      "g,13,100000,10000,0,0,0,5\n"
      "i,13,200000,11000,0,0,0,6\n"
      "v,01,x,y,2402291745,z\n"
      "w,01,a,b,c,2402291800\n");  // sixth field: too far for an end record
  EXPECT_EQ(book.substr(0, book.find(std::string(86, '_'))),
            "EMPRESA: EMP                                OPERADOR: OPE                               \r\n"
            "NIVEL:   TOPCON   MODELO: DL100             N/S:    123 CU\xA5"
            "A: \r\n"
            "CLV SAL: 5        FECHA:  29/02/24 HORA:    17:45   MIRA1: M1\r\n"
            "CLV FIN: 0        FECHA:  29/02/24 HORA:    17:45   MIRA2: M2\r\n\r\n");
  EXPECT_EQ(Rows(book),
            CrLf("5         10.00    0.00    1.00000 0.00000  11.00    0.00    2.00000 0.00000  6       \n"));
}

TEST(DigitalLevel, ResultsForMissingOrShortFiles) {
  TempDir dir;
  EXPECT_EQ(MyDll_anivel2ing(dir.File("no.txt").c_str(), dir.File("l.txt").c_str(), "", "", "", "", ""), 0);
  EXPECT_FALSE(FileExists(dir.File("l.txt")));
  EXPECT_EQ(Book("c,00,2401311230\ng,13,100000,10000,0,0,0,1\nx\ny\n", 0), "<none>");
  // A start record and one back and one fore reading make a book of one row.
  EXPECT_EQ(Rows(Book("c,00,2401311230\ng,13,100000,10000,0,0,0,1\ni,13,200000,11000,0,0,0,2")),
            CrLf("1         10.00    0.00    1.00000 0.00000  11.00    0.00    2.00000 0.00000  2       \n"));
  EXPECT_EQ(MyDll_anivel2ing(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(DigitalLevel, SampleLevellingLine) {
  TempDir dir;
  ASSERT_EQ(MyDll_anivel2ing(DataFile("dl100/nivel_dl100.txt").c_str(), dir.File("libro.txt").c_str(),
                             "Topografia del Norte SL", "J. Perez", "4521", "4522", "301122"),
            1);
  EXPECT_EQ(ReadFile(dir.File("libro.txt")), ReadFile(DataFile("dl100/nivel_dl100.ign")));
}

TEST(LevelPoints, HeightInMillimetresTruncated) {
  EXPECT_EQ(ConvertBytes(MyDll_puntos2nivel,
                         "1001 452310.125 4478120.500 101.2345 CLAVO\n"
                         "1002\t1\t2\t-1.5\n"
                         "1003 1 2\n"  // no z
                         "1004 1 2 1e300 X\n"),
            CrLf("z,01,1001,,,+101234,CLAVO\nz,01,1002,,,+-1500,\nz,01,1004,,,+2147483647,X\n"));
  TempDir dir;
  EXPECT_EQ(MyDll_puntos2nivel(dir.File("no.txt").c_str(), dir.File("s.txt").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("s.txt")));
}
