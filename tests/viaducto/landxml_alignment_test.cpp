#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/message_hook.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/native/native_alignment_file.h"
#include "formats/landxml/landxml_alignment.h"

using namespace testing_support;
using common::AlignmentElement;

namespace {

// Points the temporary directory at a test directory for the fixed-name files.
class TempEnvironment {
 public:
  explicit TempEnvironment(const std::string& directory) {
    const char* previous = std::getenv("TEMP");
    had_ = previous != nullptr;
    if (had_) saved_ = previous;
    ::setenv("TEMP", directory.c_str(), 1);
  }
  ~TempEnvironment() {
    if (had_) {
      ::setenv("TEMP", saved_.c_str(), 1);
    } else {
      ::unsetenv("TEMP");
    }
  }

 private:
  bool had_ = false;
  std::string saved_;
};

std::vector<std::string> g_messages;
void RecordMessage(const char* caption, const char* text) { g_messages.push_back(std::string(caption) + "|" + text); }

class MessageCapture {
 public:
  MessageCapture() {
    g_messages.clear();
    common::SetMessageHook(RecordMessage);
  }
  ~MessageCapture() { common::SetMessageHook(nullptr); }
};

std::string Document(const std::string& alignments) {
  return "<?xml version=\"1.0\"?>\n<LandXML>\n<Alignments>\n" + alignments + "</Alignments>\n</LandXML>\n";
}

const std::vector<std::string> kSamples = {"landxml/A Kolu Güzergah.xml", "landxml/M3_RS-CL.tg.xml",
                                           "landxml/subdivision.xml"};

}  // namespace

TEST(LandXmlAlignmentTest, ListsEveryAlignmentOfTheRealFiles) {
  EXPECT_EQ(viaducto::ListLandXmlAlignments(DataFile("landxml/A Kolu Güzergah.xml")),
            std::vector<std::string>{"K1 A Kolu"});
  EXPECT_EQ(viaducto::ListLandXmlAlignments(DataFile("landxml/M3_RS-CL.tg.xml")),
            std::vector<std::string>{"M3_RS - CL"});
  EXPECT_EQ(viaducto::ListLandXmlAlignments(DataFile("landxml/subdivision.xml")),
            (std::vector<std::string>{"1stave", "2ndave", "3rdave", "4thave", "loop", "mainst"}));
}

TEST(LandXmlAlignmentTest, RealAlignmentsSurviveImportExportImport) {
  TempDir dir;
  for (const std::string& sample : kSamples) {
    const std::size_t count = viaducto::ListLandXmlAlignments(DataFile(sample)).size();
    for (std::size_t selec = 0; selec < count; ++selec) {
      SCOPED_TRACE(sample + " #" + std::to_string(selec));
      const viaducto::LandXmlAlignmentImport first = viaducto::ImportLandXmlAlignment(DataFile(sample), selec);
      ASSERT_EQ(first.parse, viaducto::ParseResult::kComplete);
      ASSERT_TRUE(first.clothoidsSound);
      ASSERT_GE(first.elements.size(), 2u);
      ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(DataFile(sample), selec, dir.File("a.eje")), 1);
      ASSERT_EQ(viaducto::ExportNativeToLandXml(dir.File("a.eje"), dir.File("a.xml")), 1);
      const viaducto::LandXmlAlignmentImport second = viaducto::ImportLandXmlAlignment(dir.File("a.xml"), 0);
      ASSERT_EQ(second.parse, viaducto::ParseResult::kComplete);
      ASSERT_EQ(second.elements.size(), first.elements.size());
      for (std::size_t i = 0; i < first.elements.size(); ++i) {
        const AlignmentElement& a = first.elements[i];
        const AlignmentElement& b = second.elements[i];
        EXPECT_EQ(a.kind, b.kind) << i;
        EXPECT_NEAR(a.station, b.station, 0.001) << i;
        EXPECT_NEAR(a.x, b.x, 0.001) << i;
        EXPECT_NEAR(a.y, b.y, 0.001) << i;
        EXPECT_NEAR(a.radius, b.radius, 0.001) << i;
      }
    }
  }
}

TEST(LandXmlAlignmentTest, ReadsTheRealCurvesAndSpirals) {
  const auto kolu = viaducto::ImportLandXmlAlignment(DataFile("landxml/A Kolu Güzergah.xml"), 0).elements;
  ASSERT_EQ(kolu.size(), 8u);  // seven elements and the end point
  EXPECT_EQ(kolu[1].kind, common::kClothoid);
  EXPECT_DOUBLE_EQ(kolu[1].radius, 280.0);
  EXPECT_NEAR(kolu[1].parameter, 140.0, 1e-9);  // sqrt(70 * 280)
  EXPECT_NEAR(kolu[1].azimuth, 25.2547, 0.0001);  // towards its PI; the file's `dir` is not used
  EXPECT_EQ(kolu[3].kind, common::kClothoid);
  EXPECT_EQ(kolu[3].radius, 0.0);  // leaves the arc of 280
  EXPECT_NEAR(kolu[4].radius, -95.0, 1e-9);
  EXPECT_NEAR(kolu[5].radius, -94.999999982258, 1e-9);
  EXPECT_NEAR(kolu.back().station, 427.237184837352, 1e-6);

  // Curves without `dir` take their direction from the centre; lines from their ends.
  const auto m3 = viaducto::ImportLandXmlAlignment(DataFile("landxml/M3_RS-CL.tg.xml"), 0).elements;
  ASSERT_EQ(m3.size(), 16u);
  EXPECT_NEAR(m3[1].azimuth, m3[0].azimuth, 0.0001);
  EXPECT_NEAR(m3[1].radius, 250.0, 1e-9);
  EXPECT_NEAR(m3[3].radius, -500.0, 1e-9);
  EXPECT_NEAR(m3.back().station, 1266.246238, 1e-5);
  EXPECT_NEAR(m3.back().x, 21531286.430300, 1e-6);
}

TEST(LandXmlAlignmentTest, ImportsTheChosenAlignmentElementByElement) {
  TempDir dir;
  WriteFile(dir.File("three.xml"),
            Document("<Alignment name=\"A\"><CoordGeom><Line><Start>0 0</Start><End>10 0</End></Line></CoordGeom>"
                     "</Alignment>\n<Alignment name=\"B\"/>\n"
                     "<alignment NAME=\"C\" staStart=\"1000\">\n<coordgeom>\n"
                     "<Line staStart=\"5\">\n<Start>100 200</Start>\n<End>\n100 300\n</End>\n</Line>\n"
                     "<Curve rot=\"ccw\" radius=\"50\" staStart=\"99999\">"
                     "<Start>100 300</Start><Center>150 300</Center><End>150 350</End></Curve>"
                     "<Spiral radiusStart=\"INF\" radiusEnd=\"100\" length=\"40\" rot=\"cw\">"
                     "<Start>150 350</Start><PI>150 370</PI><End>155 389</End></Spiral>"
                     "</coordgeom></alignment>\n"));
  EXPECT_EQ(viaducto::ListLandXmlAlignments(dir.File("three.xml")), (std::vector<std::string>{"A", "B", "C"}));
  ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("three.xml"), 2, dir.File("c.eje")), 1);
  // Line: 100 long, azimuth 100 from its ends; arc: a quarter circle of radius 50 to the left;
  // spiral: sqrt(40 * 100); each placed at the running sum of lengths from 1000.
  const auto c = viaducto::ImportLandXmlAlignment(dir.File("three.xml"), 2).elements;
  ASSERT_EQ(c.size(), 4u);
  EXPECT_DOUBLE_EQ(c[0].azimuth, 100.0);
  EXPECT_DOUBLE_EQ(c[0].station, 1000.0);
  EXPECT_DOUBLE_EQ(c[1].radius, -50.0);
  EXPECT_NEAR(c[1].station, 1100.0, 1e-9);
  EXPECT_NEAR(c[1].azimuth, 100.0, 1e-9);
  EXPECT_NEAR(c[2].station, 1100.0 + 25.0 * M_PI, 1e-9);
  EXPECT_NEAR(c[2].parameter, std::sqrt(4000.0), 1e-12);
  EXPECT_NEAR(c[3].station, c[2].station + 40.0, 1e-9);
  EXPECT_NEAR(c[3].x, 389.0, 1e-12);

  // Beyond the last alignment: nothing is written, and the import fails.
  ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("three.xml"), 7, dir.File("none.eje")), 0);
  EXPECT_FALSE(FileExists(dir.File("none.eje")));
}

TEST(LandXmlAlignmentTest, WritesTheImportedColumnsExactly) {
  TempDir dir;
  WriteFile(dir.File("a.xml"), Document("<Alignment name=\"A\" staStart=\"10\" length=\"30\"><CoordGeom>"
                                        "<Line length=\"20\"><Start>0 0</Start><End>0 20</End></Line>"
                                        "</CoordGeom></Alignment>"));
  ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("a.xml"), 0, dir.File("a.eje")), 1);
  EXPECT_EQ(ReadFile(dir.File("a.eje")),
            CrLf("10.00000000\t0.00000000\t0.00000000\t100.00000000\t0.00000000\t0.00000000\n"
                 "30.00000000\t20.00000000\t0.00000000\t100.00000000\t0.00000000\t0.00000000\n"));
}

TEST(LandXmlAlignmentTest, ClothoidsStartingOnAFiniteRadiusNeedAnArcBefore) {
  TempDir dir;
  MessageCapture messages;
  WriteFile(dir.File("first.xml"),
            Document("<Alignment name=\"A\"><CoordGeom><Spiral radiusStart=\"200\" radiusEnd=\"INF\" length=\"10\">"
                     "<Start>0 0</Start><PI>5 0</PI><End>10 0</End></Spiral></CoordGeom></Alignment>"));
  WriteFile(dir.File("line.xml"),
            Document("<Alignment name=\"A\"><CoordGeom><Line><Start>0 0</Start><End>10 0</End></Line>"
                     "<Spiral radiusStart=\"200\" radiusEnd=\"INF\" length=\"10\">"
                     "<Start>10 0</Start><PI>15 0</PI><End>20 0</End></Spiral></CoordGeom></Alignment>"));
  EXPECT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("first.xml"), 0, dir.File("a.eje")), 0);
  EXPECT_TRUE(FileExists(dir.File("a.eje")));
  EXPECT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("line.xml"), 0, dir.File("b.eje")), 0);
  ASSERT_EQ(g_messages.size(), 2u);
  EXPECT_EQ(g_messages[0],
            "Error|El eje no puede empezar con una clotoide con radio inicial distinto de infinito. \nLa "
            "importacion no es correcta");
  EXPECT_EQ(g_messages[1],
            "Error|Hay una recta antes de una clotoide con radio inicial distinto de infinito. \nLa importacion "
            "no es correcta");
  // The GTS conversion stops after such an import.
  TempEnvironment temp(dir.path());
  EXPECT_EQ(MyDll_alandxml2gts(0, dir.File("line.xml").c_str(), dir.File("l.gts").c_str(), dir.path().c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("l.gts")));
}

TEST(LandXmlAlignmentTest, CurvesWithoutRadiusOrCentreAndSpiralsWithoutLength) {
  TempDir dir;
  WriteFile(dir.File("a.xml"),
            Document("<Alignment name=\"A\"><CoordGeom>"
                     "<Curve rot=\"cw\" staStart=\"0\"><Start>0 0</Start><Center>0 100</Center>"
                     "<End>100 100</End></Curve>"
                     "<Curve rot=\"cw\" radius=\"100\" staStart=\"157.0796\"><Start>100 100</Start>"
                     "<End>200 200</End></Curve>"
                     "<Spiral radiusStart=\"100\" radiusEnd=\"INF\" rot=\"cw\" staStart=\"314.159\">"
                     "<Start>200 200</Start><PI>200 230</PI><End>210 250</End></Spiral>"
                     "<Line staStart=\"364.159\"><Start>210 250</Start><End>210 300</End></Line>"
                     "</CoordGeom></Alignment>"));
  const auto e = viaducto::ImportLandXmlAlignment(dir.File("a.xml"), 0).elements;
  ASSERT_EQ(e.size(), 5u);
  // Radius from the centre; a quarter circle turning right.
  EXPECT_EQ(e[0].kind, common::kArc);
  EXPECT_NEAR(e[0].radius, 100.0, 1e-9);
  EXPECT_NEAR(e[1].station, 50.0 * M_PI, 1e-9);
  // A centre found from the chord: the second quarter circle, also to the right.
  EXPECT_EQ(e[1].kind, common::kArc);
  EXPECT_NEAR(e[1].azimuth, 0.0, 1e-6);
  EXPECT_NEAR(e[2].station, 100.0 * M_PI, 1e-9);
  // The spiral spans to the next element's station.
  EXPECT_NEAR(e[3].station - e[2].station, 364.159 - 314.159, 1e-9);
  EXPECT_NEAR(e[2].parameter, std::sqrt(100.0 * 50.0), 1e-9);
}

TEST(LandXmlAlignmentTest, ExportWritesLinesCurvesAndSpiralsExactly) {
  TempDir dir;
  WriteFile(dir.File("eje.eje"),
            "1000.000 0.000 0.000 100.000000 0.000 0.000\n"
            "1100.000 100.000 0.000 100.000000 0.000 -200.000\n"
            "1200.000 195.885 24.483 68.169011 0.000 0.000\n");
  std::tm when{};
  when.tm_year = 106;
  when.tm_mon = 2;
  when.tm_mday = 7;
  when.tm_hour = 18;
  when.tm_min = 30;
  ASSERT_EQ(viaducto::ExportNativeToLandXml(dir.File("eje.eje"), dir.File("Variante 1.xml"), when), 1);
  const std::string bytes = ReadFile(dir.File("Variante 1.xml"));
  const std::string body = bytes.substr(bytes.find("<Alignments>"));
  EXPECT_EQ(bytes.substr(0, 86),
            "<?xml version=\"1.0\"?><LandXML version=\"1.0\" date=\"2006-03-07\" time=\"18:30:00\"><Project");
  // The centre and PI come from the rounded native values: a left turn of radius 200 whose
  // centre lies north of the start.
  EXPECT_EQ(body,
            "<Alignments><Alignment name=\"Variante 1\" staStart=\"1000.000\" length=\"200.000\"><CoordGeom>"
            "<Line length=\"100.000000\" dir=\"100.00000000\"><Start>0.000000 0.000000</Start>"
            "<End>0.000000 100.000000</End></Line>"
            "<Curve rot=\"ccw\" radius=\"200.000000\" length=\"100.000000\" crvType=\"arc\" chord=\"98.96135869\" "
            "dirStart=\"100.00000000\" dirEnd=\"68.16901100\"><Start>0.000000 100.000000</Start>"
            "<Center>199.999313 100.000000</Center><End>24.483000 195.885000</End>"
            "<PI>0.000000 151.069170</PI></Curve></CoordGeom></Alignment></Alignments></LandXML>\r\n");
}

TEST(LandXmlAlignmentTest, ExportWritesClothoidTangentsAndReadsBack) {
  TempDir dir;
  // Straight, entry clothoid A=60 into R=100, arc, exit clothoid, end.
  WriteFile(dir.File("c.eje"),
            "0.000 0.000 0.000 0.000000 0.000 0.000\n"
            "100.000 0.000 100.000 0.000000 60.000 100.000\n"
            "136.000 1.080 135.968 11.459156 0.000 100.000\n"
            "186.000 13.052 184.268 43.289961 60.000 0.000\n"
            "222.000 26.826 217.431 54.749117 0.000 0.000\n");
  ASSERT_EQ(MyDll_aTerrex2LandXML(dir.File("c.eje").c_str(), dir.File("c.xml").c_str()), 1);
  const std::string bytes = ReadFile(dir.File("c.xml"));
  EXPECT_NE(bytes.find("<Spiral radiusStart=\"INF\" radiusEnd=\"100.000000\" rot=\"cw\" spiType=\"clothoid\" "
                       "length=\"36.000000\" tanLong=\"24.04"),
            std::string::npos);
  EXPECT_NE(bytes.find("<Spiral radiusStart=\"100.000000\" radiusEnd=\"INF\" rot=\"cw\""), std::string::npos);
  const auto e = viaducto::ImportLandXmlAlignment(dir.File("c.xml"), 0);
  EXPECT_EQ(e.parse, viaducto::ParseResult::kComplete);
  ASSERT_EQ(e.elements.size(), 5u);
  EXPECT_NEAR(e.elements[1].parameter, 60.0, 1e-6);
  EXPECT_NEAR(e.elements[3].parameter, 60.0, 1e-6);
  EXPECT_EQ(e.elements[3].radius, 0.0);
  EXPECT_NEAR(e.elements[4].station, 222.0, 1e-6);
  EXPECT_NEAR(e.elements[2].azimuth, 11.459156, 1e-4);

  // Nothing to export: no file, and the conversion says so.
  WriteFile(dir.File("empty.eje"), "\n");
  EXPECT_EQ(MyDll_aTerrex2LandXML(dir.File("empty.eje").c_str(), dir.File("e.xml").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("e.xml")));
}

TEST(LandXmlAlignmentTest, ExportsListImportAndConvertToGts) {
  TempDir dir;
  TempEnvironment temp(dir.path());
  const std::string sample = DataFile("landxml/subdivision.xml");
  EXPECT_EQ(MyDll_seleccionaEjeLandXML(sample.c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), CrLf("1stave\n2ndave\n3rdave\n4thave\nloop\nmainst\n"));

  EXPECT_EQ(MyDll_alandxml2gtsWCE(-1, sample.c_str(), dir.File("x.eje").c_str(), ""), 0);
  EXPECT_FALSE(FileExists(dir.File("x.eje")));
  ASSERT_EQ(MyDll_alandxml2gtsWCE(4, sample.c_str(), dir.File("loop.eje").c_str(), ""), 1);
  EXPECT_TRUE(FileExists(dir.File("$$$.xml")));
  viaducto::NativeAlignment loop;
  ASSERT_TRUE(viaducto::ReadNativeAlignment(dir.File("loop.eje"), viaducto::kElementReader, loop));
  EXPECT_GT(loop.elements.size(), 10u);
  EXPECT_NEAR(loop.elements.back().station, 7494.17361643 * common::kInternationalFoot, 0.01);  // feet to metres

  ASSERT_EQ(MyDll_alandxml2gts(4, sample.c_str(), dir.File("loop.gts").c_str(), dir.path().c_str()), 1);
  const std::string gts = ReadFile(dir.File("loop.gts"));
  EXPECT_EQ(gts.substr(0, 6), "START ");
  // The scratch native file is gone.
  std::string listing;
  RunCommand("ls '" + dir.path() + "'", listing);
  EXPECT_EQ(listing.find("pasarela-"), std::string::npos) << listing;

  EXPECT_EQ(MyDll_alandxml2gtsWCE(0, dir.File("missing.xml").c_str(), dir.File("m.eje").c_str(), ""), 0);
  EXPECT_FALSE(FileExists(dir.File("m.eje")));
}

TEST(LandXmlAlignmentTest, GtsImportEqualsTheTwoStepsAndWritesNoFileOfItsOwn) {
  TempDir dir;
  const std::string sample = DataFile("landxml/subdivision.xml");
  {
    TempEnvironment temp(dir.path());
    ASSERT_EQ(MyDll_alandxml2gtsWCE(4, sample.c_str(), dir.File("loop.eje").c_str(), ""), 1);
  }
  // No temporary folder to write in: the conversion needs none.
  TempEnvironment missing(dir.File("no/such/folder"));
  for (const char* settings : {"", "LimiteElementos=100000\r\n"}) {
    SCOPED_TRACE(settings);
    if (settings[0] != '\0') WriteFile(dir.File("jalonex.ini"), settings);
    ASSERT_EQ(MyDll_azemta2gts(dir.File("loop.eje").c_str(), dir.File("steps.gts").c_str(), dir.path().c_str()), 1);
    ASSERT_EQ(MyDll_alandxml2gts(4, sample.c_str(), dir.File("loop.gts").c_str(), dir.path().c_str()), 1);
    EXPECT_EQ(ReadFile(dir.File("loop.gts")), ReadFile(dir.File("steps.gts")));
  }
  EXPECT_NE(ReadFile(dir.File("loop.gts")).find("STRAIGHT"), std::string::npos);
}
