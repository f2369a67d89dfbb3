#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "calzada.h"
#include "support/test_support.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string Fixture(const std::string& name) { return ReadFile(DataFile(name)); }

// One native line per record as EscribeEjeNativo lays it out.
std::string NativeLine(double station, double x, double y, double azimuth, double parameter, double radius) {
  char line[160];
  std::snprintf(line, sizeof line, "%15.3lf %9.3lf %10.3lf %7.4lf %7.3lf %7.3lf\r\n", station, x, y, azimuth,
                parameter, radius);
  return line;
}

std::string PltLine(double station, double radius, double parameter, double azimuth = 100) {
  char line[160];
  std::snprintf(line, sizeof line, "%12.4lf ,%13.4lf ,%13.4lf ,%11.5lf ,%12.4lf ,%12.4lf\n", station, 1000 + station,
                2000.0, azimuth, radius, parameter);
  return line;
}

struct NativeRecord {
  double station, x, y, azimuth, parameter, radius;
};

std::vector<NativeRecord> ReadNative(const std::string& bytes) {
  std::vector<NativeRecord> records;
  std::istringstream in(bytes);
  NativeRecord r;
  while (in >> r.station >> r.x >> r.y >> r.azimuth >> r.parameter >> r.radius) records.push_back(r);
  return records;
}

}  // namespace

TEST(CalzadaAlignmentImport, EveryListingOfTheSampleRoadGivesItsNativeAlignment) {
  // Five listings of one road: each must give the same native file, byte for byte.
  const std::string expected = Fixture("native/variante.eje");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Inroads, Fixture("inroads/variante-inroads.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Ispol, ReadFile(DataFile("ispol/variante-ispol.txt"))), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Plroad, Fixture("plroad/variante-plroad.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Mxroad, Fixture("mxroad/variante-mxroad.txt")), expected);
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_WTrazado, Fixture("wtrazado/variante-wtrazado.txt")), expected);
  // PLT carries five decimals of azimuth.
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_ClipPlt, Fixture("clip/variante.plt")), Fixture("clip/variante-plt.eje"));
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Dragados, Fixture("dragados/variante-dragados.txt")),
            Fixture("dragados/variante-dragados.eje"));
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Asotec, Fixture("asotec/variante-asotec.txt")), Fixture("asotec/variante-asotec.eje"));
}

TEST(CalzadaAlignmentImport, UnreadableInputLeavesNoTarget) {
  using Conversion = int32_t (*)(const char*, const char*);
  const Conversion all[] = {Calzada_Eje_Importa_ClipPlt, Calzada_Eje_Exporta_ClipPlt, Calzada_Eje_Importa_Inroads,
                            Calzada_Eje_Importa_Ispol,   Calzada_Eje_Importa_Plroad,  Calzada_Eje_Importa_Mxroad,
                            Calzada_Eje_Importa_Dragados, Calzada_Eje_Importa_Asotec, Calzada_Eje_Importa_WTrazado};
  TempDir dir;
  for (Conversion conversion : all) {
    EXPECT_EQ(conversion(dir.File("falta").c_str(), dir.File("salida").c_str()), 0);
    EXPECT_FALSE(FileExists(dir.File("salida")));
    EXPECT_EQ(conversion(nullptr, nullptr), 0);
  }
}

TEST(CalzadaAlignmentImport, EmptyListings) {
  // A listing without a single element gives no alignment file, whatever its format.
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_ClipPlt, "*PLT1\ntexto\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Mxroad, "", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_WTrazado, "1 RECTA\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Inroads, "", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Ispol, "# nada\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Plroad, "0 0\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Dragados, "1 2 3\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Asotec, "", 0), "<none>");
}

TEST(CalzadaClipPlt, RepeatedStationsInflectionsAndStationOrder) {
  // Two points at one station give one record; of three, two remain.
  std::string plt = "*PLT1\n" + PltLine(0, 0, 0) + PltLine(100, 0, 0) + PltLine(100, 0, 0) + PltLine(200, 0, 0);
  std::string native = ConvertBytes(Calzada_Eje_Importa_ClipPlt, plt);
  EXPECT_EQ(native, NativeLine(0, 1000, 2000, 100, 0, 0) + NativeLine(100, 1100, 2000, 100, 0, 0) +
                        NativeLine(200, 1200, 2000, 100, 0, 0));
  plt = "*PLT1\n" + PltLine(0, 0, 0) + PltLine(50, 0, 0) + PltLine(50, 0, 0) + PltLine(50, 0, 0);
  EXPECT_EQ(ReadNative(ConvertBytes(Calzada_Eje_Importa_ClipPlt, plt)).size(), 3u);

  // An arc of +300 followed by a clothoid leading into -400: a zero-length straight between.
  plt = "*PLT1\n" + PltLine(0, 0, 0) + PltLine(100, 300, 0) + PltLine(150, -400, 200) + PltLine(300, -400, 0);
  native = ConvertBytes(Calzada_Eje_Importa_ClipPlt, plt);
  EXPECT_EQ(native, NativeLine(0, 1000, 2000, 100, 0, 300) + NativeLine(100, 1100, 2000, 100, 0, 0) +
                        NativeLine(100, 1100, 2000, 100, 200, -400) + NativeLine(150, 1150, 2000, 100, 0, -400) +
                        NativeLine(300, 1300, 2000, 100, 0, 0));

  // A point behind its predecessor is moved up to the predecessor's station; text is skipped.
  plt = "*PLT1\nEJE 1\n" + PltLine(0, 0, 0) + PltLine(80, 0, 0) + PltLine(60, 0, 0) + "12, 13\n";
  const std::vector<NativeRecord> records = ReadNative(ConvertBytes(Calzada_Eje_Importa_ClipPlt, plt));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2].station, 80);
  EXPECT_EQ(records[2].x, 1060);
}

TEST(CalzadaClipPlt, ExportLayout) {
  const std::string native =
      "* eje de prueba\n"
      "0.000 1000.000 2000.000 100.000000 0.000 0.000\n"
      "short\n"
      "100.000,1100.000,2000.000,100.000000,150.000,300.000\n"
      "175.000\t1170.000\t2010.000\t108.000000\t0.000\t300.000\n"
      "250.000 1240.000 2030.000\n";
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Exporta_ClipPlt, native),
            CrLf("*PLT1\n"
                 "      0.0000 ,    1000.0000 ,    2000.0000 ,  100.00000 ,      0.0000 ,      0.0000\n"
                 "    100.0000 ,    1100.0000 ,    2000.0000 ,  100.00000 ,      0.0000 ,      0.0000\n"
                 "    175.0000 ,    1170.0000 ,    2010.0000 ,  108.00000 ,    300.0000 ,    150.0000\n"));
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Exporta_ClipPlt, "* solo comentario\n", 0), "<none>");
}

TEST(CalzadaClipPlt, RoundTripKeepsEveryElement) {
  TempDir dir;
  const std::string source = std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje";
  ASSERT_EQ(Calzada_Eje_Exporta_ClipPlt(source.c_str(), dir.File("v.plt").c_str()), 1);
  ASSERT_EQ(Calzada_Eje_Importa_ClipPlt(dir.File("v.plt").c_str(), dir.File("v.eje").c_str()), 1);
  const std::vector<NativeRecord> before = ReadNative(ReadFile(source));
  const std::vector<NativeRecord> after = ReadNative(ReadFile(dir.File("v.eje")));
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(after[i].station, before[i].station, 0.0005);
    EXPECT_NEAR(after[i].x, before[i].x, 0.0005);
    EXPECT_NEAR(after[i].y, before[i].y, 0.0005);
    EXPECT_NEAR(after[i].azimuth, before[i].azimuth, 0.0001);
    EXPECT_NEAR(after[i].parameter, before[i].parameter, 0.0005);
    EXPECT_NEAR(after[i].radius, before[i].radius, 0.0005);
  }
}

TEST(CalzadaInroads, AzimuthUnitsFromTheGeometry) {
  // Grads: an azimuth of 2 pi or more, or arcs that turn as grads predict, keep their units.
  const std::string inGrads =
      "{ TYPE STATION RADIUS X Y AZIMUTH LENGTH\n"
      "LIN 0+000 0 1000.000 2000.000 50.0000 100\n"
      "CIR 0+100 200 1070.711 2070.711 50.0000 100\n"
      "LIN 0+200 0 1150.000 2100.000 81.8310 0\n";
  std::vector<NativeRecord> records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, inGrads));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_NEAR(records[1].azimuth, 50, 1e-9);
  EXPECT_NEAR(records[2].azimuth, 81.831, 1e-9);
  const std::string beyondFullCircle =
      "LIN 0+000 0 1000.000 2000.000 0.5000 100\n"
      "LIN 0+100 0 1070.711 2070.711 6.2900 0\n";
  records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, beyondFullCircle));
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NEAR(records[0].azimuth, 0.5, 1e-9);

  // Radians, with decimal commas and stations in km+m; "P" and "T" lines and short lines skipped.
  const std::string inRadians =
      "* listado\n"
      "LIN  0+000,000  0  1000,000  2000,000  0,785398  100\n"
      "PI   PI-1  0  0  0  0  0  0\n"
      "CIR  0+100,000  200  1070,711  2070,711  0,785398  100\n"
      "LIN  0+200\n"
      "LIN  0+200,000  0  1150,000  2100,000  1,285398  0\n";
  records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, inRadians));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_NEAR(records[1].azimuth, 50, 1e-4);
  EXPECT_NEAR(records[2].azimuth, 81.831, 1e-3);
  EXPECT_EQ(records[1].radius, 200);
  EXPECT_EQ(records[1].parameter, 0);  // an arc never gets a parameter
}

TEST(CalzadaInroads, ClothoidBetweenTwoArcs) {
  // Same turn: A^2 = L Rp Rn / (Rp - Rn) = 100 * 600 * 300 / 300.
  const std::string sameTurn =
      "CIR 0+000 600 0 0 50.0000 0\n"
      "SPI 0+100 0 100 0 60.0000 100\n"
      "CIR 0+200 300 200 0 80.0000 0\n"
      "LIN 0+300 0 300 0 90.0000 0\n";
  std::vector<NativeRecord> records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, sameTurn));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_NEAR(records[1].parameter, std::sqrt(100.0 * 600 * 300 / 300), 0.0005);
  EXPECT_EQ(records[1].radius, 300);
  // Opposite turns: the clothoid goes with the arc whose half-turn fits the change of azimuth.
  const std::string reverse =
      "CIR 0+000 -300 0 0 50.0000 0\n"
      "SPI 0+100 0 100 0 60.0000 100\n"
      "CIR 0+200 500 200 0 70.6103 0\n"
      "LIN 0+300 0 300 0 90.0000 0\n";
  // The change of 10.61 grads is the half-turn of the first arc over 100 m: it ends that arc.
  records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, reverse));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_NEAR(records[1].parameter, std::sqrt(100.0 * 300), 0.0005);
  EXPECT_EQ(records[1].radius, 0);
  // A change of 6.37 grads fits the second arc (500 m): the clothoid leads into it.
  const std::string intoSecond =
      "CIR 0+000 -300 0 0 50.0000 0\n"
      "SPI 0+100 0 100 0 60.0000 100\n"
      "CIR 0+200 500 200 0 66.3662 0\n"
      "LIN 0+300 0 300 0 90.0000 0\n";
  records = ReadNative(ConvertBytes(Calzada_Eje_Importa_Inroads, intoSecond));
  ASSERT_EQ(records.size(), 4u);
  EXPECT_NEAR(records[1].parameter, std::sqrt(100.0 * 500), 0.0005);
  EXPECT_EQ(records[1].radius, 500);
}

TEST(CalzadaIspol, ArcTypesAndRunningStations) {
  const std::string listing =
      "# ISPOL\n"
      "1000.000\n"
      "# comentario tras el origen\n"
      "1 100.000 10 20 0 0 -50.0000\n"
      "3 150.000 110 20 0 0 50.0000 250.000\n"
      "7 60.000 200 20 0 0 70.0000 180.000\n"
      "2 40.000 260 20 0 0 80.0000 300.000\n"
      "# FIN\n"
      "1 999.000 0 0 0 0 0 0\n";
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Ispol, listing),
            NativeLine(1000, 10, 20, 50, 0, 0) + NativeLine(1100, 110, 20, 50, 0, -250) +
                NativeLine(1250, 200, 20, 70, 180, 300) + NativeLine(1310, 260, 20, 80, 0, 300));
}

TEST(CalzadaPlroad, OffsetsAndClothoidRuns) {
  const std::string listing =
      "1000 2000\n"
      "0 0 50 0 0 0\n"
      "10 0 50 0 120 100\n"
      "20 0 55 400 0 172\n"
      "30 0 60 400 120 250\n"
      "40 0 65 0 0 322\n"
      "50 0 65 0 90 400\n"
      "60 0 70 250 0 432\n";
  // The run closed by the straight takes the radii one record back; the run still open at the
  // end does too, and its last clothoid keeps its own radius.
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Plroad, listing),
            NativeLine(0, 1000, 2000, 50, 0, 0) + NativeLine(100, 1010, 2000, 50, 120, 400) +
                NativeLine(172, 1020, 2000, 55, 0, 400) + NativeLine(250, 1030, 2000, 60, 120, 0) +
                NativeLine(322, 1040, 2000, 65, 0, 0) + NativeLine(400, 1050, 2000, 65, 90, 250) +
                NativeLine(432, 1060, 2000, 70, 0, 250));
}

TEST(CalzadaMxroad, OnlyTheExpectedNumbersCount) {
  const std::string listing =
      "1 100.000 200.000 0 0.000 50.0000 0.000 0 0 ST X\n"
      "3 999.000 999.000 0 50.000 50.0000 0.000 0 0 ST X\n"
      "2 150.000 200.000 0 50.000 50.0000 0.000 0 0 SS X\n"
      "3 200.000 200.000 0 90.000 60.0000 -360.000 0 0 SC X\n"
      "4 250.000 200.000 0 150.000 70.0000 -360.000 0 0 CS X Y\n"
      "4 250.000 200.000 0 150.000 70.0000 -360.000 0 0 CS X\n"
      "5 300.000 200.000 0 190.000 75.0000 0.000 0 0 ST X\n";
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Mxroad, listing),
            NativeLine(0, 100, 200, 50, 0, 0) + NativeLine(50, 150, 200, 50, 120, -360) +
                NativeLine(90, 200, 200, 60, 0, -360) + NativeLine(150, 250, 200, 70, 120, 0) +
                NativeLine(190, 300, 200, 75, 0, 0));
}

TEST(CalzadaWtrazado, NamesWithoutCaseAndJoinedFields) {
  const std::string listing =
      "1 recta 0,000 100,000 10,000 20,000 50,0000 0,000\n"
      "2 clot. 100,000 40,000 110,000 20,000 50,0000 120,000\n"
      "3 Circ. 140,000 60,000 150,000 20,000 57,20000-360,000\n"
      "4 RECTA 200,000 0,000 210,000 20,000 60,0000 0\n";
  // The clothoid (A 120, length 40 = 120^2 / 360) leads into the arc and takes its radius; the
  // arc's azimuth and radius stand in one field, the radius from its ninth character.
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_WTrazado, listing),
            NativeLine(0, 10, 20, 50, 0, 0) + NativeLine(100, 110, 20, 50, 120, -360) +
                NativeLine(140, 150, 20, 57.2, 0, -360) + NativeLine(200, 210, 20, 60, 0, 0));
}

TEST(CalzadaTabListings, DragadosAndAsotecLines) {
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Dragados, "x 10 1000.5 2000.25 99.5 -300 150\ncorta 1 2\n"),
            CrLf("10.000\t1000.500\t2000.250\t  99.500\t150.000\t-300.000\n"));
  EXPECT_EQ(ConvertBytes(Calzada_Eje_Importa_Asotec, "10 RECTA 1 2 3 -\n20 CURVA 4 5 6 -250\n30 X 1 2 3\n"),
            CrLf("10.000\t   1.000\t   2.000\t   3.000\t 0.000\t 0.000\n"
                 "20.000\t   4.000\t   5.000\t   6.000\t 0.000\t-250.000\n"));
}
