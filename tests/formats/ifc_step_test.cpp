// The STEP physical file reader and writer under IFC files: every kind of value, texts in
// other scripts, and malformed files stopped at their line.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <string>

#include "formats/ifc/step.h"

namespace {

std::string Wrap(const std::string& data) {
  return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\nFILE_NAME('a','',(''),(''),'','','');\n"
         "FILE_SCHEMA(('IFC4X3_ADD2'));\nENDSEC;\nDATA;\n" +
         data + "ENDSEC;\nEND-ISO-10303-21;\n";
}

}  // namespace

TEST(StepFile, ReadsEveryKindOfValue) {
  const std::string text = Wrap(
      "#1=IFCPOINT((1.,-2.5E-3,+7),$,*,.T.,'it''s \\X2\\00F100E1\\X0\\ \\\\',#22,IFCLENGTHMEASURE(1.),(),\"0FF\");\n"
      "/* a comment */ #22 = ifcline ( #1 , ( ( 1 , 2 ) , ( 3 ) ) ) ;\n"
      "#3=(IFCA(1)IFCB('x'));\n");
  ifc::StepFile file;
  const ifc::StepReadResult result = ifc::ParseStep(text, file);
  ASSERT_TRUE(result.ok) << result.error;
  ASSERT_EQ(file.schemas.size(), 1u);
  EXPECT_EQ(file.schemas[0], "IFC4X3_ADD2");
  const ifc::StepEntity* e = file.Find(1);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->type, "IFCPOINT");
  ASSERT_EQ(e->args.size(), 9u);
  ASSERT_EQ(e->args[0].items.size(), 3u);
  EXPECT_EQ(e->args[0].items[0].kind, ifc::StepValue::kReal);
  EXPECT_DOUBLE_EQ(e->args[0].items[1].number, -2.5e-3);
  EXPECT_EQ(e->args[0].items[2].kind, ifc::StepValue::kInteger);
  EXPECT_EQ(e->args[0].items[2].integer, 7);
  EXPECT_EQ(e->args[1].kind, ifc::StepValue::kNull);
  EXPECT_EQ(e->args[2].kind, ifc::StepValue::kDerived);
  EXPECT_EQ(e->args[3].kind, ifc::StepValue::kEnum);
  EXPECT_EQ(e->args[3].text, "T");
  EXPECT_EQ(e->args[4].text, "it's ñá \\");
  EXPECT_EQ(file.Resolve(&e->args[5]), file.Find(22));
  double length = 0;
  EXPECT_TRUE(e->args[6].AsNumber(length));
  EXPECT_EQ(e->args[6].text, "IFCLENGTHMEASURE");
  EXPECT_EQ(length, 1.0);
  EXPECT_EQ(e->args[7].kind, ifc::StepValue::kList);
  EXPECT_TRUE(e->args[7].items.empty());
  EXPECT_EQ(e->args[8].kind, ifc::StepValue::kBinary);
  EXPECT_EQ(file.Find(22)->type, "IFCLINE");
  EXPECT_EQ(file.Find(22)->args[1].items[0].items[1].integer, 2);
  EXPECT_EQ(file.Find(3)->type, "IFCA");
  EXPECT_EQ(file.Find(3)->args.size(), 2u);
  EXPECT_EQ(file.OfType("IFCLINE").size(), 1u);
}

TEST(StepFile, MalformedFilesStopAtTheirLine) {
  struct Case {
    const char* data;
    std::size_t line;  // of the fault, counted in the whole file
    const char* words;
  };
  const Case cases[] = {
      {"#1=IFCA('open);\n", 8, "texto sin cerrar"},
      {"#1=IFCA(1);\n#1=IFCB(2);\n", 9, "repetida"},
      {"#1=IFCA(1)\n#2=IFCB(2);\n", 9, "falta \";\""},
      {"#1=IFCA(1,,2);\n", 8, "carácter inesperado"},
      {"#1=IFCA(.X);\n", 8, "enumeración"},
      {"#1=IFCA(1.2.3);\n", 8, "número no válido"},
      {"#1=IFCA('\\X2\\00G1\\X0\\');\n", 8, "hexadecimal"},
  };
  for (const Case& c : cases) {
    ifc::StepFile file;
    const ifc::StepReadResult result = ifc::ParseStep(Wrap(c.data), file);
    EXPECT_FALSE(result.ok) << c.data;
    EXPECT_EQ(result.line, c.line) << c.data;
    EXPECT_NE(result.error.find(c.words), std::string::npos) << result.error;
  }
  ifc::StepFile file;
  EXPECT_FALSE(ifc::ParseStep("ISO-10303-21;\nHEADER;\n", file).ok);
  EXPECT_FALSE(ifc::ParseStep("<?xml version=\"1.0\"?>", file).ok);
  // Lists nested deeper than any IFC file are refused, not followed down the stack.
  EXPECT_FALSE(ifc::ParseStep(Wrap("#1=IFCA(" + std::string(5000, '(') + ");\n"), file).ok);
}

TEST(StepFile, WrittenValuesReadBackTheSame) {
  const double values[] = {0.0, 1.0, -0.1, 1e-7, 123456789.123456789, 4471820.0001, -2.5e300, 1.0 / 3.0};
  for (double v : values) {
    const std::string text = ifc::StepReal(v);
    EXPECT_NE(text.find('.'), std::string::npos) << text;
    ifc::StepFile file;
    ASSERT_TRUE(ifc::ParseStep(Wrap("#1=IFCA(" + text + ");\n"), file).ok) << text;
    EXPECT_EQ(file.Find(1)->args[0].number, v) << text;
  }
  const std::string names[] = {"Variante Año", "it's", "a\\b", "\xF1u (latin-1)", "\xF0\x9F\x9A\x97 coche"};
  for (const std::string& name : names) {
    ifc::StepWriter writer("f.ifc", "2026-01-01T00:00:00", "Pasarela");
    writer.Add("IFCLABEL", ifc::StepWriter::Str(name));
    const std::string written = writer.Finish();
    for (char c : written) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << name;
    ifc::StepFile file;
    ASSERT_TRUE(ifc::ParseStep(written, file).ok) << written;
    const std::string back = file.Find(1)->args[0].text;
    if (name[0] == '\xF1') {
      EXPECT_EQ(back, "\xC3\xB1u (latin-1)");
    } else {
      EXPECT_EQ(back, name);
    }
  }
}
