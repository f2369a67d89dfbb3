// Polylines of chosen layers to the lines file: projection on straights, arcs and clothoids,
// sections, order and the export's files.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "common/clothoid.h"
#include "common/geometry.h"
#include "planimetro.h"
#include "planimetro/lines/lines_file.h"
#include "support/test_support.h"

namespace {

using planimetro::lines::PuntoLinea;
using planimetro::lines::TramoLineas;
using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Lwpolyline(const std::string& layer, const std::vector<std::array<double, 2>>& vertices, double elevation) {
  char text[128];
  std::string entity = "  0\nLWPOLYLINE\n  8\n" + layer + "\n 90\n" + std::to_string(vertices.size()) + "\n";
  std::snprintf(text, sizeof text, " 43\n%g\n", elevation);
  entity += text;
  for (const auto& v : vertices) {
    std::snprintf(text, sizeof text, " 10\n%.4f\n 20\n%.4f\n", v[0], v[1]);
    entity += text;
  }
  return entity;
}

std::string Drawing(const std::string& entities) {
  return "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n  0\nLAYER\n  2\nBORDES\n  0\nENDTAB\n  0\nENDSEC\n"
         "  0\nSECTION\n  2\nENTITIES\n" + entities + "  0\nENDSEC\n  0\nEOF\n";
}

// The reasons shown through the library's message hook.
std::vector<std::string> shown;
void Show(const char* caption, const char* text) { shown.push_back(std::string(caption) + "|" + text); }

// Lists the drawing's layers (making it the current drawing) and converts: the lines file, or
// "<none>" when the conversion failed (and wrote none).
std::string Convert(const TempDir& dir, const std::string& drawing, const std::string& layers, const std::string& alignment) {
  WriteFile(dir.File("d.dxf"), drawing);
  WriteFile(dir.File("capas.txt"), layers);
  WriteFile(dir.File("eje.eje"), alignment);
  Calzada_getCapasDxf(dir.File("d.cap").c_str(), dir.File("d.dxf").c_str());
  const int result = Calzada_creaFicheroLineas(dir.File("l.txt").c_str(), "ignorado.dxf", dir.File("capas.txt").c_str(),
                                               dir.File("eje.eje").c_str());
  EXPECT_EQ(testing_support::FileExists(dir.File("l.txt")), result == 1);
  return result == 1 ? ReadFile(dir.File("l.txt")) : "<none>";
}

// A straight due north from (1000, 2000), 200 m long.
const char kStraight[] = "* Eje recto\n* 1.0 2\n0 1000 2000 0 0 0\n200 1000 2200 0 0 0\n";

TEST(LinesFile, OffsetsEndsSectionsLayersAndOrder) {
  TempDir dir;
  std::string entities;
  // On the axis, 0.005 to the right (written as 0), 1 m to the left; past the end by 0.0005
  // (kept) and by 0.002 (dropped); before the start (dropped).
  entities += Lwpolyline("bordes", {{1000, 2050}, {1000.005, 2040}, {999, 2030}}, 5);
  entities += Lwpolyline("BORDES", {{1000, 2200.0005}, {1002, 2200.002}, {1000, 1999.9}}, 6);
  // Rounded stations 100.050, 100.100 and 100.100 form one section at the most frequent.
  entities += Lwpolyline("Bordes", {{1003, 2100.05}, {998, 2100.1}, {1001, 2100.1}}, 7);
  entities += Lwpolyline("EJE", {{1000, 2010}}, 0);
  const std::string written = Convert(dir, Drawing(entities), "BORDES\n", kStraight);
  EXPECT_EQ(written, CrLf("30.000 -1.000 999.000 2030.000 5.000 bordes\n"
                          "40.000 0.000 1000.005 2040.000 5.000 bordes\n"
                          "50.000 0.000 1000.000 2050.000 5.000 bordes\n"
                          "100.100 -2.000 998.000 2100.100 7.000 Bordes\n"
                          "100.100 1.000 1001.000 2100.100 7.000 Bordes\n"
                          "100.100 3.000 1003.000 2100.050 7.000 Bordes\n"
                          "200.001 0.000 1000.000 2200.001 6.000 BORDES\n"));
}

TEST(LinesFile, MissingOrEmptyInputsGiveZeroNoFileAndTheReason) {
  TempDir dir;
  const std::string drawing = Drawing(Lwpolyline("BORDES", {{1000, 2050}}, 5));
  // The layer list's last line may lack its line end.
  EXPECT_EQ(Convert(dir, drawing, "BORDES", kStraight), CrLf("50.000 0.000 1000.000 2050.000 5.000 BORDES\n"));
  std::remove(dir.File("l.txt").c_str());

  shown.clear();
  Planimetro_SetMessageHook(Show);
  EXPECT_EQ(Convert(dir, drawing, "BORDES\n", ""), "<none>");
  EXPECT_EQ(Convert(dir, drawing, "OTRA\n", kStraight), "<none>");
  EXPECT_EQ(Convert(dir, drawing, "\n", kStraight), "<none>");
  EXPECT_EQ(Convert(dir, "1 100 200 30\n", "BORDES\n", kStraight), "<none>");
  EXPECT_EQ(Calzada_creaFicheroLineas(dir.File("x.txt").c_str(), "", dir.File("no-capas").c_str(), dir.File("no-eje").c_str()), 0);
  EXPECT_EQ(Calzada_creaFicheroLineas(dir.File("x.txt").c_str(), "", dir.File("capas.txt").c_str(), dir.File("no-eje").c_str()), 0);
  WriteFile(dir.File("d.dxf"), drawing);
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("d.cap").c_str(), dir.File("d.dxf").c_str()), 1);
  EXPECT_EQ(Calzada_creaFicheroLineas(dir.File("no/x.txt").c_str(), "", dir.File("capas.txt").c_str(),
                                      dir.File("eje.eje").c_str()),
            0);
  Planimetro_SetMessageHook(nullptr);
  EXPECT_FALSE(testing_support::FileExists(dir.File("x.txt")));
  const std::string failed = "Error en la conversión|";
  EXPECT_EQ(shown, (std::vector<std::string>{
                       failed + "El fichero " + dir.File("eje.eje") + " no contiene ningún eje",
                       failed + "El fichero " + dir.File("d.dxf") +
                           " no contiene ninguna polilínea de las capas elegidas sobre el eje",
                       failed + "El fichero " + dir.File("capas.txt") + " no contiene ninguna capa",
                       // A drawing of text is refused when its layers are listed and when it is read.
                       failed + "El fichero " + dir.File("d.dxf") + " no es un dibujo DXF: parece un fichero de texto",
                       failed + "El fichero " + dir.File("d.dxf") + " no es un dibujo DXF: parece un fichero de texto",
                       failed + "No existe el fichero " + dir.File("no-capas"),
                       failed + "No existe el fichero " + dir.File("no-eje"),
                       failed + "No se puede escribir el fichero " + dir.File("no/x.txt") + ": la carpeta no existe",
                   }));
}

TEST(LinesFile, NoDrawingListedGivesZeroAndSaysSo) {
  TempDir dir;
  WriteFile(dir.File("capas.txt"), "BORDES\n");
  WriteFile(dir.File("eje.eje"), kStraight);
  // Listing a drawing that does not exist still makes it the current one.
  Calzada_getCapasDxf(dir.File("d.cap").c_str(), dir.File("no-existe.dxf").c_str());
  shown.clear();
  Planimetro_SetMessageHook(Show);
  EXPECT_EQ(Calzada_creaFicheroLineas(dir.File("l.txt").c_str(), "", dir.File("capas.txt").c_str(), dir.File("eje.eje").c_str()), 0);
  Planimetro_SetMessageHook(nullptr);
  EXPECT_FALSE(testing_support::FileExists(dir.File("l.txt")));
  EXPECT_EQ(shown, (std::vector<std::string>{"Error en la conversión|No existe el fichero " + dir.File("no-existe.dxf")}));
}

TEST(LinesFile, SectionsAreNotChainedAndFrequencyWins) {
  std::vector<PuntoLinea> points;
  long sequence = 0;
  for (const double station : {10.0, 10.15, 10.15, 10.3, 10.3, 10.3, 10.5}) {
    PuntoLinea point;
    point.station = station;
    point.sequence = sequence++;
    points.push_back(point);
  }
  planimetro::lines::GatherAndSort(points);
  // 10.3 is the most frequent: it takes 10.15 (0.15 away) but not 10.0 nor 10.5 (0.2 away).
  std::vector<double> stations;
  for (const PuntoLinea& point : points) stations.push_back(point.station);
  EXPECT_EQ(stations, (std::vector<double>{10.0, 10.3, 10.3, 10.3, 10.3, 10.3, 10.5}));
}

// The sample road: straight, entry clothoid, arc, exit clothoid, straight, reverse curve.
const char kRoad[] =
    "0.000 442350.000 4471820.000 62.500000 0.000 0.000\n"
    "350.000 442641.014 4472014.450 62.500000 250.000 500.000\n"
    "475.000 442747.676 4472079.462 70.457747 0.000 500.000\n"
    "775.000 443039.229 4472127.724 108.654933 250.000 0.000\n"
    "900.000 443161.151 4472100.551 116.612681 0.000 0.000\n"
    "1100.000 443354.380 4472048.951 116.612681 0.000 -400.000\n"
    "1250.000 443503.100 4472038.008 92.739439 0.000 350.000\n"
    "1410.000 443660.672 4472019.883 121.842057 0.000 0.000\n"
    "1660.000 443896.101 4471935.782 121.842057 0.000 0.000\n";

TEST(LinesProjection, StationsAndOffsetsOnEveryKindOfElement) {
  TempDir dir;
  WriteFile(dir.File("v.eje"), kRoad);
  std::vector<TramoLineas> road;
  ASSERT_TRUE(planimetro::lines::ReadLinesAlignment(dir.File("v.eje"), road));
  ASSERT_EQ(road.size(), 9u);
  // Start points recomputed after a straight and after an arc agree with the file to the mm.
  EXPECT_NEAR(road[1].element.x, 442641.014, 0.002);
  EXPECT_NEAR(road[1].element.y, 4472014.450, 0.002);
  EXPECT_NEAR(road[3].element.x, 443039.229, 0.002);
  EXPECT_EQ(road[1].element.kind, common::kClothoid);
  EXPECT_EQ(road[8].element.length, 0);

  // Points placed at a known station and offset on each element, then projected back.
  for (double station = 5; station < 1660; station += 37.3) {
    std::size_t i = 0;
    while (i + 1 < road.size() && road[i + 1].element.station <= station) ++i;
    const common::AlignmentElement& e = road[i].element;
    common::Point2 axis;
    double azimuth = e.azimuth;
    if (e.kind == common::kStraight) {
      axis = common::PointAlong(common::Point2{e.x, e.y}, station - e.station, e.azimuth);
    } else if (e.kind == common::kArc) {
      const common::ArcPoint at = common::PointOnArc(e, station);
      axis = at.point;
      azimuth = at.azimuth;
    } else {
      const common::ClothoidPoint at = common::PointOnClothoid(road[i].clothoid, station - e.station);
      axis = at.point;
      azimuth = at.azimuth;
    }
    for (const double offset : {-7.5, 0.0, 12.25}) {
      const common::Point2 point = common::PointAlong(axis, offset, azimuth + 100);
      double gotStation = 0;
      double gotOffset = 0;
      ASSERT_TRUE(planimetro::lines::ProjectOnAlignment(road, point, gotStation, gotOffset)) << station;
      EXPECT_NEAR(gotStation, station, 0.001) << station << " " << offset;
      EXPECT_NEAR(gotOffset, offset, 0.001) << station << " " << offset;
    }
  }
  // A point behind the start of the road, square to it, projects nowhere.
  double s = 0;
  double o = 0;
  EXPECT_FALSE(planimetro::lines::ProjectOnAlignment(road, common::PointAlong(common::Point2{442350, 4471820}, -5, 62.5), s, o));
}

}  // namespace

namespace {

TEST(LinesFile, SampleRoadEdgesAndDitches) {
  TempDir dir;
  const std::string samples = std::string(PASARELA_SOURCE_DIR) + "/samples/";
  Calzada_getCapasDxf(dir.File("bordes.cap").c_str(), (samples + "dxf/bordes.dxf").c_str());
  ASSERT_EQ(Calzada_creaFicheroLineas(dir.File("l.txt").c_str(), "", (samples + "dxf/bordes-capas.txt").c_str(),
                                      (samples + "ejes/variante.eje").c_str()),
            1);
  const std::string written = ReadFile(dir.File("l.txt"));
  // Nine sections from 300 to 460 (straight and entry clothoid), each with the ditch 5 m to
  // the left (drawn 0.08 further on, gathered into the section) and both edges at 3.5 m.
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < written.size();) {
    const std::size_t end = written.find("\r\n", start);
    lines.push_back(written.substr(start, end - start));
    start = end + 2;
  }
  ASSERT_EQ(lines.size(), 27u);
  EXPECT_EQ(lines[0].substr(0, 15), "300.000 -5.000 ");
  EXPECT_EQ(lines[1].substr(0, 15), "300.000 -3.500 ");
  EXPECT_EQ(lines[2].substr(0, 14), "300.000 3.500 ");
  EXPECT_EQ(lines[26].substr(0, 14), "460.000 3.500 ");
  EXPECT_NE(lines[26].find(" BORDES"), std::string::npos);
}

}  // namespace
