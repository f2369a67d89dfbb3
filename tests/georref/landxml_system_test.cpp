// A LandXML target names the system its coordinates were moved to: the CoordinateSystem element
// put into the document (every other byte kept), read back by the suite's own reader, by `info`
// and by `convert` as the source's system; and a document that cannot take it left as it was.
#include <gtest/gtest.h>
#include <proj.h>
#include <sys/stat.h>

#include <dirent.h>

#include <map>

#include <nlohmann/json.hpp>

#include "cli/cli_outcome.h"
#include "formats/landxml/landxml_coordinate_system.h"
#include "formats/landxml/landxml_points.h"
#include "georref.h"
#include "georref/geo_test_support.h"
#include "georref/georeferencing.h"
#include "georref/landxml_system.h"

namespace {

using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// What projinfo, PROJ's own program, writes for `definition` as one line of WKT1 (asked once).
std::string ProjinfoWkt(const std::string& definition) {
  static std::map<std::string, std::string> written;
  std::string& wkt = written[definition];
  if (!wkt.empty()) return wkt;
  testing_support::RunCommand("projinfo -q -o WKT1_GDAL --single-line " + Quoted(definition), wkt);
  while (!wkt.empty() && (wkt.back() == '\n' || wkt.back() == '\r')) wkt.pop_back();
  return wkt;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The element naming ETRS89 / UTM zone 30N, its WKT as projinfo writes it.
std::string Etrs89Utm30Element(const std::string& prefix = "") {
  std::string wkt = ProjinfoWkt("EPSG:25830");
  for (std::size_t at = 0; (at = wkt.find('"', at)) != std::string::npos; at += 6) wkt.replace(at, 1, "&quot;");
  return "<" + prefix + "CoordinateSystem name=\"ETRS89 / UTM zone 30N\" epsgCode=\"25830\" ogcWktCode=\"" + wkt + "\"/>";
}

// A point document as the suite writes it, dated so that its bytes are fixed.
std::string SuitePointDocument() {
  std::tm when{};
  when.tm_year = 126;
  when.tm_mon = 11;
  when.tm_mday = 9;
  when.tm_hour = 12;
  std::vector<common::NativePoint> points(2);
  points[0].number = 1;
  points[0].x = 440000;
  points[0].y = 4474000;
  points[0].z = 650;
  points[0].code = "BC";
  points[1].number = 2;
  points[1].x = 440010.5;
  points[1].y = 4474020.25;
  points[1].z = 651.5;
  return planimetro::landxml::FormatLandXmlPoints(points, "Puntos", &when);
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  return names;
}

TEST(LandXmlSystem, TheSuitesDocumentGainsTheElementAfterItsUnitsAndKeepsEveryOtherByte) {
  TempDir dir;
  const std::string document = SuitePointDocument();
  const std::string path = dir.File("puntos.xml");
  WriteFile(path, document);
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_TRUE(georref::SetSystems("EPSG:23030", "EPSG:25830", false));
  ASSERT_EQ(georref::NameSystemInLandXml(path), 1);
  const std::string named = ReadFile(path);
  EXPECT_EQ(named, Replaced(document, "<Application ", Etrs89Utm30Element() + "<Application "));
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  // Named again in another system: the element is replaced where it stands.
  ASSERT_TRUE(georref::SetSystems("", "EPSG:25829", false));
  ASSERT_EQ(georref::NameSystemInLandXml(path), 1);
  viaducto::LandXmlCoordinateSystem system;
  std::string problem;
  ASSERT_TRUE(georref::LandXmlSystemOf("EPSG:25829", system, problem)) << problem;
  EXPECT_EQ(ReadFile(path), Replaced(document, "<Application ", viaducto::CoordinateSystemElement(system) + "<Application "));
  EXPECT_EQ(FilesIn(dir.path()).size(), 1u);
}

// Documents of other programs: the element replaced, removed when repeated, put before the
// data or the root's end, with the root's prefix; offsets past the parser's first chunks and
// in a document read as Windows-1252.
TEST(LandXmlSystem, OtherDocumentsKeepTheirBytesAroundTheElement) {
  const std::string element = Etrs89Utm30Element();
  std::string points;
  for (int i = 1; i <= 3000; ++i) {
    points += "    <CgPoint name=\"" + std::to_string(i) + "\" code=\"se\xc3\xb1" "al\">4474000.000 440000.000 650.000</CgPoint>\n";
  }
  std::string points1252 = points;
  for (std::size_t at = 0; (at = points1252.find("\xc3\xb1", at)) != std::string::npos;) points1252.replace(at, 2, "\xf1");
  const std::string sample = ReadFile(PASARELA_TEST_DATA "/geo/sistema.xml");
  const std::string sampleSystem = "<CoordinateSystem name=\"ED50 / UTM 30N\" epsgCode=\"23030\"/>";
  const std::string head = "<?xml version=\"1.0\"?>\n<LandXML version=\"1.2\">\n  <Units><Metric linearUnit=\"meter\"/></Units>\n";
  struct Case {
    const char* what;
    std::string document;
    std::string expected;
  };
  const Case cases[] = {
      {"its own element replaced", sample, Replaced(sample, sampleSystem, element)},
      {"a second element of the root removed, one inside the data kept",
       head + "  <CoordinateSystem epsgCode=\"23030\"/>\n  <CgPoints>\n" + points +
           "  </CgPoints>\n  <CoordinateSystem name=\"otro\"><FieldNote>x</FieldNote></CoordinateSystem>\n"
           "  <Surfaces><Surface name=\"s\"><CoordinateSystem epsgCode=\"4326\"/></Surface></Surfaces>\n</LandXML>\n",
       head + "  " + element + "\n  <CgPoints>\n" + points +
           "  </CgPoints>\n  \n  <Surfaces><Surface name=\"s\"><CoordinateSystem epsgCode=\"4326\"/></Surface></Surfaces>\n"
           "</LandXML>\n"},
      {"an element after 200 kB of data replaced where it stands",
       head + "  <CgPoints>\n" + points + "  </CgPoints>\n  <CoordinateSystem\n   epsgCode=\"23030\" ></CoordinateSystem >\n</LandXML>\n",
       head + "  <CgPoints>\n" + points + "  </CgPoints>\n  " + element + "\n</LandXML>\n"},
      {"Windows-1252 without a declaration",
       head + "  <CgPoints name=\"se\xf1" "ales\">\n" + points1252 + "  </CgPoints>\n  <CoordinateSystem name=\"\xf1\"/>\n</LandXML>\n",
       head + "  <CgPoints name=\"se\xf1" "ales\">\n" + points1252 + "  </CgPoints>\n  " + element + "\n</LandXML>\n"},
      {"a byte-order mark, the data named with non-ASCII",
       "\xef\xbb\xbf" + head + "  <CgPoints name=\"se\xc3\xb1" "ales\"><CgPoint>1 2 3</CgPoint></CgPoints>\n</LandXML>\n",
       "\xef\xbb\xbf" + head + "  " + element + "<CgPoints name=\"se\xc3\xb1" "ales\"><CgPoint>1 2 3</CgPoint></CgPoints>\n</LandXML>\n"},
      {"no data: before the root's end",
       "<LandXML><Project name=\"p\"/><Units><Metric/></Units></LandXML>\r\n",
       "<LandXML><Project name=\"p\"/><Units><Metric/></Units>" + element + "</LandXML>\r\n"},
      {"the root's prefix",
       "<lx:LandXML xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\"><lx:Units/><lx:CgPoints/></lx:LandXML>",
       "<lx:LandXML xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\"><lx:Units/>" + Etrs89Utm30Element("lx:") +
           "<lx:CgPoints/></lx:LandXML>"},
  };
  ASSERT_TRUE(georref::SetSystems("", "EPSG:25830", false));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string path = dir.File("documento.xml");
    WriteFile(path, c.document);
    ASSERT_EQ(georref::NameSystemInLandXml(path), 1);
    EXPECT_TRUE(ReadFile(path) == c.expected);
    const viaducto::LandXmlCoordinateSystem read = viaducto::ReadLandXmlCoordinateSystem(path);
    EXPECT_EQ(read.epsgCode, "25830");
    EXPECT_EQ(read.ogcWkt, ProjinfoWkt("EPSG:25830"));
    EXPECT_EQ(read.name, "ETRS89 / UTM zone 30N");
  }
}

// The system a definition names, read back by `info` and taken by `convert` as the source's:
// an EPSG code, an ESRI .prj PROJ identifies, a PROJ string that is no EPSG system, a compound
// system and a geographic 3D one, which WKT1 cannot say.
TEST(LandXmlSystem, TheNamedSystemIsTheOneTheDocumentIsReadIn) {
  TempDir dir;
  std::string esri;
  ASSERT_EQ(testing_support::RunCommand("projinfo -q -o WKT1_ESRI EPSG:23030", esri), 0);
  const std::string utmString = "+proj=utm +zone=30 +ellps=intl +towgs84=-87,-98,-121 +units=m +no_defs";
  struct Case {
    std::string definition;
    const char* epsgCode;
    const char* wktStart;
    const char* name;
  };
  const Case cases[] = {
      {"EPSG:25830", "25830", "PROJCS[", "ETRS89 / UTM zone 30N (EPSG:25830)"},
      {esri, "23030", "PROJCS[\"ED50 / UTM zone 30N\"", "ED50 / UTM zone 30N (EPSG:23030)"},
      {utmString, "", "PROJCS[\"unknown\"", "unknown"},
      {"EPSG:25830+5782", "", "COMPD_CS[", "ETRS89 / UTM zone 30N + Alicante height"},
      {"EPSG:4937", "4937", "GEOGCRS[", "ETRS89 (EPSG:4937)"},
  };
  const auto context = proj_context_create();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.definition);
    const std::string path = dir.File("p" + std::to_string(i) + ".xml");
    WriteFile(path, SuitePointDocument());
    ASSERT_TRUE(georref::SetSystems("", c.definition, false));
    ASSERT_EQ(georref::NameSystemInLandXml(path), 1);
    const viaducto::LandXmlCoordinateSystem read = viaducto::ReadLandXmlCoordinateSystem(path);
    EXPECT_EQ(read.epsgCode, c.epsgCode);
    EXPECT_EQ(read.ogcWkt.rfind(c.wktStart, 0), 0u) << read.ogcWkt;
    const Outcome info = Cli(dir, "info --json " + Quoted(path));
    ASSERT_EQ(info.status, 0) << info.err;
    const nlohmann::json crs = nlohmann::json::parse(info.out)["crs"];
    EXPECT_EQ(crs["name"], c.name) << info.out;
    // The definition `info` reads is, for PROJ, the system named.
    PJ* given = proj_create(context, c.definition[0] == '+' ? (c.definition + " +type=crs").c_str() : c.definition.c_str());
    PJ* named = proj_create(context, crs["definition"].get<std::string>().c_str());
    ASSERT_TRUE(given != nullptr && named != nullptr);
    EXPECT_TRUE(proj_is_equivalent_to(given, named, PJ_COMP_EQUIVALENT));
    proj_destroy(given);
    proj_destroy(named);
  }
  proj_context_destroy(context);

  // The document's coordinates, taken in the system it names, go back to ED50 as cs2cs says.
  const std::vector<double> expected = geo_testing::Cs2cs("EPSG:25830", "EPSG:23030", "440000 4474000 650\\n");
  ASSERT_GE(expected.size(), 2u);
  const Outcome back = Cli(dir, "convert " + Quoted(dir.File("p0.xml")) + " -o " + Quoted(dir.File("ed50.pun")) +
                                    " --t_srs EPSG:23030");
  ASSERT_EQ(back.status, 0) << back.err;
  std::istringstream point(ReadFile(dir.File("ed50.pun")));
  double number = 0, x = 0, y = 0;
  point >> number >> x >> y;
  EXPECT_NEAR(x, expected[0], 0.0006);
  EXPECT_NEAR(y, expected[1], 0.0006);
}

std::vector<std::string> messages;

TEST(LandXmlSystem, ADocumentThatCannotTakeTheElementIsLeftAsItWas) {
  const std::string suite = SuitePointDocument();
  struct Refusal {
    const char* what;
    std::string document;  // empty: no file
    const char* target;    // the target system
    const char* said;
  };
  const Refusal refusals[] = {
      {"no target system", suite, "", "Falta el sistema de coordenadas de destino"},
      {"not LandXML", "{\"type\":\"FeatureCollection\",\"features\":[]}\n", "EPSG:25830", "no es un documento LandXML"},
      {"another XML document", "<?xml version=\"1.0\"?><kml><Document/></kml>", "EPSG:25830", "no es un documento LandXML"},
      {"cut short", suite.substr(0, suite.size() - 30), "EPSG:25830", "incompleto o mal formado"},
      {"no content", "<?xml version=\"1.0\"?>\r\n<LandXML version=\"1.2\"/>\r\n", "EPSG:25830", "no tiene contenido"},
      {"no file", "", "EPSG:25830", "documento.xml"},
  };
  Georref_SetMessageHook([](const char*, const char* text) { messages.emplace_back(text); });
  for (const Refusal& refusal : refusals) {
    SCOPED_TRACE(refusal.what);
    TempDir dir;
    const std::string path = dir.File("documento.xml");
    if (!refusal.document.empty()) WriteFile(path, refusal.document);
    ASSERT_TRUE(georref::SetSystems("", refusal.target, false));
    messages.clear();
    EXPECT_EQ(Georref_LandXml_Sistema(path.c_str()), 0);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(refusal.said), std::string::npos) << messages[0];
    EXPECT_EQ(FilesIn(dir.path()).size(), refusal.document.empty() ? 0u : 1u);
    if (!refusal.document.empty()) {
      EXPECT_TRUE(ReadFile(path) == refusal.document);
    }
  }
  Georref_SetMessageHook(nullptr);
}

}  // namespace
