#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calzada.h"
#include "formats/sacyr/sacyr_scanner.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "support/peer_tools.h"
#include "support/test_support.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(SacyrScanner, PointsNumberedFromOneAndShortLinesSkipped) {
  EXPECT_EQ(ConvertBytes(Calzada_SacyrScanner, "100.5 200.25 30 1 2 3\n"),
            CrLf("  1,  100.500,  200.250,  30.000,  1,  2,  3\n"));
  // A line of five fields (a trailing blank is no sixth) uses up no number; CR LF line ends
  // and a last line without its line end are read.
  EXPECT_EQ(ConvertBytes(Calzada_SacyrScanner, "1 2 3 4 5 \r\n7.0004 -8 9.5 10 11 12\r\n\r\n-1 -2 -3 -4 -5 -6"),
            CrLf("  1,  7.000,  -8.000,  9.500,  10,  11,  12\n  2,  -1.000,  -2.000,  -3.000,  -4,  -5,  -6\n"));
  // A listing without a single point gives no listing.
  EXPECT_EQ(ConvertBytes(Calzada_SacyrScanner, "x\n", 0), "<none>");
  TempDir dir;
  EXPECT_EQ(Calzada_SacyrScanner(dir.File("no.txt").c_str(), dir.File("s.txt").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("s.txt")));
  WriteFile(dir.File("e.txt"), "1 2 3 4 5 6\n");
  EXPECT_EQ(Calzada_SacyrScanner(dir.File("e.txt").c_str(), dir.File("no/s.txt").c_str()), 0);
}

TEST(SacyrScanner, ListingLinesAreThoseOfTheListingFormat) {
  // Each line is put together field by field; it must be what the C library writes for
  // "  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d": halves, signs, zeros that keep their
  // sign, huge and tiny values, saturated integers and a number past 32 bits.
  const char* const fields[] = {"0.0005", "0.0015", "-0.0004", "-0", "1e300", "-1.7976931348623157e308", "4e-320",
                                "442628.5904999", "2.0005", "123456789.123456", "12abc", "+7", "0x10", "nan"};
  const char* const integers[] = {"0", "-1", "2147483648", "-99999999999", "255", "+3", "x"};
  std::size_t pick = 0;
  long long number = 1;
  for (const char* x : fields) {
    for (const char* i : integers) {
      ++pick;
      number += 98765432101LL;  // soon past 32 bits
      const char* y = fields[(pick * 5) % 14];
      const char* z = fields[(pick * 3) % 14];
      const char* j = integers[(pick * 2) % 7];
      const std::string piece = std::string(x) + " " + y + " " + z + " " + i + " " + j + " " + i + "\n";
      common::TextWriter line;
      ASSERT_TRUE(calzada::EscribePuntoScanner(piece, number, line));
      char expected[2048];
      std::snprintf(expected, sizeof expected, "  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d\r\n", number,
                    common::LenientDouble(x), common::LenientDouble(y), common::LenientDouble(z),
                    common::LenientInt(i), common::LenientInt(j), common::LenientInt(i));
      EXPECT_EQ(line.Bytes(), expected) << piece;
    }
  }
}

TEST(SacyrScanner, StreamedListingEqualsTheLineByLineConversion) {
  // Enough lines to cross many read chunks, with CR LF pairs falling across chunk boundaries
  // and lines longer than the 255-character read buffer (read in pieces, each its own line).
  std::string input;
  std::string expectedInput;
  for (int i = 0; i < 60000; ++i) {
    std::string line = std::to_string(i * 0.125) + " " + std::to_string(-i) + " " + std::to_string(i % 97) + " " +
                       std::to_string(i % 7) + " " + std::to_string(i % 11) + " " + std::to_string(i % 13);
    if (i % 5000 == 17) line += std::string(300, ' ') + "1 2 3 4 5 6";
    input += line + (i % 3 == 0 ? "\r\n" : "\n");
    expectedInput += line + "\n";
  }
  common::TextWriter expected;
  common::LineReader reader(expectedInput);
  std::string_view piece;
  long long number = 0;
  while (reader.Next(piece)) {
    if (calzada::EscribePuntoScanner(piece, number + 1, expected)) ++number;
  }
  EXPECT_GT(number, 60000);
  EXPECT_EQ(ConvertBytes(Calzada_SacyrScanner, input), expected.Bytes());
}

TEST(CalzadaDxfPoints, PointWithElevationAndNumberLabelsOnFixedLayers) {
  const std::string expected =
      " 0\nSECTION\n 2\nENTITIES\n"
      " 0\nPOINT\n 8\nPUNTOS\n10\n10.000\n20\n20.000\n30\n5.678\n"
      " 0\nTEXT\n 8\nZ\n10\n11.000\n20\n19.000\n1\n5.68\n40\n1.000\n50\n0.0\n"
      " 0\nTEXT\n 8\nN\n10\n11.000\n20\n21.000\n1\n7\n40\n1.000\n50\n0.0\n"
      " 0\nENDSEC\n 0\nEOF\n";
  EXPECT_EQ(ConvertBytes(Calzada_Puntos_Exporta_Dxf, "    7      10.000      20.000    5.678 ARBOL\n"), CrLf(expected));
  // Blanks only separate fields: a tab- or comma-separated line is one field and is skipped; the
  // number is read as an integer.
  EXPECT_EQ(ConvertBytes(Calzada_Puntos_Exporta_Dxf, "7\t10\t20\t5.678\n7,10,20,5.678\n7.9 10 20 5.678"), CrLf(expected));
  // A point file without a single point gives no drawing.
  EXPECT_EQ(ConvertBytes(Calzada_Puntos_Exporta_Dxf, "", 0), "<none>");
  TempDir dir;
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("no.pun").c_str(), dir.File("p.dxf").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("p.dxf")));
}

TEST(CalzadaDxfPoints, DrawingReadBackByEzdxfAndGdal) {
  const std::string points = std::string(PASARELA_SOURCE_DIR) + "/samples/puntos/levantamiento.pun";
  TempDir dir;
  ASSERT_EQ(Calzada_Puntos_Exporta_Dxf(points.c_str(), dir.File("p.dxf").c_str()), 1);
  // Every point of the file, with its labels: as ezdxf lists them, and as GDAL shows them.
  std::string expected;
  std::vector<std::string> gdalItems;
  std::vector<std::string> gdalPoints;
  std::size_t count = 0;
  {
    const std::string text = ReadFile(points);
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      int number = 0;
      double x = 0, y = 0, z = 0;
      if (std::sscanf(text.substr(start, end - start).c_str(), "%d %lf %lf %lf", &number, &x, &y, &z) == 4) {
        char line[200];
        std::snprintf(line, sizeof line, "PUNTOS %.3f %.3f %.3f|Z %.2f|N %d\n", x, y, z, z, number);
        expected += line;
        std::snprintf(line, sizeof line, "%.3f %.3f %.3f", x, y, z);
        gdalPoints.push_back(line);
        std::snprintf(line, sizeof line, "Text (String) = %.2f\n", z);
        gdalItems.push_back(line);
        std::snprintf(line, sizeof line, "Text (String) = %d\n", number);
        gdalItems.push_back(line);
        ++count;
      }
      start = end + 1;
    }
  }
  ASSERT_GT(count, 5u);
  if (testing_support::EnsurePeerTool(std::string(testing_support::kSystemPython) + " -c 'import ezdxf'", "python3-ezdxf")) {
    const std::string script =
        "import ezdxf,sys\n"
        "doc=ezdxf.readfile(sys.argv[1])\n"
        "e=list(doc.modelspace())\n"
        "for i in range(0,len(e),3):\n"
        " p,z,n=e[i],e[i+1],e[i+2]\n"
        " assert z.dxf.insert.x==p.dxf.location.x+1 and z.dxf.insert.y==p.dxf.location.y-1\n"
        " assert n.dxf.insert.x==p.dxf.location.x+1 and n.dxf.insert.y==p.dxf.location.y+1\n"
        " print('%s %.3f %.3f %.3f|%s %s|%s %s'%(p.dxf.layer,p.dxf.location.x,p.dxf.location.y,p.dxf.location.z,"
        "z.dxf.layer,z.dxf.text,n.dxf.layer,n.dxf.text))\n";
    WriteFile(dir.File("leer.py"), script);
    std::string output;
    ASSERT_EQ(RunCommand(std::string(testing_support::kSystemPython) + " " + dir.File("leer.py") + " " + dir.File("p.dxf"), output), 0)
        << output;
    EXPECT_EQ(output, expected);
  }
  REQUIRE_GDAL();
  std::string output;
  ASSERT_EQ(RunCommand("ogrinfo -ro -q -al " + dir.File("p.dxf") + " 2>&1", output), 0);
  std::vector<std::string> pointGeometries;
  std::size_t labels = 0;
  for (std::size_t at = output.find("POINT Z ("); at != std::string::npos; at = output.find("POINT Z (", at + 1)) {
    double x = 0, y = 0, z = 0;
    ASSERT_EQ(std::sscanf(output.c_str() + at, "POINT Z (%lf %lf %lf)", &x, &y, &z), 3);
    char line[200];
    std::snprintf(line, sizeof line, "%.3f %.3f %.3f", x, y, z);
    pointGeometries.push_back(line);
  }
  for (std::size_t at = output.find("Text (String) = "); at != std::string::npos; at = output.find("Text (String) = ", at + 1)) {
    ++labels;
  }
  EXPECT_EQ(pointGeometries, gdalPoints);
  EXPECT_EQ(labels, 2 * count);
  for (const std::string& item : gdalItems) EXPECT_NE(output.find(item), std::string::npos) << item;
  EXPECT_NE(output.find("Layer (String) = PUNTOS"), std::string::npos);
  EXPECT_NE(output.find("Layer (String) = Z"), std::string::npos);
  EXPECT_NE(output.find("Layer (String) = N"), std::string::npos);
}
