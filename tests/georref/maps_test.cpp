// Points, a surface and an alignment written as GeoJSON, KML, KMZ and GeoPackage, read back by
// GDAL's ogrinfo (layers, geometry types, counts, coordinates against cs2cs) and the KML by
// python's XML parser.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "common/outcome.h"
#include "common/records.h"
#include "formats/geo/alignment_samples.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/point_file.h"
#include "georref/geo_test_support.h"
#include "georref/georeferencing.h"

namespace {

using testing_support::Quoted;
using testing_support::RunCommand;
using testing_support::TempDir;

const std::string kPoints = PASARELA_SOURCE_DIR "/samples/puntos/levantamiento.pun";
const std::string kSurface = PASARELA_TEST_DATA "/geo/terreno.sup";
const std::string kAlignment = PASARELA_SOURCE_DIR "/samples/ejes/variante.eje";

std::string OgrSummary(const std::string& path) {
  std::string output;
  RunCommand("ogrinfo -ro -al -so " + Quoted(path) + " 2>&1", output);
  return output;
}

// "Layer name: X" ... "Geometry: Y" ... "Feature Count: N" of one layer, as "Y N".
std::string LayerLine(const std::string& summary, const std::string& layer) {
  const std::size_t at = summary.find("Layer name: " + layer + "\n");
  if (at == std::string::npos) return "no layer " + layer;
  const std::size_t geometry = summary.find("Geometry: ", at);
  const std::size_t count = summary.find("Feature Count: ", at);
  if (geometry == std::string::npos || count == std::string::npos) return "incomplete";
  const auto line = [&](std::size_t from, std::size_t skip) {
    return summary.substr(from + skip, summary.find('\n', from) - from - skip);
  };
  return line(geometry, 10) + " " + line(count, 15);
}

// How many geometries of the WKT kind `kind` ("POINT Z") ogrinfo lists in the file.
int GeometryCount(const std::string& path, const std::string& kind) {
  std::string output;
  RunCommand("ogrinfo -ro -al -q " + Quoted(path) + " 2>&1", output);
  int count = 0;
  for (std::size_t at = output.find("  " + kind + " ("); at != std::string::npos;
       at = output.find("  " + kind + " (", at + 1)) {
    ++count;
  }
  return count;
}

std::size_t PointCount() {
  std::vector<common::NativePoint> points;
  common::ReadPointFile(kPoints, common::PointCodeRule::kRestOfLine, points);
  return points.size();
}

int Write(int (*conversion)(const std::string&, const std::string&), const std::string& source, const std::string& target,
          const char* system = "EPSG:25830", const char* targetSystem = "") {
  EXPECT_TRUE(georref::SetSystems(system, targetSystem, false));
  return conversion(source, target);
}

TEST(Maps, EveryFormatOpensInOgrinfoWithItsLayersTypesAndCounts) {
  const std::string points = std::to_string(PointCount());
  struct Case {
    const char* extension;
    int (*conversion)(const std::string&, const std::string&);
    std::string source;
    std::vector<std::pair<std::string, std::string>> layers;  // layer, "geometry count"
    // KML keeps no geometry type per folder: the geometries themselves, by kind and count.
    std::vector<std::pair<std::string, int>> geometries = {};
  };
  const std::vector<Case> cases = {
      {"gpkg", georref::PointsToMap, kPoints, {{"puntos", "3D Point " + points}}},
      {"gpkg", georref::SurfaceToMap, kSurface, {{"triangulos", "3D Polygon 12"}, {"contorno", "3D Multi Line String 1"}}},
      {"gpkg", georref::AlignmentToMap, kAlignment, {{"ejes", "3D Measured Line String 1"}, {"pk", "Point 17"}}},
      {"geojson", georref::PointsToMap, kPoints, {{"pasarela", "3D Point " + points}}},
      {"geojson", georref::SurfaceToMap, kSurface, {{"pasarela", "Unknown (any) 13"}}},
      {"geojson", georref::AlignmentToMap, kAlignment, {{"pasarela", "Unknown (any) 18"}}},
      {"kml", georref::PointsToMap, kPoints, {{"Puntos", "Unknown (any) " + points}},
       {{"POINT Z", static_cast<int>(PointCount())}}},
      {"kml", georref::SurfaceToMap, kSurface,
       {{"Triángulos terreno", "Unknown (any) 12"}, {"Contorno terreno", "Unknown (any) 1"}},
       {{"POLYGON Z", 12}, {"LINESTRING Z", 1}}},  // one ring: read back as a line
      // Profiles and cross sections: tables without geometry.
      {"gpkg", georref::ProfileToMap, PASARELA_SOURCE_DIR "/samples/rasantes/variante.ras", {{"rasante", "None 4"}}},
      {"gpkg", georref::CrossSectionsToMap, PASARELA_SOURCE_DIR "/samples/transversales/tramo.tra",
       {{"transversales", "None 27"}}},
      {"kmz", georref::AlignmentToMap, kAlignment, {{"Eje variante", "Unknown (any) 1"}, {"PK variante", "Unknown (any) 17"}},
       {{"LINESTRING Z", 1}, {"POINT Z", 17}}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const std::string target = dir.File("mapa-" + std::to_string(&c - cases.data()) + "." + c.extension);
    SCOPED_TRACE(c.source + " -> " + target);
    ASSERT_GT(Write(c.conversion, c.source, target), 0) << common::RecordedFailure();
    const std::string summary = OgrSummary(target);
    for (const auto& [layer, expected] : c.layers) EXPECT_EQ(LayerLine(summary, layer), expected) << layer;
    for (const auto& [kind, count] : c.geometries) EXPECT_EQ(GeometryCount(target, kind), count) << kind;
  }
}

// The "x y" pairs of every WKT geometry ogrinfo prints for the file.
std::vector<std::pair<double, double>> OgrCoordinates(const std::string& path) {
  std::string output;
  RunCommand("ogrinfo -ro -al -q " + Quoted(path) + " 2>&1", output);
  std::vector<std::pair<double, double>> pairs;
  const std::regex geometry(R"(^\s+(POINT|LINESTRING)[^(]*\((.*)\)\s*$)");
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, geometry)) continue;
    std::string body = match[2];
    std::istringstream vertices(body);
    for (std::string vertex; std::getline(vertices, vertex, ',');) {
      std::istringstream numbers(vertex);
      double x = 0, y = 0;
      numbers >> x >> y;
      pairs.emplace_back(x, y);
    }
  }
  return pairs;
}

// cs2cs from ETRS89 / UTM 30N to WGS84 for the points, as longitude, latitude.
std::vector<std::pair<double, double>> Cs2csDegrees(const std::vector<std::pair<double, double>>& points) {
  std::string input;
  char line[96];
  for (const auto& [x, y] : points) {
    std::snprintf(line, sizeof line, "%.6f %.6f 0\\n", x, y);
    input += line;
  }
  const std::vector<double> values = geo_testing::Cs2cs("EPSG:25830", "EPSG:4326", input);
  std::vector<std::pair<double, double>> degrees;
  for (std::size_t i = 0; i + 2 < values.size(); i += 3) {
    degrees.emplace_back(values[i + 1], values[i]);  // cs2cs prints latitude first for EPSG:4326
  }
  return degrees;
}

TEST(Maps, CoordinatesEqualCs2csOnTheSamePoints) {
  TempDir dir;
  // The points, and the alignment densified as the map writer densifies it.
  std::vector<common::NativePoint> read;
  common::ReadPointFile(kPoints, common::PointCodeRule::kRestOfLine, read);
  std::vector<std::pair<double, double>> points;
  for (const common::NativePoint& p : read) points.emplace_back(p.x, p.y);
  common::NativeAlignment alignment;
  ASSERT_TRUE(viaducto::ReadNativeAlignment(kAlignment, viaducto::kElementReader, alignment));
  std::vector<std::pair<double, double>> vertices;
  for (const geo::StationedPoint& v : geo::DensifyAlignment(alignment.elements, geo::kDefaultChordTolerance)) {
    vertices.emplace_back(v.x, v.y);
  }
  struct Case {
    int (*conversion)(const std::string&, const std::string&);
    const std::string* source;
    const std::vector<std::pair<double, double>>* expected;
    const char* extension;
  };
  const Case cases[] = {{georref::PointsToMap, &kPoints, &points, "geojson"},
                        {georref::PointsToMap, &kPoints, &points, "gpkg"},
                        {georref::AlignmentToMap, &kAlignment, &vertices, "geojson"}};
  for (const Case& c : cases) {
    const std::string target = dir.File("coordenadas-" + std::to_string(&c - cases) + "." + c.extension);
    SCOPED_TRACE(target);
    ASSERT_GT(Write(c.conversion, *c.source, target, "EPSG:25830", "EPSG:4326"), 0) << common::RecordedFailure();
    const auto written = OgrCoordinates(target);
    const auto expected = Cs2csDegrees(*c.expected);
    ASSERT_GE(written.size(), expected.size());
    ASSERT_FALSE(expected.empty());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_NEAR(written[i].first, expected[i].first, 1e-8) << i;
      EXPECT_NEAR(written[i].second, expected[i].second, 1e-8) << i;
    }
  }
}

TEST(Maps, KmlReadsInPythonsXmlParserWithNamesAndStationMarks) {
  TempDir dir;
  const std::string points = dir.File("puntos.kml");
  const std::string alignment = dir.File("eje.kml");
  ASSERT_GT(Write(georref::PointsToMap, kPoints, points), 0) << common::RecordedFailure();
  ASSERT_GT(Write(georref::AlignmentToMap, kAlignment, alignment), 0) << common::RecordedFailure();
  const std::string script = dir.File("leer.py");
  testing_support::WriteFile(script,
                             "import sys, xml.etree.ElementTree as ET\n"
                             "ns = {'k': 'http://www.opengis.net/kml/2.2'}\n"
                             "for path in sys.argv[1:]:\n"
                             "    root = ET.parse(path).getroot()\n"
                             "    marks = root.findall('.//k:Placemark', ns)\n"
                             "    names = [m.findtext('k:name', '', ns) for m in marks]\n"
                             "    lines = root.findall('.//k:LineString', ns)\n"
                             "    print(len(marks), len(lines), names[0], names[-1], "
                             "marks[0].findtext('k:description', '', ns))\n");
  std::string output;
  ASSERT_EQ(RunCommand("python3 " + Quoted(script) + " " + Quoted(points) + " " + Quoted(alignment) + " 2>&1", output), 0)
      << output;
  std::vector<common::NativePoint> read;
  common::ReadPointFile(kPoints, common::PointCodeRule::kRestOfLine, read);
  // Points: one placemark each, named by number, described by code. The alignment: its line
  // and a mark every 100 m from 0+000 to 1+600.
  const std::string expected = std::to_string(read.size()) + " 0 " + std::to_string(read.front().number) + " " +
                               std::to_string(read.back().number) + " " + read.front().code + "\n" +
                               "18 1 variante 1+600 PK 0+000 a 1+660\n";
  EXPECT_EQ(output, expected);
}

TEST(Maps, AMapWithoutItsSystemOrInTheWrongOneIsRefused) {
  TempDir dir;
  ASSERT_TRUE(georref::SetSystems("", "", false));
  EXPECT_EQ(georref::PointsToMap(kPoints, dir.File("sin.geojson")), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("sin.geojson")));
  // A GeoPackage keeps the data's own coordinates when no system is known.
  EXPECT_GT(georref::PointsToMap(kPoints, dir.File("local.gpkg")), 0);
  // Nor is one labelled with a target system its coordinates were never moved to.
  ASSERT_TRUE(georref::SetSystems("", "EPSG:23030", false));
  EXPECT_EQ(georref::PointsToMap(kPoints, dir.File("sin-origen.gpkg")), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("sin-origen.gpkg")));
  ASSERT_TRUE(georref::SetSystems("EPSG:25830", "EPSG:23030", false));
  EXPECT_EQ(georref::PointsToMap(kPoints, dir.File("otro.kml")), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("otro.kml")));
}

}  // namespace
