#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "calzada.h"
#include "formats/native/rasante.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/mxroad/mxroad.h"
#include "formats/ispol/ispol.h"
#include "formats/dragados/dragados.h"
#include "formats/wtrazado/wtrazado.h"
#include "support/test_support.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string Fixture(const std::string& name) { return ReadFile(DataFile(name)); }

std::string SampleProfile() { return ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/rasantes/variante.ras"); }

std::string NativeLine(double station, double elevation, double kv, double tangent, double external) {
  char line[120];
  std::snprintf(line, sizeof line, "%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf\r\n", station, elevation, kv, tangent,
                external);
  return line;
}

std::vector<calzada::VerticeRasante> ReadNative(const std::string& bytes) {
  std::vector<calzada::VerticeRasante> vertices;
  std::istringstream in(bytes);
  calzada::VerticeRasante v;
  while (in >> v.station >> v.elevation >> v.kv >> v.tangent >> v.external) vertices.push_back(v);
  return vertices;
}

}  // namespace

TEST(CalzadaProfileImport, EveryListingOfTheSampleProfile) {
  const std::string expected = SampleProfile();
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_DragadosMDW, Fixture("dragados/variante-rasante-dragados.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Mxroad, Fixture("mxroad/variante-rasante-mxroad.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Wtrazado, Fixture("wtrazado/variante-rasante-wtrazado.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Clip, Fixture("clip/variante.alz")), Fixture("clip/variante-alz.ras"));
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Ispol, Fixture("ispol/variante-rasante-ispol.txt")),
            Fixture("ispol/variante-ispol.ras"));
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Inroads, Fixture("inroads/variante-rasante-inroads.txt")),
            Fixture("inroads/variante-inroads.ras"));
}

TEST(CalzadaProfileImport, UnreadableOrEmptyInput) {
  using Conversion = int32_t (*)(const char*, const char*);
  const Conversion all[] = {Calzada_Rasante_Importa_Inroads,     Calzada_Rasante_Importa_Clip,
                            Calzada_Rasante_Importa_ClipTanSimple, Calzada_Rasante_Exporta_Clip,
                            Calzada_Rasante_Importa_Ispol,       Calzada_Rasante_Exporta_Ispol,
                            Calzada_Rasante_Importa_Mxroad,      Calzada_Rasante_Importa_DragadosMDW,
                            Calzada_Rasante_Importa_Wtrazado};
  TempDir dir;
  for (Conversion conversion : all) {
    EXPECT_EQ(conversion(dir.File("falta").c_str(), dir.File("salida").c_str()), 0);
    EXPECT_FALSE(testing_support::FileExists(dir.File("salida")));
  }
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Mxroad, "texto\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Wtrazado, "1 V 100 200 0\n", 0), "<none>");  // before INICIO
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Clip, "RASANTE\n0 ,100C , 0T\n", 0), "<none>");
}

TEST(CalzadaClipAlz, TangentElevationFromGradeAndTitleLines) {
  const std::string alz =
      "*ALZ1\n"
      "RASANTE DE PRUEBA\n"
      "\n"
      "1000.000 , 600.000C , 0.000T\n"
      "1100.000 , 2.5 , 0T\n"
      "1250.000 , 612.34C , 80T\n"
      "1400.000 , 600.000c , 0T\n";
  // 1100 follows a grade of 2.5 % from 600: 602.5. The curve of 80 is a length (T 40) in the
  // Clip import and already the tangent (T 80) in the tangent-as-is import.
  std::vector<calzada::VerticeRasante> v = ReadNative(ConvertBytes(Calzada_Rasante_Importa_Clip, alz));
  ASSERT_EQ(v.size(), 4u);
  EXPECT_DOUBLE_EQ(v[1].elevation, 602.5);
  EXPECT_DOUBLE_EQ(v[2].tangent, 40);
  const double change = (600 - 612.34) / 150 - (612.34 - 602.5) / 150;
  EXPECT_NEAR(v[2].kv, std::fabs(2 * 40 / change), 0.0005);
  EXPECT_NEAR(v[2].external, std::fabs(change * 40 / 4), 0.0005);
  v = ReadNative(ConvertBytes(Calzada_Rasante_Importa_ClipTanSimple, alz));
  ASSERT_EQ(v.size(), 4u);
  EXPECT_DOUBLE_EQ(v[2].tangent, 80);
}

TEST(CalzadaClipAlz, CurveFromTheExternalOrdinateAndFromKv) {
  const std::string alz =
      "*ALZ\n"
      "0 , 100C , 0T\n"
      "100 , 102C , 0.5F\n"
      "200 , 100C , 2500K\n"
      "300 , 100C , 3000K\n"
      "400 , 100C , 0T\n";
  // Changes of grade: -0.04 at 100, +0.02 at 200, none at 300 (no curve can stand there).
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Clip, alz),
            NativeLine(0, 100, 0, 0, 0) + NativeLine(100, 102, 2500, 50, 0.5) + NativeLine(200, 100, 2500, 25, 0.125) +
                NativeLine(300, 100, 3000, 0, 0) + NativeLine(400, 100, 0, 0, 0));
}

TEST(CalzadaClipAlz, ExportLayoutAndRoundTrip) {
  TempDir dir;
  WriteFile(dir.File("r.ras"), "0.000 100.000 0 0 0\n# no\n1500,102.5,1500.9\n4000 90\n5000\t95\t0\n");
  const std::string alz = dir.File("r.alz");
  ASSERT_EQ(Calzada_Rasante_Exporta_Clip(dir.File("r.ras").c_str(), alz.c_str()), 1);
  // kv 1500.9 is written whole, right-aligned in eight characters and followed by R.
  EXPECT_EQ(ReadFile(alz), CrLf("*ALZ1\n" + alz + "\n" +
                                "      0.000 ,  100.000C ,    0.000T\n"
                                "   1500.000 ,  102.500C ,     1500R\n"
                                "   5000.000 ,   95.000C ,    0.000T\n"));
  WriteFile(dir.File("uno.ras"), "10 20 0 0 0\n");
  ASSERT_EQ(Calzada_Rasante_Exporta_Clip(dir.File("uno.ras").c_str(), alz.c_str()), 1);
  EXPECT_EQ(ReadFile(alz), CrLf("*ALZ1\n" + alz + "\n" +
                                "     10.000 ,   20.000C ,    0.000T\n"
                                "     10.000 ,   20.000C ,    0.000T\n"));

  // Native -> Clip ALZ -> native keeps every vertex; kv comes back whole, the curve from it.
  const std::string source = std::string(PASARELA_SOURCE_DIR) + "/samples/rasantes/variante.ras";
  ASSERT_EQ(Calzada_Rasante_Exporta_Clip(source.c_str(), alz.c_str()), 1);
  ASSERT_EQ(Calzada_Rasante_Importa_Clip(alz.c_str(), dir.File("back.ras").c_str()), 1);
  const std::vector<calzada::VerticeRasante> before = ReadNative(ReadFile(source));
  const std::vector<calzada::VerticeRasante> after = ReadNative(ReadFile(dir.File("back.ras")));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(after[i].station, before[i].station);
    EXPECT_EQ(after[i].elevation, before[i].elevation);
    EXPECT_EQ(after[i].kv, std::trunc(before[i].kv));
    EXPECT_NEAR(after[i].tangent, before[i].tangent, 0.05);
    EXPECT_NEAR(after[i].external, before[i].external, 0.001);
  }
}

TEST(CalzadaInroadsProfile, CurvePairsHeaderAndCircles) {
  const std::string header = "{ TYPE STATION ELEVATION SLOPE VC_LENGTH\n";
  // A curve whose end point starts the next curve; a pair of parallel grades gives no vertex.
  const std::string chained = header +
                              "LIN 0+000 100 0.02 0\n"
                              "PAR 0+080 101.6 0.02 40\n"
                              "PAR 0+120 101.6 -0.02 40\n"
                              "LIN 0+160 100.8 0.01 0\n"
                              "PAR 0+200 101.2 0.01 20\n"
                              "LIN 0+220 101.4 0.01 0\n"
                              "LIN 0+300 102.2 0.01 0\n";
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Inroads, chained),
            CrLf("0.000\t100.000\t0.000\t0.000\t0.000\n"
                 "100.000\t102.000\t1000.000\t20.000\t0.200\n"
                 "160.000\t100.800\t1333.333\t20.000\t0.150\n"
                 "300.000\t102.200\t0.000\t0.000\t0.000\n"));
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Inroads, "* x\n{ TYPE STATION ELEVATION GRADE VC_LENGTH\n", 0),
            "<none>");

  // A CIR line makes every curve circular; a sixth column gives the radius itself.
  const std::string circular = "{ TYPE STATION ELEVATION SLOPE VC_LENGTH RADIUS\n"
                               "LIN 0+000 100 0.02 0\n"
                               "CIR 0+080 101.6 0.02 40 -1000\n"
                               "LIN 0+120 101.6 -0.02 0\n"
                               "LIN 0+200 100 -0.02 0\n";
  const std::string bytes = ConvertBytes(Calzada_Rasante_Importa_Inroads, circular);
  EXPECT_NE(bytes.find("100.000\t102.000\t1000.000\t20.000\t0.200\r\n"), std::string::npos) << bytes;
  const std::string withoutRadius = "{ TYPE STATION ELEVATION SLOPE VC_LENGTH\n"
                                    "LIN 0+000 100 0.02 0\n"
                                    "CIR 0+080 101.6 0.02 40\n"
                                    "LIN 0+120 101.6 -0.02 0\n"
                                    "LIN 0+200 100 -0.02 0\n";
  const double radius = 20 / std::tan((std::atan(0.02) - std::atan(-0.02)) / 2);
  char expected[64];
  std::snprintf(expected, sizeof expected, "100.000\t102.000\t%0.3lf\t20.000\t%0.3lf\r\n", radius,
                std::sqrt(radius * radius + 400) - radius);
  EXPECT_NE(ConvertBytes(Calzada_Rasante_Importa_Inroads, withoutRadius).find(expected), std::string::npos);
}

TEST(CalzadaMxroadProfile, OverlappingCurvesKeepNoCurveOnTheLaterVertex) {
  const std::string listing =
      "1 a b 100.000 0.000 x 0 c d e\n"
      "2 a b 102.000 100.000 x -2500 c d e\n"
      "2 a b 999.000 110.000 x 2500 c d e\n"
      "3 a b 100.000 200.000 x 3000 c d e\n"
      "4 a b 104.000 400.000 x 0 c d e\n"
      "5 a b 104.000 500.000 x 0 c d\n";
  // Vertex 2's curve (T 50) reaches 150; vertex 3's (T 60) would start at 140: it keeps none.
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Mxroad, listing),
            NativeLine(0, 100, 0, 0, 0) + NativeLine(100, 102, 2500, 50, 0.5) + NativeLine(200, 100, 0, 0, 0) +
                NativeLine(400, 104, 0, 0, 0));
}

TEST(CalzadaIspolProfile, ListingLinesAndTheEndOfTheList) {
  std::string fixed(70, ' ');
  fixed.replace(0, 4, "VERT");
  fixed.replace(32, 12, "    1500.000");
  fixed.replace(45, 12, "    1 250.00");  // blanks inside a number are dropped
  fixed.replace(58, 12, "     612.340");
  const std::string listing =
      "# ISPOL\n"
      "# RASANTE\n"
      "TITULO DE LA RASANTE\n"
      "1 2 3\n"          // before the first two-field line: ignored
      "1000.000 600.000\n"
      "V1 1100.000 605.000\n" +
      fixed + "\n" +
      "x y z w 0 0 0\n"   // all zero in the columns: skipped
      "FIN 1400.000 610.000\n"
      "\n"
      "1500 620\n";
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Ispol, listing),
            NativeLine(1000, 600, 0, 0, 0) + NativeLine(1100, 605, 0, 0, 0) + NativeLine(1250, 612.34, 1500, 0, 0) +
                NativeLine(1400, 610, 0, 0, 0));
}

TEST(CalzadaIspolReport, PageHeadAndGradeLines) {
  TempDir dir;
  const std::string source = std::string(PASARELA_SOURCE_DIR) + "/samples/rasantes/variante.ras";
  const std::string target = dir.File("informe.txt");
  ASSERT_EQ(Calzada_Rasante_Exporta_Ispol(source.c_str(), target.c_str()), 1);
  std::string expected = Fixture("native/variante-informe-ispol.txt");
  expected.replace(expected.find("@SALIDA@"), 8, target);
  EXPECT_EQ(ReadFile(target), expected);

  // A curve that reaches past the first vertex is left out of the report.
  WriteFile(dir.File("r.ras"), "0 100 0 0 0\n50 101 1000 60 0.1\n200 99 1000 20 0.1\n300 100 0 0 0\n");
  ASSERT_EQ(Calzada_Rasante_Exporta_Ispol(dir.File("r.ras").c_str(), target.c_str()), 1);
  const std::string report = ReadFile(target);
  EXPECT_EQ(report.find("       50.000"), std::string::npos);
  EXPECT_NE(report.find("    -1.333333       40.000     1000.000      200.000       99.000      180.000"),
            std::string::npos)
      << report;
}

TEST(CalzadaDragadosAndWtrazado, LastLinesAndListStart) {
  // The last line has no line feed and still counts.
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_DragadosMDW, "1 0 100 0 0\n2 100 102 0 -2500\n3 200 100 0 0"),
            NativeLine(0, 100, 0, 0, 0) + NativeLine(100, 102, 2500, 50, 0.5) + NativeLine(200, 100, 0, 0, 0));
  // A FINAL line also starts the list; numbered lines before it do not count, after it they do.
  EXPECT_EQ(ConvertBytes(Calzada_Rasante_Importa_Wtrazado,
                         "1 V 5 5 5\nfinal 0,0 100,0\n1 V 100,0 102,0 -2500\n0 V 150,0 1,0 1\n"
                         "2 V 200,0 100,0 700\n"),
            NativeLine(0, 100, 0, 0, 0) + NativeLine(100, 102, 2500, 50, 0.5) + NativeLine(200, 100, 0, 0, 0));
}

TEST(CalzadaLocale, SpanishProcessLocaleChangesNoNumber) {
  // The desktop program runs under es_ES, where the decimal separator is a comma.
  if (std::setlocale(LC_ALL, "es_ES.UTF-8") == nullptr) GTEST_SKIP() << "sin locale es_ES.UTF-8";
  const std::string ras = ConvertBytes(Calzada_Rasante_Importa_DragadosMDW, Fixture("dragados/variante-rasante-dragados.txt"));
  const std::string eje = ConvertBytes(Calzada_Eje_Importa_WTrazado, Fixture("wtrazado/variante-wtrazado.txt"));
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ras, SampleProfile());
  EXPECT_EQ(eje, Fixture("native/variante.eje"));
}

TEST(CalzadaIspolReport, StationsOutOfOrderAreStillReadOffTheirGradeLines) {
  // The first pair of vertices that encloses a station gives its elevation, ordered or not.
  calzada::Rasante rasante(4);
  const double values[4][3] = {{0, 100, 0}, {100, 102, 0}, {60, 101, 0}, {200, 100, 0}};
  for (std::size_t i = 0; i < 4; ++i) {
    rasante[i].station = values[i][0];
    rasante[i].elevation = values[i][1];
  }
  rasante[2].tangent = 10;
  rasante[2].kv = 500;
  common::TextWriter writer;
  calzada::FormatIspolReport(rasante, "p", writer);
  // Entry 50 on the grade 0-100 (101.0), exit 70 also there (101.4).
  EXPECT_NE(writer.Bytes().find("       50.000      101.000       70.000      101.400\r\n"), std::string::npos)
      << writer.Bytes();
}
