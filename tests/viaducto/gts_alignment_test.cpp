#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

#include "common/text_input.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/gts/gts_alignment.h"
#include "formats/native/native_alignment_file.h"
#include "formats/gts/element_limit.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// Both GTS forms of a native alignment given as text: the intersection-point form and, through
// a jalonex.ini whose limit is high, the element form.
struct BothForms {
  std::string intersections;
  std::string elements;
};

BothForms Convert(const std::string& native) {
  TempDir dir;
  WriteFile(dir.File("eje.eje"), native);
  WriteFile(dir.File("jalonex.ini"), "LimiteElementos=100000\r\n");
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("eje.eje").c_str(), dir.File("pt.gts").c_str()), 1);
  EXPECT_EQ(MyDll_azemta2gts(dir.File("eje.eje").c_str(), dir.File("el.gts").c_str(), dir.path().c_str()), 1);
  return BothForms{ReadFile(dir.File("pt.gts")), ReadFile(dir.File("el.gts"))};
}

}  // namespace

TEST(GtsAlignment, SingleRecordIsOnlyAStart) {
  const BothForms gts = Convert("0 1000 2000 0 0 0\n");
  EXPECT_EQ(gts.intersections, CrLf("START 0.000, 1000.0000, 2000.0000\n"));
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 1000.0000, 2000.0000\nSTRAIGHT  0.0000,0.0000\n"));
}

TEST(GtsAlignment, TwoStraightsGiveVertices) {
  const BothForms gts = Convert("0 0 0 50 0 0\r\n141.421 100 100 100 0 0\r\n241.421 200 100 100 0 0\r\n");
  EXPECT_EQ(gts.intersections, CrLf("START 0.000, 0.0000, 0.0000\nPT 100.0000, 100.0000\nPT 200.0000, 100.0000\n"));
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 0.0000, 0.0000\nSTRAIGHT  50.0000,141.4210\n"
                               "STRAIGHT  100.0000,100.0000\nSTRAIGHT  100.0000,0.0000\n"));
}

TEST(GtsAlignment, LeftArcBetweenStraights) {
  // Heading east, a left turn of 100 grads with radius 80, then north.
  const BothForms gts = Convert("0 0 0 100 0 0\n100 100 0 100 0 -80\n225.664 180 80 0 0 0\n275.664 180 130 0 0 0\n");
  EXPECT_EQ(gts.intersections, CrLf("START 0.000, 0.0000, 0.0000\nPT 180.0000, 0.0000, 80.0000\nPT 180.0000, 130.0000\n"));
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 0.0000, 0.0000\nSTRAIGHT  100.0000,100.0000\nARC  -80.0000,125.6640\n"
                               "STRAIGHT  0.0000,50.0000\nSTRAIGHT  0.0000,0.0000\n"));
}

TEST(GtsAlignment, CurveWithClothoidsTakesTangentsFromTheStraights) {
  const BothForms gts = Convert(
      "0 0 0 100 0 0\n100 100 0 100 60 100\n136 135.9 2.2 111.459 0 100\n200 190 40 180 60 0\n"
      "236 200 100 0 0 0\n336 200 200 0 0 0\n");
  EXPECT_EQ(gts.intersections,
            CrLf("START 0.000, 0.0000, 0.0000\nPT 200.0000, 0.0000, 100.0000, 60.0000, 60.0000\nPT 200.0000, 200.0000\n"));
  // The exit clothoid stores no radius and takes the arc's.
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 0.0000, 0.0000\nSTRAIGHT  100.0000,100.0000\nSPIRAL  100.0000,36.0000\n"
                               "ARC  100.0000,64.0000\nSPIRAL  100.0000,36.0000\nSTRAIGHT  0.0000,100.0000\n"
                               "STRAIGHT  0.0000,0.0000\n"));
}

TEST(GtsAlignment, MissingTangentPointsComeFromTheStoredAzimuths) {
  // The entry clothoid opens the alignment and the exit clothoid ends it: the tangents run
  // along the start azimuth (east) and the end azimuth (north).
  const BothForms gts = Convert("0 0 0 100 60 100\n36 36 2 111 0 100\n90 90 40 150 60 0\n126 100 100 0 0 0\n");
  EXPECT_EQ(gts.intersections,
            CrLf("START 0.000, 0.0000, 0.0000\nPT 100.0000, 0.0000, 100.0000, 60.0000, 60.0000\nPT 100.0000, 100.0000\n"));
}

TEST(GtsAlignment, EntryClothoidWithoutExitIsFlagged) {
  const std::string native = "0 0 0 100 60 100\n36 36 2 111 0 100\n90 90 40 150 0 0\n126 100 100 0 0 0\n";
  viaducto::NativeAlignment alignment = viaducto::ParseNativeAlignment(native, viaducto::kIntersectionReader);
  common::TextWriter writer;
  EXPECT_EQ(viaducto::FormatGtsIntersections(alignment.elements, writer), -1);
  EXPECT_EQ(writer.Bytes(), CrLf("START 0.000, 0.0000, 0.0000\nPT 83.3333, 0.0000, 100.0000, 60.0000, 0.0000\n"
                                 "PT 100.0000, 100.0000\n"));
}

TEST(GtsAlignment, ArcOfMoreThanHalfACircleIsWrittenInTwoHalves) {
  const BothForms gts = Convert("0 0 0 0 0 50\n196.349541 85.355339 -35.355339 250 0 0\n");
  // Each half turns 125 grads: tangent length 50 * tan(62.5 grads) = 74.8303.
  EXPECT_EQ(gts.intersections, CrLf("START 0.000, 0.0000, 0.0000\nPT 0.0000, 74.8303, 50.0000\n"
                                    "PT 138.2683, 17.5577, 50.0000\nPT 85.3553, -35.3553\n"));
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 0.0000, 0.0000\nARC  50.0000,98.1748\nARC  50.0000,98.1748\n"
                               "STRAIGHT  250.0000,0.0000\n"));
}

TEST(GtsAlignment, CommentLinesAreRecordsOnlyForTheElementForm) {
  const BothForms gts = Convert("* eje de prueba con seis campos x\n0 0 0 100 0 0\n100 100 0 100 0 0\n");
  EXPECT_EQ(gts.intersections, CrLf("START 0.000, 0.0000, 0.0000\nPT 100.0000, 0.0000\n"));
  EXPECT_EQ(gts.elements, CrLf("START 0.000, 0.0000, 0.0000\nSTRAIGHT  0.0000,0.0000\n"
                               "STRAIGHT  100.0000,100.0000\nSTRAIGHT  100.0000,0.0000\n"));
}

TEST(GtsAlignment, RealRoadSampleMatchesGoldenFiles) {
  const std::string sample = std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje";
  const BothForms gts = Convert(ReadFile(sample));
  EXPECT_EQ(gts.intersections, ReadFile(testing_support::DataFile("gts/variante-vertices.gts")));
  EXPECT_EQ(gts.elements, ReadFile(testing_support::DataFile("gts/variante-elementos.gts")));
}

TEST(GtsAlignment, FormFollowsTheLimitInJalonexIni) {
  TempDir dir;
  const std::string eje = dir.File("eje.eje");
  WriteFile(eje, "0 0 0 0 0 0\n10 0 10 0 0 0\n");  // three counted lines
  const std::string out = dir.File("out.gts");
  MyDll_azemta2gts(eje.c_str(), out.c_str(), dir.path().c_str());  // no jalonex.ini
  EXPECT_EQ(ReadFile(out), CrLf("START 0.000, 0.0000, 0.0000\nPT 0.0000, 10.0000\n"));
  WriteFile(dir.File("jalonex.ini"), "Limite = 3\n");
  MyDll_azemta2gts(eje.c_str(), out.c_str(), dir.path().c_str());
  EXPECT_EQ(ReadFile(out), CrLf("START 0.000, 0.0000, 0.0000\nSTRAIGHT  0.0000,10.0000\nSTRAIGHT  0.0000,0.0000\n"));
}

TEST(ElementLimit, ReadsTheFirstLineOfJalonexIni) {
  TempDir dir;
  EXPECT_EQ(viaducto::ReadElementLimit(120, dir.path()), 0);
  const std::string ini = dir.File("jalonex.ini");
  WriteFile(ini, "MaxElementos=500\r\nOtra=1\r\n");
  EXPECT_EQ(viaducto::ReadElementLimit(120, dir.path()), 1);
  EXPECT_EQ(viaducto::ReadElementLimit(500, dir.path()), 1);
  EXPECT_EQ(viaducto::ReadElementLimit(501, dir.path()), 0);
  WriteFile(ini, "MaxElementos 500\n");
  EXPECT_EQ(viaducto::ReadElementLimit(0, dir.path()), 0);
  WriteFile(ini, "MaxElementos=\n");
  EXPECT_EQ(viaducto::ReadElementLimit(0, dir.path()), 0);
  WriteFile(ini, "MaxElementos=\t800 comentario\n");
  EXPECT_EQ(viaducto::ReadElementLimit(800, dir.path()), 1);
}

TEST(NativeAlignment, ReadsSixFieldsAndWritesThemBack) {
  const viaducto::NativeAlignment alignment = viaducto::ParseNativeAlignment(
      "1234.5 500000.1 4000000.2 123.456789 0 -250\n\n1 2 3 4 5\n   \n1300\t500010\t4000010\t130 0 0 sobra\n",
      viaducto::kIntersectionReader);
  ASSERT_EQ(alignment.elements.size(), 2u);
  EXPECT_EQ(alignment.elements[0].kind, common::kArc);
  EXPECT_EQ(alignment.elements[0].radius, -250);
  EXPECT_EQ(alignment.elements[1].kind, common::kStraight);
  EXPECT_EQ(alignment.lineCount, 6u);
  EXPECT_EQ(alignment.capacity, 18u);

  TempDir dir;
  common::AlignmentElement e;
  e.station = 10;
  e.x = 1;
  e.y = 2;
  e.azimuth = 3.5;
  ASSERT_EQ(viaducto::WriteNativeAlignment({e}, dir.File("a.eje")), 1);
  EXPECT_EQ(ReadFile(dir.File("a.eje")), "10.000 1.000 2.000 3.500000 0.000 0.000\r\n");
}

TEST(GtsAlignmentExports, BadInputWritesNothingAndNeverCrashes) {
  TempDir dir;
  const std::string out = dir.File("out.gts");
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("missing.eje").c_str(), out.c_str()), 0);
  EXPECT_FALSE(FileExists(out));
  EXPECT_EQ(MyDll_azemta2gts(dir.File("missing.eje").c_str(), out.c_str(), dir.path().c_str()), 0);
  EXPECT_FALSE(FileExists(out));
  WriteFile(dir.File("empty.eje"), "");
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("empty.eje").c_str(), out.c_str()), 0);
  EXPECT_FALSE(FileExists(out));
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.path().c_str(), out.c_str()), 0);
  EXPECT_FALSE(FileExists(out));
  EXPECT_EQ(MyDll_azemta2gtsWCE(nullptr, nullptr), 0);
  EXPECT_EQ(MyDll_azemta2gts(nullptr, nullptr, nullptr), 0);

  // Random bytes are not an alignment file; a 10 MB line and an arc that cannot be split
  // sensibly still convert.
  std::string noise;
  unsigned state = 12345;
  for (int i = 0; i < 200000; ++i) {
    state = state * 1103515245u + 12345u;
    noise += static_cast<char>(state >> 16);
  }
  WriteFile(dir.File("noise.eje"), noise);
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("noise.eje").c_str(), out.c_str()), 0);
  EXPECT_EQ(MyDll_azemta2gts(dir.File("noise.eje").c_str(), out.c_str(), dir.path().c_str()), 0);
  EXPECT_FALSE(FileExists(out));
  std::string longLine;
  while (longLine.size() < 10'000'000) longLine += "12.5 -3e400 nan 0x1p3 7 ";
  WriteFile(dir.File("long.eje"), longLine);
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("long.eje").c_str(), out.c_str()), 1);
  EXPECT_EQ(ReadFile(out).find("nan"), std::string::npos);
  EXPECT_EQ(ReadFile(out).find("inf"), std::string::npos);
  WriteFile(dir.File("tight.eje"), "0 0 0 0 0 50\n0.001 0 0 300 0 0\n");
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("tight.eje").c_str(), out.c_str()), 1);

  // The target cannot be written: nothing is left behind.
  EXPECT_EQ(MyDll_azemta2gtsWCE(dir.File("tight.eje").c_str(), dir.File("no/such/dir.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("no/such/dir.gts")));
}

TEST(GtsAlignmentExports, MillionLinesConvertQuickly) {
  TempDir dir;
  std::string big;
  big.reserve(40'000'000);
  char line[96];
  for (int i = 0; i < 1'000'000; ++i) {
    const int length = std::snprintf(line, sizeof line, "%d.000 %d.000 4470000.000 100.000000 0.000 0.000\n", i * 10,
                                     440000 + i * 10);
    big.append(line, static_cast<std::size_t>(length));
  }
  WriteFile(dir.File("big.eje"), big);
  ASSERT_EQ(MyDll_azemta2gtsWCE(dir.File("big.eje").c_str(), dir.File("big.gts").c_str()), 1);
  const std::string gts = ReadFile(dir.File("big.gts"));
  const std::string last = "PT 10439990.0000, 4470000.0000\r\n";
  ASSERT_GT(gts.size(), last.size());
  EXPECT_EQ(gts.substr(gts.size() - last.size()), last);
}

TEST(GtsAlignmentExports, SpanishLocaleStillWritesDecimalPoints) {
  ASSERT_NE(std::setlocale(LC_ALL, "es_ES.UTF-8"), nullptr) << "scripts/install-deps.sh makes es_ES.UTF-8";
  TempDir dir;
  WriteFile(dir.File("eje.eje"), "1234.5 10.25 20.75 0 0 0\n");
  MyDll_azemta2gtsWCE(dir.File("eje.eje").c_str(), dir.File("out.gts").c_str());
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ReadFile(dir.File("out.gts")), CrLf("START 1234.500, 10.2500, 20.7500\n"));
}

TEST(FrameExports, MarkerWordAndRetiredPointPair) {
  TempDir dir;
  ::setenv("TEMP", dir.path().c_str(), 1);
  char buffer[16] = "cualquier cosa";
  MyDll_ReverseString(buffer);
  EXPECT_STREQ(buffer, "marca");
  EXPECT_EQ(ReadFile(dir.File("prueba.$$$")), "marca");
  ::unsetenv("TEMP");

  EXPECT_EQ(MyDll_terrex2shapeline(dir.File("a.pun").c_str(), dir.File("b.shp").c_str()), 0);
  EXPECT_EQ(MyDll_shapeline2terrex(dir.File("a.shp").c_str(), dir.File("b.pun").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("b.shp")));
  EXPECT_FALSE(FileExists(dir.File("b.pun")));
}

TEST(NativeAlignmentAsStored, EqualsTheFileWrittenAndRead) {
  // Values that round, vanish, overflow, and lines long enough for a read to split them.
  const double values[] = {0.0, -0.0004, 1200.4995, 0.0000005, -1e300, 1e250, 2.675, 399.9999996, 50.0, -0.0};
  std::vector<common::AlignmentElement> elements;
  for (std::size_t i = 0; i < 10; ++i) {
    common::AlignmentElement e;
    e.station = values[i];
    e.x = values[(i + 1) % 10];
    e.y = values[(i + 2) % 10];
    e.azimuth = values[(i + 3) % 10];
    e.parameter = values[(i + 4) % 10];
    e.radius = values[(i + 5) % 10];
    e.length = 7;
    e.extra = 3;
    elements.push_back(e);
  }
  for (const viaducto::NativeAlignmentRule& rule :
       {viaducto::kElementReader, viaducto::kIntersectionReader, viaducto::kLandXmlExportReader}) {
    common::TextWriter writer;
    viaducto::FormatNativeAlignment(elements, writer);
    std::string text = writer.Bytes();
    common::NormalizeLineEnds(text);
    const viaducto::NativeAlignment read = viaducto::ParseNativeAlignment(text, rule);
    const viaducto::NativeAlignment stored = viaducto::AsStoredInNativeAlignment(elements, rule);
    EXPECT_EQ(stored.lineCount, read.lineCount);
    EXPECT_EQ(stored.capacity, read.capacity);
    ASSERT_EQ(stored.elements.size(), read.elements.size());
    for (std::size_t i = 0; i < read.elements.size(); ++i) {
      const common::AlignmentElement& a = stored.elements[i];
      const common::AlignmentElement& b = read.elements[i];
      EXPECT_EQ(std::memcmp(&a.station, &b.station, sizeof(double) * 8), 0) << i;  // station .. length
      EXPECT_EQ(a.kind, b.kind) << i;
    }
  }
}
