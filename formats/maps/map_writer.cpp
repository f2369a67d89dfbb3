#include "formats/maps/map_writer.h"
#include "common/spanish_numbers.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>

#include "formats/geo/alignment_samples.h"

namespace maps {
namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

// GDAL's errors are kept (not printed) so that the reason reaches the user in the message.
class QuietErrors {
 public:
  QuietErrors() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
  }
  ~QuietErrors() { CPLPopErrorHandler(); }
  QuietErrors(const QuietErrors&) = delete;
  QuietErrors& operator=(const QuietErrors&) = delete;
  static std::string Last() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? std::string(" (") + message + ")" : std::string();
  }
};

// Layers larger than this are written without a spatial index.
constexpr std::size_t kIndexedFeatures = 100000;

class Writer {
 public:
  Writer(MapFormat format, const std::string& system) : format_(format) {
    if (!system.empty()) {
      srs_ = OSRNewSpatialReference(nullptr);
      if (OSRSetFromUserInput(srs_, system.c_str()) != OGRERR_NONE) {
        OSRDestroySpatialReference(srs_);
        srs_ = nullptr;
      } else {
        OSRSetAxisMappingStrategy(srs_, OAMS_TRADITIONAL_GIS_ORDER);
      }
    }
  }
  ~Writer() {
    if (dataset_ != nullptr) GDALClose(dataset_);
    if (srs_ != nullptr) OSRDestroySpatialReference(srs_);
  }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool Open(const std::string& path, std::string& problem) {
    const char* driverName = format_ == MapFormat::kGeoJson ? "GeoJSON"
                             : format_ == MapFormat::kGpkg  ? "GPKG"
                                                            : "LIBKML";
    GDALDriverH driver = GDALGetDriverByName(driverName);
    if (driver == nullptr) {
      problem = std::string("GDAL no tiene el controlador ") + driverName;
      return false;
    }
    ::unlink(path.c_str());
    dataset_ = GDALCreate(driver, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (dataset_ == nullptr) {
      problem = "no se puede crear " + path + QuietErrors::Last();
      return false;
    }
    return true;
  }

  OGRLayerH Layer(const char* name, OGRwkbGeometryType type, std::string& problem, std::size_t features = 0) {
    char** options = nullptr;
    if (format_ == MapFormat::kGpkg && features > kIndexedFeatures) {
      // SQLite's R-tree takes half a minute for a million points: a large layer goes without
      // its spatial index, which GIS programs build on demand, and the user is told.
      options = CSLSetNameValue(options, "SPATIAL_INDEX", "NO");
      notes_.push_back(std::string("La capa ") + name + " del GeoPackage va sin índice espacial (" +
                       common::SpanishCount(features) + " elementos); QGIS lo crea con «Crear índice espacial».");
    }
    if (format_ == MapFormat::kGeoJson) {
      options = CSLSetNameValue(options, "RFC7946", "YES");
      // Ten thousandths of a millimetre in degrees: RFC 7946's default of 7 decimals is ~1 cm.
      options = CSLSetNameValue(options, "COORDINATE_PRECISION", "10");
    }
    // A GeoPackage's features go in one transaction per layer, opened once the layer exists:
    // a million points are then one write, not a million.
    if (inTransaction_ && GDALDatasetCommitTransaction(dataset_) != OGRERR_NONE) {
      problem = "no se puede escribir el GeoPackage" + QuietErrors::Last();
      CSLDestroy(options);
      return nullptr;
    }
    inTransaction_ = false;
    OGRLayerH layer = GDALDatasetCreateLayer(dataset_, name, type == wkbNone ? nullptr : srs_, type, options);
    CSLDestroy(options);
    if (layer == nullptr) {
      problem = std::string("no se puede crear la capa ") + name + QuietErrors::Last();
      return nullptr;
    }
    if (format_ == MapFormat::kGpkg) inTransaction_ = GDALDatasetStartTransaction(dataset_, FALSE) == OGRERR_NONE;
    return layer;
  }

  bool Close(std::string& problem) {
    if (inTransaction_ && GDALDatasetCommitTransaction(dataset_) != OGRERR_NONE) {
      problem = "no se puede escribir el GeoPackage" + QuietErrors::Last();
      return false;
    }
    CPLErrorReset();
    GDALClose(dataset_);
    dataset_ = nullptr;
    if (CPLGetLastErrorType() >= CE_Failure) {
      problem = "no se puede terminar el fichero" + QuietErrors::Last();
      return false;
    }
    return true;
  }

  GDALDatasetH dataset() const { return dataset_; }
  const std::vector<std::string>& notes() const { return notes_; }

 private:
  MapFormat format_;
  OGRSpatialReferenceH srs_ = nullptr;
  GDALDatasetH dataset_ = nullptr;
  bool inTransaction_ = false;
  std::vector<std::string> notes_;
};

bool AddField(OGRLayerH layer, const char* name, OGRFieldType type) {
  OGRFieldDefnH field = OGR_Fld_Create(name, type);
  const bool done = OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
  OGR_Fld_Destroy(field);
  return done;
}

int FieldIndex(OGRLayerH layer, const char* name) { return OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), name); }

bool Store(OGRLayerH layer, OGRFeatureH feature, std::string& problem) {
  OGR_F_SetFID(feature, OGRNullFID);
  if (OGR_L_CreateFeature(layer, feature) == OGRERR_NONE) return true;
  problem = "no se puede escribir un elemento" + QuietErrors::Last();
  return false;
}

OGRGeometryH PolygonOf(const MapSurface& surface, const std::array<int32_t, 3>& triangle) {
  OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
  for (int k = 0; k <= 3; ++k) {
    const auto& p = surface.points[static_cast<std::size_t>(triangle[static_cast<std::size_t>(k % 3)])];
    OGR_G_AddPoint(ring, p[0], p[1], p[2]);
  }
  OGRGeometryH polygon = OGR_G_CreateGeometry(wkbPolygon25D);
  OGR_G_AddGeometryDirectly(polygon, ring);
  return polygon;
}

OGRGeometryH OutlineOf(const MapSurface& surface) {
  OGRGeometryH lines = OGR_G_CreateGeometry(wkbMultiLineString25D);
  for (const std::vector<int32_t>& chain : SurfaceOutline(surface)) {
    OGRGeometryH line = OGR_G_CreateGeometry(wkbLineString25D);
    for (int32_t index : chain) {
      const auto& p = surface.points[static_cast<std::size_t>(index)];
      OGR_G_AddPoint(line, p[0], p[1], p[2]);
    }
    OGR_G_AddGeometryDirectly(lines, line);
  }
  return lines;
}

bool ValidTriangle(const MapSurface& surface, const std::array<int32_t, 3>& triangle) {
  for (int32_t index : triangle) {
    if (index < 0 || static_cast<std::size_t>(index) >= surface.points.size()) return false;
  }
  return true;
}

// The alignment's line: 3D with its heights, else 2D (the GeoPackage writes its own, with M).
OGRGeometryH AlignmentLine(const MapAlignment& alignment) {
  OGRGeometryH line = OGR_G_CreateGeometry(alignment.heights ? wkbLineString25D : wkbLineString);
  for (const MapVertex& v : alignment.vertices) {
    if (alignment.heights) OGR_G_AddPoint(line, v.x, v.y, v.z);
    else OGR_G_AddPoint_2D(line, v.x, v.y);
  }
  return line;
}

OGRGeometryH StationMark(const MapStation& mark, bool heights) {
  OGRGeometryH geometry = OGR_G_CreateGeometry(heights ? wkbPoint25D : wkbPoint);
  if (heights) OGR_G_SetPoint(geometry, 0, mark.x, mark.y, mark.z);
  else OGR_G_SetPoint_2D(geometry, 0, mark.x, mark.y);
  return geometry;
}

// GeoJSON: one layer of features of every kind, told apart by "tipo".
bool WriteGeoJson(Writer& writer, const MapContents& contents, std::string& problem) {
  OGRLayerH layer = writer.Layer("pasarela", wkbUnknown, problem);
  if (layer == nullptr) return false;
  AddField(layer, "tipo", OFTString);
  AddField(layer, "numero", OFTInteger);
  AddField(layer, "codigo", OFTString);
  AddField(layer, "nombre", OFTString);
  AddField(layer, "pk", OFTReal);
  AddField(layer, "pk_final", OFTReal);
  const int tipo = FieldIndex(layer, "tipo"), numero = FieldIndex(layer, "numero"), codigo = FieldIndex(layer, "codigo"),
            nombre = FieldIndex(layer, "nombre"), pk = FieldIndex(layer, "pk"), pkFinal = FieldIndex(layer, "pk_final");
  OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
  bool ok = true;
  const auto next = [&](const char* kind, OGRGeometryH geometry) {
    OGR_F_UnsetField(feature, numero);
    OGR_F_UnsetField(feature, codigo);
    OGR_F_UnsetField(feature, nombre);
    OGR_F_UnsetField(feature, pk);
    OGR_F_UnsetField(feature, pkFinal);
    OGR_F_SetFieldString(feature, tipo, kind);
    OGR_F_SetGeometryDirectly(feature, geometry);
  };
  for (const MapPoint& point : contents.points) {
    OGRGeometryH geometry = OGR_G_CreateGeometry(wkbPoint25D);
    OGR_G_SetPoint(geometry, 0, point.x, point.y, point.z);
    next("punto", geometry);
    OGR_F_SetFieldInteger(feature, numero, point.number);
    OGR_F_SetFieldString(feature, codigo, point.code.c_str());
    if (!(ok = Store(layer, feature, problem))) break;
  }
  for (const MapAlignment& alignment : contents.alignments) {
    if (!ok || alignment.vertices.empty()) continue;
    OGRGeometryH line = AlignmentLine(alignment);
    next("eje", line);
    OGR_F_SetFieldString(feature, nombre, alignment.name.c_str());
    OGR_F_SetFieldDouble(feature, pk, alignment.vertices.front().station);
    OGR_F_SetFieldDouble(feature, pkFinal, alignment.vertices.back().station);
    if (!(ok = Store(layer, feature, problem))) break;
    for (const MapStation& mark : alignment.marks) {
      next("pk", StationMark(mark, alignment.heights));
      OGR_F_SetFieldString(feature, nombre, geo::StationLabel(mark.station).c_str());
      OGR_F_SetFieldDouble(feature, pk, mark.station);
      if (!(ok = Store(layer, feature, problem))) break;
    }
  }
  for (const MapSurface& surface : contents.surfaces) {
    if (!ok) break;
    next("contorno", OutlineOf(surface));
    OGR_F_SetFieldString(feature, nombre, surface.name.c_str());
    if (!(ok = Store(layer, feature, problem))) break;
    for (const auto& triangle : surface.triangles) {
      if (!ValidTriangle(surface, triangle)) continue;
      next("triangulo", PolygonOf(surface, triangle));
      OGR_F_SetFieldString(feature, nombre, surface.name.c_str());
      if (!(ok = Store(layer, feature, problem))) break;
    }
  }
  OGR_F_Destroy(feature);
  return ok;
}

// KML and KMZ: a folder per kind; placemarks named by what a user looks for on the map (the
// point's number, the station), described by the point's code.
bool WriteKml(Writer& writer, const MapContents& contents, std::string& problem) {
  const auto folder = [&](const char* name, OGRwkbGeometryType type) -> OGRLayerH {
    OGRLayerH layer = writer.Layer(name, type, problem);
    if (layer == nullptr) return nullptr;
    AddField(layer, "name", OFTString);
    AddField(layer, "description", OFTString);
    return layer;
  };
  const auto place = [&](OGRLayerH layer, const std::string& name, const std::string& description,
                         OGRGeometryH geometry) {
    OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
    OGR_F_SetFieldString(feature, 0, name.c_str());
    if (!description.empty()) OGR_F_SetFieldString(feature, 1, description.c_str());
    OGR_F_SetGeometryDirectly(feature, geometry);
    const bool ok = Store(layer, feature, problem);
    OGR_F_Destroy(feature);
    return ok;
  };
  if (!contents.points.empty()) {
    OGRLayerH layer = folder("Puntos", wkbPoint25D);
    if (layer == nullptr) return false;
    for (const MapPoint& point : contents.points) {
      OGRGeometryH geometry = OGR_G_CreateGeometry(wkbPoint25D);
      OGR_G_SetPoint(geometry, 0, point.x, point.y, point.z);
      if (!place(layer, std::to_string(point.number), point.code, geometry)) return false;
    }
  }
  for (const MapAlignment& alignment : contents.alignments) {
    if (alignment.vertices.empty()) continue;
    OGRLayerH layer = folder(("Eje " + alignment.name).c_str(), alignment.heights ? wkbLineString25D : wkbLineString);
    if (layer == nullptr) return false;
    OGRGeometryH line = AlignmentLine(alignment);
    const std::string span = "PK " + geo::StationLabel(alignment.vertices.front().station) + " a " +
                             geo::StationLabel(alignment.vertices.back().station);
    if (!place(layer, alignment.name, span, line)) return false;
    OGRLayerH marks = folder(("PK " + alignment.name).c_str(), alignment.heights ? wkbPoint25D : wkbPoint);
    if (marks == nullptr) return false;
    for (const MapStation& mark : alignment.marks) {
      if (!place(marks, geo::StationLabel(mark.station), std::string(), StationMark(mark, alignment.heights))) return false;
    }
  }
  for (const MapSurface& surface : contents.surfaces) {
    OGRLayerH outline = folder(("Contorno " + surface.name).c_str(), wkbMultiLineString25D);
    if (outline == nullptr || !place(outline, surface.name, "contorno", OutlineOf(surface))) return false;
    OGRLayerH triangles = folder(("Triángulos " + surface.name).c_str(), wkbPolygon25D);
    if (triangles == nullptr) return false;
    std::size_t n = 0;
    for (const auto& triangle : surface.triangles) {
      if (!ValidTriangle(surface, triangle)) continue;
      if (!place(triangles, std::to_string(++n), std::string(), PolygonOf(surface, triangle))) return false;
    }
  }
  return true;
}

bool WriteGpkg(Writer& writer, const MapContents& contents, std::string& problem) {
  if (!contents.points.empty()) {
    OGRLayerH layer = writer.Layer("puntos", wkbPoint25D, problem, contents.points.size());
    if (layer == nullptr) return false;
    AddField(layer, "numero", OFTInteger);
    AddField(layer, "codigo", OFTString);
    OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
    OGR_F_SetGeometryDirectly(feature, OGR_G_CreateGeometry(wkbPoint25D));
    OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
    bool ok = true;
    for (const MapPoint& point : contents.points) {
      OGR_G_SetPoint(geometry, 0, point.x, point.y, point.z);
      OGR_F_SetFieldInteger(feature, 0, point.number);
      OGR_F_SetFieldString(feature, 1, point.code.c_str());
      if (!(ok = Store(layer, feature, problem))) break;
    }
    OGR_F_Destroy(feature);
    if (!ok) return false;
  }
  if (!contents.alignments.empty()) {
    // The marks are PointZ when every alignment has heights; a layer has one geometry type.
    bool heights = true;
    for (const MapAlignment& alignment : contents.alignments) heights = heights && alignment.heights;
    OGRLayerH layer = writer.Layer("ejes", wkbLineStringZM, problem);
    OGRLayerH marks = layer != nullptr ? writer.Layer("pk", heights ? wkbPoint25D : wkbPoint, problem) : nullptr;
    if (marks == nullptr) return false;
    AddField(layer, "nombre", OFTString);
    AddField(marks, "eje", OFTString);
    AddField(marks, "pk", OFTReal);
    AddField(marks, "etiqueta", OFTString);
    for (const MapAlignment& alignment : contents.alignments) {
      OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
      OGRGeometryH line = OGR_G_CreateGeometry(wkbLineStringZM);
      for (const MapVertex& v : alignment.vertices) OGR_G_AddPointZM(line, v.x, v.y, v.z, v.station);
      OGR_F_SetGeometryDirectly(feature, line);
      OGR_F_SetFieldString(feature, 0, alignment.name.c_str());
      bool ok = Store(layer, feature, problem);
      OGR_F_Destroy(feature);
      for (std::size_t i = 0; ok && i < alignment.marks.size(); ++i) {
        const MapStation& mark = alignment.marks[i];
        OGRFeatureH point = OGR_F_Create(OGR_L_GetLayerDefn(marks));
        OGR_F_SetGeometryDirectly(point, StationMark(mark, heights));
        OGR_F_SetFieldString(point, 0, alignment.name.c_str());
        OGR_F_SetFieldDouble(point, 1, mark.station);
        OGR_F_SetFieldString(point, 2, geo::StationLabel(mark.station).c_str());
        ok = Store(marks, point, problem);
        OGR_F_Destroy(point);
      }
      if (!ok) return false;
    }
  }
  if (!contents.surfaces.empty()) {
    std::size_t count = 0;
    for (const MapSurface& surface : contents.surfaces) count += surface.triangles.size();
    OGRLayerH triangles = writer.Layer("triangulos", wkbPolygon25D, problem, count);
    OGRLayerH outline = triangles != nullptr ? writer.Layer("contorno", wkbMultiLineString25D, problem) : nullptr;
    if (outline == nullptr) return false;
    AddField(triangles, "superficie", OFTString);
    AddField(outline, "superficie", OFTString);
    for (const MapSurface& surface : contents.surfaces) {
      bool ok = true;
      OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(triangles));
      OGR_F_SetFieldString(feature, 0, surface.name.c_str());
      for (const auto& triangle : surface.triangles) {
        if (!ValidTriangle(surface, triangle)) continue;
        OGR_F_SetGeometryDirectly(feature, PolygonOf(surface, triangle));
        if (!(ok = Store(triangles, feature, problem))) break;
      }
      OGR_F_Destroy(feature);
      if (!ok) return false;
      OGRFeatureH line = OGR_F_Create(OGR_L_GetLayerDefn(outline));
      OGR_F_SetFieldString(line, 0, surface.name.c_str());
      OGR_F_SetGeometryDirectly(line, OutlineOf(surface));
      ok = Store(outline, line, problem);
      OGR_F_Destroy(line);
      if (!ok) return false;
    }
  }
  for (const MapTable& table : contents.tables) {
    OGRLayerH layer = writer.Layer(table.name.c_str(), wkbNone, problem);
    if (layer == nullptr) return false;
    for (const std::string& column : table.columns) AddField(layer, column.c_str(), OFTReal);
    OGRFeatureH feature = OGR_F_Create(OGR_L_GetLayerDefn(layer));
    bool ok = true;
    for (const std::vector<double>& row : table.rows) {
      for (std::size_t i = 0; i < row.size() && i < table.columns.size(); ++i) {
        OGR_F_SetFieldDouble(feature, static_cast<int>(i), row[i]);
      }
      if (!(ok = Store(layer, feature, problem))) break;
    }
    OGR_F_Destroy(feature);
    if (!ok) return false;
  }
  return true;
}

}  // namespace

bool MapFormatOfPath(const std::string& path, MapFormat& format) {
  const std::string extension = LowerExtension(path);
  if (extension == "geojson" || extension == "json") format = MapFormat::kGeoJson;
  else if (extension == "kml") format = MapFormat::kKml;
  else if (extension == "kmz") format = MapFormat::kKmz;
  else if (extension == "gpkg") format = MapFormat::kGpkg;
  else return false;
  return true;
}

bool AlwaysWgs84(MapFormat format) { return format != MapFormat::kGpkg; }

bool EsriWkt(const std::string& definition, std::string& wkt, std::string& problem) {
  const QuietErrors quiet;
  OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
  bool ok = OSRSetFromUserInput(srs, definition.c_str()) == OGRERR_NONE && OSRMorphToESRI(srs) == OGRERR_NONE;
  char* text = nullptr;
  ok = ok && OSRExportToWkt(srs, &text) == OGRERR_NONE && text != nullptr;
  if (ok) wkt = text;
  else problem = "GDAL no puede escribir el sistema " + definition + " como .prj" + QuietErrors::Last();
  CPLFree(text);
  OSRDestroySpatialReference(srs);
  return ok;
}

std::vector<std::vector<int32_t>> SurfaceOutline(const MapSurface& surface) {
  // Each side counted in both directions: a side of one triangle only is on the outline.
  std::map<std::pair<int32_t, int32_t>, int> sides;
  for (const auto& t : surface.triangles) {
    if (!ValidTriangle(surface, t)) continue;
    for (int k = 0; k < 3; ++k) {
      const int32_t a = t[static_cast<std::size_t>(k)], b = t[static_cast<std::size_t>((k + 1) % 3)];
      ++sides[{std::min(a, b), std::max(a, b)}];
    }
  }
  std::multimap<int32_t, int32_t> next;
  for (const auto& [side, count] : sides) {
    if (count != 1) continue;
    next.emplace(side.first, side.second);
    next.emplace(side.second, side.first);
  }
  std::vector<std::vector<int32_t>> chains;
  while (!next.empty()) {
    std::vector<int32_t> chain{next.begin()->first};
    int32_t at = next.begin()->first;
    for (;;) {
      const auto found = next.find(at);
      if (found == next.end()) break;
      const int32_t to = found->second;
      next.erase(found);
      for (auto back = next.lower_bound(to); back != next.end() && back->first == to; ++back) {
        if (back->second == at) {
          next.erase(back);
          break;
        }
      }
      chain.push_back(to);
      at = to;
    }
    chains.push_back(std::move(chain));
  }
  return chains;
}

bool WriteMap(const std::string& path, MapFormat format, const MapContents& contents, std::string& problem,
              std::vector<std::string>* notes) {
  static std::once_flag registered;
  std::call_once(registered, [] { GDALAllRegister(); });
  const QuietErrors quiet;
  Writer writer(format, contents.system);
  if (!writer.Open(path, problem)) return false;
  bool ok = false;
  switch (format) {
    case MapFormat::kGeoJson: ok = WriteGeoJson(writer, contents, problem); break;
    case MapFormat::kKml:
    case MapFormat::kKmz: ok = WriteKml(writer, contents, problem); break;
    case MapFormat::kGpkg: ok = WriteGpkg(writer, contents, problem); break;
  }
  if (!ok) return false;
  if (notes != nullptr) *notes = writer.notes();
  return writer.Close(problem);
}

}  // namespace maps
