// Shapefiles as GIS and survey programs write them: an index that disagrees with its shapes,
// multipoints whose header ranges say nothing, tables without the number field, geographic
// coordinates. The .shp and .shx are written here byte by byte in the form found; the table by
// shapelib.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <shapefil.h>
#include <string>
#include <vector>

#include "formats/shapefile/shapefile_points.h"
#include "shapeline.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

void Big(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}
void Little(std::string& out, int32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((static_cast<uint32_t>(value) >> shift) & 0xFF);
}
void Double(std::string& out, double value) {
  char bytes[8];
  std::memcpy(bytes, &value, 8);
  out.append(bytes, 8);
}

// A header of 100 bytes: file length in words, shape type, and a box whose z and m are 0 to 0.
std::string Header(std::size_t bytes, int32_t type) {
  std::string header;
  Big(header, 9994);
  header.append(20, '\0');
  Big(header, static_cast<uint32_t>(bytes / 2));
  Little(header, 1000);
  Little(header, type);
  for (int i = 0; i < 8; ++i) Double(header, 0);
  return header;
}

struct Vertex {
  double x, y, z;
};

// The .shp and .shx of records of `type` (PointZ: one vertex each; MultiPointZ: all of them).
struct Shapes {
  std::string shp;
  std::string shx;
};
Shapes Write(int32_t type, const std::vector<std::vector<Vertex>>& records) {
  std::string body;
  std::string index;
  int number = 0;
  for (const std::vector<Vertex>& record : records) {
    std::string content;
    Little(content, type);
    if (type == SHPT_POINTZ) {
      Double(content, record[0].x);
      Double(content, record[0].y);
      Double(content, record[0].z);
      Double(content, 0);
    } else {
      for (int i = 0; i < 4; ++i) Double(content, 0);  // box
      Little(content, static_cast<int32_t>(record.size()));
      for (const Vertex& v : record) {
        Double(content, v.x);
        Double(content, v.y);
      }
      Double(content, 0);  // z range
      Double(content, 0);
      for (const Vertex& v : record) Double(content, v.z);
    }
    Big(index, static_cast<uint32_t>((100 + body.size()) / 2));
    Big(index, static_cast<uint32_t>(content.size() / 2));
    Big(body, static_cast<uint32_t>(++number));
    Big(body, static_cast<uint32_t>(content.size() / 2));
    body += content;
  }
  return {Header(100 + body.size(), type) + body, Header(100 + index.size(), type) + index};
}

// A table of `records` rows with the fields given (each an integer field of every row's value).
void WriteTable(const std::string& path, int records, const std::vector<std::string>& integerFields,
                const char* code = nullptr) {
  DBFHandle table = DBFCreate(path.c_str());
  for (const std::string& field : integerFields) DBFAddField(table, field.c_str(), FTInteger, 6, 0);
  const int codeField = code != nullptr ? DBFAddField(table, "CODIGO", FTString, 10, 0) : -1;
  for (int row = 0; row < records; ++row) {
    for (int field = 0; field < static_cast<int>(integerFields.size()); ++field) {
      DBFWriteIntegerAttribute(table, row, field, 100 + row);
    }
    if (codeField >= 0) DBFWriteStringAttribute(table, row, codeField, code);
  }
  DBFClose(table);
}

std::vector<std::string> g_said;
void Keep(const char* caption, const char* text) { g_said.push_back(std::string(caption) + "|" + text); }

class ShapefileForms : public ::testing::Test {
 protected:
  void SetUp() override {
    g_said.clear();
    Shapeline_SetMessageHook(&Keep);
  }
  void TearDown() override { Shapeline_SetMessageHook(nullptr); }
  int Import(const std::string& name) {
    return ImportarPuntosDeShapeline(dir.File(name + ".shp").c_str(), dir.File(name + ".pun").c_str());
  }
  long Count(const std::string& name) {
    long points = 0;
    shapeline::ReadShapefilePoints(dir.File(name + ".shp"), [&](const shapeline::ShapefilePoint&) { ++points; });
    return points;
  }
  TempDir dir;
};

TEST_F(ShapefileForms, AnIndexThatDisagreesWithItsShapesGivesWayToTheShapesInSequence) {
  std::vector<std::vector<Vertex>> records;
  for (int i = 0; i < 22; ++i) records.push_back({{500000.0 + i, 4400000.0 + i, 600.0 + i}});
  Shapes shapes = Write(SHPT_POINTZ, records);
  // The index says 8 records, two of them at offsets that are no record.
  std::string index = shapes.shx.substr(0, 100 + 8 * 8);
  const std::string header = Header(index.size(), SHPT_POINTZ);
  index.replace(0, 100, header);
  index[100 + 8 * 2 + 3] = static_cast<char>(index[100 + 8 * 2 + 3] + 2);
  index[100 + 8 * 5 + 3] = static_cast<char>(index[100 + 8 * 5 + 3] + 6);
  WriteFile(dir.File("p.shp"), shapes.shp);
  WriteFile(dir.File("p.shx"), index);
  WriteTable(dir.File("p.dbf"), 22, {"NUMERO"});
  ASSERT_EQ(Import("p"), 1);
  const std::string points = ReadFile(dir.File("p.pun"));
  EXPECT_EQ(std::count(points.begin(), points.end(), '\n'), 22);
  EXPECT_EQ(points.substr(0, points.find('\n') + 1), CrLf("  100  500000.000 4400000.000  600.000 \n"));
  EXPECT_EQ(Count("p"), 22);  // what info counts
  ASSERT_EQ(g_said.size(), 1u);
  EXPECT_EQ(g_said[0],
            "Aviso|el índice (.shx) no corresponde al .shp (6 registros válidos en el índice): se han leído los 22 "
            "registros del .shp en orden");

  // An index that agrees is read without a word.
  g_said.clear();
  WriteFile(dir.File("p.shx"), shapes.shx);
  ASSERT_EQ(Import("p"), 1);
  EXPECT_EQ(ReadFile(dir.File("p.pun")), points);
  EXPECT_TRUE(g_said.empty());
}

TEST_F(ShapefileForms, EveryVertexOfAMultipointIsAPointWithTheElevationOfItsRecord) {
  // The header's z range is 0 to 0, as two real files have it: the elevations are the records'.
  const Shapes shapes = Write(SHPT_MULTIPOINTZ, {{{10, 20, 101.5}, {11, 21, 102.5}, {12, 22, 103.5}}, {{13, 23, 99}}});
  WriteFile(dir.File("m.shp"), shapes.shp);
  WriteFile(dir.File("m.shx"), shapes.shx);
  WriteTable(dir.File("m.dbf"), 2, {"NUMERO"}, "MURO");
  ASSERT_EQ(Import("m"), 1);
  EXPECT_EQ(ReadFile(dir.File("m.pun")), CrLf("  100      10.000      20.000  101.500 MURO\n"
                                              "  100      11.000      21.000  102.500 MURO\n"
                                              "  100      12.000      22.000  103.500 MURO\n"
                                              "  101      13.000      23.000   99.000 MURO\n"));
  EXPECT_EQ(Count("m"), 4);
  EXPECT_TRUE(g_said.empty());
}

TEST_F(ShapefileForms, WithoutANumberFieldAnIdentifierOrTheRecordNumbersThePoints) {
  const Shapes shapes = Write(SHPT_POINTZ, {{{500000, 4400000, 1}}, {{500001, 4400001, 2}}});
  WriteFile(dir.File("n.shp"), shapes.shp);
  WriteFile(dir.File("n.shx"), shapes.shx);
  struct Case {
    std::vector<std::string> fields;
    const char* numbers;  // the first two characters of each line
    const char* said;
  };
  const Case cases[] = {
      {{"altura", "Punto"}, "  100  101", "Aviso|la tabla no tiene campo NUMERO: los puntos se numeran con el campo Punto"},
      {{"id"}, "  100  101", "Aviso|la tabla no tiene campo NUMERO: los puntos se numeran con el campo id"},
      {{"ALTURA"}, "    1    2",
       "Aviso|la tabla no tiene campo NUMERO ni otro identificador entero: los puntos se numeran por su registro, "
       "desde 1"},
      {{"NUMERO", "ID"}, "  100  101", nullptr},
  };
  for (const Case& c : cases) {
    g_said.clear();
    std::remove(dir.File("n.dbf").c_str());
    WriteTable(dir.File("n.dbf"), 2, c.fields);
    ASSERT_EQ(Import("n"), 1);
    const std::string points = ReadFile(dir.File("n.pun"));
    EXPECT_EQ(points.substr(0, 5) + points.substr(points.find('\n') + 1, 5), c.numbers) << c.fields[0];
    if (c.said == nullptr) {
      EXPECT_TRUE(g_said.empty()) << c.fields[0];
    } else {
      ASSERT_EQ(g_said.size(), 1u) << c.fields[0];
      EXPECT_EQ(g_said[0], c.said);
    }
  }
}

TEST_F(ShapefileForms, GeographicCoordinatesAreSaidToLoseTheirDecimals) {
  const std::string warning =
      "el fichero de puntos guarda 3 decimales, un redondeo de hasta 0,0005° (unos 55 m sobre el terreno)";
  struct Case {
    std::vector<Vertex> points;
    const char* projection;
    std::string said;
  };
  const Case cases[] = {
      {{{-3.70379, 40.41678, 650}, {-3.70312, 40.41701, 651}}, nullptr, "Aviso|las coordenadas parecen grados: " + warning},
      {{{-3.70379, 40.41678, 650}}, "GEOGCS[\"GCS_ETRS_1989\",DATUM[\"D_ETRS_1989\"]]",
       "Aviso|las coordenadas son geográficas (grados): " + warning},
      // Plane coordinates, and small ones of a local grid spread over more than two units.
      {{{440291.123, 4474256.456, 650}}, "PROJCS[\"ETRS89_UTM_30N\",GEOGCS[\"GCS_ETRS_1989\"]]", ""},
      {{{-3.16347, -0.60367, 0}, {11.92569, 10.54256, 0}}, nullptr, ""},
  };
  for (const Case& c : cases) {
    g_said.clear();
    std::vector<std::vector<Vertex>> records;
    for (const Vertex& v : c.points) records.push_back({v});
    const Shapes shapes = Write(SHPT_POINTZ, records);
    WriteFile(dir.File("g.shp"), shapes.shp);
    WriteFile(dir.File("g.shx"), shapes.shx);
    std::remove(dir.File("g.dbf").c_str());
    std::remove(dir.File("g.prj").c_str());
    WriteTable(dir.File("g.dbf"), static_cast<int>(records.size()), {"NUMERO"});
    if (c.projection != nullptr) WriteFile(dir.File("g.prj"), c.projection);
    ASSERT_EQ(Import("g"), 1);
    if (c.said.empty()) {
      EXPECT_TRUE(g_said.empty()) << c.points[0].x;
    } else {
      ASSERT_EQ(g_said.size(), 1u) << c.points[0].x;
      EXPECT_EQ(g_said[0], c.said);
    }
  }
}

}  // namespace
