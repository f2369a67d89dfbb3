#include "formats/native/surface_file_reader.h"

#include <cstring>

#include "common/text_input.h"

namespace planimetro::surface {
namespace {

constexpr int32_t kHeaderSize = 208;
constexpr std::size_t kPointBytes = 24;
constexpr std::size_t kEdgeBytes = 46;
constexpr std::size_t kNodeBytes = 12;

class ByteCursor {
 public:
  explicit ByteCursor(std::string_view bytes) : bytes_(bytes) {}
  bool Has(std::size_t count) const { return count <= bytes_.size() - position_; }
  std::size_t Left() const { return bytes_.size() - position_; }
  int32_t Int() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes_[position_ + i])) << (8 * i);
    position_ += 4;
    return static_cast<int32_t>(value);
  }
  double Double() {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[position_ + i])) << (8 * i);
    position_ += 8;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  uint8_t Byte() { return static_cast<uint8_t>(bytes_[position_++]); }
  void Skip(std::size_t count) { position_ += count; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

struct EdgeRecord {
  int32_t a, b;
  int32_t side[2][2];
  uint8_t flags;
};

bool Fail(std::string& problem, const char* reason) {
  problem = reason;
  return false;
}

// The third point of the triangle on one side of `edge`, -1 when the two linked edges do not
// close a triangle with it.
int32_t ThirdPoint(const std::vector<EdgeRecord>& edges, const EdgeRecord& edge, const int32_t* links) {
  const long count = static_cast<long>(edges.size());
  if (links[0] < 0 || links[1] < 0 || links[0] >= count || links[1] >= count) return -1;
  const EdgeRecord& next = edges[links[0]];
  const EdgeRecord& other = edges[links[1]];
  int32_t third = -1;
  if (next.a == edge.a || next.a == edge.b) third = next.b;
  if (next.b == edge.a || next.b == edge.b) third = next.a;
  if (third < 0 || third == edge.a || third == edge.b) return -1;
  const bool otherCloses = (other.a == third && (other.b == edge.a || other.b == edge.b)) ||
                           (other.b == third && (other.a == edge.a || other.a == edge.b));
  return otherCloses ? third : -1;
}

}  // namespace

bool LeerSup(std::string_view bytes, SurfaceFileContents& contents, std::string& problem) {
  contents = SurfaceFileContents();
  ByteCursor in(bytes);
  if (!in.Has(kHeaderSize)) return Fail(problem, "el fichero es demasiado corto para una superficie");
  if (in.Int() != kHeaderSize || bytes.substr(4, 4) != std::string_view("SUP\0", 4)) {
    return Fail(problem, "el fichero no es una superficie (falta la firma SUP)");
  }
  in.Skip(172 - 4);
  int32_t listSizes[3];
  for (int32_t& size : listSizes) size = in.Int();
  in.Skip(4);  // point count, repeated before the points
  contents.declaredTriangles = in.Int();
  in.Skip(16);
  for (int32_t size : listSizes) {
    if (size < 0) return Fail(problem, "la superficie tiene una lista de tamaño negativo");
    for (int32_t entry = 0; entry < size; ++entry) {
      if (!in.Has(4)) return Fail(problem, "la superficie termina dentro de sus listas");
      const int32_t nameLength = in.Int();
      if (nameLength < 0) return Fail(problem, "la superficie tiene un nombre de longitud negativa");
      const std::size_t nameBytes = nameLength > 0 ? static_cast<std::size_t>(nameLength) + 1 : 0;
      if (!in.Has(nameBytes) || !in.Has(nameBytes + 4)) return Fail(problem, "la superficie termina dentro de sus listas");
      in.Skip(nameBytes + 4);
    }
  }
  if (!in.Has(4)) return Fail(problem, "la superficie termina antes de sus puntos");
  const int32_t pointCount = in.Int();
  if (pointCount < 0 || static_cast<std::size_t>(pointCount) > in.Left() / kPointBytes) {
    return Fail(problem, "la superficie declara más puntos de los que contiene");
  }
  if (pointCount == 0) return true;
  contents.points.resize(pointCount);
  for (PuntoSup& point : contents.points) {
    point.x = in.Double();
    point.y = in.Double();
    point.z = in.Double();
  }
  if (!in.Has(8)) return Fail(problem, "la superficie termina antes de sus aristas");
  in.Skip(4);  // section version
  const int32_t edgeCount = in.Int();
  if (edgeCount < 0 || static_cast<std::size_t>(edgeCount) > in.Left() / kEdgeBytes) {
    return Fail(problem, "la superficie declara más aristas de las que contiene");
  }
  std::vector<EdgeRecord> edges(edgeCount);
  for (EdgeRecord& edge : edges) {
    edge.a = in.Int();
    edge.b = in.Int();
    for (auto& side : edge.side) {
      side[0] = in.Int();
      side[1] = in.Int();
    }
    edge.flags = in.Byte();
    in.Skip(kEdgeBytes - 25);
    if (edge.a < 0 || edge.b < 0 || edge.a >= pointCount || edge.b >= pointCount) {
      return Fail(problem, "una arista de la superficie une puntos que no existen");
    }
  }
  contents.edgeCount = edgeCount;
  if (!in.Has(8)) return Fail(problem, "la superficie termina antes de sus registros de punto");
  in.Skip(4);
  const int32_t nodeCount = in.Int();
  if (nodeCount < 0 || static_cast<std::size_t>(nodeCount) > in.Left() / kNodeBytes) {
    return Fail(problem, "la superficie declara más registros de punto de los que contiene");
  }
  // Every triangle is listed on the sides of its three edges; it is taken from the side of
  // its lowest-numbered edge.
  const std::size_t declared = contents.declaredTriangles > 0 ? static_cast<std::size_t>(contents.declaredTriangles) : 0;
  contents.triangles.reserve(declared < edges.size() ? declared : edges.size());
  for (std::size_t i = 0; i < edges.size(); ++i) {
    const EdgeRecord& edge = edges[i];
    if (edge.flags & 0x80) continue;
    for (const auto& side : edge.side) {
      if (side[0] < 0 && side[1] < 0) continue;
      const int32_t third = ThirdPoint(edges, edge, side);
      if (third < 0) {
        ++contents.brokenSides;
        continue;
      }
      if (static_cast<std::size_t>(side[0]) < i || static_cast<std::size_t>(side[1]) < i) continue;
      contents.triangles.push_back({edge.a, edge.b, third});
    }
  }
  return true;
}

bool LeerFicheroSup(const std::string& path, SurfaceFileContents& contents, std::string& problem) {
  std::string bytes;
  if (!common::ReadWholeFile(path, bytes)) {
    problem = "no se puede leer el fichero " + path;
    return false;
  }
  return LeerSup(bytes, contents, problem);
}

}  // namespace planimetro::surface
