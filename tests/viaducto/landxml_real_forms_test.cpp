// LandXML as other programs write it: the forms the imports once misread, and what the
// conversions say when they approximate, find nothing or are given the wrong file.
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/message_hook.h"
#include "formats/native/native_profile.h"
#include "formats/landxml/xml_reader.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_cross_sections.h"
#include "formats/landxml/landxml_profile.h"

using namespace testing_support;
using common::AlignmentElement;

namespace {

std::vector<std::string> g_shown;
void Remember(const char* caption, const char* text) { g_shown.push_back(std::string(caption) + "|" + text); }

class Messages {
 public:
  Messages() {
    g_shown.clear();
    common::SetMessageHook(Remember);
  }
  ~Messages() { common::SetMessageHook(nullptr); }
  bool Said(const std::string& part) const {
    for (const std::string& message : g_shown) {
      if (message.find(part) != std::string::npos) return true;
    }
    return false;
  }
  std::string All() const {
    std::string all;
    for (const std::string& message : g_shown) all += message + "\n";
    return all;
  }
};

class TempScope {
 public:
  explicit TempScope(const std::string& dir) { ::setenv("TEMP", dir.c_str(), 1); }
  ~TempScope() { ::unsetenv("TEMP"); }
};

std::string Alignments(const std::string& body, const std::string& units = "") {
  return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">" + units +
         "<Alignments>" + body + "</Alignments></LandXML>\n";
}

// The Start point of every element of every alignment, as the file gives it.
class StartPoints : public common::LandXmlHandler {
 public:
  void StartElement(std::string_view name, const common::LandXmlAttributes&) override {
    if (common::NameIs(name, "Alignment")) {
      starts.emplace_back();
      inAlignment_ = true;
    }
    if (!inAlignment_) return;
    inElement_ = inElement_ || common::NameIs(name, "Line") || common::NameIs(name, "Curve") ||
                 common::NameIs(name, "Spiral");
    inStart_ = inElement_ && common::NameIs(name, "Start");
  }
  void EndElement(std::string_view name) override {
    if (common::NameIs(name, "Alignment")) inAlignment_ = false;
    if (common::NameIs(name, "Start")) inStart_ = false;
    if (common::NameIs(name, "Line") || common::NameIs(name, "Curve") || common::NameIs(name, "Spiral")) {
      inElement_ = false;
    }
  }
  bool WantsText() const override { return inStart_; }
  void Characters(std::string_view text) override {
    double north = 0, east = 0;
    std::sscanf(std::string(text).c_str(), "%lf %lf", &north, &east);
    starts.back().push_back({east, north});
  }
  std::vector<std::vector<std::pair<double, double>>> starts;

 private:
  bool inAlignment_ = false;
  bool inElement_ = false;
  bool inStart_ = false;
};

const std::vector<std::string> kAllSamples = {"landxml/A Kolu Güzergah.xml", "landxml/M3_RS-CL.tg.xml",
                                              "landxml/subdivision.xml", "landxml/subdivision-2.0.xml"};

}  // namespace

TEST(LandXmlRealForms, EveryRealAlignmentStartsWhereTheFileSaysAndRoundTrips) {
  TempDir dir;
  for (const std::string& sample : kAllSamples) {
    StartPoints file;
    ASSERT_EQ(common::LandXmlReader().Parse(DataFile(sample), file), common::ParseResult::kComplete);
    ASSERT_EQ(file.starts.size(), viaducto::ListLandXmlAlignments(DataFile(sample)).size());
    for (std::size_t selec = 0; selec < file.starts.size(); ++selec) {
      SCOPED_TRACE(sample + " #" + std::to_string(selec));
      const viaducto::LandXmlAlignmentImport first = viaducto::ImportLandXmlAlignment(DataFile(sample), selec);
      ASSERT_TRUE(first.clothoidsSound);
      ASSERT_GE(first.elements.size(), file.starts[selec].size());
      // The subdivisions are in (international) feet: the import gives metres.
      const double unit = sample.find("subdivision") != std::string::npos ? common::kInternationalFoot : 1.0;
      for (std::size_t i = 0; i < file.starts[selec].size(); ++i) {
        EXPECT_NEAR(first.elements[i].x, file.starts[selec][i].first * unit, 0.001) << i;
        EXPECT_NEAR(first.elements[i].y, file.starts[selec][i].second * unit, 0.001) << i;
      }
      ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(DataFile(sample), selec, dir.File("a.eje")), 1);
      ASSERT_EQ(viaducto::ExportNativeToLandXml(dir.File("a.eje"), dir.File("a.xml")), 1);
      const viaducto::LandXmlAlignmentImport second = viaducto::ImportLandXmlAlignment(dir.File("a.xml"), 0);
      ASSERT_EQ(second.elements.size(), first.elements.size());
      for (std::size_t i = 0; i < first.elements.size(); ++i) {
        EXPECT_EQ(first.elements[i].kind, second.elements[i].kind) << i;
        EXPECT_NEAR(first.elements[i].station, second.elements[i].station, 0.001) << i;
        EXPECT_NEAR(first.elements[i].radius, second.elements[i].radius, 0.001) << i;
      }
    }
  }
}

TEST(LandXmlRealForms, CurvesWithoutRadiusTurnTheShortWayBothWays) {
  // The 2.0 re-export gives the loop's curves only Start, Center and End; the 1.1 file gives
  // the same curves with their radius: both import alike.
  const auto withRadius = viaducto::ImportLandXmlAlignment(DataFile("landxml/subdivision.xml"), 4).elements;
  const auto withoutRadius = viaducto::ImportLandXmlAlignment(DataFile("landxml/subdivision-2.0.xml"), 4).elements;
  ASSERT_EQ(withoutRadius.size(), withRadius.size());
  bool turnsLeft = false;
  for (std::size_t i = 0; i < withRadius.size(); ++i) {
    EXPECT_EQ(withoutRadius[i].kind, withRadius[i].kind) << i;
    EXPECT_NEAR(withoutRadius[i].radius, withRadius[i].radius, 0.001) << i;
    EXPECT_NEAR(withoutRadius[i].station, withRadius[i].station, 0.001) << i;
    turnsLeft = turnsLeft || withoutRadius[i].radius < 0;
  }
  EXPECT_TRUE(turnsLeft);

  // A left quarter circle of radius 100, with and without `rot`.
  TempDir dir;
  for (const std::string rot : {" rot=\"ccw\"", ""}) {
    WriteFile(dir.File("c.xml"), Alignments("<Alignment name=\"A\"><CoordGeom><Curve" + rot +
                                            "><Start>0 0</Start><Center>0 -100</Center><End>100 -100</End>"
                                            "</Curve></CoordGeom></Alignment>"));
    const auto e = viaducto::ImportLandXmlAlignment(dir.File("c.xml"), 0).elements;
    ASSERT_EQ(e.size(), 2u);
    EXPECT_NEAR(e[0].radius, -100.0, 1e-9);
    EXPECT_NEAR(e[0].azimuth, 0.0, 1e-9);
    EXPECT_NEAR(e[1].station, 50.0 * M_PI, 1e-9);
  }
}

TEST(LandXmlRealForms, HugeRadiiAreInfiniteAndShortLinesKeepADirection) {
  TempDir dir;
  Messages messages;
  WriteFile(dir.File("s.xml"),
            Alignments("<Alignment name=\"A\"><CoordGeom>"
                       "<Line><Start>0 0</Start><End>0 100</End></Line>"
                       "<Spiral radiusStart=\"5.8979433558474924E+300\" radiusEnd=\"100\" length=\"40\" rot=\"cw\">"
                       "<Start>0 100</Start><PI>0 120</PI><End>3 139</End></Spiral></CoordGeom></Alignment>"));
  ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("s.xml"), 0, dir.File("s.eje")), 1);
  EXPECT_EQ(messages.All(), "");
  const auto spiral = viaducto::ImportLandXmlAlignment(dir.File("s.xml"), 0).elements;
  EXPECT_NEAR(spiral[1].parameter, std::sqrt(4000.0), 1e-9);
  EXPECT_LT(ReadFile(dir.File("s.eje")).size(), 400u);

  // A 0.07 mm line: its `dir` read the way the file's longer lines show (degrees
  // counter-clockwise from east here), else the next element's direction.
  const std::string units = "<Units><Metric linearUnit=\"meter\" directionUnit=\"decimal degrees\"/></Units>";
  const std::string shortLine = "<Line dir=\"0\"><Start>0 0</Start><End>0 0.00007</End></Line>";
  const std::string longLine = "<Line dir=\"90\"><Start>0 0.00007</Start><End>100 0.00007</End></Line>";
  WriteFile(dir.File("d.xml"), Alignments("<Alignment name=\"A\"><CoordGeom>" + shortLine + longLine +
                                          "</CoordGeom></Alignment>", units));
  auto e = viaducto::ImportLandXmlAlignment(dir.File("d.xml"), 0).elements;
  EXPECT_NEAR(e[0].azimuth, 100.0, 1e-9);  // east, from dir 0
  EXPECT_NEAR(e[1].azimuth, 0.0, 1e-9);
  WriteFile(dir.File("n.xml"), Alignments("<Alignment name=\"A\"><CoordGeom>"
                                          "<Line><Start>0 0</Start><End>0 0.00007</End></Line>"
                                          "<Line><Start>0 0.00007</Start><End>-100 0.00007</End></Line>"
                                          "</CoordGeom></Alignment>"));
  e = viaducto::ImportLandXmlAlignment(dir.File("n.xml"), 0).elements;
  EXPECT_NEAR(e[0].azimuth, 200.0, 1e-9);
}

TEST(LandXmlRealForms, AlignmentLengthIsItsLengthOldFilesStillImport) {
  TempDir dir;
  // A last spiral without length spans to the end: staStart + length, or, in files of the
  // earlier export, the end station written as length.
  for (const char* length : {"50", "150"}) {
    WriteFile(dir.File("l.xml"),
              Alignments(std::string("<Alignment name=\"A\" staStart=\"100\" length=\"") + length +
                         "\"><CoordGeom><Line staStart=\"100\" length=\"10\"><Start>0 0</Start><End>10 0</End></Line>"
                         "<Spiral staStart=\"110\" radiusStart=\"INF\" radiusEnd=\"200\" rot=\"cw\"><Start>10 0</Start>"
                         "<PI>30 0</PI><End>49 2</End></Spiral></CoordGeom></Alignment>"));
    const auto e = viaducto::ImportLandXmlAlignment(dir.File("l.xml"), 0).elements;
    ASSERT_EQ(e.size(), 3u) << length;
    EXPECT_NEAR(e[2].station, 150.0, 1e-9) << length;
  }
}

TEST(LandXmlRealForms, SaysWhatTheNativeFileCannotHold) {
  TempDir dir;
  Messages messages;
  const std::string feet = "<Units><Imperial linearUnit=\"foot\"/></Units>";
  WriteFile(dir.File("a.xml"),
            Alignments("<Alignment name=\"A\"><StaEquation staAhead=\"500\" staBack=\"480\"/><CoordGeom>"
                       "<Curve rot=\"cw\" radius=\"200\" length=\"20\"><Start>0 0</Start><Center>0 200</Center>"
                       "<End>19.9 1</End></Curve>"
                       "<Spiral radiusStart=\"200\" radiusEnd=\"100\" length=\"30\" rot=\"cw\" spiType=\"cubic\">"
                       "<Start>19.9 1</Start><PI>35 2.5</PI><End>49 5</End></Spiral></CoordGeom></Alignment>",
                       feet));
  ASSERT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("a.xml"), 0, dir.File("a.eje")), 1);
  ASSERT_EQ(g_shown.size(), 1u) << messages.All();
  EXPECT_EQ(g_shown[0].substr(0, 6), "Aviso|");
  EXPECT_TRUE(messages.Said("el fichero está en pies: las medidas se han convertido a metros"));
  // Stations in metres (20 ft is 6.096 m).
  EXPECT_TRUE(messages.Said("espiral de tipo \"cubic\" en el p.k. 6.096: importada como clotoide"));
  EXPECT_TRUE(messages.Said("clotoide entre dos radios en el p.k. 6.096"));
  EXPECT_TRUE(messages.Said("ecuación de p.k. (adelante 500.000) no conservada"));
}

TEST(LandXmlRealForms, AsymmetricAndGivenRadiusVerticalCurves) {
  TempDir dir;
  Messages messages;
  WriteFile(dir.File("p.xml"),
            "<LandXML><Alignments><Alignment name=\"E\"><Profile><ProfAlign name=\"R\">"
            "<PVI>0 100</PVI><UnsymParaCurve lengthIn=\"40\" lengthOut=\"80\">100 102</UnsymParaCurve>"
            "<CircCurve length=\"100\" radius=\"-10000\">500 94</CircCurve><PVI>900 100</PVI>"
            "</ProfAlign></Profile></Alignment></Alignments></LandXML>");
  const viaducto::LandXmlProfileImport imported = viaducto::ImportLandXmlProfile(dir.File("p.xml"), "E: R");
  ASSERT_EQ(imported.profile.size(), 4u);
  EXPECT_NEAR(imported.profile[1].tangent, 30.0, 1e-9);
  EXPECT_NEAR(imported.profile[2].kv, 10000.0, 1e-9);
  EXPECT_NEAR(imported.profile[2].tangent, 50.0, 1e-9);
  EXPECT_NEAR(imported.profile[2].external, std::sqrt(10000.0 * 10000.0 + 2500.0) - 10000.0, 1e-9);
  ASSERT_EQ(imported.notes.size(), 1u);
  EXPECT_EQ(imported.notes[0],
            "curva asimétrica en el p.k. 100.000 (entrada 40.000 m, salida 80.000 m) convertida en simétrica de "
            "60.000 m");
  ASSERT_EQ(MyDll_rlandxml2gts("E: R", dir.File("p.xml").c_str(), dir.File("p.gts").c_str()), 1);
  EXPECT_TRUE(messages.Said("Aviso|curva asimétrica en el p.k. 100.000"));

  // A radius without a length: the tangent follows from the radius and the grades (+1 % to -1 %).
  WriteFile(dir.File("r.xml"),
            "<LandXML><Alignments><Alignment name=\"E\"><Profile><ProfAlign name=\"R\"><PVI>0 100</PVI>"
            "<CircCurve radius=\"5000\">100 101</CircCurve><PVI>200 100</PVI></ProfAlign></Profile></Alignment>"
            "</Alignments></LandXML>");
  const auto radiusOnly = viaducto::ImportLandXmlProfile(dir.File("r.xml"), "E: R");
  ASSERT_EQ(radiusOnly.profile.size(), 3u);
  EXPECT_DOUBLE_EQ(radiusOnly.profile[1].kv, 5000.0);
  EXPECT_NEAR(radiusOnly.profile[1].tangent, 5000.0 * std::tan(std::atan(0.01)), 1e-9);

  // The rail profile of the real sample: every circular curve keeps its given radius.
  const auto m3 = viaducto::ImportLandXmlProfile(DataFile("landxml/M3_RS-CL.tg.xml"), "M3_RS - CL: M3_RS - CL");
  EXPECT_DOUBLE_EQ(m3.profile[2].kv, 1500.0);
  EXPECT_DOUBLE_EQ(m3.profile[3].kv, 2000.0);
}

TEST(LandXmlRealForms, ProfileExportSkipsCommentLines) {
  TempDir dir;
  const std::string profile = "0 100 0 0 0\n100 102 2500 50 0.5\n200 100 0 0 0\n";
  WriteFile(dir.File("plain.ras"), profile);
  WriteFile(dir.File("commented.ras"), "# rasante de prueba\n" + profile);
  ASSERT_EQ(MyDll_rterrex2landxml(dir.File("plain.ras").c_str(), dir.File("r.xml").c_str()), 1);
  const std::string plain = ReadFile(dir.File("r.xml"));
  ASSERT_EQ(MyDll_rterrex2landxml(dir.File("commented.ras").c_str(), dir.File("r.xml").c_str()), 1);
  const std::string commented = ReadFile(dir.File("r.xml"));
  EXPECT_EQ(commented.substr(commented.find("<Profile>")), plain.substr(plain.find("<Profile>")));
  EXPECT_EQ(commented.find("<ParaCurve length=\"0.000\">0.000 0.000"), std::string::npos);
}

TEST(LandXmlRealForms, DesignSurfacesBySideAndSlopeDistancePairs) {
  TempDir dir;
  TempScope temp(dir.path());
  WriteFile(dir.File("t.xml"),
            "<LandXML><Alignments><Alignment name=\"Eje\"><CrossSects><CrossSect sta=\"100\">"
            "<DesignCrossSectSurf side=\"right\"><CrossSectPnt code=\"EJE\">0 50</CrossSectPnt>"
            "<CrossSectPnt code=\"BORDE\">3.5 49.93</CrossSectPnt></DesignCrossSectSurf>"
            "<DesignCrossSectSurf side=\"left\" dataFormat=\"Slope Distance\">"
            "<CrossSectPnt code=\"CARRIL\">-2 3.5</CrossSectPnt><CrossSectPnt code=\"ARCEN\">-50 1</CrossSectPnt>"
            "</DesignCrossSectSurf></CrossSect></CrossSects></Alignment></Alignments></LandXML>");
  EXPECT_EQ(viaducto::ListLandXmlCrossSectionSurfaces(dir.File("t.xml")),
            (std::vector<std::string>{"Eje: right", "Eje: left"}));
  viaducto::CrossSectionSet right;
  ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("t.xml"), "Eje", "right", right));
  ASSERT_EQ(right.points.size(), 2u);
  EXPECT_EQ(right.points[1].code, "BORDE");
  EXPECT_DOUBLE_EQ(right.points[1].offset, 3.5);
  viaducto::CrossSectionSet left;
  ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("t.xml"), "eje", "LEFT", left));
  ASSERT_EQ(left.points.size(), 2u);
  // Sorted by offset: the outer point first.
  EXPECT_NEAR(left.points[0].offset, -4.5, 1e-9);
  EXPECT_NEAR(left.points[0].elevation, -0.57, 1e-9);
  EXPECT_NEAR(left.points[1].offset, -3.5, 1e-9);
  EXPECT_NEAR(left.points[1].elevation, -0.07, 1e-9);
  ASSERT_EQ(MyDll_tralandxml2gtsWCE("Eje", "left", dir.File("t.xml").c_str(), dir.File("t.tra").c_str()), 1);
  EXPECT_TRUE(FileExists(dir.File("t.tra")));
}

TEST(LandXmlRealForms, JoinedCopyIsLeftButTheDocumentIsRead) {
  TempDir dir;
  TempScope temp(dir.path());
  // Numbers on lines of their own: joined, they would run together ("100200").
  WriteFile(dir.File("j.xml"), "<LandXML><Alignments><Alignment name=\"A\"><CoordGeom><Line><Start>\n100\n200\n</Start>\n"
                               "<End>\n100\n300\n</End></Line></CoordGeom></Alignment></Alignments></LandXML>\n");
  ASSERT_EQ(MyDll_alandxml2gtsWCE(0, dir.File("j.xml").c_str(), dir.File("j.eje").c_str(), ""), 1);
  EXPECT_EQ(ReadFile(dir.File("j.eje")),
            CrLf("0.00000000\t200.00000000\t100.00000000\t100.00000000\t0.00000000\t0.00000000\n"
                 "100.00000000\t300.00000000\t100.00000000\t100.00000000\t0.00000000\t0.00000000\n"));
  EXPECT_NE(ReadFile(dir.File("$$$.xml")).find("<Start>100200</Start>"), std::string::npos);
}

// ---- Outcomes ------------------------------------------------------------------------------

namespace {

struct LandXmlImport {
  const char* name;
  int32_t (*call)(const std::string& entrada, const std::string& salida);
  const char* nothing;  // what a LandXML document without it lacks
};

const LandXmlImport kImports[] = {
    {"MyDll_alandxml2gtsWCE",
     [](const std::string& in, const std::string& out) { return MyDll_alandxml2gtsWCE(0, in.c_str(), out.c_str(), ""); },
     "no contiene ningún eje"},
    {"MyDll_alandxml2gts",
     [](const std::string& in, const std::string& out) { return MyDll_alandxml2gts(0, in.c_str(), out.c_str(), ""); },
     "no contiene ningún eje"},
    {"MyDll_tralandxml2gts",
     [](const std::string& in, const std::string& out) { return MyDll_tralandxml2gts("E", "S", in.c_str(), out.c_str()); },
     "no contiene secciones transversales de \"E: S\""},
    {"MyDll_tralandxml2gtsWCE",
     [](const std::string& in, const std::string& out) {
       return MyDll_tralandxml2gtsWCE("E", "S", in.c_str(), out.c_str());
     },
     "no contiene secciones transversales de \"E: S\""},
    {"MyDll_tralandxmlinroads2gtsWCE",
     [](const std::string& in, const std::string& out) { return MyDll_tralandxmlinroads2gtsWCE(in.c_str(), out.c_str()); },
     "no contiene ningún punto de sección transversal"},
};

}  // namespace

TEST(LandXmlRealForms, ImportsRefuseWhatTheyCannotConvertAndSayWhy) {
  TempDir dir;
  TempScope temp(dir.path());
  WriteFile(dir.File("dibujo.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n 10\n1.0\n 20\n2.0\n  0\nENDSEC\n  0\nEOF\n");
  WriteFile(dir.File("vacio.xml"), "<?xml version=\"1.0\"?><LandXML><Units><Metric/></Units></LandXML>");
  WriteFile(dir.File("completo.xml"),
            "<LandXML><Alignments><Alignment name=\"E\"><CoordGeom><Line><Start>0 0</Start><End>0 100</End></Line>"
            "</CoordGeom><CrossSects><CrossSect sta=\"10\"><CrossSectSurf name=\"S\"><PntList2D>-1 10 1 10"
            "</PntList2D></CrossSectSurf></CrossSect></CrossSects></Alignment></Alignments>"
            "<StationOffsetPoint offsetAlignmentName=\"B\" firstOffset=\"3.5\"><offsetpoint elevation=\"101.2\"/>"
            "<station internalStation=\"1220\"/></StationOffsetPoint></LandXML>");
  WriteFile(dir.File("roto.xml"), "<?xml version=\"1.0\"?><LandXML><Alignments><Alignment name=\"E\"><Cross");
  for (const LandXmlImport& import : kImports) {
    SCOPED_TRACE(import.name);
    Messages messages;
    const std::string target = dir.File("salida.out");
    EXPECT_EQ(import.call(dir.File("no-existe.xml"), target), 0);
    EXPECT_TRUE(messages.Said("Error en la conversión|No existe el fichero " + dir.File("no-existe.xml")))
        << messages.All();
    EXPECT_EQ(import.call(dir.File("dibujo.dxf"), target), 0);
    EXPECT_TRUE(messages.Said("no es un documento LandXML: parece un dibujo DXF")) << messages.All();
    EXPECT_EQ(import.call(dir.File("vacio.xml"), target), 0);
    EXPECT_TRUE(messages.Said("El fichero " + dir.File("vacio.xml") + " " + import.nothing)) << messages.All();
    // (The GTS step of MyDll_alandxml2gts answers for its own target.)
    if (std::string(import.name) != "MyDll_alandxml2gts") {
      EXPECT_EQ(import.call(dir.File("completo.xml"), dir.File("falta/salida.out")), 0);
      EXPECT_TRUE(messages.Said("No se puede escribir el fichero " + dir.File("falta/salida.out"))) << messages.All();
    }
    EXPECT_FALSE(FileExists(target));
  }
  // Selection lists: empty, the reason said, failure.
  Messages messages;
  EXPECT_EQ(MyDll_seleccionaEjeLandXML(dir.File("no-existe.xml").c_str()), 0);
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), "");
  EXPECT_EQ(MyDll_seleccionaEjeLandXML(dir.File("vacio.xml").c_str()), 0);
  EXPECT_TRUE(messages.Said("no contiene ningún eje"));
  MyDll_seleccionaTransverLandXML(dir.File("dibujo.dxf").c_str());
  EXPECT_TRUE(messages.Said("parece un dibujo DXF"));
  MyDll_seleccionaRasanteLandXML(dir.File("vacio.xml").c_str());
  EXPECT_TRUE(messages.Said("no contiene ninguna rasante"));
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), "");
  // A selection beyond the last alignment writes nothing.
  EXPECT_EQ(MyDll_alandxml2gtsWCE(9, DataFile("landxml/M3_RS-CL.tg.xml").c_str(), dir.File("e.eje").c_str(), ""), 0);
  EXPECT_TRUE(messages.Said("no contiene el eje número 10: tiene 1"));
  EXPECT_FALSE(FileExists(dir.File("e.eje")));
  // A document that breaks off gives no cross sections.
  EXPECT_EQ(MyDll_tralandxml2gtsWCE("E", "S", dir.File("roto.xml").c_str(), dir.File("r.tra").c_str()), 0);
  EXPECT_TRUE(messages.Said("está incompleto o mal formado"));
}

TEST(LandXmlRealForms, ExportsToLandXmlRefuseEmptyAndForeignSources) {
  TempDir dir;
  Messages messages;
  WriteFile(dir.File("dibujo.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n 10\n1.0\n 20\n2.0\n  0\nENDSEC\n  0\nEOF\n");
  WriteFile(dir.File("vacio.txt"), "\n");
  using Export = int32_t (*)(const char*, const char*);
  const Export exports[] = {MyDll_aTerrex2LandXML,  MyDll_rterrex2landxml,   MyDll_traterrex2landxml,
                            MyDll_tracliptrv2landxml, MyDll_traclip2landxml, MyDll_traistram2landxml,
                            MyDll_tramxroad2landxml, MyDll_trahtrazado2lamdxml};
  for (const Export call : exports) {
    EXPECT_EQ(call(dir.File("no-existe.txt").c_str(), dir.File("x.xml").c_str()), 0);
    EXPECT_EQ(call(dir.File("dibujo.dxf").c_str(), dir.File("x.xml").c_str()), 0);
    EXPECT_EQ(call(dir.File("vacio.txt").c_str(), dir.File("x.xml").c_str()), 0);
    EXPECT_FALSE(FileExists(dir.File("x.xml")));
  }
  EXPECT_TRUE(messages.Said("parece un dibujo DXF")) << messages.All();
  EXPECT_TRUE(messages.Said("no contiene ningún eje")) << messages.All();
  EXPECT_TRUE(messages.Said("no contiene ninguna sección transversal")) << messages.All();
}
