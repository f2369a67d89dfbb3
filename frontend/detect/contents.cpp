#include "frontend/detect/contents.h"

#include <sys/stat.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>

#include "common/export_guard.h"
#include "common/file_stream.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/text_stream.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/dxf/dxf_summary.h"
#include "formats/gts/gts_cross_sections.h"
#include "formats/gts/gts_profile.h"
#include "formats/ifc/ifc_alignment.h"
#include "formats/landxml/landxml_summary.h"
#include "formats/landxml/xml_reader.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_cross_section.h"
#include "formats/native/native_profile.h"
#include "formats/native/point_file.h"
#include "formats/native/surface_file_reader.h"
#include "formats/shapefile/shapefile_points.h"
#include "frontend/detect/spanish_numbers.h"

namespace detect {
namespace {

// A read that failed part way through the file.
std::string ReadErrorText(const std::string& path) { return "No se puede leer el fichero " + path + " hasta el final"; }

// Where the readers take the file from: the file at the contents' path, streamed where the
// reader streams, or its bytes already in memory (the path then only names it).
class Source {
 public:
  static Source File() { return Source(); }
  static Source Bytes(std::string_view bytes) {
    Source source;
    source.bytes_ = bytes;
    return source;
  }
  bool inMemory() const { return bytes_.has_value(); }
  std::string_view bytes() const { return *bytes_; }

 private:
  std::optional<std::string_view> bytes_;
};

// What a LandXML document holds, as its summary reads it: the alignments and profiles through
// the imports' own readers.
void ReadLandXml(Contents& contents, const Source& source) {
  const common::LandXmlSource document =
      source.inMemory() ? common::LandXmlSource::Bytes(source.bytes()) : common::LandXmlSource(contents.path);
  viaducto::LandXmlSummary summary = viaducto::SummarizeLandXml(document);
  const common::ParseResult result = summary.parse;
  if (result == common::ParseResult::kCannotOpen) {
    contents.error = "No se puede leer el fichero " + contents.path;
    return;
  }
  if (result == common::ParseResult::kMalformed) {
    // A document cut short is no smaller document: nothing of it is taken for what it holds.
    contents.error = common::MalformedDocumentText(contents.path, common::LastMalformedLine());
    return;
  }
  contents.alignments = std::move(summary.alignments);
  contents.profiles = std::move(summary.profiles);
  contents.crossSections = std::move(summary.crossSections);
  contents.surfaces = std::move(summary.surfaces);
  contents.points = summary.points;
  contents.system = NamedSystemOfLandXml(summary.coordinateSystem);
  contents.read = true;
}

// Every alignment of an IFC model and its profile, as the IFC imports read them.
void ReadIfc(Contents& contents, const Source& source) {
  std::string text;
  if (!source.inMemory()) {
    std::ifstream in(contents.path, std::ios::binary);
    if (!in) {
      contents.error = "No se puede leer el fichero " + contents.path;
      return;
    }
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
  }
  const ifc::AlignmentsRead read = ifc::ReadAlignmentsText(source.inMemory() ? source.bytes() : std::string_view(text));
  if (!read.ok) {
    contents.error = read.error;
    return;
  }
  contents.system = NamedSystemOfIfc(read.projectedCrs);
  for (const ifc::AlignmentLayouts& a : read.alignments) {
    common::AlignmentSummarizer summarizer;
    for (const common::AlignmentElement& element : ifc::RecordsFromLayouts(a)) {
      summarizer.Add(element);
      contents.extents.Add(element.x, element.y, 0);
    }
    common::AlignmentSummary summary = summarizer.Summary();
    summary.name = a.name;
    contents.alignments.push_back(summary);
    const common::Profile profile = ifc::ProfileFromLayouts(a);
    if (!profile.empty()) {
      common::ProfileSummary p = common::SummarizeProfile(profile);
      p.name = a.name;
      contents.profiles.push_back(p);
    }
  }
  contents.read = true;
}

// The layers of the layer table and the entities of the ENTITIES section by layer and type.
void ReadDxf(Contents& contents, const Source& source) {
  namespace dxf = planimetro::dxf;
  std::optional<dxf::DxfFile> drawing;
  if (source.inMemory()) {
    drawing.emplace(std::string(source.bytes()));
  } else if (!drawing.emplace().OpenStreamed(contents.path)) {
    contents.error = "No se puede leer el fichero " + contents.path;
    return;
  }
  const dxf::DxfSummary summary = dxf::SummarizeDxf(*drawing);
  for (const dxf::DxfLayerSummary& layer : summary.layers) contents.layers.push_back({layer.name, layer.entities});
  contents.extents = summary.extents;
  if (summary.failed) {
    contents.error = ReadErrorText(contents.path);
    return;
  }
  contents.read = true;
}

// Hands every line piece of the file to `visit` (the pieces a 256-byte line buffer gives),
// reading a file one chunk at a time so that memory stays the same whatever its size. False,
// with the reason in `contents.error`, when the file cannot be opened or a read fails.
template <typename Visit>
bool ForEachPiece(Contents& contents, const Source& source, Visit&& visit) {
  std::string_view piece;
  if (source.inMemory()) {
    // Text without a CR is read where it is; else a copy with every CR LF a LF.
    std::string normalized;
    std::string_view text = source.bytes();
    if (text.find('\r') != std::string_view::npos) {
      normalized = text;
      common::NormalizeLineEnds(normalized);
      text = normalized;
    }
    common::LineReader lines(text);
    while (lines.Next(piece)) visit(piece);
    return true;
  }
  common::StreamedLineReader reader;
  if (!reader.Open(contents.path)) {
    contents.error = "No se puede leer el fichero " + contents.path;
    return false;
  }
  while (reader.Next(piece)) visit(piece);
  if (reader.failed()) {
    contents.error = ReadErrorText(contents.path);
    return false;
  }
  return true;
}

// Each line goes through the alignment reader on its own: the reader takes a record per line,
// so the records come out as from the whole file, one at a time, and are summed up as they
// come.
void ReadNativeAlignment(Contents& contents, const Source& source) {
  common::AlignmentSummarizer summarizer;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    for (const common::AlignmentElement& element : viaducto::ParseNativeAlignment(piece, viaducto::kElementReader).elements) {
      summarizer.Add(element);
      contents.extents.Add(element.x, element.y, 0);
    }
  });
  if (!read) return;
  contents.alignments.push_back(summarizer.Summary());
  contents.read = true;
}

// The vertices of a profile file, each line read by `parse` (a reader that takes a vertex
// per line), counted with the stations of the first and the last.
template <typename Parse>
void ReadProfile(Contents& contents, const Source& source, Parse&& parse) {
  common::ProfileSummarizer summarizer;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    for (const common::ProfileVertex& vertex : parse(piece)) summarizer.Add(vertex);
  });
  if (!read) return;
  contents.profiles.push_back(summarizer.Summary());
  contents.read = true;
}

// Sections and points of a native cross-section file, each line read by the cross-section
// reader, which appends the point of the line (if any).
void ReadNativeSections(Contents& contents, const Source& source) {
  common::CrossSectionSummarizer summarizer;
  std::vector<common::CrossSectionPoint> points;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    points.clear();
    common::ParseNativeCrossSections(piece, common::kNativeSectionsReadUnendedLine, points);
    for (const common::CrossSectionPoint& point : points) summarizer.Add(point);
  });
  if (!read) return;
  contents.crossSections.push_back(summarizer.Summary());
  contents.read = true;
}

// The GTS cross sections, read whole by their reader (which leaves out the file's last line,
// as the conversions that read them do).
void ReadGtsSections(Contents& contents, const Source& source) {
  std::string text;
  if (source.inMemory()) {
    text = source.bytes();
  } else if (!common::ReadWholeFile(contents.path, text)) {
    contents.error = "No se puede leer el fichero " + contents.path;
    return;
  }
  common::NormalizeLineEnds(text);
  contents.crossSections.push_back(common::SummarizeCrossSections(viaducto::ParseGtsCrossSections(text)));
  contents.read = true;
}

void ReadPoints(Contents& contents, const Source& source) {
  common::PointSummary summary;
  common::PointLine point;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    if (common::ParsePointLine(piece, common::PointCodeRule::kFirstWord, point)) summary.Add(point.x, point.y, point.z);
  });
  if (!read) return;
  contents.points = summary.points;
  contents.extents = summary.extents;
  contents.read = true;
}

// The points and the triangles the surface reader finds in the file's edge table.
void ReadNativeSurface(Contents& contents, const Source& source) {
  planimetro::surface::SurfaceFileContents surface;
  std::string problem;
  const bool read = source.inMemory() ? planimetro::surface::LeerSup(source.bytes(), surface, problem)
                                      : planimetro::surface::LeerFicheroSup(contents.path, surface, problem);
  if (!read) {
    contents.error = problem;
    return;
  }
  contents.surfaces.push_back(
      {"", static_cast<long>(surface.points.size()), static_cast<long>(surface.triangles.size()), 0});
  for (const auto& point : surface.points) contents.extents.Add(point.x, point.y, point.z);
  contents.read = true;
}

// The points the shapefile import reads: every vertex of every shape, z from the vertices
// where the shapes carry it, else from the table. The import opens the .shp, its .shx and its
// .dbf by name: bytes in memory are the .shp alone.
void ReadShapefile(Contents& contents, const Source& source) {
  const auto cannotOpen = [&](const std::string& what) {
    contents.error = what + contents.path +
                     (contents.detection.note.empty() ? std::string() : " (" + contents.detection.note + ")");
  };
  if (source.inMemory()) return cannotOpen("No se puede abrir el shapefile ");
  common::PointSummary summary;
  const shapeline::ShapefileRead read = shapeline::ReadShapefilePoints(
      contents.path, [&](const shapeline::ShapefilePoint& point) { summary.Add(point.x, point.y, point.z); });
  if (read == shapeline::ShapefileRead::kCannotOpenFile) return cannotOpen("No se puede abrir el shapefile ");
  if (read == shapeline::ShapefileRead::kCannotOpenTable) {
    return cannotOpen("No se puede abrir la tabla de atributos (.dbf) del shapefile ");
  }
  contents.points = summary.points;
  contents.extents = summary.extents;
  contents.system = NamedSystemOfWkt(shapeline::ReadShapefileProjection(contents.path));
  contents.read = true;
}

// The lines that hold something; in a GTS alignment the element lines after its START line.
void CountRecords(Contents& contents, const Source& source) {
  const bool gtsAlignment = contents.detection.format == Format::kGtsAlignment;
  long lines = 0;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    const std::string_view line = common::WithoutLineFeed(piece);
    const std::size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string_view::npos) return;
    if (gtsAlignment && common::LowerAscii(line.substr(start, 6)) == "start ") return;
    ++lines;
  });
  if (!read) return;
  contents.records = lines;
  contents.read = true;
}

std::string Plural(long count, const char* one, const char* many) {
  return SpanishCount(count) + " " + (count == 1 ? one : many);
}

std::string Metres(double value) { return SpanishDecimal(value, 3) + " m"; }

std::string KindCounts(const AlignmentSummary& alignment) {
  std::string text;
  for (const auto& [kind, count] : alignment.elementsByKind) {
    if (!text.empty()) text += ", ";
    text += SpanishCount(count) + " " + kind + (count == 1 ? "" : "s");
  }
  return text;
}

Contents ReadFrom(const Source& source, const std::string& path, const Detection& detection) {
  // Numbers are read in the "C" locale, whatever the program's locale is (the desktop runs under es_ES).
  const common::CLocaleScope cLocale;
  Contents contents;
  contents.path = path;
  contents.detection = detection;
  switch (detection.format) {
    case Format::kLandXml: ReadLandXml(contents, source); break;
    case Format::kDxf: ReadDxf(contents, source); break;
    case Format::kIfc: ReadIfc(contents, source); break;
    case Format::kNativeAlignment: ReadNativeAlignment(contents, source); break;
    case Format::kNativeProfile:
      ReadProfile(contents, source, [](std::string_view line) { return common::ParseNativeProfile(line); });
      break;
    case Format::kGtsProfile:
      ReadProfile(contents, source, [](std::string_view line) { return viaducto::ParseGtsProfileComma(line); });
      break;
    case Format::kNativeCrossSections: ReadNativeSections(contents, source); break;
    case Format::kGtsCrossSections: ReadGtsSections(contents, source); break;
    case Format::kNativePoints: ReadPoints(contents, source); break;
    case Format::kNativeSurface: ReadNativeSurface(contents, source); break;
    case Format::kShapefile: ReadShapefile(contents, source); break;
    case Format::kMissing: contents.error = detection.note; break;
    case Format::kBinaryDxf: contents.error = detection.note; break;
    case Format::kUnknown:
    case Format::kEmpty:
    case Format::kXml:
    case Format::kHtml:
    case Format::kBinary:
    case Format::kDbase:
    case Format::kTopSurvJob:
    case Format::kRtf:
      break;
    default: CountRecords(contents, source); break;
  }
  return contents;
}

}  // namespace

Contents ReadContents(const std::string& path) {
  // Detection and reading through one opening of the file.
  const common::HeldSource held(path);
  return ReadContents(path, DetectFile(path));
}

Contents ReadContents(const std::string& path, const Detection& detection) {
  return ReadFrom(Source::File(), path, detection);
}

Contents ReadContentsInMemory(std::string_view bytes, const std::string& name) {
  return ReadFrom(Source::Bytes(bytes), name, DetectContent(bytes, name));
}

bool HoldsNothing(const Contents& contents) {
  if (!contents.read) return false;
  switch (contents.detection.format) {
    case Format::kLandXml:
      return contents.alignments.empty() && contents.profiles.empty() && contents.crossSections.empty() &&
             contents.surfaces.empty() && contents.points <= 0;
    case Format::kDxf: {
      for (const LayerSummary& layer : contents.layers) {
        if (!layer.entities.empty()) return false;
      }
      return true;
    }
    case Format::kNativeAlignment: return contents.alignments.empty() || contents.alignments[0].elements <= 0;
    case Format::kIfc: return contents.alignments.empty();
    case Format::kNativeProfile:
    case Format::kGtsProfile: return contents.profiles.empty() || contents.profiles[0].vertices == 0;
    case Format::kNativeCrossSections:
    case Format::kGtsCrossSections: return contents.crossSections.empty() || contents.crossSections[0].points == 0;
    case Format::kNativeSurface: return contents.surfaces.empty() || contents.surfaces[0].faces <= 0;
    case Format::kNativePoints:
    case Format::kShapefile: return contents.points <= 0;
    default: return contents.records == 0;
  }
}

std::string NothingText(Format format) {
  switch (format) {
    case Format::kNativeAlignment:
    case Format::kIfc:
    case Format::kGtsAlignment: return "ningún eje";
    case Format::kNativeProfile:
    case Format::kGtsProfile: return "ninguna rasante";
    case Format::kNativeCrossSections:
    case Format::kGtsCrossSections: return "ningún transversal";
    case Format::kNativeSurface: return "ningún triángulo";
    case Format::kNativePoints:
    case Format::kShapefile: return "ningún punto";
    case Format::kDxf: return "ninguna entidad";
    default: return "nada que convertir";
  }
}

std::string SummaryLine(const Contents& contents) {
  if (!contents.read) return std::string();
  std::vector<std::string> parts;
  const bool single = contents.detection.format != Format::kLandXml;
  if (single && contents.alignments.size() == 1) {
    const AlignmentSummary& a = contents.alignments[0];
    parts.push_back(Plural(a.elements, "elemento", "elementos") + ", " + Metres(a.length));
  } else if (!contents.alignments.empty()) {
    parts.push_back(Plural(static_cast<long>(contents.alignments.size()), "eje", "ejes"));
  }
  if (single && contents.profiles.size() == 1) {
    parts.push_back(Plural(contents.profiles[0].vertices, "vértice", "vértices"));
  } else if (!contents.profiles.empty()) {
    parts.push_back(Plural(static_cast<long>(contents.profiles.size()), "rasante", "rasantes"));
  }
  for (const CrossSectionSummary& set : contents.crossSections) {
    if (!single && contents.crossSections.size() > 1) {
      parts.push_back(Plural(static_cast<long>(contents.crossSections.size()), "conjunto de transversales",
                             "conjuntos de transversales"));
      break;
    }
    parts.push_back(Plural(set.sections, "sección", "secciones") + ", " + Plural(set.points, "punto", "puntos"));
  }
  if (contents.detection.format == Format::kNativeSurface && !contents.surfaces.empty()) {
    parts.push_back(Plural(contents.surfaces[0].faces, "triángulo", "triángulos"));
  } else if (!contents.surfaces.empty()) {
    parts.push_back(Plural(static_cast<long>(contents.surfaces.size()), "superficie", "superficies"));
  }
  if (contents.points >= 0) parts.push_back(Plural(contents.points, "punto", "puntos"));
  if (contents.detection.format == Format::kDxf) {
    long entities = 0;
    for (const LayerSummary& layer : contents.layers) {
      for (const auto& [type, count] : layer.entities) entities += count;
    }
    parts.push_back(Plural(static_cast<long>(contents.layers.size()), "capa", "capas") + ", " +
                    Plural(entities, "entidad", "entidades"));
  }
  if (contents.records >= 0) {
    const bool elements = contents.detection.format == Format::kGtsAlignment;
    parts.push_back(elements ? Plural(contents.records, "elemento", "elementos")
                             : Plural(contents.records, "línea", "líneas"));
  }
  std::string line;
  for (const std::string& part : parts) line += (line.empty() ? "" : "; ") + part;
  return line;
}

std::vector<std::string> DescriptionLines(const Contents& contents) {
  std::vector<std::string> lines;
  lines.push_back("Formato: " + DescribeDetection(contents.detection));
  if (!contents.detection.note.empty() && contents.detection.format != Format::kMissing) {
    lines.push_back("Nota: " + contents.detection.note);
  }
  if (!contents.error.empty()) lines.push_back("Error: " + contents.error);
  for (const AlignmentSummary& a : contents.alignments) {
    std::string line = "Eje";
    if (!a.name.empty()) line += " \"" + a.name + "\"";
    line += ": " + Plural(a.elements, "elemento", "elementos");
    if (!a.elementsByKind.empty()) line += " (" + KindCounts(a) + ")";
    line += ", longitud " + Metres(a.length) + ", PK " + SpanishDecimal(a.startStation, 3) + " a " +
            SpanishDecimal(a.endStation, 3);
    lines.push_back(line);
  }
  for (const ProfileSummary& p : contents.profiles) {
    std::string line = "Rasante";
    if (!p.name.empty()) line += " \"" + p.name + "\"";
    line += ": " + Plural(p.vertices, "vértice", "vértices");
    if (p.vertices > 0) line += ", PK " + SpanishDecimal(p.startStation, 3) + " a " + SpanishDecimal(p.endStation, 3);
    lines.push_back(line);
  }
  for (const CrossSectionSummary& s : contents.crossSections) {
    std::string line = "Transversales";
    if (!s.name.empty()) line += " \"" + s.name + "\"";
    lines.push_back(line + ": " + Plural(s.sections, "sección", "secciones") + ", " +
                    Plural(s.points, "punto", "puntos"));
  }
  for (const SurfaceSummary& s : contents.surfaces) {
    std::string line = "Superficie";
    if (!s.name.empty()) line += " \"" + s.name + "\"";
    line += ": " + Plural(s.points, "punto", "puntos") + ", " + Plural(s.faces, "cara", "caras");
    if (s.invisibleFaces > 0) line += " (" + Plural(s.invisibleFaces, "invisible", "invisibles") + ")";
    lines.push_back(line);
  }
  if (contents.points >= 0) lines.push_back("Puntos: " + SpanishCount(contents.points));
  for (const LayerSummary& layer : contents.layers) {
    std::string line = "Capa \"" + layer.name + "\": ";
    if (layer.entities.empty()) line += "sin entidades";
    bool first = true;
    for (const auto& [type, count] : layer.entities) {
      line += (first ? "" : ", ") + SpanishCount(count) + " " + type;
      first = false;
    }
    lines.push_back(line);
  }
  if (contents.records >= 0) lines.push_back("Líneas con datos: " + SpanishCount(contents.records));
  if (contents.extents.known) {
    const Extents& e = contents.extents;
    lines.push_back("Extensión: X " + SpanishDecimal(e.minX, 3) + " a " + SpanishDecimal(e.maxX, 3) + ", Y " +
                    SpanishDecimal(e.minY, 3) + " a " + SpanishDecimal(e.maxY, 3) + ", Z " +
                    SpanishDecimal(e.minZ, 3) + " a " + SpanishDecimal(e.maxZ, 3));
  }
  return lines;
}

}  // namespace detect
