// The kinds of file told apart by their first bytes, and what an export says and leaves when it
// fails: the recorded reason through the message hook, no target behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/file_kind.h"
#include "common/message_hook.h"
#include "common/outcome.h"
#include "common/text_input.h"
#include "support/test_support.h"

using common::FileKind;
using common::SniffFileKind;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::string> shown;

extern "C" void Collect(const char* caption, const char* text) { shown.push_back(std::string(caption) + "|" + text); }

class Messages : public ::testing::Test {
 protected:
  Messages() {
    shown.clear();
    common::SetMessageHook(&Collect);
  }
  ~Messages() override { common::SetMessageHook(nullptr); }
};

struct Listing {
  std::vector<std::string> lines;
  bool empty() const { return lines.empty(); }
  std::size_t size() const { return lines.size(); }
};

Listing NonBlankLines(std::string_view text) {
  Listing listing;
  common::LineReader reader(text);
  std::string_view piece;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (!line.empty()) listing.lines.emplace_back(line);
  }
  return listing;
}

void WriteLines(const Listing& listing, common::TextWriter& writer) {
  for (const std::string& line : listing.lines) writer.Printf("%s\n", line.c_str());
}

int32_t Convert(const std::string& entrada, const std::string& salida, const common::ConversionRule& rule) {
  return common::GuardedExport(0, [&] { return common::ConvertFile(entrada, salida, rule, NonBlankLines, WriteLines); });
}

const common::ConversionRule kLines{"un listado de líneas", "ninguna línea", FileKind::kText, false, true};

}  // namespace

TEST(FileKind, RealFilesOfEachKind) {
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("dxf/3dface.dxf"))), FileKind::kDxf);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("dxf/POLI-ALL210_12.DXF"))), FileKind::kDxf);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("landxml/subdivision.xml"))), FileKind::kLandXml);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("landxml/M3_RS-CL.tg.xml"))), FileKind::kLandXml);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("istram/variante-istram.asc"))), FileKind::kText);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("gts/variante-elementos.gts"))), FileKind::kText);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("shapefile/masspntz.shp"))), FileKind::kShapefile);
  EXPECT_EQ(SniffFileKind(ReadFile(DataFile("shapefile/masspntz.dbf"))), FileKind::kDbase);
}

TEST(FileKind, HeadersAndLookAlikes) {
  EXPECT_EQ(SniffFileKind(""), FileKind::kEmpty);
  EXPECT_EQ(SniffFileKind("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<LandXML xmlns=\"x\">"), FileKind::kLandXml);
  EXPECT_EQ(SniffFileKind("<?xml version=\"1.0\"?><root/>"), FileKind::kXml);
  EXPECT_EQ(SniffFileKind("<!DOCTYPE html><html><body>"), FileKind::kHtml);
  EXPECT_EQ(SniffFileKind("{\\rtf1\\ansi text"), FileKind::kRtf);
  EXPECT_EQ(SniffFileKind("999\r\nhecho a mano\r\n  0\r\nSECTION\r\n  2\r\nHEADER\r\n"), FileKind::kDxf);
  EXPECT_EQ(SniffFileKind(std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)), FileKind::kBinaryDxf);
  EXPECT_EQ(SniffFileKind(std::string("\0\x01\0\0Standard Jet DB\0", 20)), FileKind::kJet);
  EXPECT_EQ(SniffFileKind(std::string("abc\0def", 7)), FileKind::kBinary);
  // A listing whose first field is 0 is no drawing; a stray control byte keeps a text a text.
  EXPECT_EQ(SniffFileKind("0\n1000.000 200.000\n"), FileKind::kText);
  EXPECT_EQ(SniffFileKind("EJE 1\x01\n" + std::string(200, 'x') + "\n"), FileKind::kText);
  EXPECT_EQ(SniffFileKind("< 3.5 punto bajo\n"), FileKind::kText);
}

TEST_F(Messages, AConversionWritesOnceAndCountsWhenAsked) {
  TempDir dir;
  WriteFile(dir.File("a.txt"), "uno\r\n\r\ndos\n");
  EXPECT_EQ(Convert(dir.File("a.txt"), dir.File("b.txt"), kLines), 2);
  EXPECT_EQ(ReadFile(dir.File("b.txt")), "uno\r\ndos\r\n");
  EXPECT_TRUE(shown.empty());
}

TEST_F(Messages, EachFailureSaysWhyAndLeavesNoTarget) {
  TempDir dir;
  WriteFile(dir.File("blancos.txt"), "\n\n");
  WriteFile(dir.File("dibujo.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nEOF\n");
  WriteFile(dir.File("a.txt"), "uno\n");
  struct Case {
    std::string source, target, reason;
  } cases[] = {
      {dir.File("no.txt"), dir.File("t1"), "No existe el fichero " + dir.File("no.txt")},
      {dir.path(), dir.File("t2"), "El fichero " + dir.path() + " es una carpeta"},
      {dir.File("blancos.txt"), dir.File("t3"), "El fichero " + dir.File("blancos.txt") + " no contiene ninguna línea"},
      {dir.File("dibujo.dxf"), dir.File("t4"),
       "El fichero " + dir.File("dibujo.dxf") + " no es un listado de líneas: parece un dibujo DXF"},
      {dir.File("a.txt"), dir.File("no/t5"), "No se puede escribir el fichero " + dir.File("no/t5") + ": la carpeta no existe"},
      {dir.File("a.txt"), dir.File("a.txt"), "El fichero destino debe ser diferente al origen"},
      {dir.File("a.txt"), dir.path(), "No se puede escribir el fichero " + dir.path() + ": es una carpeta"},
  };
  for (const Case& c : cases) {
    shown.clear();
    EXPECT_EQ(Convert(c.source, c.target, kLines), 0) << c.reason;
    EXPECT_EQ(shown, std::vector<std::string>{std::string(common::kFailureCaption) + "|" + c.reason});
    if (c.target != c.source && c.target != dir.path()) {
      EXPECT_FALSE(FileExists(c.target)) << c.reason;
    }
  }
  EXPECT_EQ(ReadFile(dir.File("a.txt")), "uno\n");
}

TEST_F(Messages, AFailedExportRemovesWhatItWroteAndAnOptionalFileIsNoReason) {
  TempDir dir;
  const std::string target = dir.File("t.txt");
  const int32_t result = common::GuardedExport(0, [&] {
    std::string settings;
    {
      common::OptionalReadScope optional;
      common::ReadWholeFile(dir.File("ajustes.ini"), settings);
    }
    common::TextWriter writer;
    writer.Write("medio escrito\n");
    if (!writer.SaveTo(target)) return 1;
    common::RecordFailure("el cálculo no converge");
    return 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(FileExists(target));
  EXPECT_EQ(shown, std::vector<std::string>{std::string(common::kFailureCaption) + "|el cálculo no converge"});
}

TEST_F(Messages, AnExportThatSaidWhyItselfGetsNoSecondMessageAndExceptionsFail) {
  EXPECT_EQ(common::GuardedExport(0, [] {
              common::ShowMessage("Calzada", "Imposible abrir fichero");
              return 0;
            }),
            0);
  EXPECT_EQ(common::GuardedExport(7, []() -> int { throw std::runtime_error("x"); }), 7);
  EXPECT_EQ(shown, (std::vector<std::string>{"Calzada|Imposible abrir fichero",
                                             std::string(common::kFailureCaption) + "|No se ha generado ningún fichero"}));
}
