// The map formats, written through GDAL/OGR: GeoJSON (RFC 7946: WGS84 longitude, latitude),
// KML and KMZ (WGS84; folders of placemarks) and GeoPackage (any system; points PointZ,
// alignments LineStringZM with the station as M, surfaces as triangles, profiles and cross
// sections as tables without geometry). Coordinates arrive already in the map's system, in
// easting, northing (longitude, latitude) order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace maps {

enum class MapFormat { kGeoJson, kKml, kKmz, kGpkg };

// The format a target's extension names (.geojson/.json, .kml, .kmz, .gpkg). False for others.
bool MapFormatOfPath(const std::string& path, MapFormat& format);

// Whether the format is always in WGS84 longitude, latitude.
bool AlwaysWgs84(MapFormat format);

struct MapPoint {
  int32_t number = 0;
  std::string code;
  double x = 0, y = 0, z = 0;
};

struct MapVertex {
  double x = 0, y = 0, z = 0, station = 0;
};

struct MapStation {
  double x = 0, y = 0, station = 0;
  double z = 0;  // the elevation, written only for an alignment with heights
};

struct MapAlignment {
  std::string name;
  std::vector<MapVertex> vertices;
  std::vector<MapStation> marks;  // station marks (every 100 m)
  // The vertices' and marks' z are heights (a profile's elevations): every format writes them
  // (GeoJSON and KML lines and marks in 3D, the GeoPackage's marks PointZ). Without them the
  // lines and marks of GeoJSON and KML are 2D and the GeoPackage's line has z 0.
  bool heights = false;
};

struct MapSurface {
  std::string name;
  std::vector<std::array<double, 3>> points;
  std::vector<std::array<int32_t, 3>> triangles;  // indices into points
};

// A table without geometry (a profile's vertices, the points of cross sections).
struct MapTable {
  std::string name;
  std::vector<std::string> columns;  // real numbers, one per column
  std::vector<std::vector<double>> rows;
};

struct MapContents {
  std::string system;  // the map's system, as PROJ/GDAL take it ("EPSG:4326"); empty: none
  std::vector<MapPoint> points;
  std::vector<MapAlignment> alignments;
  std::vector<MapSurface> surfaces;
  std::vector<MapTable> tables;
};

// The edges of a surface that belong to one triangle only, chained into lines (its outline).
std::vector<std::vector<int32_t>> SurfaceOutline(const MapSurface& surface);

// The system `definition` as ESRI WKT (a shapefile's .prj); false, with `problem` set, when
// GDAL does not take it.
bool EsriWkt(const std::string& definition, std::string& wkt, std::string& problem);

// Writes `contents` to `path` in `format` (an existing file is replaced). False, with
// `problem` set to a Spanish reason, when the driver is missing or the file cannot be written.
// `notes` gets what the user must know of the file written (a GeoPackage layer of more than
// 100 000 features goes without its spatial index: SQLite takes half a minute to build one
// for a million points).
bool WriteMap(const std::string& path, MapFormat format, const MapContents& contents, std::string& problem,
              std::vector<std::string>* notes = nullptr);

}  // namespace maps
