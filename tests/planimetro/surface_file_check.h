// A reader of the native surface file for the tests: parses every section and checks that the
// file is whole and consistent.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace surface_check {

struct Edge {
  int32_t a, b, side1[2], side2[2];
  uint8_t flags, tag1, tag2;
};

struct SurfaceFile {
  int32_t pointCount = 0;
  int32_t triangleCount = 0;
  std::vector<double> xyz;  // three per point
  std::vector<Edge> edges;
  std::vector<int32_t> nodes;  // three per point: edge count, edge, flag
  long sidesFilled = 0;        // 3 per triangle in a surface where no edge has three triangles
  std::string problem;         // empty when the file is sound
};

class Cursor {
 public:
  explicit Cursor(const std::string& bytes) : bytes_(bytes) {}
  bool Has(std::size_t count) const { return position_ + count <= bytes_.size(); }
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
  std::size_t Position() const { return position_; }
  bool AtEnd() const { return position_ == bytes_.size(); }

 private:
  const std::string& bytes_;
  std::size_t position_ = 0;
};

// Parses and checks: header fields, the three (empty) lists, points, edges (end points are
// points, side links are real edges of a triangle through the edge, every edge of a triangle
// listed on one of its sides), point records (edge counts match the edges, the edge is one of
// the point's), and nothing after the last section.
inline SurfaceFile ReadSurfaceFile(const std::string& bytes) {
  SurfaceFile file;
  Cursor in(bytes);
  auto fail = [&](const std::string& why) {
    file.problem = why + " at byte " + std::to_string(in.Position());
    return file;
  };
  if (!in.Has(208)) return fail("short header");
  if (in.Int() != 208) return fail("header size");
  if (bytes.compare(4, 4, std::string("SUP\0", 4)) != 0) return fail("signature");
  in.Skip(4);
  for (int entry = 0; entry < 3; ++entry) {
    if (in.Int() != 0 || in.Int() != 0) return fail("default entry ints");
    for (int i = 0; i < 32; ++i) {
      if (in.Byte() != 0) return fail("default entry name");
    }
    if (in.Int() != 255) return fail("default entry value");
  }
  if (in.Int() != 1) return fail("int 1 at 140");
  for (int i = 0; i < 4; ++i) {
    if (in.Int() != 0) return fail("zeros at 144");
  }
  if (in.Double() != 50.0) return fail("constant 50");
  if (in.Int() != 0) return fail("int 0 at 168");
  for (int list = 0; list < 3; ++list) {
    if (in.Int() != 0) return fail("list count");
  }
  file.pointCount = in.Int();
  file.triangleCount = in.Int();
  if (in.Double() != 0.001 || in.Double() != 0.001) return fail("tolerances");
  if (!in.Has(4) || in.Int() != file.pointCount) return fail("point count repeated");
  if (file.pointCount == 0) return in.AtEnd() ? file : fail("bytes after an empty surface");
  if (file.pointCount < 0 || !in.Has(static_cast<std::size_t>(file.pointCount) * 24)) return fail("points");
  for (int32_t i = 0; i < file.pointCount * 3; ++i) file.xyz.push_back(in.Double());
  if (!in.Has(8) || in.Int() != 1) return fail("edge section version");
  const int32_t edgeCount = in.Int();
  if (edgeCount < 0 || !in.Has(static_cast<std::size_t>(edgeCount) * 46)) return fail("edges");
  for (int32_t e = 0; e < edgeCount; ++e) {
    Edge edge;
    edge.a = in.Int();
    edge.b = in.Int();
    edge.side1[0] = in.Int();
    edge.side1[1] = in.Int();
    edge.side2[0] = in.Int();
    edge.side2[1] = in.Int();
    edge.flags = in.Byte();
    edge.tag1 = in.Byte();
    edge.tag2 = in.Byte();
    for (int i = 0; i < 19; ++i) {
      if (in.Byte() != 0) return fail("reserved edge bytes");
    }
    file.edges.push_back(edge);
  }
  if (!in.Has(8) || in.Int() != 1) return fail("point record version");
  if (in.Int() != file.pointCount) return fail("point record count");
  if (!in.Has(static_cast<std::size_t>(file.pointCount) * 12)) return fail("point records");
  for (int32_t i = 0; i < file.pointCount * 3; ++i) file.nodes.push_back(in.Int());
  if (!in.AtEnd()) return fail("bytes after the point records");

  // Consistency.
  std::vector<int32_t> counted(static_cast<std::size_t>(file.pointCount), 0);
  long sides = 0;
  for (std::size_t e = 0; e < file.edges.size(); ++e) {
    const Edge& edge = file.edges[e];
    if (edge.flags != 0) return fail("flags of edge " + std::to_string(e));
    if (edge.a < 0 || edge.a >= file.pointCount || edge.b < 0 || edge.b >= file.pointCount || edge.a == edge.b) {
      return fail("end points of edge " + std::to_string(e));
    }
    ++counted[static_cast<std::size_t>(edge.a)];
    ++counted[static_cast<std::size_t>(edge.b)];
    if (edge.side1[0] < 0) return fail("edge without a triangle " + std::to_string(e));
    for (const int32_t* side : {edge.side1, edge.side2}) {
      if (side[0] < 0 && side[1] < 0) continue;
      ++sides;
      std::vector<int32_t> corners{edge.a, edge.b};
      for (int k = 0; k < 2; ++k) {
        if (side[k] < 0 || side[k] >= edgeCount || side[k] == static_cast<int32_t>(e)) {
          return fail("side link of edge " + std::to_string(e));
        }
        const Edge& other = file.edges[static_cast<std::size_t>(side[k])];
        corners.push_back(other.a);
        corners.push_back(other.b);
      }
      // The three edges of a triangle use three points, each twice.
      for (const int32_t corner : corners) {
        int uses = 0;
        for (const int32_t c : corners) uses += c == corner;
        if (uses != 2) return fail("side of edge " + std::to_string(e) + " is not a triangle");
      }
    }
  }
  // Each triangle fills one side of each of its edges, unless an edge already had two (more
  // than two triangles on one edge in plan, as a closed solid drawn in 3D faces has).
  if (sides > 3L * file.triangleCount || (file.triangleCount > 0 && sides == 0)) {
    return fail("sides filled do not match the triangle count");
  }
  file.sidesFilled = sides;
  for (int32_t p = 0; p < file.pointCount; ++p) {
    const int32_t count = file.nodes[static_cast<std::size_t>(p) * 3];
    const int32_t edge = file.nodes[static_cast<std::size_t>(p) * 3 + 1];
    if (count != counted[static_cast<std::size_t>(p)] || count == 0) return fail("edge count of point " + std::to_string(p));
    if (edge < 0 || edge >= edgeCount) return fail("edge of point " + std::to_string(p));
    const Edge& own = file.edges[static_cast<std::size_t>(edge)];
    if (own.a != p && own.b != p) return fail("edge of point " + std::to_string(p) + " does not end there");
    if (file.nodes[static_cast<std::size_t>(p) * 3 + 2] != 0) return fail("flag of point " + std::to_string(p));
  }
  return file;
}

}  // namespace surface_check
