#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/text_input.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "viaducto/alignment/foreign_alignment.h"
#include "formats/istram/istram.h"
#include "formats/ispol/ispol.h"
#include "formats/clip/clip.h"
#include "formats/mxroad/mxroad.h"
#include "formats/htrazado/htrazado.h"
#include "formats/cartomap/cartomap.h"
#include "formats/landxml/landxml_alignment.h"

using namespace testing_support;
using common::AlignmentElement;

namespace {

// Every alignment listing here describes the road of samples/ejes/variante.eje.
std::string Variante() { return std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje"; }
std::string SettingsDir() { return std::string(PASARELA_SOURCE_DIR) + "/samples/ejes"; }
std::string Listing(const std::string& name) { return DataFile(name); }

std::string NoScratchLeft(const std::string& directory) {
  std::string listing;
  RunCommand("ls -A '" + directory + "' | grep pasarela- || true", listing);
  return listing;
}

}  // namespace

TEST(ForeignAlignmentTest, EveryListingOfTheRoadGivesItsNativeFile) {
  TempDir dir;
  const std::string expected = ReadFile(Variante());  // already with CR LF
  ASSERT_EQ(MyDll_aistram2zemta(Listing("istram/variante-istram.asc").c_str(), dir.File("istram.eje").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("istram.eje")), expected);
  ASSERT_EQ(MyDll_aclipplt2zemta(Listing("clip/variante-azimut-6-decimales.plt").c_str(), dir.File("plt.eje").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("plt.eje")), expected);
  const std::vector<std::pair<viaducto::AlignmentParser, std::string>> others = {
      {viaducto::ParseIstramElementList, "istram/variante-istram-listado.txt"},
      {viaducto::ParseIspolAlignment, "ispol/variante-ispol.txt"},
      {viaducto::ParseHTrazadoAlignment, "htrazado/variante-htrazado.res"}};
  for (const auto& [parser, name] : others) {
    ASSERT_EQ(viaducto::ConvertForeignAlignment(parser, Listing(name), dir.File("out.eje")), 1) << name;
    EXPECT_EQ(ReadFile(dir.File("out.eje")), expected) << name;
  }
}

TEST(ForeignAlignmentTest, ListingsToGtsMatchTheNativeConversion) {
  TempDir dir;
  ::setenv("TEMP", dir.path().c_str(), 1);
  ASSERT_EQ(MyDll_azemta2gts(Variante().c_str(), dir.File("pt.gts").c_str(), dir.path().c_str()), 1);
  ASSERT_EQ(MyDll_azemta2gts(Variante().c_str(), dir.File("el.gts").c_str(), SettingsDir().c_str()), 1);
  using Export = int32_t (*)(const char*, const char*, const char*);
  const std::vector<std::pair<Export, std::string>> exports = {
      {MyDll_aistram2gts, "istram/variante-istram.asc"},        {MyDll_aistramList2gts, "istram/variante-istram-listado.txt"},
      {MyDll_aispol2gts, "ispol/variante-ispol.txt"},          {MyDll_aclipplt2gts, "clip/variante-azimut-6-decimales.plt"},
      {MyDll_ahtrazado2gts, "htrazado/variante-htrazado.res"}};
  for (const auto& [conversion, name] : exports) {
    ASSERT_EQ(conversion(Listing(name).c_str(), dir.File("a.gts").c_str(), dir.path().c_str()), 1) << name;
    EXPECT_EQ(ReadFile(dir.File("a.gts")), ReadFile(dir.File("pt.gts"))) << name;
    ASSERT_EQ(conversion(Listing(name).c_str(), dir.File("b.gts").c_str(), SettingsDir().c_str()), 1) << name;
    EXPECT_EQ(ReadFile(dir.File("b.gts")), ReadFile(dir.File("el.gts"))) << name;
  }
  EXPECT_EQ(NoScratchLeft(dir.path()), "");
  ::unsetenv("TEMP");
}

TEST(ForeignAlignmentTest, ListingsToLandXmlReadBackAsTheRoad) {
  TempDir dir;
  ASSERT_EQ(MyDll_aTerrex2LandXML(Variante().c_str(), dir.File("native.xml").c_str()), 1);
  const auto expected = viaducto::ImportLandXmlAlignment(dir.File("native.xml"), 0).elements;
  ASSERT_EQ(expected.size(), 9u);
  using Export = int32_t (*)(const char*, const char*);
  const std::vector<std::pair<Export, std::string>> exports = {
      {MyDll_aistram2LandXML, "istram/variante-istram.asc"},     {MyDll_aistramList2LandXML, "istram/variante-istram-listado.txt"},
      {MyDll_aispol2LandXML, "ispol/variante-ispol.txt"},       {MyDll_aclipplt2LandXML, "clip/variante-azimut-6-decimales.plt"},
      {MyDll_ahtrazado2LandXML, "htrazado/variante-htrazado.res"}};
  for (const auto& [conversion, name] : exports) {
    ASSERT_EQ(conversion(Listing(name).c_str(), dir.File("variante.xml").c_str()), 1) << name;
    const auto back = viaducto::ImportLandXmlAlignment(dir.File("variante.xml"), 0);
    EXPECT_EQ(back.parse, viaducto::ParseResult::kComplete) << name;
    ASSERT_EQ(back.elements.size(), expected.size()) << name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(back.elements[i].kind, expected[i].kind) << name << " " << i;
      EXPECT_NEAR(back.elements[i].station, expected[i].station, 0.001) << name << " " << i;
      EXPECT_NEAR(back.elements[i].radius, expected[i].radius, 0.001) << name << " " << i;
      EXPECT_NEAR(back.elements[i].parameter, expected[i].parameter, 0.001) << name << " " << i;
    }
  }
}

TEST(ForeignAlignmentTest, MissingListingsWriteNothingAndFail) {
  TempDir dir;
  const std::string missing = dir.File("none.txt");
  const std::string out = dir.File("out");
  EXPECT_EQ(MyDll_aistram2zemta(missing.c_str(), out.c_str()), 0);
  EXPECT_EQ(MyDll_aclipplt2zemta(missing.c_str(), out.c_str()), 0);
  EXPECT_EQ(MyDll_ejecartomap2terrex(missing.c_str(), out.c_str()), 0);
  EXPECT_EQ(MyDll_amxroad2gts(missing.c_str(), out.c_str(), dir.path().c_str()), 0);
  EXPECT_EQ(MyDll_aispol2LandXML(missing.c_str(), out.c_str()), 0);
  // A listing without a single element is no alignment either.
  WriteFile(dir.File("empty.plt"), "*PLT1\n");
  EXPECT_EQ(MyDll_aclipplt2gts(dir.File("empty.plt").c_str(), out.c_str(), dir.path().c_str()), 0);
  EXPECT_FALSE(FileExists(out));
}

TEST(IstramAlignmentTest, FixedColumnsDataLinesAndRadiusRules) {
  auto line = [](const std::string& keyword, double station, double x, double radius, double parameter) {
    char text[256];
    std::snprintf(text, sizeof text, "   %-5s%14s%12.3f %12.3f %12.3f %12.3f %12.3f %12.6f  x", keyword.c_str(), "",
                  station, x, 5.0, radius, parameter, 10.0);
    return std::string(text);
  };
  std::string shortLine = line("RECTA", 1, 1, 0, 0).substr(0, 99);
  const std::string text = shortLine + "\n" + line("RECTA", 0, 1, 0, 0) + "\n" + line("CLOT.", 100, 2, 0, 60) +
                           "\n" + line("CIRC.", 150, 3, 300, 0) + "\n" + line("", 200, 4, 250, 0) + "\n" +
                           "short\n" + line("XXXXX", 999, 9, 0, 0) + "\n" + line("CIRC.", 300, 5, -80, 0) + "\n" +
                           line("RECTA", 300, 6, 0, 0) + "\n";
  const auto e = viaducto::ParseIstramAlignment(text);
  // The 99-character line is no data line; the keyword-less line continues the run; the
  // line after "short" starts no run.
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].x, 1.0);
  EXPECT_EQ(e[1].radius, 300.0);  // the clothoid leads into the arc of 300
  EXPECT_EQ(e[1].kind, common::kClothoid);
  EXPECT_EQ(e[3].station, 200.0);
  EXPECT_EQ(e[4].kind, common::kStraight);  // same station as the next record
  EXPECT_EQ(e[4].radius, 0.0);
}

TEST(IspolAlignmentTest, TypesStationsAndClothoidRadii) {
  const auto e = viaducto::ParseIspolAlignment(
      "# eje\n100.5\n# cabecera\n1 50 0 0 0 0 -100\n4 30 50 0 0 0 100 60\n3 40 80 1 0 0 110 250\n"
      "5 30 100 10 0 0 120 60\n1 0 120 20 0 0 130\n# fin\n1 10 0 0 0 0 0\n");
  ASSERT_EQ(e.size(), 5u);
  EXPECT_EQ(e[0].station, 100.5);
  EXPECT_EQ(e[0].azimuth, 100.0);  // taken without sign
  EXPECT_EQ(e[1].station, 150.5);
  EXPECT_EQ(e[1].radius, -250.0);  // type 4 takes the radius of the arc after it
  EXPECT_EQ(e[1].parameter, 60.0);
  EXPECT_EQ(e[2].radius, -250.0);
  EXPECT_EQ(e[3].radius, 0.0);
  EXPECT_EQ(e[4].station, 250.5);
}

TEST(ClipPltAlignmentTest, RadiusAndParameterMoveOneRecordBack) {
  const auto e = viaducto::ParseClipPltAlignment(
      "*PLT1\n0.0000 ,100.0000 ,200.0000 ,10.00000 ,0.0000 ,0.0000\n"
      "50.0000 ,150.0000 ,200.0000 ,10.00000 ,150.0000 ,0.0000\n# nota\nshort\n"
      "90.0000 ,180.0000 ,220.0000 ,30.00000 ,0.0000 ,0.0000\n");
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].radius, 150.0);
  EXPECT_EQ(e[0].kind, common::kArc);
  EXPECT_EQ(e[0].length, 50.0);
  EXPECT_EQ(e[1].radius, 0.0);
  EXPECT_EQ(e[2].radius, 0.0);
}

TEST(MxRoadAlignmentTest, MergesPointsIntoStraightsArcsAndClothoids) {
  TempDir dir;
  std::string text;
  ASSERT_TRUE(common::LoadTextFile(Listing("mxroad/variante-mxroad-cadena.txt"), text));
  const auto e = viaducto::ParseMxRoadAlignment(text);
  ASSERT_EQ(e.size(), 6u);
  const double a = std::sqrt(500.0 * 40.0);
  const double stations[] = {0, 100, 140, 200, 240, 300};
  const double radii[] = {0, 500, 500, 0, 0, 0};
  const double parameters[] = {0, a, 0, a, 0, 0};
  for (std::size_t i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(e[i].station, stations[i]) << i;
    EXPECT_DOUBLE_EQ(e[i].radius, radii[i]) << i;
    EXPECT_NEAR(e[i].parameter, parameters[i], 1e-9) << i;
  }
  EXPECT_DOUBLE_EQ(e[1].x, 442100.0);
  EXPECT_NEAR(e[0].azimuth, 1.1071487177940904 * 63.66197723675813, 1e-9);

  // A "D" exponent reads as an "E" one.
  const std::string pair = "  1.500000000000000D+02  2.000000000000000D+02  0.000000000000000D+00\n"
                           "  0.000000000000000D+00  0.000000000000000D+00  9.999999000000000D+05\n";
  const auto single = viaducto::ParseMxRoadAlignment(pair);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].x, 150.0);

  ASSERT_EQ(MyDll_amxroad2gts(Listing("mxroad/variante-mxroad-cadena.txt").c_str(), dir.File("m.gts").c_str(), dir.path().c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("m.gts")).substr(0, 6), "START ");
}

TEST(CartomapAlignmentTest, NineColumnsWithStationsInKilometresAndMetres) {
  TempDir dir;
  ASSERT_EQ(MyDll_ejecartomap2terrex(Listing("cartomap/variante-cartomap.txt").c_str(), dir.File("c.eje").c_str()), 8);
  EXPECT_EQ(ReadFile(dir.File("c.eje")), ReadFile(Listing("cartomap/variante-cartomap.expected")));

  const auto e = viaducto::ParseCartomapAlignment(
      "2+125.5\t1\t2\t3\t4\t5\tRECTA\n-1+200\t1\t2\t3\t4\t5\trecta\n-5\t1\t2\t3\t4\t5\tRecta\n"
      "7.5\t1\t2\t3\t4\t5\tCurva\n7.5\tx\t2\t3\t4\t5\tOtro\t9\n8.5\tx\t2\t3\t4\t5\tCurva\t-90\n");
  ASSERT_EQ(e.size(), 4u);
  EXPECT_EQ(e[0].station, 2125.5);
  EXPECT_EQ(e[1].station, -1200.0);
  EXPECT_EQ(e[2].station, 0.0);
  EXPECT_EQ(e[3].radius, -90.0);
  EXPECT_EQ(e[3].x, 0.0);
}
