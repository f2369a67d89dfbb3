#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <algorithm>
#include <limits>

#include "support/test_support.h"
#include "formats/landxml/landxml_document.h"

using namespace testing_support;
using viaducto::LandXmlAttributes;
using viaducto::LandXmlReader;
using viaducto::LandXmlWriter;
using viaducto::ParseResult;

namespace {

// Records every event as text: "<name a=v>", "</name>", "[text]".
class RecordingHandler : public viaducto::LandXmlHandler {
 public:
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    std::string event = "<" + std::string(name);
    for (const auto& a : attributes) event += " " + std::string(a.localName) + "=" + std::string(a.value);
    events.push_back(event + ">");
  }
  void EndElement(std::string_view name) override { events.push_back("</" + std::string(name) + ">"); }
  void Characters(std::string_view text) override { events.push_back("[" + std::string(text) + "]"); }
  bool WantsText() const override { return wantsText; }

  bool wantsText = true;
  std::vector<std::string> events;
};

std::tm FixedTime() {
  std::tm when{};
  when.tm_year = 2014 - 1900;
  when.tm_mon = 2;
  when.tm_mday = 7;
  when.tm_hour = 9;
  when.tm_min = 5;
  when.tm_sec = 3;
  return when;
}

const char kFrame[] =
    "<?xml version=\"1.0\"?><LandXML version=\"1.0\" date=\"2014-03-07\" time=\"09:05:03\">"
    "<Project name=\"Prueba\"/><Units><Metric areaUnit=\"squareMeter\" linearUnit=\"meter\" "
    "volumeUnit=\"cubicMeter\" temperatureUnit=\"celsius\" pressureUnit=\"mmHG\" angularUnit=\"grads\" "
    "directionUnit=\"grads\"/></Units><Application name=\"Terrex\" version=\"4.0\" "
    "manufacturerURL=\"https://www.zemta.example\"><Author createdByEmail=\"soporte@zemta.example\" "
    "company=\"Zemta-I.T.\" companyURL=\"https://www.zemta.example\"/></Application>";

}  // namespace

TEST(LandXmlWriterTest, WritesTheFrameOnOneLineWithEscapesNumbersAndEmptyValuesLeftOut) {
  LandXmlWriter writer;
  writer.SetTimestamp(FixedTime());
  writer.BeginDocument();
  writer.StartElement("Alignments");
  writer.AddText("name", "A&B <\"x\">");
  writer.AddText("desc", "");
  writer.AddNumber("staStart", 12.3456, 3);
  writer.AddNumber("length", -0.5, 6);
  writer.AddNumber("tanLong", std::numeric_limits<double>::infinity(), 8);
  writer.StartElement("Alignment");
  writer.StartElement("Start");
  writer.Characters("1.000000 2.000000");
  writer.EndElement("Start");
  writer.StartElement("Empty");
  writer.Characters("");
  writer.EndElement("Empty");
  writer.EndElement("Alignment");
  writer.EndElement("Alignments");
  const std::string expected = std::string(kFrame) +
                               "<Alignments><Alignment name=\"A&amp;B &lt;&quot;x&quot;&gt;\" staStart=\"12.346\" "
                               "length=\"-0.500000\"><Start>1.000000 2.000000</Start><Empty/></Alignment>"
                               "</Alignments></LandXML>\r\n";
  EXPECT_EQ(writer.EndDocumentBytes(), expected);
}

TEST(LandXmlWriterTest, WrittenDocumentIsWellFormedAndReadsBackItsValues) {
  TempDir dir;
  LandXmlWriter writer;
  writer.BeginDocument();
  writer.AddText("name", "Eje Ñ & \"dos\"\nlíneas");
  writer.StartElement("Alignment");
  writer.EndElement("Alignment");
  ASSERT_TRUE(writer.EndDocument(dir.File("out.xml")));
  const std::string bytes = ReadFile(dir.File("out.xml"));
  EXPECT_EQ(bytes.find('\n'), bytes.size() - 1);

  RecordingHandler handler;
  ASSERT_EQ(LandXmlReader().Parse(dir.File("out.xml"), handler), ParseResult::kComplete);
  EXPECT_NE(std::find(handler.events.begin(), handler.events.end(),
                      "<Alignment name=Eje Ñ & \"dos\"\nlíneas>"),
            handler.events.end());
}

TEST(LandXmlReaderTest, MatchesNamesWithoutCaseOrNamespace) {
  TempDir dir;
  WriteFile(dir.File("a.xml"),
            "<?xml version=\"1.0\"?>\r\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
            "xmlns:x=\"urn:x\"><alignment NAME=\"E1\" x:length=\"10\"/><CoordGeom/></LandXML>");
  RecordingHandler handler;
  handler.wantsText = false;
  ASSERT_EQ(LandXmlReader().Parse(dir.File("a.xml"), handler), ParseResult::kComplete);
  ASSERT_EQ(handler.events.size(), 6u);
  EXPECT_EQ(handler.events[1], "<alignment NAME=E1 length=10>");
  EXPECT_TRUE(viaducto::NameIs("coordgeom", "CoordGeom"));
  EXPECT_FALSE(viaducto::NameIs("CoordGeo", "CoordGeom"));

  LandXmlAttributes attributes{{"NAME", "E1"}, {"length", "12.5abc"}, {"radiusStart", "INF"}};
  EXPECT_EQ(viaducto::GetAttribute(attributes, "name").value(), "E1");
  EXPECT_FALSE(viaducto::GetAttribute(attributes, "staStart").has_value());
  EXPECT_DOUBLE_EQ(viaducto::GetNumber(attributes, "Length").value(), 12.5);
  EXPECT_DOUBLE_EQ(viaducto::GetNumber(attributes, "radiusstart").value(), 0.0);
}

TEST(LandXmlReaderTest, DeliversTextWholeAcrossReadChunksAndEntities) {
  TempDir dir;
  // The point text straddles the 64 KiB read boundary and holds character references.
  std::string document = "<?xml version=\"1.0\"?><LandXML><Pad>";
  document += std::string(65536 - document.size() - 10, ' ');
  document += "</Pad><Start>4274070.753173 508037.628257 &amp;&#65;</Start><Name v=\"a&amp;b&lt;\"/></LandXML>";
  WriteFile(dir.File("big.xml"), document);
  RecordingHandler handler;
  ASSERT_EQ(LandXmlReader().Parse(dir.File("big.xml"), handler), ParseResult::kComplete);
  EXPECT_NE(std::find(handler.events.begin(), handler.events.end(), "[4274070.753173 508037.628257 &A]"),
            handler.events.end());
  EXPECT_NE(std::find(handler.events.begin(), handler.events.end(), "<Name v=a&b<>"), handler.events.end());
}

TEST(LandXmlReaderTest, ReadsUndeclaredWindows1252AndDeclaredLatin1) {
  TempDir dir;
  WriteFile(dir.File("w.xml"), "<LandXML><Alignment name=\"Eje \xD1 \x80\"/></LandXML>");
  WriteFile(dir.File("l.xml"), "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><LandXML><A n=\"\xD1\"/></LandXML>");
  WriteFile(dir.File("u.xml"), "<LandXML><A n=\"\xC3\x91\"/></LandXML>");
  for (const auto& [file, expected] : std::vector<std::pair<std::string, std::string>>{
           {"w.xml", "<Alignment name=Eje \xC3\x91 \xE2\x82\xAC>"}, {"l.xml", "<A n=\xC3\x91>"}, {"u.xml", "<A n=\xC3\x91>"}}) {
    RecordingHandler handler;
    ASSERT_EQ(LandXmlReader().Parse(dir.File(file), handler), ParseResult::kComplete) << file;
    ASSERT_GE(handler.events.size(), 2u);
    EXPECT_EQ(handler.events[1], expected) << file;
  }
}

// The encoding of an undeclared document is told by its first byte outside ASCII, wherever it
// stands in a long run of ASCII and across the read chunks of a file.
TEST(LandXmlReaderTest, TellsTheEncodingWhereverTheFirstNonAsciiByteStands) {
  TempDir dir;
  for (const std::size_t pad : {0u, 1u, 6u, 7u, 8u, 9u, 15u, 16u, 17u, 65536u - 27u, 65536u - 26u, 65536u - 25u}) {
    for (const std::string& letter : {std::string("\xC3\x91"), std::string("\xD1")}) {
      const std::string document = "<LandXML><A n=\"" + std::string(pad, 'x') + letter + "\"/></LandXML>";
      const std::string expected = "<A n=" + std::string(pad, 'x') + "\xC3\x91>";
      RecordingHandler inMemory;
      ASSERT_EQ(LandXmlReader().ParseBytes(document, inMemory), ParseResult::kComplete) << pad;
      ASSERT_GE(inMemory.events.size(), 2u);
      EXPECT_EQ(inMemory.events[1], expected) << pad << " " << letter.size();
      WriteFile(dir.File("e.xml"), document);
      RecordingHandler fromFile;
      ASSERT_EQ(LandXmlReader().Parse(dir.File("e.xml"), fromFile), ParseResult::kComplete) << pad;
      ASSERT_GE(fromFile.events.size(), 2u);
      EXPECT_EQ(fromFile.events[1], expected) << pad << " " << letter.size();
    }
  }
}

TEST(LandXmlReaderTest, ReportsMissingAndMalformedFilesKeepingEarlierEvents) {
  TempDir dir;
  RecordingHandler missing;
  EXPECT_EQ(LandXmlReader().Parse(dir.File("none.xml"), missing), ParseResult::kCannotOpen);
  EXPECT_EQ(LandXmlReader().Parse(dir.path(), missing), ParseResult::kCannotOpen);
  EXPECT_TRUE(missing.events.empty());

  WriteFile(dir.File("bad.xml"), "<LandXML><Alignment name=\"A\"/><Alignment name=\"B\"></LandXML>");
  RecordingHandler handler;
  EXPECT_EQ(LandXmlReader().Parse(dir.File("bad.xml"), handler), ParseResult::kMalformed);
  ASSERT_GE(handler.events.size(), 3u);
  EXPECT_EQ(handler.events[1], "<Alignment name=A>");
}

TEST(LandXmlReaderTest, RefusesEntityBombsAndExternalEntitiesQuickly) {
  TempDir dir;
  std::string bomb = "<?xml version=\"1.0\"?><!DOCTYPE LandXML [<!ENTITY a0 \"xxxxxxxxxxxxxxxx\">";
  for (int i = 1; i < 30; ++i) {
    bomb += "<!ENTITY a" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) bomb += "&a" + std::to_string(i - 1) + ";";
    bomb += "\">";
  }
  bomb += "]><LandXML><Alignment name=\"&a29;\">&a29;</Alignment></LandXML>";
  WriteFile(dir.File("bomb.xml"), bomb);
  WriteFile(dir.File("secret.txt"), "secreto");
  WriteFile(dir.File("xxe.xml"), "<?xml version=\"1.0\"?><!DOCTYPE LandXML [<!ENTITY s SYSTEM \"file://" +
                                     dir.File("secret.txt") + "\">]><LandXML><A>&s;</A></LandXML>");

  const auto start = std::chrono::steady_clock::now();
  RecordingHandler bombHandler;
  EXPECT_EQ(LandXmlReader().Parse(dir.File("bomb.xml"), bombHandler), ParseResult::kMalformed);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));

  RecordingHandler xxe;
  LandXmlReader().Parse(dir.File("xxe.xml"), xxe);
  for (const std::string& event : xxe.events) EXPECT_EQ(event.find("secreto"), std::string::npos);
}

TEST(JoinTextLinesTest, JoinsTextIntoItsTagsAndKeepsTagLinesApart) {
  TempDir dir;
  WriteFile(dir.File("in.xml"), "<?xml version=\"1.0\"?>\r\n<A>\r\n<Start>\r\n1.5 2.5\r\n</Start>\r\ntail\n<B/>");
  ASSERT_TRUE(viaducto::JoinTextLines(dir.File("in.xml"), dir.File("out.xml")));
  EXPECT_EQ(ReadFile(dir.File("out.xml")), CrLf("<?xml version=\"1.0\"?>\n<A>\n<Start>1.5 2.5</Start>tail<B/>"));
  EXPECT_FALSE(viaducto::JoinTextLines(dir.File("none.xml"), dir.File("out2.xml")));
  EXPECT_FALSE(FileExists(dir.File("out2.xml")));
}

TEST(JoinTextLinesTest, StreamsLargeFilesAndCutsLongLinesIntoPiecesOf1279) {
  TempDir dir;
  std::string input;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    input += "<a>\r\n1 2\r\n</a>\r\n";
    expected += i == 0 ? "<a>1 2</a>" : "\n<a>1 2</a>";
  }
  // A line of 3000 characters with tags: its pieces are joined (no line feed ends them).
  const std::string longLine = "<p>" + std::string(2994, 'x') + "</p>";
  input += longLine + "\n<z/>\n";
  expected += "\n" + longLine + "\n<z/>";
  WriteFile(dir.File("in.xml"), input);
  ASSERT_TRUE(viaducto::JoinTextLines(dir.File("in.xml"), dir.File("out.xml")));
  EXPECT_EQ(ReadFile(dir.File("out.xml")), CrLf(expected));
}

TEST(SelectionListTest, WritesOneEntryPerLineIntoTheTempDirectory) {
  TempDir dir;
  const char* previous = std::getenv("TEMP");
  const std::string saved = previous != nullptr ? previous : "";
  ::setenv("TEMP", dir.path().c_str(), 1);
  ASSERT_TRUE(viaducto::WriteSelectionList({"Eje 1", "A1: P1"}));
  EXPECT_EQ(viaducto::SelectionListPath(), dir.File("$$$$.EJE"));
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")), "Eje 1\r\nA1: P1\r\n");
  if (previous != nullptr) {
    ::setenv("TEMP", saved.c_str(), 1);
  } else {
    ::unsetenv("TEMP");
  }
}
