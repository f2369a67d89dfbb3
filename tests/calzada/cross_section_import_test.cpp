// Cross-section importers of InRoads, MxRoad, Dragados MDW, Clip section listings and Ispol,
// and the axis-point pass, on the sample sections and on the cases that tell the rules apart.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "calzada.h"
#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/inroads/inroads.h"
#include "formats/mxroad/mxroad.h"
#include "formats/dragados/dragados.h"
#include "formats/ispol/ispol.h"
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

struct Message {
  std::string caption, text;
};
std::vector<Message> messages;
void CollectMessage(const char* caption, const char* text) { messages.push_back({caption, text}); }

// A line of a fixed-column listing: each text placed from its 1-based column.
std::string Columns(std::initializer_list<std::pair<int, const char*>> fields) {
  std::string line;
  for (const auto& [column, text] : fields) {
    const std::size_t at = static_cast<std::size_t>(column - 1);
    if (line.size() < at) line.resize(at, ' ');
    line.replace(at, std::string(text).size(), text);
  }
  return line + "\n";
}

}  // namespace

TEST(CalzadaCrossSectionImport, EveryListingOfTheSampleSections) {
  const std::string imported = Fixture("native/tramo-importado.tra");
  EXPECT_EQ(ConvertBytes(Calzada_inroads2gts, Fixture("inroads/tramo-inroads.soe")), imported);
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_InRoadsTXT, Fixture("inroads/tramo-inroads.txt")), imported);
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Mxroad, Fixture("mxroad/tramo-mxroad.txt")), imported);
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Mxroad, Fixture("mxroad/tramo-mxroad-bloques.txt")), Fixture("mxroad/tramo-mos.tra"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_DRAGADOSMDW, Fixture("dragados/tramo-dragados.txt")),
            Fixture("dragados/tramo-dragados.tra"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_ClipSeccionPlat, Fixture("clip/tramo-clip-plataforma.txt")),
            Fixture("clip/tramo-plataforma.tra"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_ClipSeccionSubras, Fixture("clip/tramo-clip-subrasante.txt")),
            Fixture("clip/tramo-subrasante.tra"));
  EXPECT_EQ(ConvertBytes(Calzada_TransverInterpolaCota, Fixture("native/tramo-sin-eje.tra")),
            Fixture("native/tramo-eje-interpolado.tra"));
}

TEST(CalzadaCrossSectionImport, IspolGivesTwoFilesAndReportsThem) {
  TempDir dir;
  WriteFile(dir.File("tramo.res"), Fixture("ispol/tramo-ispol.res"));
  messages.clear();
  Calzada_SetMessageHook(CollectMessage);
  EXPECT_EQ(Calzada_Transver_Importa_Ispol(dir.File("tramo.res").c_str(), dir.File("tramo.tra").c_str()), 1);
  Calzada_SetMessageHook(nullptr);
  EXPECT_EQ(ReadFile(dir.File("tramoSub.tra")), Fixture("ispol/tramo-ispolSub.tra"));
  EXPECT_EQ(ReadFile(dir.File("tramoFirme.tra")), Fixture("ispol/tramo-ispolFirme.tra"));
  EXPECT_FALSE(FileExists(dir.File("tramo.tra")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "Conversión realizada con éxito:\nFichero de Subrasante:\t" + dir.File("tramoSub.tra") +
                                  "\nFichero de Rasante:\t" + dir.File("tramoFirme.tra") + "\n");

  messages.clear();
  Calzada_SetMessageHook(CollectMessage);
  EXPECT_EQ(Calzada_Transver_Importa_Ispol(dir.File("no.res").c_str(), dir.File("x.tra").c_str()), 0);
  // A listing without sections gives neither file, and says so.
  WriteFile(dir.File("vacio.res"), "  ispol-V.7.29\n  PROYECTO :   nada\n");
  EXPECT_EQ(Calzada_Transver_Importa_Ispol(dir.File("vacio.res").c_str(), dir.File("y.tra").c_str()), 0);
  Calzada_SetMessageHook(nullptr);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].caption, "Error en la conversión");
  EXPECT_EQ(messages[0].text, "No existe el fichero " + dir.File("no.res"));
  EXPECT_EQ(messages[1].text, "El fichero " + dir.File("vacio.res") + " no contiene ningún perfil transversal");
  for (const char* name : {"xSub.tra", "xFirme.tra", "ySub.tra", "yFirme.tra"}) EXPECT_FALSE(FileExists(dir.File(name)));
}

TEST(CalzadaCrossSectionImport, IspolSectionsEndAndResume) {
  auto row = [](const std::string& talud) { return " " + talud + std::string(90, ' ') + "\n"; };
  const std::string listing =
      "pk: 10.000\n" + row("  5.000  100.000") + row("  5.000  101.000") + row("  5.000  102.000") +
      std::string(75, ' ') + "77\n"               // beyond the point columns: the section goes on
      + row("  9.000  103.000") +                 //
      "  Volumen parcial\n" + row("  1.000    1.000") +  // ends the section; its table is not read
      "pk: abc\n" + row("  2.000    2.000") +              // no numeric station: no section
      "pk: 20.000\n" + row(" -1.000   50.000");
  EXPECT_EQ(calzada::ParseIspolSections(listing, calzada::CapaIspol::kFirme).size(), 5u);
  TempDir dir;
  WriteFile(dir.File("a.res"), listing);
  Calzada_SetMessageHook([](const char*, const char*) {});
  ASSERT_EQ(Calzada_Transver_Importa_Ispol(dir.File("a.res").c_str(), dir.File("a.tra").c_str()), 1);
  Calzada_SetMessageHook(nullptr);
  // Three points at one offset stay in file order, each 1 mm right of the one before.
  EXPECT_EQ(ReadFile(dir.File("aSub.tra")),
            CrLf("   10.000    5.000  100.000 TAL\n   10.000    5.001  101.000 TAL\n   10.000    5.002  102.000 TAL\n"
                 "   10.000    9.000  103.000 TAL\n   20.000   -1.000   50.000 TAL\n"));
}

TEST(CalzadaCrossSectionImport, AxisPointBetweenTheSidesOfASection) {
  EXPECT_EQ(ConvertBytes(Calzada_TransverInterpolaCota,
                         "100 -3 10 A\n100 2 11 B\n"        // crossing: the axis point at 10.6
                         "200 -3 10 A\n200 0 12 EJE\n200 2 11 B\n"  // already there
                         "300 2 10 A\n300 -3 11 B\n"        // right to left
                         "400 -3 10 A\n500 2 11 B\n"),      // another section
            CrLf("  100.000   -3.000   10.000 A\n  100.000    0.000   10.600 0\n  100.000    2.000   11.000 B\n"
                 "  200.000   -3.000   10.000 A\n  200.000    0.000   12.000 EJE\n  200.000    2.000   11.000 B\n"
                 "  300.000    2.000   10.000 A\n  300.000   -3.000   11.000 B\n"
                 "  400.000   -3.000   10.000 A\n  500.000    2.000   11.000 B\n"));
  // The importers run it on their own output: a Clip section listing without axis point.
  EXPECT_EQ(ConvertBytes(Calzada_Transver_ClipSeccionPlat,
                         "     P.K. 100\n" + Columns({{6, " -3.000"}, {14, "  10.000"}, {34, "  2.000"}, {42, "  11.000"}})),
            CrLf("  100.000   -3.000   10.000 \n  100.000    0.000   10.600 0\n  100.000    2.000   11.000 \n"));
  EXPECT_EQ(ConvertBytes(Calzada_TransverInterpolaCota, "solo texto\n", 0), "<none>");
}

TEST(CalzadaCrossSectionImport, AxisPointPassRewritesItsOwnInputWhole) {
  TempDir dir;
  const std::string path = dir.File("a.tra");
  WriteFile(path, "100 -3 10 A\n100 2 11 B\n");
  ::chmod(path.c_str(), 0640);
  ASSERT_EQ(Calzada_TransverInterpolaCota(path.c_str(), path.c_str()), 1);
  EXPECT_EQ(ReadFile(path), CrLf("  100.000   -3.000   10.000 A\n  100.000    0.000   10.600 0\n"
                                 "  100.000    2.000   11.000 B\n"));
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  // A target in a directory that does not exist: the input is left as it was.
  const std::string before = ReadFile(path);
  EXPECT_EQ(Calzada_TransverInterpolaCota(path.c_str(), dir.File("no/a.tra").c_str()), 0);
  EXPECT_EQ(ReadFile(path), before);
}

TEST(CalzadaCrossSectionImport, InRoadsStationsAndLines) {
  EXPECT_DOUBLE_EQ(calzada::ParseInroadsStation("-0+015"), -15);
  EXPECT_DOUBLE_EQ(calzada::ParseInroadsStation("-1+020"), -980);
  EXPECT_DOUBLE_EQ(calzada::ParseInroadsStation("2+345,6"), 2345.6);
  EXPECT_DOUBLE_EQ(calzada::ParseInroadsStation("3"), 3000);
  // A leading "*" is passed over, a missing elevation ("N/A") skips the line, the code keeps
  // its first word.
  EXPECT_EQ(ConvertBytes(Calzada_inroads2gts, "*-0+015  -2,5  10,25 BORDE IZQ\n0+010 1 N/A X\n-0+015 1,5 11\n"),
            CrLf("  -15.000   -2.500   10.250 BORDE\n  -15.000    0.000   10.719 0\n  -15.000    1.500   11.000 \n"));
  // The text listing: only lines whose first field holds "+", six fields at least.
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_InRoadsTXT,
                         "1200 EJE 0 0 0 1\n0+100 EJE 0.5 x y 7,25\n0+100 CORTA 1 2 3\n"),
            CrLf("  100.000    0.500    7.250 EJE\n"));
}

TEST(CalzadaCrossSectionImport, MxroadNumberingCodesAndOrder) {
  const std::string code50(50, 'C');
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Mxroad,
                         "p.k. 20\n1 0 0 7 1 A\n3 0 0 9 3 SALTADO\n2 0 0 8 -1 " + code50 +
                             "\nP.K. 10\n1 0 0 5 4 B\n"),
            CrLf("   10.000    4.000    5.000 B\n   20.000   -1.000    8.000 " + std::string(47, 'C') +
                 "\n   20.000    0.000    7.500 0\n   20.000    1.000    7.000 A\n"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_Mxroad, "CABECERA\n10 0\n5 5\n", 0), "<none>");
}

TEST(CalzadaCrossSectionImport, DragadosSectionsByShortLines) {
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_DRAGADOSMDW,
                         "  2.5     8.0\n100\n  -1.0     9.0\n1e8\n   4.0   7.0\n50\n   3.0\t6.5"),
            CrLf(" 100.000   -1.000    9.000 \n  50.000    3.000    6.500 \n"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_Importa_DRAGADOSMDW, "100\n", 0), "<none>");
}

TEST(CalzadaCrossSectionImport, ClipListingNumbersAndSecondPoint) {
  // "0.000" and "0" are numbers, a blank field is not; a second point at the offset of a first
  // point read is the same point; the subgrade listing takes its second point further right.
  const std::string listing =
      "     p.k. 300\n" + Columns({{6, "  0.000"}, {14, "  20.000"}, {34, "  0.000"}, {42, "  25.000"}}) +
      Columns({{34, "  4.000"}, {42, "  21.000"}, {60, "  6.000"}, {68, "  22.000"}}) +
      Columns({{6, "       "}, {14, "  30.000"}, {34, "      0"}, {42, "  31.000"}});
  EXPECT_EQ(ConvertBytes(Calzada_Transver_ClipSeccionPlat, listing),
            CrLf("  300.000    0.000   20.000 \n  300.000    4.000   21.000 \n  300.000    0.000   31.000 \n"));
  EXPECT_EQ(ConvertBytes(Calzada_Transver_ClipSeccionSubras, listing),
            CrLf("  300.000    0.000   20.000 \n  300.000    6.000   22.000 \n"));
}

TEST(CalzadaCrossSectionImport, UnreadableInputWritesNothing) {
  using Conversion = int32_t (*)(const char*, const char*);
  const Conversion all[] = {Calzada_Transver_Importa_Cliptrv,   Calzada_Transver_Exporta_Cliptrv,
                            Calzada_Transver_Importa_Ispol,     Calzada_Transver_Importa_Mxroad,
                            Calzada_Transver_Importa_InRoadsTXT, Calzada_inroads2gts,
                            Calzada_Transver_Importa_DRAGADOSMDW, Calzada_Transver_ClipSeccionPlat,
                            Calzada_Transver_ClipSeccionSubras, Calzada_TransverInterpolaCota};
  TempDir dir;
  for (Conversion conversion : all) {
    EXPECT_EQ(conversion(dir.File("no-existe").c_str(), dir.File("salida.tra").c_str()), 0);
    EXPECT_EQ(conversion(nullptr, nullptr), 0);
  }
  EXPECT_FALSE(FileExists(dir.File("salida.tra")));
  EXPECT_FALSE(FileExists(dir.File("salidaSub.tra")));
}
