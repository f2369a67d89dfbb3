#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "common/text_input.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/landxml/landxml_profile.h"
#include "formats/native/native_profile.h"

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const char kDocumentStart[] =
    "<?xml version=\"1.0\"?><LandXML version=\"1.0\" date=\"2026-03-04\" time=\"05:06:07\"><Project name=\"Prueba\"/>"
    "<Units><Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" volumeUnit=\"cubicMeter\" "
    "temperatureUnit=\"celsius\" pressureUnit=\"mmHG\" angularUnit=\"grads\" directionUnit=\"grads\"/></Units>"
    "<Application name=\"Terrex\" version=\"4.0\" manufacturerURL=\"https://www.zemta.example\">"
    "<Author createdByEmail=\"soporte@zemta.example\" company=\"Zemta-I.T.\" "
    "companyURL=\"https://www.zemta.example\"/></Application>";

std::tm FixedTime() {
  std::tm when{};
  when.tm_year = 126;
  when.tm_mon = 2;
  when.tm_mday = 4;
  when.tm_hour = 5;
  when.tm_min = 6;
  when.tm_sec = 7;
  return when;
}

// Points the fixed temporary files of the selection exports into `dir` for one test.
class TempDirectoryScope {
 public:
  explicit TempDirectoryScope(const std::string& dir) { ::setenv("TEMP", dir.c_str(), 1); }
  ~TempDirectoryScope() { ::unsetenv("TEMP"); }
};

}  // namespace

TEST(LandXmlProfile, ExportWritesPviAndParaCurves) {
  TempDir dir;
  const viaducto::Profile profile =
      common::ParseNativeProfileForLandXml("0 100 0 0 0\n100 102 2500 50 0.5\n200 100 0 0 0\n");
  ASSERT_EQ(viaducto::ExportProfileToLandXml(profile, dir.File("rasante norte.xml"), FixedTime()), 1);
  EXPECT_EQ(ReadFile(dir.File("rasante norte.xml")),
            std::string(kDocumentStart) +
                "<Profile><ProfAlign name=\"rasante norte\"><PVI>0.000 100.000</PVI><ParaCurve length=\"100.000\">"
                "100.000 102.000</ParaCurve><PVI>200.000 100.000</PVI></ProfAlign></Profile></LandXML>\r\n");
  EXPECT_EQ(viaducto::ExportProfileToLandXml({}, dir.File("vacio.xml"), FixedTime()), 0);
  EXPECT_FALSE(FileExists(dir.File("vacio.xml")));
}

TEST(LandXmlProfile, RoundTripKeepsStationElevationAndCurveLength) {
  TempDir dir;
  TempDirectoryScope temp(dir.path());
  const std::string native = "0 100 0 0 0\n120.5 103.25 0 60 0\n300 98.125 0 45.5 0\n480 101 0 0 0\n";
  WriteFile(dir.File("eje.ras"), native);
  ASSERT_EQ(MyDll_rterrex2landxml(dir.File("eje.ras").c_str(), dir.File("perfil.xml").c_str()), 1);
  MyDll_seleccionaRasanteLandXML(dir.File("perfil.xml").c_str());
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), CrLf(": perfil\n"));
  ASSERT_EQ(MyDll_rlandxml2gtsWCE(": PERFIL", dir.File("perfil.xml").c_str(), dir.File("vuelta.ras").c_str()), 1);
  EXPECT_TRUE(FileExists(dir.File("$$$.xml")));
  std::string back = ReadFile(dir.File("vuelta.ras"));
  common::NormalizeLineEnds(back);
  const viaducto::Profile before = common::ParseNativeProfile(native);
  const viaducto::Profile after = common::ParseNativeProfile(back);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_NEAR(after[i].station, before[i].station, 0.001);
    EXPECT_NEAR(after[i].elevation, before[i].elevation, 0.001);
    EXPECT_NEAR(after[i].tangent, before[i].tangent, 0.001);
  }
  EXPECT_GT(after[1].kv, 0);
}

TEST(LandXmlProfile, ListingsGoThroughTheTemporaryNativeFile) {
  TempDir dir;
  WriteFile(dir.File("rasante.txt"), "0 100 a b c d 2 0\n100 102 a b c d -2 2500\n200 100 a b c d 0 0\n");
  ASSERT_EQ(MyDll_ristram2landxml(dir.File("rasante.txt").c_str(), dir.File("istram.xml").c_str()), 1);
  const std::string xml = ReadFile(dir.File("istram.xml"));
  EXPECT_NE(xml.find("<ProfAlign name=\"istram\"><PVI>0.000 100.000</PVI><ParaCurve length=\"100.000\">100.000 "
                     "102.000</ParaCurve><PVI>200.000 100.000</PVI></ProfAlign>"),
            std::string::npos);
  WriteFile(dir.File("ispol.txt"), "# cabecera\n0 100 a b c d 0 0\n100 102 a b c d 2 2500\n200 100 a b c d -2 0\n");
  ASSERT_EQ(MyDll_rispol2landxml(dir.File("ispol.txt").c_str(), dir.File("ispol.xml").c_str()), 1);
  EXPECT_NE(ReadFile(dir.File("ispol.xml")).find("<ParaCurve length=\"100.000\">"), std::string::npos);
  EXPECT_EQ(MyDll_ristram2landxml(dir.File("no.txt").c_str(), dir.File("no.xml").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("no.xml")));
}

TEST(LandXmlProfile, SelectionListsEveryProfileOfEveryAlignmentOnce) {
  TempDir dir;
  TempDirectoryScope temp(dir.path());
  WriteFile(dir.File("dos.xml"),
            "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\"><Alignments>"
            "<Alignment name=\"A1\"><Profile><ProfSurf name=\"terreno\"/><ProfAlign name=\"P1\"/>"
            "<profalign NAME=\"P2\"/><ProfAlign name=\"P1\"/><ProfAlign/></Profile></Alignment>"
            "<Alignment name=\"A2\"><Profile><ProfAlign name=\"P1\"/></Profile></Alignment></Alignments></LandXML>");
  MyDll_seleccionaRasanteLandXML(dir.File("dos.xml").c_str());
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), CrLf("A1: P1\nA1: P2\nA2: P1\n"));

  MyDll_seleccionaRasanteLandXML(DataFile("landxml/subdivision.xml").c_str());
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")),
            CrLf("1stave: FGCenter\n2ndave: FGCenter\n3rdave: FGCenter\n4thave: FGCenter\nloop: FGCenter\n"
                 "mainst: FGCenter\n"));
}

TEST(LandXmlProfile, ImportsRealProfilesWithParabolasAndCircles) {
  // Land Desktop: PVI and ParaCurve, feet, read in metres.
  const viaducto::LandXmlProfileImport loop =
      viaducto::ImportLandXmlProfile(DataFile("landxml/subdivision.xml"), "LOOP: fgcenter");
  ASSERT_EQ(loop.parse, viaducto::ParseResult::kComplete);
  ASSERT_EQ(loop.profile.size(), 13u);
  const double foot = common::kInternationalFoot;
  EXPECT_NEAR(loop.profile[1].tangent, 75 * foot, 1e-9);
  EXPECT_NEAR(loop.profile[1].station, 478.590362 * foot, 1e-6);
  EXPECT_NEAR(loop.profile[1].elevation, 270.188193 * foot, 1e-6);
  const double gradeIn = (270.188193 - 279.76) / 478.590362;
  const double gradeOut = (265.183205 - 270.188193) / (645.423282 - 478.590362);
  EXPECT_NEAR(loop.profile[1].kv, 150 * foot / std::fabs(gradeOut - gradeIn), 1e-6);
  EXPECT_EQ(viaducto::ImportLandXmlProfile(DataFile("landxml/subdivision.xml"), "mainst: FGCenter").profile.size(), 2u);

  // CircCurve with a signed radius: the radius comes back from the curve length and grades.
  const viaducto::LandXmlProfileImport m3 =
      viaducto::ImportLandXmlProfile(DataFile("landxml/M3_RS-CL.tg.xml"), "M3_RS - CL: M3_RS - CL");
  ASSERT_EQ(m3.profile.size(), 13u);
  EXPECT_NEAR(m3.profile[2].station, 77.651516, 1e-6);
  EXPECT_NEAR(m3.profile[2].tangent, 48.653858 / 2, 1e-6);
  EXPECT_NEAR(m3.profile[2].kv, 1500, 1);
  EXPECT_NEAR(m3.profile[3].kv, 2000, 1);
  EXPECT_NEAR(m3.profile[4].kv, 3000, 1);

  TempDir dir;
  ASSERT_EQ(MyDll_rlandxml2gts("M3_RS - CL: M3_RS - CL", DataFile("landxml/M3_RS-CL.tg.xml").c_str(),
                               dir.File("m3.gts").c_str()),
            1);
  const std::string gts = ReadFile(dir.File("m3.gts"));
  const std::string head = CrLf("     0.000   16.881     0.000\n     3.780   16.933     0.000\n    77.652   16.564    48.654\n");
  EXPECT_EQ(gts.substr(0, head.size()), head);
  EXPECT_EQ(gts.substr(gts.size() - 31), CrLf("  1266.246   19.377     0.000\n"));

  // No matching profile: a file without vertex lines. No readable input: nothing.
  ASSERT_EQ(MyDll_rlandxml2gts("x: y", DataFile("landxml/M3_RS-CL.tg.xml").c_str(), dir.File("none.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("none.gts")), "");
  EXPECT_EQ(MyDll_rlandxml2gts("x: y", dir.File("missing.xml").c_str(), dir.File("missing.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("missing.gts")));
}

TEST(LandXmlProfile, CircularCurvesOnlyWhereTheDocumentHasThem) {
  TempDir dir;
  WriteFile(dir.File("mixto.xml"),
            "<LandXML><Alignments><Alignment name=\"E\"><Profile><ProfAlign name=\"R\">"
            "<PVI>0 100</PVI><ParaCurve length=\"100\">100 102</ParaCurve>"
            "<CircCurve length=\"100\" radius=\"-2500\">200 100</CircCurve><PVI>300 102</PVI>"
            "</ProfAlign></Profile></Alignment></Alignments><Extra/></LandXML>");
  const viaducto::LandXmlProfileImport mixed = viaducto::ImportLandXmlProfile(dir.File("mixto.xml"), "E: R");
  ASSERT_EQ(mixed.profile.size(), 4u);
  EXPECT_NEAR(mixed.profile[1].kv, 2500, 1e-9);  // parabola: L / |change of grade|
  const double radius = 50 / std::tan((std::atan(-0.02) - std::atan(0.02)) / 2);
  EXPECT_NEAR(mixed.profile[2].kv, std::fabs(radius), 1e-9);
}
