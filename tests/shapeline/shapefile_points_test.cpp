// Points between the native point file and shapefiles, checked through shapelib itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <shapefil.h>
#include <string>
#include <vector>

#include "shapeline.h"
#include "formats/shapefile/memory_file_hooks.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> reasons;
void RecordReason(const char* caption, const char* text) { reasons.push_back(std::string(caption) + "|" + text); }

class ShapefilePoints : public ::testing::Test {
 protected:
  void SetUp() override {
    reasons.clear();
    Shapeline_SetMessageHook(&RecordReason);
  }
  void TearDown() override { Shapeline_SetMessageHook(nullptr); }
  TempDir dir;
};

struct FieldInfo {
  std::string name;
  DBFFieldType type;
  int width;
  int decimals;
};

std::vector<FieldInfo> Fields(DBFHandle table) {
  std::vector<FieldInfo> fields;
  for (int i = 0; i < DBFGetFieldCount(table); ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1];
    int width = 0;
    int decimals = 0;
    const DBFFieldType type = DBFGetFieldInfo(table, i, name, &width, &decimals);
    fields.push_back({name, type, width, decimals});
  }
  return fields;
}

TEST_F(ShapefilePoints, OneShapeAndOneRecordPerPointLine) {
  WriteFile(dir.File("p.pun"), CrLf("1 100.5 200.25 30.125 BORDE CALZADA\n\n2,101,201,31\n"
                                    "3 1 2 3 un codigo de mas de veinticinco letras\n"));
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("p.shp").c_str()), 1);
  EXPECT_TRUE(reasons.empty());

  SHPHandle shapes = SHPOpen(dir.File("p.shp").c_str(), "rb");
  ASSERT_NE(shapes, nullptr);
  int count = 0;
  int type = 0;
  SHPGetInfo(shapes, &count, &type, nullptr, nullptr);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(type, SHPT_POINT);
  SHPObject* second = SHPReadObject(shapes, 1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->nVertices, 1);
  EXPECT_DOUBLE_EQ(second->padfX[0], 101);
  EXPECT_DOUBLE_EQ(second->padfY[0], 201);
  SHPDestroyObject(second);
  SHPClose(shapes);

  DBFHandle table = DBFOpen(dir.File("p.dbf").c_str(), "rb");
  ASSERT_NE(table, nullptr);
  const std::vector<FieldInfo> fields = Fields(table);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_EQ(fields[0].name, "NUMERO");
  EXPECT_EQ(fields[0].width, 5);
  EXPECT_EQ(fields[0].decimals, 0);
  EXPECT_EQ(fields[1].name, "Z");
  EXPECT_EQ(fields[1].width, 8);
  EXPECT_EQ(fields[1].decimals, 3);
  EXPECT_EQ(fields[2].name, "CODIGO");
  EXPECT_EQ(fields[2].type, FTString);
  EXPECT_EQ(fields[2].width, 25);
  EXPECT_EQ(DBFGetRecordCount(table), 3);
  EXPECT_EQ(DBFReadIntegerAttribute(table, 0, 0), 1);
  EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(table, 0, 1), 30.125);
  EXPECT_STREQ(DBFReadStringAttribute(table, 0, 2), "BORDE CALZADA");
  EXPECT_STREQ(DBFReadStringAttribute(table, 1, 2), "");
  EXPECT_STREQ(DBFReadStringAttribute(table, 2, 2), "un codigo de mas de veint");
  DBFClose(table);
}

TEST_F(ShapefilePoints, ExportAndImportReproduceThePoints) {
  // Numbers and elevations wider than their fields widen the fields instead of being cut.
  const std::string points = "    1     100.500     200.250   30.125 BORDE CALZADA\n"
                             "   22 6295355.920 1979574.060  -12.000 \n"
                             "123456      -5.000       6.000 -12345.678 X\n";
  WriteFile(dir.File("p.pun"), CrLf(points));
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("p.shp").c_str()), 1);
  ASSERT_EQ(ImportarPuntosDeShapeline(dir.File("p.shp").c_str(), dir.File("q.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("q.pun")), CrLf(points));
  EXPECT_TRUE(reasons.empty());
}

TEST_F(ShapefilePoints, PointZShapesGiveTheirOwnElevations) {
  // A real PointZ file whose table has no "NUMERO", "Z" or "CODIGO".
  ASSERT_EQ(ImportarPuntosDeShapeline(DataFile("shapefile/masspntz.shp").c_str(), dir.File("m.pun").c_str()), 1);
  const std::string written = ReadFile(dir.File("m.pun"));
  const std::string head = CrLf("    0 6295355.920 1979574.060  765.130 \n    0 6295420.810 1979553.580  773.460 \n");
  EXPECT_EQ(written.substr(0, head.size()), head);
  std::size_t lines = 0;
  for (char c : written) lines += c == '\n';
  EXPECT_EQ(lines, 815u);
}

// A shapefile of `type` written with shapelib: one shape of `vertices`, with the number and
// code fields.
void WriteShape(const std::string& path, int type, const std::vector<double>& x, const std::vector<double>& y,
                const std::vector<double>& z) {
  SHPHandle shapes = SHPCreate(path.c_str(), type);
  SHPObject* shape = SHPCreateSimpleObject(type, static_cast<int>(x.size()), x.data(), y.data(), z.data());
  SHPWriteObject(shapes, -1, shape);
  SHPDestroyObject(shape);
  SHPClose(shapes);
  DBFHandle table = DBFCreate(path.c_str());
  DBFAddField(table, "codigo", FTString, 10, 0);
  DBFAddField(table, "Numero", FTDouble, 10, 2);
  DBFAddField(table, "z", FTDouble, 10, 3);
  DBFWriteStringAttribute(table, 0, 0, "MURO");
  DBFWriteDoubleAttribute(table, 0, 1, 41.99);
  DBFWriteDoubleAttribute(table, 0, 2, 5.5);
  DBFClose(table);
}

TEST_F(ShapefilePoints, EveryVertexOfAShapeIsAPointWithItsNumberAndCode) {
  WriteShape(dir.File("linea.shp"), SHPT_ARC, {1, 2, 3}, {4, 5, 6}, {7, 8, 9});
  ASSERT_EQ(ImportarPuntosDeShapeline(dir.File("linea.shp").c_str(), dir.File("linea.pun").c_str()), 1);
  // Field names in any case; the number truncated; z from the field for shapes without z.
  EXPECT_EQ(ReadFile(dir.File("linea.pun")), CrLf("   41       1.000       4.000    5.500 MURO\n"
                                                   "   41       2.000       5.000    5.500 MURO\n"
                                                   "   41       3.000       6.000    5.500 MURO\n"));
  WriteShape(dir.File("multi.shp"), SHPT_MULTIPOINTZ, {1, 2}, {4, 5}, {7, 8});
  ASSERT_EQ(ImportarPuntosDeShapeline(dir.File("multi.shp").c_str(), dir.File("multi.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("multi.pun")), CrLf("   41       1.000       4.000    7.000 MURO\n"
                                                   "   41       2.000       5.000    8.000 MURO\n"));
}

TEST_F(ShapefilePoints, EachFailureGivesZeroAndItsReason) {
  EXPECT_EQ(ImportarPuntosDeShapeline(dir.File("no-existe.shp").c_str(), dir.File("a.pun").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("a.pun")));  // the point file made before the source is read is removed

  WriteFile(dir.File("p.pun"), "1 1 1 1\n");
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("sin.shp").c_str()), 1);
  ASSERT_EQ(std::remove(dir.File("sin.dbf").c_str()), 0);
  EXPECT_EQ(ImportarPuntosDeShapeline(dir.File("sin.shp").c_str(), dir.File("b.pun").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("b.pun")));

  EXPECT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("no/c.shp").c_str()), 0);
  EXPECT_EQ(ExportarPuntosToShapeline(dir.File("no-existe.pun").c_str(), dir.File("d.shp").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("d.shp")));
  EXPECT_EQ(ImportarPuntosDeShapeline(DataFile("shapefile/masspntz.shp").c_str(), dir.File("no/e.pun").c_str()), 0);

  EXPECT_EQ(reasons, (std::vector<std::string>{"Shapeline|Imposible abrir fichero", "Shapeline|Imposible abrir base de datos",
                                               "Shapeline|Imposible crear archivo", "Shapeline|Imposible abrir fichero",
                                               "Shapeline|Imposible crear archivo"}));
}

TEST_F(ShapefilePoints, SourcesOfAnotherKindOrOfNoPointGiveZeroAndNoFile) {
  WriteFile(dir.File("dibujo.shp"), "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n");
  EXPECT_EQ(ImportarPuntosDeShapeline(dir.File("dibujo.shp").c_str(), dir.File("a.pun").c_str()), 0);
  WriteFile(dir.File("vacio.pun"), "\n");
  EXPECT_EQ(ExportarPuntosToShapeline(dir.File("vacio.pun").c_str(), dir.File("v.shp").c_str()), 0);
  EXPECT_EQ(ExportarPuntosToShapeline(DataFile("shapefile/masspntz.shp").c_str(), dir.File("w.shp").c_str()), 0);
  // One point is enough.
  WriteFile(dir.File("p.pun"), "1 1 1 1\n");
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("uno.shp").c_str()), 1);
  for (const char* name : {"a.pun", "v.shp", "v.shx", "v.DBF", "w.shp", "w.shx", "w.DBF"}) {
    EXPECT_FALSE(FileExists(dir.File(name))) << name;
  }
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "Error en la conversión|El fichero " + dir.File("dibujo.shp") + " no es un shapefile: parece un dibujo DXF",
                         "Error en la conversión|El fichero " + dir.File("vacio.pun") + " no contiene ningún punto",
                         "Error en la conversión|El fichero " + DataFile("shapefile/masspntz.shp") +
                             " no es un fichero de puntos: parece un shapefile",
                     }));
}

TEST(ShapefilePointsDefaults, FailuresAreSilentUnlessAHookIsSet) {
  TempDir dir;
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ImportarPuntosDeShapeline(dir.File("no-existe.shp").c_str(), dir.File("a.pun").c_str()), 0);
  EXPECT_EQ(ExportarPuntosToShapeline(nullptr, nullptr), 0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(ShapefilePointsDefaults, NumbersUseADecimalPointWhateverTheLocale) {
  if (std::setlocale(LC_ALL, "es_ES.UTF-8") == nullptr) GTEST_SKIP() << "sin locale es_ES.UTF-8";
  TempDir dir;
  WriteFile(dir.File("p.pun"), "7 1.5 2.25 3.125 A\n");
  const int exported = ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("p.shp").c_str());
  const int imported = ImportarPuntosDeShapeline(dir.File("p.shp").c_str(), dir.File("q.pun").c_str());
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(exported, 1);
  EXPECT_EQ(imported, 1);
  EXPECT_EQ(ReadFile(dir.File("q.pun")), CrLf("    7       1.500       2.250    3.125 A\n"));
}

}  // namespace

namespace {

TEST(ShapefilePointsDefaults, DamagedShapefilesNeverCrash) {
  TempDir dir;
  const std::string shapes = ReadFile(DataFile("shapefile/masspntz.shp"));
  const std::string index = ReadFile(DataFile("shapefile/masspntz.shx"));
  WriteFile(dir.File("roto.dbf"), ReadFile(DataFile("shapefile/masspntz.dbf")));
  // Whatever survives of the shapes, a result of 0 leaves no point file and a result of 1 a
  // point file with points.
  const auto importHolds = [&](std::size_t cut) {
    const int result = ImportarPuntosDeShapeline(dir.File("roto.shp").c_str(), dir.File("roto.pun").c_str());
    EXPECT_TRUE(result == 0 || result == 1) << cut;
    EXPECT_EQ(FileExists(dir.File("roto.pun")), result == 1) << cut;
    if (result == 1) {
      EXPECT_NE(ReadFile(dir.File("roto.pun")), "") << cut;
    }
    std::remove(dir.File("roto.pun").c_str());
  };
  for (std::size_t cut : {std::size_t{0}, std::size_t{50}, std::size_t{150}, shapes.size() / 2}) {
    WriteFile(dir.File("roto.shp"), shapes.substr(0, cut));
    WriteFile(dir.File("roto.shx"), index);
    importHolds(cut);
    WriteFile(dir.File("roto.shp"), shapes);
    WriteFile(dir.File("roto.shx"), index.substr(0, cut));
    importHolds(cut);
  }
}

}  // namespace

namespace {

// The table's numbers are formatted by the library itself: the .dbf must hold exactly the bytes
// shapelib's own double writer gives for the same points and fields.
TEST(ShapefilePointsDefaults, TableIsByteForByteWhatShapelibsDoubleWriterWrites) {
  TempDir dir;
  std::string points;
  std::vector<double> elevations;
  std::vector<int> numbers;
  unsigned seed = 3;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u; };
  const char* const oddElevations[] = {"-0.0004", "-0.0005", "0.0005", "1.0005", "2.0005", "-0", "0.125",
                                       "-12345.6785", "123456789.125", "4471990.0005", "1e-300", "-7.25"};
  for (int i = 0; i < 20000; ++i) {
    char z[64];
    if (i % 50 == 0) {
      std::snprintf(z, sizeof z, "%s", oddElevations[(i / 50) % (sizeof oddElevations / sizeof *oddElevations)]);
    } else {
      std::snprintf(z, sizeof z, "%.*f", static_cast<int>(next() % 7), (static_cast<int>(next() % 2000000) - 1000000) / 997.0);
    }
    const int number = i % 1000 == 7 ? -static_cast<int>(next() % 100000) : i + 1;
    char line[160];
    std::snprintf(line, sizeof line, "%d %d.25 %d.5 %s C%d\n", number, 440000 + i, 4470000 + i, z, i % 13);
    points += line;
    numbers.push_back(number);
    elevations.push_back(std::strtod(z, nullptr));
  }
  WriteFile(dir.File("p.pun"), CrLf(points));
  ASSERT_EQ(ExportarPuntosToShapeline(dir.File("p.pun").c_str(), dir.File("p.shp").c_str()), 1);

  DBFHandle ours = DBFOpen(dir.File("p.dbf").c_str(), "rb");
  ASSERT_NE(ours, nullptr);
  const std::vector<FieldInfo> fields = Fields(ours);
  ASSERT_EQ(fields.size(), 3u);
  EXPECT_GT(fields[1].width, 8);  // widened for 123456789.125
  DBFHandle reference = DBFCreateEx(dir.File("r.dbf").c_str(), "LDID/87");
  ASSERT_NE(reference, nullptr);
  for (const FieldInfo& field : fields) DBFAddField(reference, field.name.c_str(), field.type, field.width, field.decimals);
  for (int record = 0; record < DBFGetRecordCount(ours); ++record) {
    DBFWriteStringAttribute(reference, record, 2, DBFReadStringAttribute(ours, record, 2));
    ASSERT_TRUE(DBFWriteDoubleAttribute(reference, record, 0, numbers[static_cast<std::size_t>(record)]));
    ASSERT_TRUE(DBFWriteDoubleAttribute(reference, record, 1, elevations[static_cast<std::size_t>(record)]));
  }
  EXPECT_EQ(DBFGetRecordCount(ours), 20000);
  DBFClose(ours);
  DBFClose(reference);
  const std::string written = ReadFile(dir.File("p.dbf"));
  const std::string expected = ReadFile(dir.File("r.dbf"));
  ASSERT_EQ(written.size(), expected.size());
  EXPECT_TRUE(written == expected) << "first difference at byte "
                                   << std::mismatch(written.begin(), written.end(), expected.begin()).first - written.begin();
}

}  // namespace

// shapelib creates a file by writing its header, closing it and opening it again for update: the
// reopened file must start from the bytes just written, not from a read of the disk.
TEST(ShapefileMemoryHooks, AFileJustCreatedIsReopenedFromMemoryOnce) {
  TempDir dir;
  const std::string path = dir.File("t.shp");
  SAHooks hooks = shapeline::MemoryFileHooks();
  char header[] = "cabecera";
  SAFile created = hooks.FOpen(path.c_str(), "wb");
  ASSERT_NE(created, nullptr);
  ASSERT_EQ(hooks.FWrite(header, 1, 8, created), 8u);
  ASSERT_EQ(hooks.FClose(created), 0);
  EXPECT_EQ(ReadFile(path), "cabecera");
  WriteFile(path, "otra cosa");  // what a read of the disk would find
  const auto readAll = [&](const char* access) {
    SAFile file = hooks.FOpen(path.c_str(), access);
    char bytes[16] = {};
    const SAOffset count = file != nullptr ? hooks.FRead(bytes, 1, sizeof bytes, file) : 0;
    if (file != nullptr) hooks.FClose(file);
    return std::string(bytes, count);
  };
  EXPECT_EQ(readAll("r+b"), "cabecera");
  EXPECT_EQ(readAll("r+b"), "otra cosa");  // taken once
  EXPECT_EQ(readAll("rb"), "otra cosa");   // a file opened to read is always read
}
