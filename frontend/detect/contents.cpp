#include "frontend/detect/contents.h"

#include <shapefil.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

#include "formats/native/native_cross_section.h"
#include "formats/native/native_profile.h"
#include "formats/native/point_file.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/text_stream.h"
#include "formats/landxml/xml_reader.h"
#include "frontend/detect/spanish_numbers.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/native/surface_file_reader.h"
#include "formats/native/native_alignment_file.h"
#include "formats/gts/gts_profile.h"

namespace detect {
namespace {

const char* KindName(int32_t kind) {
  switch (kind) {
    case common::kArc: return "curva";
    case common::kClothoid: return "clotoide";
    default: return "recta";
  }
}

double FirstNumber(std::string_view text) {
  // strtod reads a terminated text: a short one (every DXF value) is copied to the stack.
  char buffer[256];
  if (text.size() < sizeof buffer) {
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return std::strtod(buffer, nullptr);
  }
  const std::string copy(text);
  return std::strtod(copy.c_str(), nullptr);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

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

// Counts what a LandXML document holds, in one streaming pass.
class LandXmlCounter : public common::LandXmlHandler {
 public:
  explicit LandXmlCounter(Contents& contents) : contents_(contents) {}

  void StartElement(std::string_view name, const common::LandXmlAttributes& attributes) override {
    using common::NameIs;
    const auto text = [&](std::string_view attribute) {
      const auto value = common::GetAttribute(attributes, attribute);
      return value ? std::string(*value) : std::string();
    };
    if (NameIs(name, "Alignment")) {
      AlignmentSummary alignment;
      alignment.name = text("name");
      alignment.startStation = common::GetNumber(attributes, "staStart").value_or(0);
      alignment.length = common::GetNumber(attributes, "length").value_or(-1);
      contents_.alignments.push_back(alignment);
      inAlignment_ = true;
      elementLengths_ = 0;
    } else if (inAlignment_ && inCoordGeom_ &&
               (NameIs(name, "Line") || NameIs(name, "Curve") || NameIs(name, "Spiral"))) {
      AlignmentSummary& alignment = contents_.alignments.back();
      ++alignment.elements;
      ++alignment.elementsByKind[NameIs(name, "Line") ? "recta" : NameIs(name, "Curve") ? "curva" : "clotoide"];
      elementLengths_ += common::GetNumber(attributes, "length").value_or(0);
    } else if (NameIs(name, "CoordGeom")) {
      inCoordGeom_ = true;
    } else if (NameIs(name, "ProfAlign")) {
      ProfileSummary profile;
      const std::string alignment = inAlignment_ ? contents_.alignments.back().name : std::string();
      profile.name = alignment.empty() ? text("name") : alignment + ": " + text("name");
      contents_.profiles.push_back(profile);
      inProfAlign_ = true;
    } else if (inProfAlign_ && (NameIs(name, "PVI") || NameIs(name, "ParaCurve") || NameIs(name, "CircCurve"))) {
      ++contents_.profiles.back().vertices;
      readingStation_ = true;
    } else if (NameIs(name, "CrossSect")) {
      sectionSurfaces_.clear();
    } else if (NameIs(name, "DesignCrossSectSurf") || NameIs(name, "CrossSectSurf")) {
      const std::string alignment = inAlignment_ ? contents_.alignments.back().name : std::string();
      currentSet_ = SetIndex(alignment + ": " + text("name"));
      if (sectionSurfaces_.insert(currentSet_).second) ++Set().sections;
    } else if (NameIs(name, "CrossSectPnt") && currentSet_ >= 0) {
      ++Set().points;
    } else if (NameIs(name, "PntList2D") && currentSet_ >= 0) {
      readingPairs_ = true;
    } else if (NameIs(name, "StationOffsetPoint")) {
      // The cross sections of the other LandXML layout: one element per point.
      const std::string alignment = inAlignment_ ? contents_.alignments.back().name : std::string();
      currentSet_ = SetIndex(alignment);
      ++Set().points;
    } else if (NameIs(name, "station") && currentSet_ >= 0) {
      const auto station = common::GetAttribute(attributes, "internalStation");
      if (station && stationsSeen_[currentSet_].insert(std::string(*station)).second) ++Set().sections;
    } else if (NameIs(name, "Surface")) {
      contents_.surfaces.push_back({text("name"), 0, 0, 0});
      inSurface_ = true;
    } else if (inSurface_ && NameIs(name, "P")) {
      ++contents_.surfaces.back().points;
    } else if (inSurface_ && NameIs(name, "F")) {
      ++contents_.surfaces.back().faces;
      const auto invisible = common::GetAttribute(attributes, "i");
      if (invisible && *invisible == "1") ++contents_.surfaces.back().invisibleFaces;
    } else if (NameIs(name, "CgPoint")) {
      contents_.points = contents_.points < 0 ? 1 : contents_.points + 1;
    }
  }

  void EndElement(std::string_view name) override {
    using common::NameIs;
    if (NameIs(name, "Alignment")) {
      AlignmentSummary& alignment = contents_.alignments.back();
      if (alignment.length < 0) alignment.length = elementLengths_;
      alignment.endStation = alignment.startStation + alignment.length;
      inAlignment_ = false;
    } else if (NameIs(name, "CoordGeom")) {
      inCoordGeom_ = false;
    } else if (NameIs(name, "ProfAlign")) {
      inProfAlign_ = false;
    } else if (NameIs(name, "PVI") || NameIs(name, "ParaCurve") || NameIs(name, "CircCurve")) {
      readingStation_ = false;
    } else if (NameIs(name, "DesignCrossSectSurf") || NameIs(name, "CrossSectSurf") ||
               NameIs(name, "StationOffsetPoint")) {
      currentSet_ = -1;
    } else if (NameIs(name, "PntList2D")) {
      readingPairs_ = false;
    } else if (NameIs(name, "Surface")) {
      inSurface_ = false;
    }
  }

  void Characters(std::string_view text) override {
    if (readingPairs_ && currentSet_ >= 0) {
      // Offset and elevation pairs separated by blanks.
      long numbers = 0;
      bool inNumber = false;
      for (char c : text) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank && !inNumber) ++numbers;
        inNumber = !blank;
      }
      Set().points += numbers / 2;
      return;
    }
    if (!readingStation_ || contents_.profiles.empty()) return;
    ProfileSummary& profile = contents_.profiles.back();
    const double station = FirstNumber(text);
    if (profile.vertices == 1) profile.startStation = station;
    profile.endStation = station;
  }

  bool WantsText() const override { return readingStation_ || readingPairs_; }

 private:
  long SetIndex(const std::string& key) {
    auto found = sectionSets_.find(key);
    if (found == sectionSets_.end()) {
      found = sectionSets_.emplace(key, contents_.crossSections.size()).first;
      contents_.crossSections.push_back({key, 0, 0});
    }
    return static_cast<long>(found->second);
  }
  CrossSectionSummary& Set() { return contents_.crossSections[static_cast<std::size_t>(currentSet_)]; }

  Contents& contents_;
  bool inAlignment_ = false;
  bool inCoordGeom_ = false;
  bool inProfAlign_ = false;
  bool inSurface_ = false;
  bool readingStation_ = false;
  bool readingPairs_ = false;
  double elementLengths_ = 0;
  long currentSet_ = -1;
  std::map<std::string, std::size_t> sectionSets_;
  std::set<long> sectionSurfaces_;  // the sets the current CrossSect has counted
  std::map<long, std::set<std::string>> stationsSeen_;
};

void ReadLandXml(Contents& contents, const Source& source) {
  LandXmlCounter counter(contents);
  const common::LandXmlSource document =
      source.inMemory() ? common::LandXmlSource::Bytes(source.bytes()) : common::LandXmlSource(contents.path);
  const common::ParseResult result = document.Parse(counter);
  if (result == common::ParseResult::kCannotOpen) {
    contents.error = "No se puede leer el fichero " + contents.path;
    return;
  }
  if (result == common::ParseResult::kMalformed) contents.error = "el documento está mal formado; se cuenta lo leído antes del error";
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
  dxf::DxfFile& file = *drawing;
  std::map<std::string, std::size_t> layerIndex;
  const auto layer = [&](std::string_view name) -> LayerSummary& {
    auto found = layerIndex.find(std::string(name));
    if (found == layerIndex.end()) {
      found = layerIndex.emplace(name, contents.layers.size()).first;
      contents.layers.push_back({std::string(name), {}});
    }
    return contents.layers[found->second];
  };
  std::string section;
  std::string entity;         // the entity of the ENTITIES section being read
  std::string entityLayer = "0";
  bool expectSectionName = false;
  bool inLayerEntry = false;
  bool counted = true;
  double x = 0, y = 0, minZ = 0, maxZ = 0;
  bool haveX = false, haveY = false, haveZ = false;
  const auto finishEntity = [&] {
    if (!counted) ++layer(entityLayer).entities[entity];
    counted = true;
  };
  dxf::DxfGroup group;
  while (dxf::LeerGrupoDxf(file, group)) {
    const std::string_view value = group.value;
    if (group.code == 0) {
      finishEntity();
      inLayerEntry = false;
      if (dxf::IsKeyword(group.value, "SECTION")) {
        expectSectionName = true;
        continue;
      }
      if (dxf::IsKeyword(group.value, "ENDSEC")) {
        section.clear();
        continue;
      }
      if (section == "TABLES" && dxf::IsKeyword(group.value, "LAYER")) inLayerEntry = true;
      // The vertices of a polyline and the attributes of a block reference belong to them.
      if (section == "ENTITIES" && !dxf::IsKeyword(group.value, "VERTEX") && !dxf::IsKeyword(group.value, "SEQEND") &&
          !dxf::IsKeyword(group.value, "ATTRIB")) {
        entity = UpperCase(value);
        entityLayer = "0";
        counted = false;
      }
      continue;
    }
    if (expectSectionName && group.code == 2) {
      section = UpperCase(value);
      expectSectionName = false;
      continue;
    }
    if (inLayerEntry && group.code == 2) {
      layer(value);
      continue;
    }
    if (section != "ENTITIES") continue;
    if (group.code == 8 && !counted) entityLayer = value;
    // The point of a polyline's own header is a placeholder, not a vertex.
    if (entity == "POLYLINE" && !counted) continue;
    if (group.code >= 10 && group.code <= 13) {
      x = FirstNumber(value);
      haveX = true;
      haveY = false;
    } else if (group.code >= 20 && group.code <= 23 && haveX) {
      y = FirstNumber(value);
      haveY = true;
      contents.extents.Add(x, y, 0);
    } else if (group.code >= 30 && group.code <= 33 && haveX && haveY) {
      const double z = FirstNumber(value);
      minZ = haveZ && minZ < z ? minZ : z;
      maxZ = haveZ && maxZ > z ? maxZ : z;
      haveZ = true;
      haveX = haveY = false;
    }
  }
  finishEntity();
  // The elevation range is that of the entities' own z values, 0 to 0 when none has one.
  contents.extents.minZ = haveZ ? minZ : 0;
  contents.extents.maxZ = haveZ ? maxZ : 0;
  if (file.failed()) {
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
// so the records come out as from the whole file, one at a time. The last record is the end
// point, not an element, so a record's kind is counted once the next one has come.
void ReadNativeAlignment(Contents& contents, const Source& source) {
  AlignmentSummary alignment;
  long records = 0;
  common::AlignmentElement last;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    for (const common::AlignmentElement& element : viaducto::ParseNativeAlignment(piece, viaducto::kElementReader).elements) {
      if (records == 0) alignment.startStation = element.station;
      if (records > 0) ++alignment.elementsByKind[KindName(last.kind)];
      last = element;
      ++records;
      contents.extents.Add(element.x, element.y, 0);
    }
  });
  if (!read) return;
  if (records > 0) {
    alignment.elements = records - 1;
    alignment.endStation = last.station;
    alignment.length = alignment.endStation - alignment.startStation;
  }
  contents.alignments.push_back(alignment);
  contents.read = true;
}

// The vertices of a profile file, each line read by `parse` (a reader that takes a vertex
// per line), counted with the stations of the first and the last.
template <typename Parse>
void ReadProfile(Contents& contents, const Source& source, Parse&& parse) {
  ProfileSummary summary;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    for (const common::ProfileVertex& vertex : parse(piece)) {
      if (summary.vertices++ == 0) summary.startStation = vertex.station;
      summary.endStation = vertex.station;
    }
  });
  if (!read) return;
  contents.profiles.push_back(summary);
  contents.read = true;
}

// Sections and points of a cross-section file, each line read by `parse`, which appends the
// point of the line (if any) to the vector it is given. A section is a run of points of the
// same station.
template <typename Parse>
void ReadSections(Contents& contents, const Source& source, Parse&& parse) {
  CrossSectionSummary summary;
  std::vector<common::CrossSectionPoint> points;
  double lastStation = 0;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    points.clear();
    parse(piece, points);
    for (const common::CrossSectionPoint& point : points) {
      if (summary.points++ == 0 || point.station != lastStation) ++summary.sections;
      lastStation = point.station;
    }
  });
  if (!read) return;
  contents.crossSections.push_back(summary);
  contents.read = true;
}

// The GTS cross sections: station, offset, elevation and an optional code, comma-separated;
// a line that does not start with a station and a comma holds no point.
void ParseCommaSectionLine(std::string_view piece, std::vector<common::CrossSectionPoint>& points) {
  const std::string line(common::WithoutLineFeed(piece));
  char* end = nullptr;
  common::CrossSectionPoint point;
  point.station = std::strtod(line.c_str(), &end);
  if (end == line.c_str() || *end != ',') return;
  point.offset = std::strtod(end + 1, &end);
  points.push_back(point);
}

void ReadPoints(Contents& contents, const Source& source) {
  long count = 0;
  common::PointLine point;
  const bool read = ForEachPiece(contents, source, [&](std::string_view piece) {
    if (!common::ParsePointLine(piece, common::PointCodeRule::kFirstWord, point)) return;
    ++count;
    contents.extents.Add(point.x, point.y, point.z);
  });
  if (!read) return;
  contents.points = count;
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

// shapelib opens the .shp and its .shx by name: bytes in memory are the .shp alone.
void ReadShapefile(Contents& contents, const Source& source) {
  SHPHandle shapes = source.inMemory() ? nullptr : SHPOpen(contents.path.c_str(), "rb");
  if (shapes == nullptr) {
    contents.error = "No se puede abrir el shapefile " + contents.path +
                     (contents.detection.note.empty() ? std::string() : " (" + contents.detection.note + ")");
    return;
  }
  int count = 0;
  int type = 0;
  double minimum[4] = {0, 0, 0, 0};
  double maximum[4] = {0, 0, 0, 0};
  SHPGetInfo(shapes, &count, &type, minimum, maximum);
  SHPClose(shapes);
  contents.points = count;
  if (count > 0) {
    contents.extents.Add(minimum[0], minimum[1], minimum[2]);
    contents.extents.Add(maximum[0], maximum[1], maximum[2]);
  }
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

}  // namespace

void Extents::Add(double x, double y, double z) {
  if (!known) {
    minX = maxX = x;
    minY = maxY = y;
    minZ = maxZ = z;
    known = true;
    return;
  }
  if (x < minX) minX = x;
  if (x > maxX) maxX = x;
  if (y < minY) minY = y;
  if (y > maxY) maxY = y;
  if (z < minZ) minZ = z;
  if (z > maxZ) maxZ = z;
}

namespace {

Contents ReadFrom(const Source& source, const std::string& path, const Detection& detection) {
  Contents contents;
  contents.path = path;
  contents.detection = detection;
  switch (detection.format) {
    case Format::kLandXml: ReadLandXml(contents, source); break;
    case Format::kDxf: ReadDxf(contents, source); break;
    case Format::kNativeAlignment: ReadNativeAlignment(contents, source); break;
    case Format::kNativeProfile:
      ReadProfile(contents, source, [](std::string_view line) { return common::ParseNativeProfile(line); });
      break;
    case Format::kGtsProfile:
      ReadProfile(contents, source, [](std::string_view line) { return viaducto::ParseGtsProfileComma(line); });
      break;
    case Format::kNativeCrossSections:
      ReadSections(contents, source, [](std::string_view line, std::vector<common::CrossSectionPoint>& points) {
        common::ParseNativeCrossSections(line, common::kNativeSectionsReadUnendedLine, points);
      });
      break;
    case Format::kGtsCrossSections: ReadSections(contents, source, ParseCommaSectionLine); break;
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

Contents ReadContents(const std::string& path) { return ReadContents(path, DetectFile(path)); }

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
