// The DXF group reader, the section scanners and the entity readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/dxf/dxf_reader.h"
#include "support/test_support.h"

namespace {

using namespace planimetro::dxf;

// A DXF text from groups given as code and value, one line each.
std::string Groups(const std::vector<std::pair<std::string, std::string>>& groups) {
  std::string text;
  for (const auto& [code, value] : groups) text += code + "\n" + value + "\n";
  return text;
}

TEST(DxfGroups, CodesAreReadLenientlyAndValuesKeepTheirBlanks) {
  DxfFile file(testing_support::CrLf("  10  \n1.5\n\nSECTION \n 999\n\n"));
  DxfGroup group;
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_EQ(group.code, 10);
  EXPECT_EQ(group.value, "1.5");
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_EQ(group.code, 0);  // a line holding only its line end
  EXPECT_EQ(group.value, "SECTION ");
  EXPECT_FALSE(IsKeyword(group.value, "SECTION"));
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_EQ(group.code, 999);
  EXPECT_EQ(group.value, "");
  EXPECT_FALSE(LeerGrupoDxf(file, group));
}

TEST(DxfGroups, ACodeWithoutItsValueEndsTheFile) {
  DxfFile file("0\nPOINT\n10");
  DxfGroup group;
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_FALSE(LeerGrupoDxf(file, group));
}

TEST(DxfScanners, FindTheLayerTableAndTheEntitiesInAnyLetterCase) {
  // A table other than the layer table and a section other than the entities come first.
  const std::string text = Groups({{"0", "section"}, {"2", "tables"}, {"0", "table"}, {"2", "ltype"},
                                   {"0", "endtab"}, {"2", "layer"}, {"0", "table"}, {"2", "layer"},
                                   {"0", "endtab"}, {"0", "endsec"}, {"2", "entities"}, {"0", "section"},
                                   {"2", "Entities"}, {"0", "point"}});
  DxfFile layers(text);
  ASSERT_TRUE(BuscarTablaCapas(layers));
  DxfGroup group;
  ASSERT_TRUE(LeerGrupoDxf(layers, group));
  EXPECT_EQ(group.value, "endtab");

  DxfFile entities(text);
  ASSERT_TRUE(BuscarEntidades(entities));
  ASSERT_TRUE(LeerGrupoDxf(entities, group));
  EXPECT_EQ(group.value, "point");

  DxfFile none(Groups({{"0", "SECTION"}, {"2", "HEADER"}, {"0", "ENDSEC"}, {"0", "EOF"}}));
  EXPECT_FALSE(BuscarTablaCapas(none));
}

TEST(DxfEntities, EachReaderStopsBeforeTheNextEntity) {
  DxfFile file(Groups({{"0", "POINT"}, {"8", "A"}, {"10", "1"}, {"20", "2"},  // no z
                       {"0", "POINT"}, {"10", "3"}, {"20", "4"}, {"30", "5"},
                       {"0", "3DFACE"}, {"8", "MDT"}, {"10", "0"}, {"20", "0"}, {"30", "1"},
                       {"11", "1"}, {"21", "0"}, {"31", "2"}, {"12", "1"}, {"22", "1"}, {"32", "3"},
                       {"0", "LWPOLYLINE"}, {"8", "EJE"}, {"90", "2"}, {"43", "7.5"}, {"10", "1"}, {"20", "2"},
                       {"42", "0.5"}, {"10", "3"}, {"20", "4"},
                       {"0", "EOF"}}));
  DxfGroup group;
  DxfVertex point;
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  ASSERT_TRUE(LeerPunto(file, point));
  EXPECT_DOUBLE_EQ(point.x, 1);
  EXPECT_DOUBLE_EQ(point.z, 0);
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  ASSERT_EQ(group.value, "POINT");  // the second point is not swallowed by the first
  ASSERT_TRUE(LeerPunto(file, point));
  EXPECT_DOUBLE_EQ(point.z, 5);

  ASSERT_TRUE(LeerGrupoDxf(file, group));
  ASSERT_EQ(group.value, "3DFACE");
  DxfFace face;
  ASSERT_TRUE(LeerCara3D(file, face));
  EXPECT_EQ(face.layer, "MDT");
  EXPECT_DOUBLE_EQ(face.corners[1].z, 2);
  EXPECT_DOUBLE_EQ(face.corners[3].y, 1);  // a face without a fourth corner repeats the third
  EXPECT_DOUBLE_EQ(face.corners[3].z, 3);

  ASSERT_TRUE(LeerGrupoDxf(file, group));
  ASSERT_EQ(group.value, "LWPOLYLINE");
  DxfPolyline polyline;
  ASSERT_TRUE(LeerPolilineaLigera(file, polyline));
  EXPECT_EQ(polyline.layer, "EJE");
  ASSERT_EQ(polyline.vertices.size(), 2u);
  EXPECT_DOUBLE_EQ(polyline.vertices[1].x, 3);
  EXPECT_DOUBLE_EQ(polyline.vertices[1].z, 7.5);
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_EQ(group.value, "EOF");
}

TEST(DxfEntities, PolylineVerticesUpToSeqendWithoutFaceRecords) {
  DxfFile file(Groups({{"0", "POLYLINE"}, {"8", "BORDE"}, {"66", "1"}, {"10", "0"}, {"20", "0"}, {"30", "9"},
                       {"0", "VERTEX"}, {"8", "BORDE"}, {"10", "1"}, {"20", "2"}, {"30", "3"},
                       {"0", "VERTEX"}, {"10", "4"}, {"20", "5"},  // a 2D vertex has no 30
                       {"0", "VERTEX"}, {"70", "128"}, {"71", "1"}, {"72", "2"},
                       {"0", "SEQEND"}, {"0", "POINT"}}));
  DxfGroup group;
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  DxfPolyline polyline;
  ASSERT_TRUE(LeerPolilinea(file, polyline));
  EXPECT_EQ(polyline.layer, "BORDE");
  ASSERT_EQ(polyline.vertices.size(), 2u);
  EXPECT_DOUBLE_EQ(polyline.vertices[0].z, 3);
  EXPECT_DOUBLE_EQ(polyline.vertices[1].x, 4);
  EXPECT_DOUBLE_EQ(polyline.vertices[1].z, 0);
  ASSERT_TRUE(LeerGrupoDxf(file, group));
  EXPECT_EQ(group.value, "POINT");
}

TEST(DxfEntities, TruncatedEntitiesAreReportedAsIncomplete) {
  DxfGroup group;
  DxfFace face;
  DxfFile face2(Groups({{"0", "3DFACE"}, {"10", "0"}, {"20", "0"}, {"30", "0"}, {"11", "1"}}));
  ASSERT_TRUE(LeerGrupoDxf(face2, group));
  EXPECT_FALSE(LeerCara3D(face2, face));

  DxfPolyline polyline;
  DxfFile light(Groups({{"0", "LWPOLYLINE"}, {"90", "3"}, {"10", "0"}, {"20", "0"}}));
  ASSERT_TRUE(LeerGrupoDxf(light, group));
  EXPECT_FALSE(LeerPolilineaLigera(light, polyline));
  EXPECT_EQ(polyline.vertices.size(), 1u);

  DxfFile heavy(Groups({{"0", "POLYLINE"}, {"0", "VERTEX"}, {"10", "1"}, {"20", "1"}}));
  ASSERT_TRUE(LeerGrupoDxf(heavy, group));
  EXPECT_FALSE(LeerPolilinea(heavy, polyline));
  EXPECT_EQ(polyline.vertices.size(), 1u);
}

// Every entity named `name` of the entities section of a real drawing, read with `read`.
template <typename Record, typename Reader>
std::vector<Record> EntitiesOf(const std::string& drawing, const char* name, Reader read) {
  DxfFile file;
  EXPECT_TRUE(file.Open(testing_support::DataFile(drawing)));
  EXPECT_TRUE(BuscarEntidades(file));
  std::vector<Record> records;
  DxfGroup group;
  while (LeerGrupoDxf(file, group)) {
    if (group.code == 0 && IsKeyword(group.value, "ENDSEC")) break;
    Record record;
    if (group.code == 0 && IsKeyword(group.value, name) && read(file, record)) records.push_back(record);
  }
  return records;
}

TEST(DxfEntities, RealDrawings) {
  // Faces and light polylines from a full CAD program, with padded group codes.
  const auto faces = EntitiesOf<DxfFace>("dxf/3dface.dxf", "3DFACE", LeerCara3D);
  ASSERT_EQ(faces.size(), 44u);
  EXPECT_EQ(faces[0].layer, "0");
  EXPECT_NEAR(faces[0].corners[0].x, 689.842987262401, 1e-9);
  EXPECT_NEAR(faces[0].corners[3].y, 3530.358329331486, 1e-9);
  const auto light = EntitiesOf<DxfPolyline>("dxf/3dface.dxf", "LWPOLYLINE", LeerPolilineaLigera);
  ASSERT_EQ(light.size(), 5u);
  ASSERT_EQ(light[0].vertices.size(), 4u);
  EXPECT_NEAR(light[0].vertices[1].x, 2805.224722851854, 1e-9);

  // R12 polylines with bulges and widths: 30 polylines of 101 vertices in all.
  const auto heavy = EntitiesOf<DxfPolyline>("dxf/POLI-ALL210_12.DXF", "POLYLINE", LeerPolilinea);
  ASSERT_EQ(heavy.size(), 30u);
  std::size_t vertices = 0;
  for (const DxfPolyline& polyline : heavy) vertices += polyline.vertices.size();
  EXPECT_EQ(vertices, 101u);
  EXPECT_EQ(heavy[0].layer, "T-2DPLINE-ALL");
  ASSERT_EQ(heavy[0].vertices.size(), 5u);
  EXPECT_NEAR(heavy[0].vertices[0].x, -6.255607057780904, 1e-9);

  const auto points = EntitiesOf<DxfVertex>("dxf/Leica_Disto_S910.dxf", "POINT", LeerPunto);
  ASSERT_EQ(points.size(), 11u);
  EXPECT_NEAR(points[0].z, -1.078038, 1e-12);
}

}  // namespace
