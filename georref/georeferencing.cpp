#include "georref/georeferencing.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <string_view>

#include <vector>

#include "common/conversion.h"
#include "common/message_hook.h"
#include "common/outcome.h"
#include "common/paths.h"
#include "common/profile_curves.h"
#include "common/source_files.h"
#include "common/text_output.h"
#include "formats/geo/alignment_samples.h"
#include "formats/geo/crs_transform.h"
#include "formats/maps/map_writer.h"
#include "formats/native/cross_section_set.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_profile.h"
#include "formats/native/point_file.h"
#include "formats/native/surface_file_reader.h"
#include "formats/native/surface_model.h"

namespace georref {
namespace {

struct Systems {
  std::string source;
  std::string target;
  bool allowBallpark = false;
  std::string lastOperation;
};

Systems& Current() {
  static Systems systems;
  return systems;
}

constexpr const char* kWgs84 = "EPSG:4326";
constexpr double kStationInterval = 100.0;

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

std::string Named(const std::string& definition) {
  std::string description, problem;
  return geo::DescribeSystem(definition, description, problem) ? description : definition;
}

// Coordinates of one conversion, moved together.
struct Coordinates {
  std::vector<double> x, y, z;
  void Reserve(std::size_t count) {
    x.reserve(count);
    y.reserve(count);
    z.reserve(count);
  }
  void Add(double a, double b, double c) {
    x.push_back(a);
    y.push_back(b);
    z.push_back(c);
  }
  geo::Extent Extent() const {
    geo::Extent extent;
    for (std::size_t i = 0; i < x.size(); ++i) extent.Add(x[i], y[i]);
    return extent;
  }
};

// Moves `points` from `source` to `target`; the operation is kept for the message the
// conversion shows once it has written its target. False with the reason recorded.
bool Move(Coordinates& points, const std::string& source, const std::string& target, bool heights,
          std::string& report) {
  geo::CoordinateTransform transform;
  std::string problem;
  if (!transform.Prepare(source, target, points.Extent(), Current().allowBallpark, problem)) {
    common::RecordFailure("No se puede transformar de " + source + " a " + target + ": " + problem);
    return false;
  }
  if (!transform.Transform(points.x.data(), points.y.data(), heights ? points.z.data() : nullptr, points.x.size(),
                           problem)) {
    common::RecordFailure(problem);
    return false;
  }
  const geo::OperationChoice& choice = transform.choice();
  Current().lastOperation = geo::DescribeOperation(choice);
  report = Named(source) + " a " + Named(target) + ": " + Current().lastOperation;
  if (choice.ballpark) report += " (operación aproximada, aceptada)";
  const std::string note = geo::MissingGridNote(choice);
  if (!note.empty()) report += "\r\n" + note;
  return true;
}

// The source and target systems of a transformation; false with the reason recorded.
bool SystemsForTransform(std::string& source, std::string& target) {
  source = Current().source;
  target = Current().target;
  if (source.empty()) {
    common::RecordFailure("Falta el sistema de coordenadas de origen (--s_srs)");
    return false;
  }
  if (target.empty()) {
    common::RecordFailure("Falta el sistema de coordenadas de destino (--t_srs)");
    return false;
  }
  return true;
}

// The system of a map: WGS84 for GeoJSON and KML, else the target's, else the source's.
// False with the reason recorded.
bool SystemsForMap(maps::MapFormat format, std::string& source, std::string& map) {
  source = Current().source;
  const std::string& target = Current().target;
  if (maps::AlwaysWgs84(format)) {
    if (!target.empty() && Named(target) != Named(kWgs84)) {
      common::RecordFailure(std::string(format == maps::MapFormat::kGeoJson ? "Un GeoJSON" : "Un KML") +
                            " va siempre en WGS84 (EPSG:4326): sobra el sistema de destino " + target);
      return false;
    }
    if (source.empty()) {
      common::RecordFailure("Falta el sistema de coordenadas de origen (--s_srs) para situar el mapa");
      return false;
    }
    map = kWgs84;
    return true;
  }
  // A GeoPackage in a target system needs the source's system to get there.
  if (!target.empty() && source.empty()) {
    common::RecordFailure("Falta el sistema de coordenadas de origen (--s_srs) para llevar el mapa a " + target);
    return false;
  }
  map = target.empty() ? source : target;
  return true;
}

constexpr common::ConversionRule kPointFile{"un fichero de puntos", "ningún punto"};
constexpr common::ConversionRule kAlignmentFile{"un fichero de ejes", "ningún eje"};
constexpr common::ConversionRule kProfileFile{"un fichero de rasante", "ninguna rasante"};
constexpr common::ConversionRule kSectionsFile{"un fichero de transversales", "ningún transversal"};
constexpr common::ConversionRule kSurfaceFile{"una superficie", "ningún triángulo", common::FileKind::kBinary};

// The target's folder exists: said before anything else is asked of the conversion.
bool TargetFolderExists(const std::string& salida) {
  std::string folder = common::SplitPath(salida).directory;
  if (folder.empty()) folder = ".";
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return true;
  common::RecordTargetFailure(salida, ENOENT);
  return false;
}

bool ReadPoints(const std::string& entrada, std::vector<common::NativePoint>& points) {
  std::string text;
  if (!common::LoadConversionSource(entrada, kPointFile, text)) return false;
  points.reserve(text.size() / 32);  // a point line is some 45 characters
  common::ForEachPointLine(text, common::PointCodeRule::kRestOfLine,
                           [&](const common::PointLine& line) { points.push_back(common::ToNativePoint(line)); });
  return common::RequireSomething(points.empty(), entrada, kPointFile);
}

bool ReadAlignment(const std::string& entrada, common::NativeAlignment& alignment) {
  std::string text;
  if (!common::LoadConversionSource(entrada, kAlignmentFile, text)) return false;
  alignment = common::ParseNativeAlignment(text, viaducto::kElementReader);
  return common::RequireSomething(alignment.elements.size() < 2, entrada, kAlignmentFile);
}

bool ReadProfile(const std::string& rasante, common::Profile& profile) {
  std::string text;
  if (!common::LoadConversionSource(rasante, kProfileFile, text)) return false;
  profile = common::ParseNativeProfile(text);
  if (!common::RequireSomething(profile.size() < 2, rasante, kProfileFile)) return false;
  // The elevations between vertices are found by station: they must run forwards.
  for (std::size_t i = 0; i < profile.size(); ++i) {
    const common::ProfileVertex& v = profile[i];
    const std::string vertex = " (vértice " + std::to_string(i + 1) + ")";
    if (!std::isfinite(v.station) || !std::isfinite(v.elevation) || !std::isfinite(v.tangent)) {
      common::RecordFailure("La rasante " + rasante + " no sirve para dar cotas: tiene un valor que no es un número" + vertex);
      return false;
    }
    if (i > 0 && v.station < profile[i - 1].station) {
      common::RecordFailure("La rasante " + rasante + " no sirve para dar cotas: sus P.K. no van en orden creciente" +
                            vertex);
      return false;
    }
  }
  return true;
}

// Whether `profile` gives an elevation at every station from `first` to `last`; the reason
// recorded when not. Half a millimetre is the rounding of the files' stations.
bool ProfileCovers(const common::Profile& profile, const std::string& rasante, double first, double last,
                   const std::string& entrada) {
  constexpr double kRounding = 0.0005;
  if (profile.front().station <= first + kRounding && profile.back().station >= last - kRounding) return true;
  common::RecordFailure("La rasante " + rasante + " va del P.K. " + geo::StationLabel(profile.front().station) + " al " +
                        geo::StationLabel(profile.back().station) + " y no cubre el eje " + entrada + ", del P.K. " +
                        geo::StationLabel(first) + " al " + geo::StationLabel(last) +
                        ": fuera de la rasante no hay cota que dar");
  return false;
}

bool ReadSurface(const std::string& entrada, planimetro::surface::SurfaceFileContents& surface) {
  std::string bytes;
  if (!common::LoadConversionSource(entrada, kSurfaceFile, bytes, false)) return false;
  std::string problem;
  if (!planimetro::surface::LeerSup(bytes, surface, problem)) {
    common::RecordFailure("El fichero " + entrada + " no es una superficie nativa: " + problem);
    return false;
  }
  return common::RequireSomething(surface.points.empty() || surface.triangles.empty(), entrada, kSurfaceFile);
}

bool WriteMapFile(const std::string& salida, maps::MapFormat format, const maps::MapContents& contents,
                  std::string& report) {
  std::string problem;
  std::vector<std::string> notes;
  const bool written = maps::WriteMap(salida, format, contents, problem, &notes);
  for (const std::string& note : notes) report += (report.empty() ? "" : "\r\n") + note;
  if (Exists(salida)) common::RememberWrittenTarget(salida);
  if (!written) common::RecordFailure("No se ha generado el fichero " + salida + ": " + problem);
  return written;
}

bool MapFormatOf(const std::string& salida, maps::MapFormat& format) {
  if (!maps::MapFormatOfPath(salida, format)) {
    common::RecordFailure("El fichero " + salida + " no es un mapa: la extensión ha de ser geojson, kml, kmz o gpkg");
    return false;
  }
  return true;
}

void Report(const std::string& report) {
  if (!report.empty()) common::ShowMessage(kSystemCaption, report.c_str());
}

}  // namespace

bool SetSystems(const std::string& source, const std::string& target, bool allowBallpark) {
  Systems& systems = Current();
  systems = Systems();
  for (const std::string* definition : {&source, &target}) {
    std::string description, problem;
    if (!definition->empty() && !geo::DescribeSystem(*definition, description, problem)) {
      common::RecordFailure(problem);
      return false;
    }
  }
  systems.source = source;
  systems.target = target;
  systems.allowBallpark = allowBallpark;
  return true;
}

const std::string& LastOperation() { return Current().lastOperation; }
const std::string& TargetSystem() { return Current().target; }

int TransformPointFile(const std::string& entrada, const std::string& salida) {
  // In place is allowed: a conversion's target transformed after it is written.
  const bool inPlace = common::SameExistingFile(entrada.c_str(), salida.c_str());
  if (!inPlace && !common::CheckConversionTarget(entrada, salida)) return 0;
  if (!TargetFolderExists(salida)) return 0;
  std::vector<common::NativePoint> points;
  if (!ReadPoints(entrada, points)) return 0;
  std::string source, target;
  if (!SystemsForTransform(source, target)) return 0;
  Coordinates moved;
  moved.Reserve(points.size());
  for (const common::NativePoint& p : points) moved.Add(p.x, p.y, p.z);
  std::string report;
  if (!Move(moved, source, target, true, report)) return 0;
  if (inPlace) common::ForgetSourceFile(entrada.c_str());
  common::TextWriter out;
  for (std::size_t i = 0; i < points.size(); ++i) {
    common::WriteFullPointLine(out, points[i].number, moved.x[i], moved.y[i], moved.z[i], points[i].code);
  }
  if (!out.SaveTo(salida)) return 0;
  common::RememberWrittenTarget(salida);
  Report(report);
  return 1;
}

int TransformSurfaceFile(const std::string& entrada, const std::string& salida) {
  const bool inPlace = common::SameExistingFile(entrada.c_str(), salida.c_str());
  if (!inPlace && !common::CheckConversionTarget(entrada, salida)) return 0;
  if (!TargetFolderExists(salida)) return 0;
  planimetro::surface::SurfaceFileContents surface;
  if (!ReadSurface(entrada, surface)) return 0;
  std::string source, target;
  if (!SystemsForTransform(source, target)) return 0;
  Coordinates moved;
  for (const auto& p : surface.points) moved.Add(p.x, p.y, p.z);
  std::string report;
  if (!Move(moved, source, target, true, report)) return 0;
  std::vector<planimetro::surface::PuntoSup> points(surface.points.size());
  for (std::size_t i = 0; i < points.size(); ++i) points[i] = {moved.x[i], moved.y[i], moved.z[i]};
  if (inPlace) common::ForgetSourceFile(entrada.c_str());
  planimetro::surface::SuperficieTin model;
  planimetro::surface::BuildFromRoundedPoints(model, std::move(points), surface.triangles);
  if (planimetro::surface::GuardarSup(model, salida) <= 0) {
    if (!common::HasRecordedFailure()) common::RecordTargetFailure(salida, 0);
    return 0;
  }
  common::RememberWrittenTarget(salida);
  Report(report);
  return 1;
}

int PointsToMap(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida) || !TargetFolderExists(salida)) return 0;
  std::vector<common::NativePoint> points;
  if (!ReadPoints(entrada, points)) return 0;
  maps::MapFormat format;
  std::string source, system;
  if (!MapFormatOf(salida, format) || !SystemsForMap(format, source, system)) return 0;
  Coordinates moved;
  moved.Reserve(points.size());
  for (const common::NativePoint& p : points) moved.Add(p.x, p.y, p.z);
  std::string report;
  if (!source.empty() && !system.empty() && !Move(moved, source, system, false, report)) return 0;
  maps::MapContents contents;
  contents.system = system;
  contents.points.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    contents.points.push_back({points[i].number, points[i].code, moved.x[i], moved.y[i], moved.z[i]});
  }
  if (!WriteMapFile(salida, format, contents, report)) return 0;
  Report(report);
  return static_cast<int>(points.size());
}

int SurfaceToMap(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida) || !TargetFolderExists(salida)) return 0;
  planimetro::surface::SurfaceFileContents surface;
  if (!ReadSurface(entrada, surface)) return 0;
  maps::MapFormat format;
  std::string source, system;
  if (!MapFormatOf(salida, format) || !SystemsForMap(format, source, system)) return 0;
  Coordinates moved;
  for (const auto& p : surface.points) moved.Add(p.x, p.y, p.z);
  std::string report;
  if (!source.empty() && !system.empty() && !Move(moved, source, system, false, report)) return 0;
  maps::MapContents contents;
  contents.system = system;
  maps::MapSurface map;
  map.name = common::SplitPath(entrada).name;
  map.points.reserve(moved.x.size());
  for (std::size_t i = 0; i < moved.x.size(); ++i) map.points.push_back({moved.x[i], moved.y[i], moved.z[i]});
  map.triangles = surface.triangles;
  contents.surfaces.push_back(std::move(map));
  if (!WriteMapFile(salida, format, contents, report)) return 0;
  Report(report);
  return static_cast<int>(surface.triangles.size());
}

namespace {

// The map of an alignment; with `heights`, its heights from the native profile `rasante`.
int AlignmentMap(const std::string& entrada, bool heights, const std::string& rasante, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida) || !TargetFolderExists(salida)) return 0;
  common::NativeAlignment alignment;
  if (!ReadAlignment(entrada, alignment)) return 0;
  common::Profile profile;
  if (heights && rasante.empty()) {
    common::RecordFailure("Falta la rasante que da las cotas del eje " + entrada);
    return 0;
  }
  if (heights && (!common::CheckConversionTarget(rasante, salida) || !ReadProfile(rasante, profile))) return 0;
  maps::MapFormat format;
  std::string source, system;
  if (!MapFormatOf(salida, format) || !SystemsForMap(format, source, system)) return 0;
  // Sampled in the alignment's own plane (and, with heights, where the profile bends, so that
  // no chord strays from the grade line either), then moved point by point.
  const std::vector<geo::StationedPoint> vertices =
      heights ? geo::DensifyAlignment(alignment.elements, geo::kDefaultChordTolerance,
                                      geo::ProfileBends(profile, geo::kDefaultChordTolerance))
              : geo::DensifyAlignment(alignment.elements, geo::kDefaultChordTolerance);
  const std::vector<geo::StationedPoint> marks = geo::StationMarks(alignment.elements, kStationInterval);
  if (heights && !vertices.empty() &&
      !ProfileCovers(profile, rasante, vertices.front().station, vertices.back().station, entrada)) {
    return 0;
  }
  // The heights are the profile's as they are: only the plan position changes system.
  const auto height = [&](double station) { return heights ? common::ElevationAt(profile, station) : 0.0; };
  Coordinates moved;
  for (const auto& p : vertices) moved.Add(p.x, p.y, height(p.station));
  for (const auto& p : marks) moved.Add(p.x, p.y, height(p.station));
  std::string report;
  if (!source.empty() && !system.empty() && !Move(moved, source, system, false, report)) return 0;
  maps::MapContents contents;
  contents.system = system;
  maps::MapAlignment map;
  map.name = common::SplitPath(entrada).name;
  map.heights = heights;
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    map.vertices.push_back({moved.x[i], moved.y[i], moved.z[i], vertices[i].station});
  }
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const std::size_t k = vertices.size() + i;
    map.marks.push_back({moved.x[k], moved.y[k], marks[i].station, moved.z[k]});
  }
  contents.alignments.push_back(std::move(map));
  if (!WriteMapFile(salida, format, contents, report)) return 0;
  if (!report.empty()) {
    report += "\r\nEl eje va densificado (cuerda de 1 cm) y transformado punto a punto: arcos y clotoides no se "
              "transforman elemento a elemento.";
  }
  Report(report);
  return 1;
}

}  // namespace

int AlignmentToMap(const std::string& entrada, const std::string& salida) {
  return AlignmentMap(entrada, false, std::string(), salida);
}

int AlignmentWithProfileToMap(const std::string& entrada, const std::string& rasante, const std::string& salida) {
  return AlignmentMap(entrada, true, rasante, salida);
}

int WriteProjection(const std::string& salida) {
  const std::string& target = Current().target;
  if (target.empty()) {
    common::RecordFailure("Falta el sistema de coordenadas de destino (--t_srs) para el .prj de " + salida);
    return 0;
  }
  std::string wkt, problem;
  if (!maps::EsriWkt(target, wkt, problem)) {
    common::RecordFailure(problem);
    return 0;
  }
  const common::PathParts parts = common::SplitPath(salida);
  common::TextWriter out;
  out.Write(wkt);
  return out.SaveTo(common::JoinPath(parts.directory, parts.name + ".prj")) ? 1 : 0;
}

namespace {

// A profile or cross sections: a table of a GeoPackage (they have no plan position of their own).
int TableToMap(const std::string& entrada, const std::string& salida, const common::ConversionRule& rule,
               maps::MapTable (*read)(std::string_view text)) {
  if (!common::CheckConversionTarget(entrada, salida) || !TargetFolderExists(salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, rule, text)) return 0;
  maps::MapTable table = read(text);
  if (!common::RequireSomething(table.rows.empty(), entrada, rule)) return 0;
  maps::MapFormat format;
  if (!MapFormatOf(salida, format)) return 0;
  if (format != maps::MapFormat::kGpkg) {
    common::RecordFailure("El fichero " + salida + ": una rasante o unos transversales van a un GeoPackage (gpkg), como tabla");
    return 0;
  }
  maps::MapContents contents;
  contents.tables.push_back(std::move(table));
  std::string report;
  if (!WriteMapFile(salida, format, contents, report)) return 0;
  Report(report);
  return static_cast<int>(contents.tables.front().rows.size());
}

maps::MapTable ProfileTable(std::string_view text) {
  maps::MapTable table{"rasante", {"pk", "cota", "kv", "tangente", "externa"}, {}};
  for (const common::ProfileVertex& v : common::ParseNativeProfile(text)) {
    table.rows.push_back({v.station, v.elevation, v.kv, v.tangent, v.external});
  }
  return table;
}

maps::MapTable SectionsTable(std::string_view text) {
  maps::MapTable table{"transversales", {"pk", "desplazamiento", "cota"}, {}};
  viaducto::CrossSectionSet sections;
  sections.Parse(text);
  for (const common::CrossSectionPoint& p : sections.points) table.rows.push_back({p.station, p.offset, p.elevation});
  return table;
}

}  // namespace

int ProfileToMap(const std::string& entrada, const std::string& salida) {
  return TableToMap(entrada, salida, kProfileFile, ProfileTable);
}

int CrossSectionsToMap(const std::string& entrada, const std::string& salida) {
  return TableToMap(entrada, salida, kSectionsFile, SectionsTable);
}

}  // namespace georref
