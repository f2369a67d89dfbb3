#include <gtest/gtest.h>

#include <string>

#include "common/lector_lineas.h"
#include "formats/native/eje_nativo.h"
#include "support/test_support.h"

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(CalzadaNumberRules, DecimalCommaAndStations) {
  EXPECT_DOUBLE_EQ(calzada::LeeDecimal("12,5"), 12.5);
  EXPECT_DOUBLE_EQ(calzada::LeeDecimal("1.234,5"), 1.234);  // a full stop before the comma
  EXPECT_DOUBLE_EQ(calzada::LeeDecimal("-0,75"), -0.75);
  EXPECT_DOUBLE_EQ(calzada::LeeDecimal("texto"), 0.0);
  EXPECT_DOUBLE_EQ(calzada::LeeNumeroComa("3,25"), 3.25);
  EXPECT_DOUBLE_EQ(calzada::LeeNumeroComa(","), 0.0);
  EXPECT_DOUBLE_EQ(calzada::LeeNumeroComa("17"), 17.0);

  EXPECT_DOUBLE_EQ(calzada::LeeEstacion("2+345,6"), 2345.6);
  EXPECT_DOUBLE_EQ(calzada::LeeEstacion("-1+20"), -1020.0);
  EXPECT_DOUBLE_EQ(calzada::LeeEstacion("-15.3"), -15300.0);  // a minus sign and no "+": kilometres
  EXPECT_DOUBLE_EQ(calzada::LeeEstacion("3+"), 3000.0);
  EXPECT_DOUBLE_EQ(calzada::LeeEstacion("1250,5"), 1250.5);
  EXPECT_DOUBLE_EQ(calzada::LeeEstacion(""), 0.0);
}

TEST(CalzadaNumberRules, TolerantSign) {
  EXPECT_EQ(calzada::SignoTolerante(0.0009), 0);
  EXPECT_EQ(calzada::SignoTolerante(-0.0011), -1);
  EXPECT_EQ(calzada::SignoTolerante(0.0011), 1);
  EXPECT_EQ(calzada::SignoTolerante(0.001), 0);
}

TEST(CalzadaFrame, ReadingOutsideTheRecordsGivesZeros) {
  std::vector<calzada::TramoEje> records(2);
  records[1].station = 7;
  EXPECT_EQ(calzada::RecordOrZeros(records, 1).station, 7);
  for (long index : {-1L, 2L, 100L}) {
    const calzada::TramoEje& r = calzada::RecordOrZeros(records, index);
    EXPECT_EQ(r.station, 0);
    EXPECT_EQ(r.radius, 0);
    EXPECT_EQ(r.kind, 0);
  }
}

TEST(CalzadaFrame, NativeAlignmentLayout) {
  TempDir dir;
  std::vector<calzada::TramoEje> records(2);
  records[0].station = 0;
  records[0].x = 442350;
  records[0].y = 4471820;
  records[0].azimuth = 62.5;
  records[0].parameter = 250;
  records[0].radius = -500;
  records[0].length = 99;  // neither kind nor length is written
  records[1].station = 123456.78951;
  records[1].x = 1234567.0005;
  records[1].azimuth = 399.99996;
  EXPECT_EQ(calzada::EscribeEjeNativo(records, dir.File("a.eje")), 1);
  EXPECT_EQ(ReadFile(dir.File("a.eje")),
            CrLf("          0.000 442350.000 4471820.000 62.5000 250.000 -500.000\n"
                 "     123456.790 1234567.001      0.000 400.0000   0.000   0.000\n"));
  EXPECT_EQ(calzada::EscribeEjeNativo(records, dir.File("no/such/dir/a.eje")), 0);
}

TEST(CalzadaFrame, PathAndLineCountHelpers) {
  EXPECT_EQ(calzada::AnadeSufijo("/datos/obra/eje.tra", "_2"), "/datos/obra/eje_2.tra");
  EXPECT_EQ(calzada::AnadeSufijo("eje", "_2"), "eje_2");
  TempDir dir;
  WriteFile(dir.File("tres"), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(calzada::CuentaLineas(dir.File("tres")), 4u);
  EXPECT_EQ(calzada::CuentaLineas(dir.File("falta")), 0u);
}

TEST(CalzadaLectorLineas, TokensAndGetters) {
  TempDir dir;
  WriteFile(dir.File("f"), "7 2,5 abc 3.75 palabra\r\n\r\n  uno\tdos  ");
  calzada::LectorLineas lector;
  ASSERT_TRUE(lector.Open(dir.File("f"), " \t"));
  ASSERT_TRUE(lector.NextLine());
  EXPECT_EQ(lector.Line(), "7 2,5 abc 3.75 palabra");
  EXPECT_EQ(lector.TokenCount(), 5u);
  int number = 0;
  double decimal = 0, notNumber = 9, plain = 0;
  std::string word;
  EXPECT_TRUE(lector.GetInt(number));
  EXPECT_EQ(lector.TokenCount(), 5u);  // counting never consumes tokens
  EXPECT_TRUE(lector.GetDecimal(decimal));
  EXPECT_TRUE(lector.GetDouble(notNumber));
  EXPECT_TRUE(lector.GetDouble(plain));
  EXPECT_TRUE(lector.GetString(word));
  EXPECT_EQ(number, 7);
  EXPECT_DOUBLE_EQ(decimal, 2.5);
  EXPECT_EQ(notNumber, 0.0);
  EXPECT_DOUBLE_EQ(plain, 3.75);
  EXPECT_EQ(word, "palabra");
  EXPECT_EQ(lector.ErrorCount(), 0);
  double none = 5;
  EXPECT_FALSE(lector.GetDouble(none));
  EXPECT_EQ(none, 0.0);
  EXPECT_EQ(lector.ErrorCount(), 1);

  ASSERT_TRUE(lector.NextLine());
  EXPECT_EQ(lector.TokenCount(), 0u);
  ASSERT_TRUE(lector.NextLine());  // the last line has no line feed and still counts
  EXPECT_EQ(lector.TokenCount(), 2u);
  EXPECT_FALSE(lector.NextLine());
}

TEST(CalzadaLectorLineas, LongLinesArriveInPiecesAndMissingFilesFail) {
  TempDir dir;
  WriteFile(dir.File("largo"), std::string(300, 'x') + "\n");
  calzada::LectorLineas lector;
  ASSERT_TRUE(lector.Open(dir.File("largo"), " "));
  ASSERT_TRUE(lector.NextLine());
  EXPECT_EQ(lector.Line().size(), 255u);
  ASSERT_TRUE(lector.NextLine());
  EXPECT_EQ(lector.Line().size(), 45u);
  EXPECT_FALSE(lector.NextLine());

  EXPECT_FALSE(lector.Open(dir.File("falta"), " "));
  EXPECT_EQ(lector.ErrorCount(), 1);
  EXPECT_FALSE(lector.NextLine());
}
