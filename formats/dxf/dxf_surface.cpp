#include "formats/dxf/dxf_surface.h"
#include "common/spanish_numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/conversion.h"
#include "common/outcome.h"
#include "common/text_case.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/landxml/xml_reader.h"
#include "formats/native/surface_model.h"

namespace planimetro::surface {
namespace {

// The exact plan positions met among the corners, each once, in the order first met and with
// the z of the first corner there. Faces share their corners, so there are some four times
// fewer positions than corners: cleaning and looking up positions instead of corners gives
// the same surface for a fraction of the sorting and the memory.
class PlanPositions {
 public:
  const std::vector<PuntoSup>& Points() const { return points_; }

  // Asks for the table slot of the corner's position ahead of IndexOf, so that its memory
  // arrives while the next face is read.
  void Prefetch(const dxf::DxfVertex& corner) const {
    const Slot* slot = slots_.data() + SlotOf(Hash(corner.x, corner.y));
#if defined(__x86_64__)
    // gcc 12 silently drops __builtin_prefetch of an address computed from a hash.
    asm volatile("prefetcht0 %0" : : "m"(*slot));
#else
    __builtin_prefetch(slot);
#endif
  }

  // The index of the corner's position, added when new. Positions compare as the point list
  // compares them: exactly, so 0 and -0 are one position.
  int32_t IndexOf(const dxf::DxfVertex& corner) {
    if ((points_.size() + 1) * 2 > slots_.size()) Grow();
    const uint64_t hash = Hash(corner.x, corner.y);
    const uint32_t tag = TagOf(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = SlotOf(hash);; slot = (slot + 1) & mask) {
      Slot& entry = slots_[slot];
      if (entry.index < 0) {
        entry = Slot{static_cast<int32_t>(points_.size()), tag};
        points_.push_back(PuntoSup{corner.x, corner.y, corner.z});
        return entry.index;
      }
      if (entry.tag == tag && IsAt(entry.index, corner.x, corner.y)) return entry.index;
    }
  }

 private:
  // A slot holds the index of a position and the high half of its hash: eight bytes, so the
  // table is a third of one holding the coordinates, and a probe rarely reads a point that
  // is not the one sought. The points are kept in the order met, so those of the faces read
  // last are still warm in the cache.
  struct Slot {
    int32_t index = -1;
    uint32_t tag = 0;
  };

  bool IsAt(int32_t index, double x, double y) const {
    const PuntoSup& known = points_[static_cast<std::size_t>(index)];
    return known.x == x && known.y == y;
  }

  std::size_t SlotOf(uint64_t hash) const { return static_cast<std::size_t>(hash ^ (hash >> 32)) & (slots_.size() - 1); }
  static uint32_t TagOf(uint64_t hash) { return static_cast<uint32_t>(hash >> 32); }

  static uint64_t Hash(double x, double y) {
    uint64_t a = 0;
    uint64_t b = 0;
    x += 0.0;  // -0 becomes 0
    y += 0.0;
    std::memcpy(&a, &x, sizeof a);
    std::memcpy(&b, &y, sizeof b);
    uint64_t h = a * 0x9E3779B97F4A7C15ull ^ (b + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    return h;
  }

  void Grow() {
    slots_.assign(slots_.size() * 2, Slot());
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t index = 0; index < points_.size(); ++index) {
      const uint64_t hash = Hash(points_[index].x, points_[index].y);
      std::size_t slot = SlotOf(hash);
      while (slots_[slot].index >= 0) slot = (slot + 1) & mask;
      slots_[slot] = Slot{static_cast<int32_t>(index), TagOf(hash)};
    }
  }

  std::vector<PuntoSup> points_;
  std::vector<Slot> slots_ = std::vector<Slot>(1024);
};

// Twice the signed area in plan of the triangle of three corners.
double PlanArea(const std::vector<PuntoSup>& points, int32_t a, int32_t b, int32_t c) {
  const PuntoSup& p = points[static_cast<std::size_t>(a)];
  const PuntoSup& q = points[static_cast<std::size_t>(b)];
  const PuntoSup& r = points[static_cast<std::size_t>(c)];
  return (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
}

enum class Split { kSplit, kNoArea, kTwisted };

// A face of four distinct corners, in their order around it, as two triangles: along the
// shorter diagonal in plan where both diagonals part it into two triangles turning the same
// way (a convex face), along the only one that does where one does (a face with a corner
// pointing in). A face whose sides cross in plan is no surface, and one of no area in plan
// holds none.
Split SplitFace(const std::vector<PuntoSup>& points, const std::array<int32_t, 4>& c,
                std::vector<std::array<int32_t, 3>>& triangles) {
  const double a1 = PlanArea(points, c[0], c[1], c[2]);
  const double a2 = PlanArea(points, c[0], c[2], c[3]);
  const double b1 = PlanArea(points, c[0], c[1], c[3]);
  const double b2 = PlanArea(points, c[1], c[2], c[3]);
  const bool alongFirst = a1 != 0 && a2 != 0 && (a1 > 0) == (a2 > 0);
  const bool alongSecond = b1 != 0 && b2 != 0 && (b1 > 0) == (b2 > 0);
  if (!alongFirst && !alongSecond) {
    if (a1 == 0 && a2 == 0 && b1 == 0 && b2 == 0) return Split::kNoArea;  // every corner on one line
    // Three corners on one line: the face is the triangle the fourth makes with the ends.
    const std::array<int32_t, 3> candidates[] = {{c[0], c[2], c[3]}, {c[0], c[1], c[2]}, {c[1], c[2], c[3]},
                                                 {c[0], c[1], c[3]}};
    const double zero[] = {a1, a2, b1, b2};
    const double other[] = {a2, a1, b2, b1};
    for (int k = 0; k < 4; ++k) {
      if (zero[k] == 0 && other[k] != 0) {
        triangles.push_back(candidates[k]);
        return Split::kSplit;
      }
    }
    return Split::kTwisted;
  }
  bool first = alongFirst;
  if (alongFirst && alongSecond) {
    const auto squared = [&](int32_t i, int32_t j) {
      const PuntoSup& p = points[static_cast<std::size_t>(i)];
      const PuntoSup& q = points[static_cast<std::size_t>(j)];
      return (q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y);
    };
    first = squared(c[0], c[2]) <= squared(c[1], c[3]);
  }
  if (first) {
    triangles.push_back({c[0], c[1], c[2]});
    triangles.push_back({c[0], c[2], c[3]});
  } else {
    triangles.push_back({c[0], c[1], c[3]});
    triangles.push_back({c[1], c[2], c[3]});
  }
  return Split::kSplit;
}

}  // namespace

bool ReadDxfFaceTriangles(dxf::DxfFile& file, const std::string* layer, DxfFaceTriangles& read) {
  read = DxfFaceTriangles();
  // The positions of the corners of the faces on the layer, four per face.
  PlanPositions positions;
  std::vector<std::array<int32_t, 4>> faces;
  if (dxf::BuscarEntidades(file)) {
    dxf::DxfGroup group;
    dxf::DxfFace face;
    // Each face's corners are looked up while the next face is read, so that the table
    // slots asked for ahead have arrived; the order of the lookups stays that of the faces.
    std::array<dxf::DxfVertex, 4> waiting{};
    bool isWaiting = false;
    auto lookUp = [&](const std::array<dxf::DxfVertex, 4>& corners) {
      const int32_t first = positions.IndexOf(corners[0]);
      const int32_t second = positions.IndexOf(corners[1]);
      const int32_t third = positions.IndexOf(corners[2]);
      // A triangle repeats its third corner: the same position needs no second look.
      const bool repeated = corners[3].x == corners[2].x && corners[3].y == corners[2].y;
      faces.push_back({first, second, third, repeated ? third : positions.IndexOf(corners[3])});
    };
    while (dxf::LeerGrupoDxf(file, group)) {
      if (group.code != 0 || !dxf::IsKeyword(group.value, "3DFACE")) continue;
      if (!dxf::LeerCara3D(file, face)) continue;
      if (layer != nullptr && !common::EqualsIgnoringCase(face.layer, *layer)) continue;
      for (int k = 0; k < 3; ++k) positions.Prefetch(face.corners[k]);
      if (isWaiting) lookUp(waiting);
      std::copy(std::begin(face.corners), std::end(face.corners), waiting.begin());
      isWaiting = true;
    }
    if (isWaiting) lookUp(waiting);
  }
  // A drawing that could not be read to its end is not taken for a smaller one.
  if (file.failed()) return false;
  read.faces = static_cast<long>(faces.size());
  if (faces.empty()) return true;

  // The corners cleaned of points closer than the tolerance in plan (the first one in the
  // drawing's order survives), and where each position went: -1 when it was cleaned away.
  ListaPuntosSup cleaned;
  cleaned.Points() = positions.Points();
  cleaned.Depurar(SuperficieTin::kTolerance);
  std::vector<int32_t> cleanedIndex;
  cleanedIndex.reserve(positions.Points().size());
  for (const PuntoSup& position : positions.Points()) {
    cleanedIndex.push_back(static_cast<int32_t>(cleaned.Buscar(position.x, position.y)));
  }
  positions = PlanPositions();

  std::vector<std::array<int32_t, 3>> triangles;
  triangles.reserve(faces.size());
  for (const std::array<int32_t, 4>& face : faces) {
    std::array<int32_t, 4> found{};
    int distinct = 0;
    bool lost = false;
    for (const int32_t position : face) {
      const int32_t index = cleanedIndex[static_cast<std::size_t>(position)];
      if (index < 0) {
        lost = true;
        break;
      }
      bool seen = false;
      for (int j = 0; j < distinct; ++j) seen = seen || found[static_cast<std::size_t>(j)] == index;
      if (!seen) found[static_cast<std::size_t>(distinct++)] = index;
    }
    if (lost) {
      ++read.lost;
    } else if (distinct == 3) {
      if (PlanArea(cleaned.Points(), found[0], found[1], found[2]) == 0) {
        ++read.collapsed;
      } else {
        triangles.push_back({found[0], found[1], found[2]});
      }
    } else if (distinct == 4) {
      switch (SplitFace(cleaned.Points(), found, triangles)) {
        case Split::kSplit:
          ++read.split;
          break;
        case Split::kNoArea:
          ++read.collapsed;
          break;
        case Split::kTwisted:
          ++read.fourCorners;
          break;
      }
    } else {
      ++read.collapsed;
    }
  }
  read.points = std::move(cleaned.Points());
  read.triangles = std::move(triangles);
  return true;
}

bool BuildDxfSurface(dxf::DxfFile& file, const std::string& layer, SuperficieTin& model, DxfFaceTriangles* counts) {
  model.Vaciar();
  DxfFaceTriangles read;
  if (!ReadDxfFaceTriangles(file, &layer, read) || read.faces == 0) return false;
  BuildFromTriangles(model, read.points, read.triangles);
  if (counts != nullptr) {
    read.points.clear();
    read.triangles.clear();
    *counts = std::move(read);
  }
  return true;
}

long ImportDxfSurface(const std::string& drawing, const std::string& layer, const std::string& target,
                      std::string* note) {
  dxf::DxfFile file;
  if (!file.OpenStreamed(drawing)) return 0;
  SuperficieTin model;
  DxfFaceTriangles counts;
  if (!BuildDxfSurface(file, layer, model, &counts)) return 0;
  model.name = target;
  const long written = GuardarSup(model, target);
  if (note != nullptr) *note = FacesNote(counts);
  return written;
}

namespace {

constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ninguna cara 3D", common::FileKind::kDxf};

}  // namespace

std::string FacesNote(const DxfFaceTriangles& read) {
  std::string note;
  const auto add = [&](long count, const char* one, const char* many) {
    if (count == 0) return;
    if (!note.empty()) note += "\n";
    note += common::SpanishCount(count) + (count == 1 ? one : many);
  };
  add(read.split, " cara de cuatro vértices se ha dividido en dos triángulos por su diagonal más corta",
      " caras de cuatro vértices se han dividido en dos triángulos por su diagonal más corta");
  add(read.collapsed, " cara sin tres vértices distintos o sin área en planta se ha descartado",
      " caras sin tres vértices distintos o sin área en planta se han descartado");
  add(read.fourCorners, " cara de cuatro vértices con lados que se cruzan en planta se ha descartado",
      " caras de cuatro vértices con lados que se cruzan en planta se han descartado");
  add(read.lost, " cara con un vértice a menos de 0,001 de otro se ha descartado",
      " caras con un vértice a menos de 0,001 de otro se han descartado");
  return note;
}

long ConvertDxfFacesToSurface(const std::string& drawing, const std::string& layer, const std::string& target) {
  if (!common::CheckConversionTarget(drawing, target)) return 0;
  if (!common::CheckConversionSourceKind(drawing, kDrawing)) return 0;
  std::string note;
  const long triangles = ImportDxfSurface(drawing, layer, target, &note);
  if (triangles == 0 && !common::HasRecordedFailure()) {
    std::string what = "ninguna cara 3D que forme un triángulo en la capa " + layer;
    if (!note.empty()) what += " (" + note + ")";
    common::RecordNothingToWrite(drawing, what.c_str());
  }
  if (triangles > 0 && !note.empty()) common::ShowApproximation(note);
  return triangles;
}

}  // namespace planimetro::surface
