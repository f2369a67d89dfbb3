#include "frontend/view/view_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <string_view>
#include <unordered_map>

#include "common/export_guard.h"
#include "common/clothoid.h"
#include "common/file_kind.h"
#include "common/file_stream.h"
#include "formats/native/native_cross_section.h"
#include "formats/native/native_profile.h"
#include "common/paths.h"
#include "formats/native/point_file.h"
#include "common/text_case.h"
#include "common/temp_files.h"
#include "common/text_input.h"
#include "formats/landxml/xml_reader.h"
#include "formats/dxf/dxf_conversions.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/dxf/dxf_surface.h"
#include "formats/landxml/landxml_points.h"
#include "formats/landxml/landxml_surface.h"
#include "formats/native/superelevation.h"
#include "formats/native/surface_file_reader.h"
#include "formats/shapefile/shapefile_points.h"
#include "formats/native/native_alignment_file.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_profile.h"
#include "frontend/detect/spanish_numbers.h"
#include "formats/ifc/ifc_alignment.h"

namespace view {
namespace {

// Plan sampling: at most this far apart, and close enough on a curve that the chord strays
// from the arc by no more than half a millimetre.
constexpr double kMaxStep = 1.0;
constexpr double kMaxSagitta = 0.0005;
// A hostile file must not make the view unbounded: no element gets more samples than this,
// and the whole alignment no more than about kMaxPathPoints.
constexpr double kMaxSamplesPerElement = 20000;
constexpr double kMaxPathPoints = 2000000;
// The same for the long section: each vertical curve at most kMaxSamplesPerCurve pieces, all
// of them about kMaxCurvePoints at most.
constexpr double kMaxSamplesPerCurve = 20000;
constexpr double kMaxCurvePoints = 2000000;
constexpr double kTickSpacing = 100.0;
constexpr std::size_t kMaxTicks = 100000;

double StepForRadius(double radius) {
  if (radius == 0.0 || !std::isfinite(radius)) return kMaxStep;
  return std::min(kMaxStep, std::sqrt(8.0 * std::fabs(radius) * kMaxSagitta));
}

double ElementLength(const std::vector<common::AlignmentElement>& elements, std::size_t index) {
  return elements[index + 1].station - elements[index].station;
}

// Sampling step of one element: the tightest radius on it decides.
double ElementStep(const std::vector<common::AlignmentElement>& elements, std::size_t index) {
  const common::AlignmentElement& element = elements[index];
  if (element.kind == common::kArc) return StepForRadius(element.radius);
  if (element.kind == common::kClothoid) return StepForRadius(ClothoidEndRadius(elements, index));
  return kMaxStep;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Extension(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return Lower(path.substr(dot + 1));
}

// The file a view is read from: its bytes, and whether they are those of the file at `path` on
// disk (the readers that take only a file name need it there).
struct ViewInput {
  const std::string& path;
  std::string_view bytes;
  bool onDisk;
};

// The text as the text readers take it: every CR LF a LF.
std::string TextOf(const ViewInput& input) {
  std::string text(input.bytes);
  common::NormalizeLineEnds(text);
  return text;
}

void LoadAlignment(const ViewInput& input, ViewModel& model) {
  viaducto::NativeAlignment alignment = viaducto::ParseNativeAlignment(TextOf(input), viaducto::kIntersectionReader);
  BuildAlignmentView(std::move(alignment.elements), model.alignment);
}

void LoadProfile(const ViewInput& input, ViewModel& model) {
  BuildProfileView(common::ParseNativeProfile(TextOf(input)), model.profile);
}

void LoadCrossSections(const ViewInput& input, ViewModel& model) {
  std::vector<common::CrossSectionPoint> points;
  common::ParseNativeCrossSections(TextOf(input), common::kNativeSectionsReadUnendedLine, points);
  BuildCrossSectionsView(std::move(points), model.sections);
}

void LoadPointText(std::string_view text, ViewModel& model) {
  std::vector<common::NativePoint> points;
  common::ForEachPointLine(text, common::PointCodeRule::kRestOfLine,
                           [&](const common::PointLine& line) { points.push_back(common::ToNativePoint(line)); });
  BuildPointsView(std::move(points), model.points);
}

// The native superelevation file, read by its reader.
void LoadSuperelevation(const ViewInput& input, ViewModel& model) {
  SuperelevationView& view = model.superelevation;
  view = SuperelevationView();
  for (const viaducto::SuperelevationRecord& record : viaducto::ParseNativeSuperelevation(TextOf(input))) {
    view.rows.push_back({record.station, record.first, record.second});
    view.extents.Add(record.station, record.first);
    view.extents.Add(record.station, record.second);
  }
}

bool LoadSurface(const ViewInput& input, ViewModel& model, std::string& error) {
  planimetro::surface::SurfaceFileContents contents;
  std::string problem;
  if (!planimetro::surface::LeerSup(input.bytes, contents, problem)) {
    error = "No se puede leer la superficie " + input.path + ": " + problem;
    return false;
  }
  std::vector<SurfacePoint> points;
  points.reserve(contents.points.size());
  for (const auto& point : contents.points) points.push_back({point.x, point.y, point.z});
  BuildSurfaceView(std::move(points), std::move(contents.triangles), model.surface);
  model.surface.brokenSides = contents.brokenSides;
  return true;
}

// A drawing: its 3D faces make a surface, read by the surface import's own reader of faces, so
// that the view holds the triangles the conversion would write (the corners cleaned as it
// cleans them, a face kept when it has exactly three distinct corners). The points are
// numbered in the order the triangles first use them; faces that make no triangle are counted
// for the checks. A drawing without faces shows its POINT entities as the point import reads
// them, numbered in drawing order.
void LoadDrawing(const ViewInput& input, ViewModel& model) {
  planimetro::surface::DxfFaceTriangles read;
  {
    planimetro::dxf::DxfFile file{std::string(input.bytes)};
    planimetro::surface::ReadDxfFaceTriangles(file, nullptr, read);
  }
  if (read.faces > 0) {
    std::vector<int32_t> renumbered(read.points.size(), -1);
    std::vector<SurfacePoint> corners;
    for (auto& triangle : read.triangles) {
      for (int32_t& index : triangle) {
        int32_t& to = renumbered[static_cast<std::size_t>(index)];
        if (to < 0) {
          const planimetro::surface::PuntoSup& point = read.points[static_cast<std::size_t>(index)];
          to = static_cast<int32_t>(corners.size());
          corners.push_back({point.x, point.y, point.z});
        }
        index = to;
      }
    }
    model.kind = DataKind::kSurface;
    BuildSurfaceView(std::move(corners), std::move(read.triangles), model.surface);
    model.surface.collapsedFaces = read.collapsed + read.lost;
    model.surface.fourCornerFaces = read.fourCorners;
    return;
  }
  std::vector<common::NativePoint> drawingPoints;
  for (const planimetro::dxf::DxfVertex& vertex : planimetro::dxf::ParseDxfPoints(input.bytes)) {
    common::NativePoint point;
    point.number = static_cast<int32_t>(drawingPoints.size() + 1);
    point.x = vertex.x;
    point.y = vertex.y;
    point.z = vertex.z;
    drawingPoints.push_back(point);
  }
  model.kind = DataKind::kPoints;
  BuildPointsView(std::move(drawingPoints), model.points);
}

// A point shapefile: its points as the suite's shapefile import turns them into a point file.
// The import opens the .shp with its .shx and .dbf by name, so it reads a shapefile on disk.
bool LoadShapefile(const std::string& path, ViewModel& model, std::string& error) {
  common::ScratchFile points;
  std::string text;
  if (!points.ok() || shapeline::ImportShapefilePoints(path, points.path()) == 0 ||
      !common::LoadTextFile(points.path(), text)) {
    error = "No se pueden leer los puntos del shapefile " + path;
    return false;
  }
  model.kind = DataKind::kPoints;
  LoadPointText(text, model);
  return true;
}

void AddNote(ViewModel& model, const std::string& note) {
  if (std::find(model.notes.begin(), model.notes.end(), note) == model.notes.end()) model.notes.push_back(note);
}

// The surface of a document: its points are placed by id, an id without a point holding a
// placeholder at the origin; placeholders no triangle uses are left out of the view, so they
// neither stretch the extents nor count as unused points.
void BuildLandXmlSurface(planimetro::landxml::LandXmlSurfaceRead read, ViewModel& model) {
  std::vector<char> used(read.points.size(), 0);
  for (const auto& triangle : read.triangles) {
    for (const int32_t index : triangle) used[static_cast<std::size_t>(index)] = 1;
  }
  std::vector<int32_t> renumbered(read.points.size(), -1);
  std::vector<SurfacePoint> points;
  points.reserve(read.points.size());
  for (std::size_t i = 0; i < read.points.size(); ++i) {
    const planimetro::surface::PuntoSup& point = read.points[i];
    if (!used[i] && point.x == 0 && point.y == 0 && point.z == 0) continue;
    renumbered[i] = static_cast<int32_t>(points.size());
    points.push_back({point.x, point.y, point.z});
  }
  for (auto& triangle : read.triangles) {
    for (int32_t& index : triangle) index = renumbered[static_cast<std::size_t>(index)];
  }
  BuildSurfaceView(std::move(points), std::move(read.triangles), model.surface);
  model.surface.facesWithoutPoints = read.facesWithoutPoints;
  if (read.feet) AddNote(model, common::FeetMessage(read.feetInMetres));
  if (read.invisibleFaces > 0) {
    AddNote(model, std::to_string(read.invisibleFaces) + " caras ocultas (fuera del contorno o en huecos) no se muestran");
  }
}

// The ground under a profile of a LandXML document: the first ProfSurf of the Profile that
// holds the ProfAlign named by `entry` ("alignment: profile", letter case ignored), its
// PntList2D as station and elevation pairs in order of station.
class ProfileGroundHandler : public common::LandXmlHandler {
 public:
  explicit ProfileGroundHandler(std::string entry) : entry_(common::LowerAscii(std::move(entry))) {}

  void StartElement(std::string_view localName, const common::LandXmlAttributes& attributes) override {
    if (common::NameIs(localName, "Alignment")) {
      const auto name = common::GetAttribute(attributes, "name");
      alignment_ = name ? std::string(*name) : (attributes.empty() ? std::string() : std::string(attributes.front().value));
    } else if (common::NameIs(localName, "Profile")) {
      inProfile_ = true;
      matched_ = false;
      ground_.clear();
    } else if (inProfile_ && common::NameIs(localName, "ProfAlign")) {
      const auto name = common::GetAttribute(attributes, "name");
      const std::string entry = alignment_ + ": " + (name ? std::string(*name) : std::string());
      if (common::LowerAscii(entry) == entry_) matched_ = true;
    } else if (inProfile_ && common::NameIs(localName, "ProfSurf")) {
      inSurface_ = ground_.empty();
    } else if (inSurface_ && common::NameIs(localName, "PntList2D")) {
      reading_ = true;
      text_.clear();
    }
  }
  void EndElement(std::string_view localName) override {
    if (reading_ && common::NameIs(localName, "PntList2D")) {
      reading_ = false;
      std::istringstream numbers(text_);
      numbers.imbue(std::locale::classic());
      double station = 0;
      double elevation = 0;
      while (numbers >> station >> elevation) {
        if (std::isfinite(station) && std::isfinite(elevation)) ground_.push_back({station, elevation});
      }
    } else if (common::NameIs(localName, "ProfSurf")) {
      inSurface_ = false;
    } else if (inProfile_ && common::NameIs(localName, "Profile")) {
      inProfile_ = false;
      if (matched_ && found_.empty()) found_ = ground_;
    }
  }
  void Characters(std::string_view text) override { text_ += text; }
  bool WantsText() const override { return reading_; }

  std::vector<SectionPoint> Take() {
    std::stable_sort(found_.begin(), found_.end(),
                     [](const SectionPoint& a, const SectionPoint& b) { return a.station < b.station; });
    return std::move(found_);
  }

 private:
  std::string entry_;
  std::string alignment_;
  bool inProfile_ = false;
  bool matched_ = false;
  bool inSurface_ = false;
  bool reading_ = false;
  std::string text_;
  std::vector<SectionPoint> ground_;
  std::vector<SectionPoint> found_;
};

// A LandXML document: its alignments, profiles and surfaces, and its survey points, each an
// entry read with the import that converts it.
bool LoadLandXml(const ViewInput& input, const std::string& choice, ViewModel& model, std::string& error) {
  const std::string& path = input.path;
  const common::LandXmlSource source = common::LandXmlSource::Bytes(input.bytes);
  common::ForgetMalformedDocuments();
  for (std::string& name : viaducto::ListLandXmlAlignments(source)) {
    model.entries.push_back({DataKind::kAlignment, std::move(name)});
  }
  // A document cut short is refused as the imports refuse it, not shown as a smaller one.
  if (common::MalformedDocumentSeen()) {
    error = common::MalformedDocumentText(path, common::LastMalformedLine());
    return false;
  }
  for (std::string& name : viaducto::ListLandXmlProfiles(source)) {
    model.entries.push_back({DataKind::kProfile, std::move(name)});
  }
  // The surfaces as the surface import lists them for its selection (a list of lines: a
  // surface without a name is no entry).
  for (std::string& name : planimetro::landxml::ListLandXmlSurfaceNames(source)) {
    if (!name.empty()) model.entries.push_back({DataKind::kSurface, std::move(name)});
  }
  planimetro::landxml::LandXmlPointsImport points = planimetro::landxml::ReadLandXmlPoints(source);
  if (!points.points.empty()) model.entries.push_back({DataKind::kPoints, "Puntos"});
  if (model.entries.empty()) {
    error = "El fichero " + path + " no contiene ningún eje, rasante, superficie ni punto";
    return false;
  }
  const int found = choice.empty() ? 0 : FindEntry(model.entries, choice);
  if (found < 0) {
    error = "El fichero " + path + " no contiene \"" + choice + "\" (hay " + std::to_string(model.entries.size()) +
            (model.entries.size() == 1 ? " entrada)" : " entradas)");
    return false;
  }
  model.entry = static_cast<std::size_t>(found);
  const FileEntry& entry = model.entries[model.entry];
  model.kind = entry.kind;
  switch (entry.kind) {
    case DataKind::kAlignment: {
      // Alignments are numbered in document order, as listed.
      int number = 0;
      for (std::size_t i = 0; i < model.entry; ++i) number += model.entries[i].kind == DataKind::kAlignment ? 1 : 0;
      viaducto::LandXmlAlignmentImport imported = viaducto::ImportLandXmlAlignment(source, number);
      for (const std::string& note : imported.notes) AddNote(model, note);
      BuildAlignmentView(std::move(imported.elements), model.alignment);
      break;
    }
    case DataKind::kProfile: {
      viaducto::LandXmlProfileImport imported = viaducto::ImportLandXmlProfile(source, entry.name);
      for (const std::string& note : imported.notes) AddNote(model, note);
      BuildProfileView(std::move(imported.profile), model.profile);
      // The ground, where the document holds it beside the profile.
      ProfileGroundHandler ground(entry.name);
      source.Parse(ground);
      model.profile.terrain = ground.Take();
      for (const SectionPoint& point : model.profile.terrain) model.profile.extents.Add(point.station, point.elevation);
      break;
    }
    case DataKind::kSurface:
      // The view needs the points and triangles, not the triangle file's text.
      BuildLandXmlSurface(
          planimetro::landxml::ReadLandXmlSurface(source, entry.name, [](std::string_view) { return true; }), model);
      break;
    case DataKind::kPoints:
      if (points.feet) AddNote(model, common::FeetMessage(points.feetInMetres));
      if (points.unresolved > 0) {
        AddNote(model, std::to_string(points.unresolved) + " puntos sin coordenadas nombran un punto que no existe");
      }
      BuildPointsView(std::move(points.points), model.points);
      break;
    default: break;
  }
  return true;
}

// An IFC model: each alignment an entry, and the profile of each that has a vertical layout,
// read as the IFC imports read them.
bool LoadIfc(const ViewInput& input, const std::string& choice, ViewModel& model, std::string& error) {
  const ifc::AlignmentsRead read = ifc::ReadAlignmentsText(input.bytes);
  if (!read.ok) {
    error = read.error + ": " + input.path;
    return false;
  }
  for (const ifc::AlignmentLayouts& a : read.alignments) model.entries.push_back({DataKind::kAlignment, a.name});
  std::vector<const ifc::AlignmentLayouts*> withProfile;
  for (const ifc::AlignmentLayouts& a : read.alignments) {
    if (a.vertical.empty()) continue;
    model.entries.push_back({DataKind::kProfile, a.name});
    withProfile.push_back(&a);
  }
  if (model.entries.empty()) {
    error = "El fichero " + input.path + " no contiene ningún eje";
    return false;
  }
  const int found = choice.empty() ? 0 : FindEntry(model.entries, choice);
  if (found < 0) {
    error = "El fichero " + input.path + " no contiene \"" + choice + "\"";
    return false;
  }
  model.entry = static_cast<std::size_t>(found);
  model.kind = model.entries[model.entry].kind;
  for (const std::string& note : read.notes) AddNote(model, note);
  if (model.kind == DataKind::kAlignment) {
    BuildAlignmentView(ifc::RecordsFromLayouts(read.alignments[model.entry]), model.alignment);
  } else {
    BuildProfileView(ifc::ProfileFromLayouts(*withProfile[model.entry - read.alignments.size()]), model.profile);
  }
  return true;
}

// How a file is read for its view: as the kind its name's extension gives, else as what its
// first bytes show.
enum class ViewReading { kByExtension, kDrawing, kShapefile, kLandXml, kIfc, kUnknown };

constexpr std::size_t kSniffedBytes = 4096;

ViewReading ReadingOf(const std::string& path, std::string_view head) {
  if (KindOfPath(path) != DataKind::kNone) return ViewReading::kByExtension;
  if (head.substr(0, 13) == "ISO-10303-21;") return ViewReading::kIfc;
  switch (common::SniffFileKind(head.substr(0, kSniffedBytes))) {
    case common::FileKind::kDxf: return ViewReading::kDrawing;
    case common::FileKind::kShapefile: return ViewReading::kShapefile;
    case common::FileKind::kLandXml: return ViewReading::kLandXml;
    default: return ViewReading::kUnknown;
  }
}

std::string CannotShowText(const std::string& path) {
  return "No se sabe mostrar el fichero " + path +
         " (ejes .eje, rasantes .ras, transversales .tra, puntos .pun, peraltes .per, superficies .sup, dibujos .dxf, "
         "shapefiles de puntos .shp, documentos LandXML .xml, modelos IFC .ifc)";
}

// Reads `input` the way `reading` says into a model already made for its path.
bool LoadInput(ViewReading reading, const ViewInput& input, const std::string& choice, ViewModel& model,
               std::string& error) {
  switch (reading) {
    case ViewReading::kByExtension: break;
    case ViewReading::kDrawing: LoadDrawing(input, model); return true;
    case ViewReading::kShapefile:
      if (input.onDisk) return LoadShapefile(input.path, model, error);
      error = "No se pueden leer los puntos del shapefile " + input.path + ": su .shx y su .dbf no están en memoria";
      return false;
    case ViewReading::kLandXml: return LoadLandXml(input, choice, model, error);
    case ViewReading::kIfc: return LoadIfc(input, choice, model, error);
    case ViewReading::kUnknown: error = CannotShowText(input.path); return false;
  }
  switch (model.kind) {
    case DataKind::kAlignment: LoadAlignment(input, model); return true;
    case DataKind::kProfile: LoadProfile(input, model); return true;
    case DataKind::kCrossSections: LoadCrossSections(input, model); return true;
    case DataKind::kPoints: LoadPointText(TextOf(input), model); return true;
    case DataKind::kSuperelevation: LoadSuperelevation(input, model); return true;
    case DataKind::kSurface: return LoadSurface(input, model, error);
    case DataKind::kNone: break;
  }
  error = CannotShowText(input.path);
  return false;
}

}  // namespace

const char* KindName(DataKind kind) {
  switch (kind) {
    case DataKind::kAlignment: return "eje";
    case DataKind::kProfile: return "rasante";
    case DataKind::kCrossSections: return "transversales";
    case DataKind::kPoints: return "puntos";
    case DataKind::kSuperelevation: return "peraltes";
    case DataKind::kSurface: return "superficie";
    case DataKind::kNone: break;
  }
  return "desconocido";
}

Extents ViewModel::Drawing() const {
  switch (kind) {
    case DataKind::kAlignment: return alignment.extents;
    case DataKind::kProfile: return profile.extents;
    case DataKind::kCrossSections: return sections.extents;
    case DataKind::kPoints: return points.extents;
    case DataKind::kSuperelevation: return superelevation.extents;
    case DataKind::kSurface: return surface.extents;
    case DataKind::kNone: break;
  }
  return Extents();
}

DataKind KindOfPath(const std::string& path) {
  const std::string extension = Extension(path);
  if (extension == "eje") return DataKind::kAlignment;
  if (extension == "ras") return DataKind::kProfile;
  if (extension == "tra") return DataKind::kCrossSections;
  if (extension == "pun") return DataKind::kPoints;
  if (extension == "per") return DataKind::kSuperelevation;
  if (extension == "sup") return DataKind::kSurface;
  return DataKind::kNone;
}

int FindEntry(const std::vector<FileEntry>& entries, const std::string& choice) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (common::EqualsIgnoringCase(entries[i].name, choice)) return static_cast<int>(i);
  }
  if (choice.empty() || choice.size() > 9 || choice.find_first_not_of("0123456789") != std::string::npos) return -1;
  const long number = std::stol(choice);
  return number >= 1 && number <= static_cast<long>(entries.size()) ? static_cast<int>(number - 1) : -1;
}

std::string EntryLabel(const FileEntry& entry) {
  return (entry.name.empty() ? std::string("sin nombre") : entry.name) + " (" + KindName(entry.kind) + ")";
}

bool LoadViewFile(const std::string& path, ViewModel& model, std::string& error) {
  return LoadViewFile(path, std::string(), model, error);
}

bool LoadViewFile(const std::string& path, const std::string& choice, ViewModel& model, std::string& error) {
  // Numbers are read in the "C" locale, whatever the program's locale is (the desktop runs under es_ES).
  const common::CLocaleScope cLocale;
  model = ViewModel();
  model.path = path;
  model.kind = KindOfPath(path);
  ViewReading reading = ViewReading::kByExtension;
  // The look at the first bytes and the reading go through one opening of the file.
  const common::HeldSource held(path);
  if (model.kind == DataKind::kNone) {
    // The first bytes tell a drawing from the rest, before a file that is none is read whole.
    std::string head(kSniffedBytes, '\0');
    common::FileChunkReader file;
    if (!file.Open(path)) {
      error = "No se puede leer el fichero " + path;
      return false;
    }
    std::size_t got = 0;
    while (got < head.size()) {
      const std::size_t more = file.Read(&head[got], head.size() - got);
      if (more == 0) break;
      got += more;
    }
    head.resize(got);
    reading = ReadingOf(path, head);
    if (reading == ViewReading::kUnknown || reading == ViewReading::kShapefile) {
      return LoadInput(reading, ViewInput{path, std::string_view(), true}, choice, model, error);
    }
  }
  std::string bytes;
  if (!common::ReadWholeFile(path, bytes)) {
    error = "No se puede leer el fichero " + path;
    return false;
  }
  return LoadInput(reading, ViewInput{path, bytes, true}, choice, model, error);
}

bool AddTerrainProfile(const std::string& terrainPath, ViewModel& model, std::string& error) {
  if (model.kind != DataKind::kProfile || model.profile.line.empty()) {
    error = "El terreno (--terrain) se dibuja bajo una rasante, y " + model.path + " no muestra ninguna";
    return false;
  }
  ViewModel other;
  if (!LoadViewFile(terrainPath, other, error)) return false;
  if (other.kind != DataKind::kProfile) {
    // A document of several entries gives its first profile.
    std::size_t k = 0;
    while (k < other.entries.size() && other.entries[k].kind != DataKind::kProfile) ++k;
    if (k == other.entries.size() || !LoadViewFile(terrainPath, other.entries[k].name, other, error)) {
      error = "El fichero de terreno " + terrainPath + " no contiene ninguna rasante";
      return false;
    }
  }
  if (other.profile.line.empty()) {
    error = "El fichero de terreno " + terrainPath + " no contiene ninguna rasante";
    return false;
  }
  const std::vector<SectionPoint>& ground = other.profile.line;
  const std::vector<SectionPoint>& line = model.profile.line;
  const auto byStation = [](const SectionPoint& a, const SectionPoint& b) { return a.station < b.station; };
  const double from = std::min_element(line.begin(), line.end(), byStation)->station;
  const double to = std::max_element(line.begin(), line.end(), byStation)->station;
  // Only the stretch both share is drawn: the ground clipped to the profile's stations, its ends
  // on the straight piece that crosses them.
  std::vector<SectionPoint> kept;
  const auto cut = [](const SectionPoint& a, const SectionPoint& b, double station) {
    const double t = (station - a.station) / (b.station - a.station);
    return SectionPoint{station, a.elevation + t * (b.elevation - a.elevation)};
  };
  for (std::size_t k = 0; k < ground.size(); ++k) {
    const SectionPoint& p = ground[k];
    if (k > 0) {
      const SectionPoint& q = ground[k - 1];
      if (q.station < from && p.station > from) kept.push_back(cut(q, p, from));
      if (q.station < to && p.station > to) kept.push_back(cut(q, p, to));
    }
    if (p.station >= from && p.station <= to) kept.push_back(p);
  }
  if (kept.size() < 2 || !(std::max_element(kept.begin(), kept.end(), byStation)->station >
                           std::min_element(kept.begin(), kept.end(), byStation)->station)) {
    error = "El terreno " + terrainPath + " no se solapa con los P.K. de la rasante (" + StationLabel(from, 3) + " a " +
            StationLabel(to, 3) + ")";
    return false;
  }
  std::stable_sort(kept.begin(), kept.end(), byStation);
  model.profile.terrain = std::move(kept);
  for (const SectionPoint& point : model.profile.terrain) model.profile.extents.Add(point.station, point.elevation);
  return true;
}

bool LoadViewBytes(std::string_view bytes, const std::string& name, const std::string& choice, ViewModel& model,
                   std::string& error) {
  // Numbers are read in the "C" locale, whatever the program's locale is (the desktop runs under es_ES).
  const common::CLocaleScope cLocale;
  model = ViewModel();
  model.path = name;
  model.kind = KindOfPath(name);
  return LoadInput(ReadingOf(name, bytes), ViewInput{name, bytes, false}, choice, model, error);
}

double ClothoidEndRadius(const std::vector<common::AlignmentElement>& elements, std::size_t index) {
  const common::AlignmentElement& element = elements[index];
  if (element.radius != 0.0) return element.radius;
  return index > 0 ? elements[index - 1].radius : 0.0;
}

StationPoint PointOnElement(const std::vector<common::AlignmentElement>& elements, std::size_t index,
                            double distance) {
  const common::AlignmentElement& element = elements[index];
  StationPoint result;
  result.station = element.station + distance;
  const common::Point2 start{element.x, element.y};
  if (element.kind == common::kArc) {
    const common::ArcPoint arc = common::PointOnArc(element, result.station);
    result.point = arc.point;
    result.azimuth = arc.azimuth;
    result.curvature = 1.0 / element.radius;
  } else if (element.kind == common::kClothoid) {
    const double previousRadius = index > 0 ? elements[index - 1].radius : 0.0;
    const common::Clothoid clothoid = common::ClothoidOfElement(element, previousRadius);
    const common::ClothoidPoint point = common::PointOnClothoid(clothoid, distance);
    result.point = point.point;
    result.azimuth = point.azimuth;
    result.curvature = clothoid.startCurvature + clothoid.curvatureRate * distance;
  } else {
    result.point = common::PointAlong(start, distance, element.azimuth);
    result.azimuth = common::NormalizeGrads(element.azimuth);
  }
  return result;
}

std::string StationLabel(double station, int decimals) {
  if (!std::isfinite(station)) return "?";
  const double scale = std::pow(10.0, decimals);
  const double rounded = std::round(std::fabs(station) * scale) / scale;
  const double kilometres = std::floor(rounded / 1000.0);
  const double metres = rounded - kilometres * 1000.0;
  // Kilometres, "+", metres of three digits and the decimals after a comma: "1+234,568".
  std::string text = (station < 0 && rounded > 0 ? "-" : "") + detect::SpanishNumber(kilometres, 0) + "+";
  std::string written = detect::SpanishNumber(metres, decimals);
  const std::size_t comma = written.find(',');
  const std::size_t whole = comma == std::string::npos ? written.size() : comma;
  if (whole < 3) written.insert(0, 3 - whole, '0');
  return text + written;
}

void BuildAlignmentView(std::vector<common::AlignmentElement> elements, AlignmentView& view) {
  view = AlignmentView();
  view.elements = std::move(elements);
  const std::vector<common::AlignmentElement>& e = view.elements;
  if (e.empty()) return;
  double totalLength = 0;
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    const double length = ElementLength(e, i);
    if (std::isfinite(length) && length > 0) totalLength += length;
  }
  const double budgetStep = totalLength / kMaxPathPoints;
  // The pieces of element i (none for an element without length); counted first so that the
  // path is allocated once.
  const auto piecesOf = [&](std::size_t i) {
    const double length = ElementLength(e, i);
    if (!std::isfinite(length) || length <= 0) return 0L;
    const double step = std::max({ElementStep(e, i), length / kMaxSamplesPerElement, budgetStep});
    return std::max(1L, static_cast<long>(std::ceil(length / step)));
  };
  std::vector<long> pieces(e.size() - 1);
  std::size_t points = 1;
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    pieces[i] = piecesOf(i);
    points += 1 + static_cast<std::size_t>(pieces[i]);
  }
  view.path.reserve(points);
  view.elementFirstPoint.reserve(e.size());
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    view.elementFirstPoint.push_back(view.path.size());
    const double length = ElementLength(e, i);
    view.path.push_back(PointOnElement(e, i, 0.0));
    const long count = pieces[i];
    for (long k = 1; k <= count; ++k) view.path.push_back(PointOnElement(e, i, length * k / count));
  }
  view.elementFirstPoint.push_back(view.path.size());
  StationPoint end;
  end.station = e.back().station;
  end.point = {e.back().x, e.back().y};
  end.azimuth = e.back().azimuth;
  view.path.push_back(end);
  for (const StationPoint& point : view.path) view.extents.Add(point.point.x, point.point.y);

  // Ticks at every whole 100 m of station that lies on an element (room made for them first).
  double ticks = 0;
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    const double length = ElementLength(e, i);
    if (std::isfinite(length) && length > 0) ticks += length / kTickSpacing + 2;
  }
  view.ticks.reserve(static_cast<std::size_t>(std::min(ticks, static_cast<double>(kMaxTicks))));
  for (std::size_t i = 0; i + 1 < e.size() && view.ticks.size() < kMaxTicks; ++i) {
    const double length = ElementLength(e, i);
    if (!std::isfinite(length) || length <= 0 || !std::isfinite(e[i].station)) continue;
    double tick = std::ceil(e[i].station / kTickSpacing) * kTickSpacing;
    const double last = e[i].station + length;
    const bool lastElement = i + 2 == e.size();
    for (; (tick < last || (lastElement && tick <= last)) && view.ticks.size() < kMaxTicks; tick += kTickSpacing) {
      StationTick mark;
      mark.at = PointOnElement(e, i, tick - e[i].station);
      mark.label = StationLabel(tick, 0);
      view.ticks.push_back(std::move(mark));
    }
  }
}

double ProfileElevation(const common::Profile& profile, double station) {
  return common::ElevationAt(profile, station);
}

void BuildProfileView(common::Profile vertices, ProfileView& view) {
  view = ProfileView();
  view.vertices = std::move(vertices);
  const common::Profile& p = view.vertices;
  for (const common::ProfileVertex& v : p) view.extents.Add(v.station, v.elevation);
  if (p.empty()) return;
  const auto isCurve = [&p](std::size_t i) { return i + 1 < p.size() && p[i].tangent > 0 && std::isfinite(p[i].tangent); };
  double curveLength = 0;
  for (std::size_t i = 1; i < p.size(); ++i) curveLength += isCurve(i) ? 2.0 * p[i].tangent : 0.0;
  const double budgetStep = std::max(1.0, curveLength / kMaxCurvePoints);
  // A curve from its start to its end, every metre or finer (at least 50 pieces), coarser only
  // where the curves of the whole profile would be more than the budget.
  const auto piecesOf = [&](std::size_t i) {
    return static_cast<long>(std::min(kMaxSamplesPerCurve, std::max(50.0, std::ceil(2.0 * p[i].tangent / budgetStep))));
  };
  std::size_t points = 1;
  for (std::size_t i = 1; i < p.size(); ++i) points += isCurve(i) ? static_cast<std::size_t>(piecesOf(i)) + 1 : 1;
  view.line.reserve(points);
  view.line.push_back({p.front().station, p.front().elevation});
  for (std::size_t i = 1; i < p.size(); ++i) {
    const common::ProfileVertex& v = p[i];
    if (!isCurve(i)) {
      view.line.push_back({v.station, v.elevation});
      continue;
    }
    const double length = 2.0 * v.tangent;
    const long count = piecesOf(i);
    const double gradeIn = common::GradeBetween(p[i - 1], v);
    const double gradeOut = common::GradeBetween(v, p[i + 1]);
    for (long k = 0; k <= count; ++k) {
      const double x = length * k / count;
      const double elevation =
          v.elevation - gradeIn * v.tangent + gradeIn * x + (gradeOut - gradeIn) * x * x / (4.0 * v.tangent);
      view.line.push_back({v.station - v.tangent + x, elevation});
      view.extents.Add(v.station - v.tangent + x, elevation);
    }
  }
}

void BuildCrossSectionsView(std::vector<common::CrossSectionPoint> points, CrossSectionsView& view) {
  view = CrossSectionsView();
  view.points = std::move(points);
  for (const common::CrossSectionPoint& point : view.points) {
    if (view.sections.empty() || view.sections.back().station != point.station) {
      view.sections.push_back(CrossSection{point.station, {}});
    }
    view.sections.back().points.push_back(point);
    view.extents.Add(point.offset, point.elevation);
  }
}

void BuildPointsView(std::vector<common::NativePoint> points, PointsView& view) {
  view = PointsView();
  view.points = std::move(points);
  for (const common::NativePoint& point : view.points) view.extents.Add(point.x, point.y);
}

void BuildSurfaceView(std::vector<SurfacePoint> points, std::vector<std::array<int32_t, 3>> triangles,
                      SurfaceView& view) {
  view = SurfaceView();
  view.points = std::move(points);
  view.triangles = std::move(triangles);
  bool first = true;
  for (const SurfacePoint& point : view.points) {
    view.extents.Add(point.x, point.y);
    if (!std::isfinite(point.z)) continue;
    view.minZ = first ? point.z : std::min(view.minZ, point.z);
    view.maxZ = first ? point.z : std::max(view.maxZ, point.z);
    first = false;
  }
}

std::vector<std::string> Summary(const ViewModel& model) {
  const auto Count = [](std::size_t count) { return detect::SpanishCount(static_cast<long long>(count)); };
  std::vector<std::string> lines;
  char text[256];
  lines.push_back(std::string("Tipo: ") + KindName(model.kind));
  if (model.entry < model.entries.size()) {
    std::snprintf(text, sizeof text, " (%zu de %zu)", model.entry + 1, model.entries.size());
    lines.push_back("Entrada: " + model.entries[model.entry].name + text);
  }
  switch (model.kind) {
    case DataKind::kAlignment: {
      const auto& e = model.alignment.elements;
      std::size_t counts[3] = {0, 0, 0};
      for (std::size_t i = 0; i + 1 < e.size(); ++i) {
        if (e[i].kind >= 0 && e[i].kind <= 2) ++counts[e[i].kind];
      }
      lines.push_back("Elementos: " + Count(e.empty() ? 0 : e.size() - 1) + " (" + Count(counts[0]) + " rectas, " +
                      Count(counts[1]) + " curvas, " + Count(counts[2]) + " clotoides)");
      if (!e.empty()) {
        lines.push_back("P.K. inicial: " + StationLabel(e.front().station, 3));
        lines.push_back("P.K. final: " + StationLabel(e.back().station, 3));
        lines.push_back("Longitud: " + detect::SpanishNumber(e.back().station - e.front().station, 3) + " m");
      }
      break;
    }
    case DataKind::kProfile: {
      const auto& p = model.profile.vertices;
      std::size_t curves = 0;
      for (const auto& v : p) curves += v.tangent > 0 ? 1 : 0;
      lines.push_back("Vértices: " + Count(p.size()) + ", acuerdos: " + Count(curves));
      if (!p.empty()) {
        lines.push_back("P.K. inicial: " + StationLabel(p.front().station, 3));
        lines.push_back("P.K. final: " + StationLabel(p.back().station, 3));
        lines.push_back(detect::SpanishFormat("Cotas: %.3f a %.3f m", {model.profile.extents.minY, model.profile.extents.maxY}));
      }
      break;
    }
    case DataKind::kCrossSections: {
      const auto& s = model.sections.sections;
      lines.push_back("Perfiles: " + Count(s.size()) + ", puntos: " + Count(model.sections.points.size()));
      if (!s.empty()) {
        lines.push_back("P.K. inicial: " + StationLabel(s.front().station, 3));
        lines.push_back("P.K. final: " + StationLabel(s.back().station, 3));
      }
      break;
    }
    case DataKind::kPoints:
      lines.push_back("Puntos: " + Count(model.points.points.size()));
      break;
    case DataKind::kSuperelevation:
      lines.push_back("Filas: " + Count(model.superelevation.rows.size()));
      break;
    case DataKind::kSurface:
      lines.push_back("Puntos: " + Count(model.surface.points.size()) + ", triángulos: " +
                      Count(model.surface.triangles.size()));
      if (!model.surface.points.empty()) {
        lines.push_back(detect::SpanishFormat("Cotas: %.3f a %.3f m", {model.surface.minZ, model.surface.maxZ}));
      }
      break;
    case DataKind::kNone: break;
  }
  const Extents extents = model.Drawing();
  if (!extents.empty && (model.kind == DataKind::kAlignment || model.kind == DataKind::kPoints ||
                         model.kind == DataKind::kSurface)) {
    lines.push_back(detect::SpanishFormat("Extensión: X %.3f a %.3f, Y %.3f a %.3f",
                                          {extents.minX, extents.maxX, extents.minY, extents.maxY}));
  }
  for (const std::string& note : model.notes) lines.push_back("Nota: " + note);
  return lines;
}

}  // namespace view
