#include "formats/landxml/landxml_surface.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "common/conversion.h"
#include "common/file_stream.h"
#include "common/numbers.h"
#include "common/outcome.h"
#include "common/temp_files.h"
#include "common/text_case.h"
#include "common/text_output.h"
#include "common/tokens.h"
#include "formats/landxml/xml_reader.h"
#include "common/segmented_array.h"
#include "formats/native/surface_model.h"

namespace planimetro::landxml {
namespace {

using common::LandXmlAttributes;
using common::NameIs;

// The triangle text is handed on in batches of about this size.
constexpr std::size_t kTextBatch = 1 << 20;

// The faces are kept in blocks of this many, let go one by one once they are triangles.
constexpr std::size_t kFaceBlock = 1 << 15;

// Gives the free pages of the heap back to the system: the blocks of faces let go while a
// surface is built would otherwise stay counted beside the edges that take their place.
void ReturnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

// Where the points and then the triangles of a surface go as they are made: `points` once,
// with the number of triangles that will follow, then `triangle` for each in order.
struct SurfaceReceiver {
  std::function<void(std::vector<surface::PuntoSup> points, std::size_t triangles)> points;
  std::function<void(const std::array<int32_t, 3>& triangle)> triangle;
};

// A surface point: its own coordinates, or those of the CgPoint it refers to.
struct PuntoLandXml {
  int32_t id = 0;
  double x = 0;
  double y = 0;
  double z = 0;
  long cgPoint = -1;
  bool threeDecimals = false;  // the text gave each coordinate as the triangle file writes it
};

// The three points of a face, counted from 0.
using CaraLandXml = std::array<int32_t, 3>;

struct CgPointLandXml {
  double x = 0;
  double y = 0;
  double z = 0;
};

// Up to `count` fields of a point or face text, separated by runs of blanks and tabs (and the
// line ends of a text written over several lines); returns how many were found.
// (Scanned character by character: these texts are most of a surface document.)
std::size_t LeadingFields(std::string_view text, std::string_view* fields, std::size_t count) {
  const auto separator = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  std::size_t found = 0;
  std::size_t i = 0;
  while (found < count) {
    while (i < text.size() && separator(text[i])) ++i;
    if (i == text.size()) break;
    const std::size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    fields[found++] = text.substr(start, i - start);
  }
  return found;
}

// Whether a field is a decimal with three decimals and at most 15 digits: such a number comes
// back from "%0.3lf" as the same value, so it needs no rounding through the triangle file.
bool WrittenWithThreeDecimals(std::string_view field) {
  if (!field.empty() && field.front() == '-') field.remove_prefix(1);
  if (field.size() < 5 || field.size() > 16 || field[field.size() - 4] != '.') return false;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (i != field.size() - 4 && (field[i] < '0' || field[i] > '9')) return false;
  }
  return true;
}

// Three numbers of a point text: decimal commas accepted; northing, easting, elevation.
bool ReadThreeNumbers(std::string_view text, double& x, double& y, double& z, bool* threeDecimals = nullptr) {
  std::string withPoints;
  if (text.find(',') != std::string_view::npos) {
    withPoints.assign(text);
    std::replace(withPoints.begin(), withPoints.end(), ',', '.');
    text = withPoints;
  }
  std::string_view fields[3];
  if (LeadingFields(text, fields, 3) < 3) return false;
  y = common::LenientDouble(fields[0]);
  x = common::LenientDouble(fields[1]);
  z = common::LenientDouble(fields[2]);
  if (threeDecimals != nullptr) {
    *threeDecimals = withPoints.empty() && WrittenWithThreeDecimals(fields[0]) && WrittenWithThreeDecimals(fields[1]) &&
                     WrittenWithThreeDecimals(fields[2]);
  }
  return true;
}

class SurfaceListHandler : public common::LandXmlHandler {
 public:
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (!NameIs(name, "Surface")) return;
    if (const auto surfaceName = common::GetAttribute(attributes, "name")) names.emplace_back(*surfaceName);
  }
  void EndElement(std::string_view) override {}

  std::vector<std::string> names;
};

class SurfaceImportHandler : public common::LandXmlHandler {
 public:
  explicit SurfaceImportHandler(std::string wanted) : wanted_(std::move(wanted)) {}

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (NameIs(name, "Surface")) {
      // Each start of a surface of that name selects again: surfaces of one name merge.
      const auto surfaceName = common::GetAttribute(attributes, "name");
      selected_ = surfaceName && common::EqualsIgnoringCase(*surfaceName, wanted_);
      ++surfacesSeen;
      if (selected_) ++surfacesSelected;
    } else if (NameIs(name, "CgPoint")) {
      const auto pointName = common::GetAttribute(attributes, "name");
      cgNamed_ = pointName.has_value();
      cgName_ = pointName ? common::LowerAscii(*pointName) : std::string();
      Open(kCgPoint);
    } else if (selected_ && NameIs(name, "P")) {
      const auto id = common::GetAttribute(attributes, "id");
      id_ = id ? common::LenientInt(*id) : 0;
      const auto reference = common::GetAttribute(attributes, "pntRef");
      pntRef_ = reference ? common::LowerAscii(*reference) : std::string();
      Open(kPoint);
    } else if (selected_ && NameIs(name, "F")) {
      // Faces outside the boundary or in holes are marked invisible.
      const auto invisible = common::GetAttribute(attributes, "i");
      faceInvisible_ = invisible && common::LenientInt(*invisible) == 1;
      Open(kFace);
    } else if (const double foot = common::FeetInMetres(name, attributes)) {
      feet = foot;
    }
  }

  void Characters(std::string_view text) override {
    if (text_.empty()) {
      text_.assign(text.data(), text.size());
    } else {
      text_.append(text);
    }
  }
  bool WantsText() const override { return open_ != kNone; }

  void EndElement(std::string_view name) override {
    if (open_ == kPoint && NameIs(name, "P")) {
      EndPoint();
    } else if (open_ == kFace && NameIs(name, "F")) {
      EndFace();
    } else if (open_ == kCgPoint && NameIs(name, "CgPoint")) {
      EndCgPoint();
    } else {
      return;
    }
    open_ = kNone;
    text_.clear();
  }

  // The triangle text file (points placed by id, placeholders "0 0 0" for missing ids, then
  // the faces whose three points exist), handed to `text` a batch at a time, and, from the
  // same values as that file holds them, the points and then the triangles of the surface,
  // handed to `receiver`. The records read are given up on the way, the faces a block at a
  // time, so that the surface is never held twice.
  bool BuildTriangles(const TriangleTextSink& text, const SurfaceReceiver& receiver) {
    common::TextWriter out;
    bool written = true;
    const auto spill = [&](bool last) {
      if (written && (last || out.Bytes().size() >= kTextBatch)) {
        written = text(out.Bytes());
        out.Clear();
      }
    };
    const std::vector<PuntoLandXml>& points = points_.Records();
    // An id far beyond the number of points would make billions of placeholders; such a
    // point is left out (its faces then name no point and are dropped).
    const long limit = 4 * static_cast<long>(points.size()) + 1000000;
    long largest = 0;
    for (const PuntoLandXml& point : points) {
      if (point.id <= limit) largest = std::max<long>(largest, point.id);
    }
    std::vector<int32_t> slot(static_cast<std::size_t>(largest), -1);
    for (std::size_t i = 0; i < points.size(); ++i) {
      const long id = points[i].id;
      if (id >= 1 && id <= largest && slot[static_cast<std::size_t>(id - 1)] < 0) {
        slot[static_cast<std::size_t>(id - 1)] = static_cast<int32_t>(i);
      }
    }
    out.Printf("%ld\n", largest);
    // A document in feet gives its points in metres.
    const double unit = feet != 0 ? feet : 1.0;
    std::vector<surface::PuntoSup> surfacePoints;
    surfacePoints.reserve(slot.size());
    const std::vector<CgPointLandXml>& named = cgPoints_.Records();
    std::string_view tokens[3];
    for (const int32_t record : slot) {
      spill(false);
      if (record < 0) {
        out.Write("0 0 0\n");
        surfacePoints.emplace_back();
        continue;
      }
      const PuntoLandXml& point = points[static_cast<std::size_t>(record)];
      const std::size_t before = out.Bytes().size();
      if (point.cgPoint >= 0) {
        const CgPointLandXml& cg = named[static_cast<std::size_t>(point.cgPoint)];
        out.Printf("%0.3lf %0.3lf %0.3lf\n", cg.x * unit, cg.y * unit, cg.z * unit);
      } else {
        out.Printf("%0.3lf %0.3lf %0.3lf\n", point.x * unit, point.y * unit, point.z * unit);
        if (point.threeDecimals && feet == 0) {
          surfacePoints.push_back(surface::PuntoSup{});
          surfacePoints.back().x = point.x;
          surfacePoints.back().y = point.y;
          surfacePoints.back().z = point.z;
          continue;
        }
      }
      // The surface takes the coordinates as the triangle file holds them (three decimals).
      LeadingFields(std::string_view(out.Bytes()).substr(before), tokens, 3);
      surface::PuntoSup rounded;
      rounded.x = common::LenientDouble(tokens[0]);
      rounded.y = common::LenientDouble(tokens[1]);
      rounded.z = common::LenientDouble(tokens[2]);
      surfacePoints.push_back(rounded);
    }
    points_ = SegmentedArray<PuntoLandXml>();
    cgPoints_ = SegmentedArray<CgPointLandXml>();
    cgByName_.clear();

    // The faces whose three points exist become the triangles; a placeholder is no point.
    std::vector<bool> placed(slot.size());
    for (std::size_t i = 0; i < slot.size(); ++i) placed[i] = slot[i] >= 0;
    slot = std::vector<int32_t>();
    const auto missingPoint = [&](const CaraLandXml& face) {
      for (const int32_t index : face) {
        if (index < 0 || index >= largest || !placed[static_cast<std::size_t>(index)]) return true;
      }
      return false;
    };
    std::size_t faces = 0;
    std::size_t triangles = 0;
    for (const SegmentedArray<CaraLandXml>& block : faceBlocks_) {
      faces += block.Size();
      for (const CaraLandXml& face : block.Records()) triangles += missingPoint(face) ? 0 : 1;
    }
    facesWithoutPoints += static_cast<long>(faces - triangles);
    receiver.points(std::move(surfacePoints), triangles);
    out.Printf("%ld\n", static_cast<long>(triangles));
    for (SegmentedArray<CaraLandXml>& block : faceBlocks_) {
      for (const CaraLandXml& face : block.Records()) {
        if (missingPoint(face)) continue;
        spill(false);
        out.Printf("%d %d %d\n", face[0], face[1], face[2]);
        receiver.triangle(face);
      }
      block = SegmentedArray<CaraLandXml>();
      ReturnFreedMemory();
    }
    faceBlocks_.clear();
    spill(true);
    return written;
  }

  double feet = 0;  // the metres in the document's foot; 0 in a document in metres
  long surfacesSeen = 0;
  long surfacesSelected = 0;
  long invisibleFaces = 0;
  long facesWithoutPoints = 0;

 private:
  enum OpenElement { kNone, kPoint, kFace, kCgPoint };

  void Open(OpenElement element) {
    open_ = element;
    text_.clear();
  }

  void EndPoint() {
    PuntoLandXml point;
    point.id = id_;
    if (!ReadThreeNumbers(text_, point.x, point.y, point.z, &point.threeDecimals)) {
      const auto found = cgByName_.find(pntRef_);
      if (found == cgByName_.end()) return;
      point.cgPoint = found->second;
    }
    points_.Append(point);
  }

  void EndFace() {
    std::string_view tokens[3];
    if (LeadingFields(text_, tokens, 3) < 3) return;
    if (faceInvisible_) {
      ++invisibleFaces;
      return;
    }
    CaraLandXml face;
    for (int k = 0; k < 3; ++k) face[static_cast<std::size_t>(k)] = common::LenientInt(tokens[k]) - 1;
    if (faceBlocks_.empty() || faceBlocks_.back().Size() == kFaceBlock) {
      faceBlocks_.emplace_back();
      faceBlocks_.back().Reserve(kFaceBlock);
    }
    faceBlocks_.back().Append(face);
  }

  void EndCgPoint() {
    CgPointLandXml point;
    if (!cgNamed_ || !ReadThreeNumbers(text_, point.x, point.y, point.z)) return;
    if (!cgPoints_.Append(point)) return;
    // The first point of a name is the one found.
    cgByName_.emplace(cgName_, static_cast<long>(cgPoints_.Size() - 1));
  }

  std::string wanted_;
  bool selected_ = false;
  OpenElement open_ = kNone;
  std::string text_;
  int32_t id_ = 0;
  std::string pntRef_;
  std::string cgName_;
  bool cgNamed_ = false;
  SegmentedArray<PuntoLandXml> points_;
  std::vector<SegmentedArray<CaraLandXml>> faceBlocks_;  // of kFaceBlock faces, the last one filling
  SegmentedArray<CgPointLandXml> cgPoints_;
  std::unordered_map<std::string, long> cgByName_;
  bool faceInvisible_ = false;
};

}  // namespace

void BuildSurface(surface::SuperficieTin& model, std::vector<surface::PuntoSup> points,
                  const std::vector<std::array<int32_t, 3>>& triangles) {
  surface::BuildFromRoundedPoints(model, std::move(points), triangles);
}

std::string TriangleFilePath() { return common::TempPath("$$$.TRI"); }

std::vector<std::string> ListLandXmlSurfaceNames(const common::LandXmlSource& source) {
  SurfaceListHandler handler;
  source.Parse(handler);
  return std::move(handler.names);
}

int ListLandXmlSurfaces(const std::string& document, const std::string& listFile) {
  std::vector<std::string> names;
  // A document that breaks off, or a source that is not a LandXML document, gives the empty
  // list and the reason.
  if (common::CheckLandXmlSource(document)) {
    common::ForgetMalformedDocuments();
    names = ListLandXmlSurfaceNames(document);
    if (common::MalformedDocumentSeen()) names.clear();
    if (names.empty()) common::RecordNothingToWrite(document, "ninguna superficie");
  }
  common::TextWriter out;
  for (const std::string& name : names) {
    out.Write(name);
    out.Write("\n");
  }
  common::WriteFileReplacing(listFile, out.Bytes());
  return static_cast<int>(names.size());
}

namespace {

// Reads the surface into `read` (all but its points and triangles, which go to `receiver`).
void ReadSurface(const common::LandXmlSource& source, const std::string& surfaceName,
                 const TriangleTextSink& triangleText, const SurfaceReceiver& receiver, LandXmlSurfaceRead& read) {
  SurfaceImportHandler handler(surfaceName);
  read.parse = source.Parse(handler);
  if (read.parse == common::ParseResult::kCannotOpen) return;
  read.triangleTextWritten = handler.BuildTriangles(triangleText, receiver);
  read.feet = handler.feet != 0;
  read.feetInMetres = handler.feet;
  read.surfacesSeen = handler.surfacesSeen;
  read.surfacesSelected = handler.surfacesSelected;
  read.invisibleFaces = handler.invisibleFaces;
  read.facesWithoutPoints = handler.facesWithoutPoints;
}

}  // namespace

LandXmlSurfaceRead ReadLandXmlSurface(const common::LandXmlSource& source, const std::string& surfaceName,
                                      const TriangleTextSink& triangleText) {
  LandXmlSurfaceRead read;
  const SurfaceReceiver receiver{[&](std::vector<surface::PuntoSup> points, std::size_t triangles) {
                                   read.points = std::move(points);
                                   read.triangles.reserve(triangles);
                                 },
                                 [&](const std::array<int32_t, 3>& triangle) { read.triangles.push_back(triangle); }};
  ReadSurface(source, surfaceName, triangleText, receiver, read);
  return read;
}

int ImportLandXmlSurface(const std::string& document, const std::string& surfaceName, const std::string& target) {
  if (!common::CheckConversionTarget(document, target) || !common::CheckLandXmlSource(document)) return 0;
  // The triangle file stays behind for the user; the surface is built from the same values.
  // It is written as it is made and put in place once whole.
  common::ReplacingFileStream triangleFile(TriangleFilePath(), common::ReplacingFileStream::Role::kScratch);
  if (!triangleFile.ok()) return 0;
  // The surface is built while its triangles are written, so that they are never all held
  // beside its edges.
  surface::SuperficieTin model;
  const SurfaceReceiver receiver{[&](std::vector<surface::PuntoSup> points, std::size_t triangles) {
                                   surface::StartFromRoundedPoints(model, std::move(points), triangles);
                                 },
                                 [&](const std::array<int32_t, 3>& triangle) { surface::AddTriangle(model, triangle); }};
  LandXmlSurfaceRead read;
  ReadSurface(document, surfaceName, [&](std::string_view bytes) { return triangleFile.Write(bytes); }, receiver, read);
  // A document cut short is no smaller surface: the reader has recorded where it breaks.
  if (read.parse != common::ParseResult::kComplete) return 0;
  if (!read.triangleTextWritten || !triangleFile.Commit()) return 0;

  std::string notes;
  char text[160];
  if (read.feet) notes += common::FeetMessage(read.feetInMetres);
  if (read.invisibleFaces > 0) {
    std::snprintf(text, sizeof text, "%ld caras invisibles (fuera del contorno o en huecos) no se han importado",
                  read.invisibleFaces);
    notes += (notes.empty() ? "" : "\n") + std::string(text);
  }
  if (read.facesWithoutPoints > 0) {
    std::snprintf(text, sizeof text, "%ld caras que nombran puntos que no existen no se han importado",
                  read.facesWithoutPoints);
    notes += (notes.empty() ? "" : "\n") + std::string(text);
  }

  if (read.surfacesSeen == 0) {
    common::RecordNothingToWrite(document, "ninguna superficie");
    return 0;
  }
  if (read.surfacesSelected == 0) {
    common::RecordFailure("El fichero " + document + " no contiene la superficie \"" + surfaceName + "\"");
    return 0;
  }
  if (model.points.Empty()) {
    common::RecordNothingToWrite(document, "ningún punto en la superficie elegida");
    return 0;
  }
  model.name = target;
  if (model.edges.Empty()) {
    common::RecordNothingToWrite(document, "ningún triángulo en la superficie elegida");
    return 0;
  }
  // A surface file that cannot be written is a failure, whatever was read.
  if (surface::GuardarSup(model, target) <= 0) return 0;
  // Said once the surface is written: a failure's reason must not be hidden behind it.
  if (!notes.empty()) common::ShowApproximation(notes);
  return 1;
}

}  // namespace planimetro::landxml
