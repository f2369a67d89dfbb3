#include "formats/native/surface_model.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "common/file_stream.h"
#include "common/numbers.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace planimetro::surface {

// ---- Quadtree ------------------------------------------------------------------------------

namespace {

// Identical points never fit in one leaf, so splitting stops at this depth and the leaf grows.
constexpr int kMaxDepth = 40;

}  // namespace

void ArbolPuntos::Vaciar() { nodes_.clear(); }

int ArbolPuntos::ChildOf(const Node& node, const PuntoSup& point) {
  const double centreX = 0.5 * (node.minX + node.maxX);
  const double centreY = 0.5 * (node.minY + node.maxY);
  return (point.x > centreX ? 1 : 0) + (point.y > centreY ? 2 : 0);
}

void ArbolPuntos::Construir(const std::vector<PuntoSup>& points) {
  nodes_.clear();
  if (points.empty()) return;
  Node root{points[0].x, points[0].y, points[0].x, points[0].y, -1, 0, {}};
  for (const PuntoSup& point : points) {
    root.minX = std::min(root.minX, point.x);
    root.minY = std::min(root.minY, point.y);
    root.maxX = std::max(root.maxX, point.x);
    root.maxY = std::max(root.maxY, point.y);
  }
  nodes_.reserve(points.size() / (kLeafCapacity / 2) * 2 + 1);
  nodes_.push_back(std::move(root));
  for (std::size_t i = 0; i < points.size(); ++i) Insert(points, static_cast<int32_t>(i));
}

void ArbolPuntos::Insert(const std::vector<PuntoSup>& points, int32_t index) {
  std::size_t node = 0;
  while (nodes_[node].children >= 0) {
    node = static_cast<std::size_t>(nodes_[node].children + ChildOf(nodes_[node], points[index]));
  }
  nodes_[node].points.push_back(index);
  if (nodes_[node].points.size() > kLeafCapacity && nodes_[node].depth < kMaxDepth) Split(points, node);
}

void ArbolPuntos::Split(const std::vector<PuntoSup>& points, std::size_t node) {
  const int32_t first = static_cast<int32_t>(nodes_.size());
  const Node parent = nodes_[node];  // copied: the table may move while children are added
  const double centreX = 0.5 * (parent.minX + parent.maxX);
  const double centreY = 0.5 * (parent.minY + parent.maxY);
  for (int child = 0; child < 4; ++child) {
    const bool east = (child & 1) != 0;
    const bool north = (child & 2) != 0;
    nodes_.push_back(Node{east ? centreX : parent.minX, north ? centreY : parent.minY, east ? parent.maxX : centreX,
                          north ? parent.maxY : centreY, -1, parent.depth + 1, {}});
  }
  nodes_[node].children = first;
  nodes_[node].points.clear();
  nodes_[node].points.shrink_to_fit();
  for (const int32_t index : parent.points) {
    nodes_[static_cast<std::size_t>(first + ChildOf(parent, points[index]))].points.push_back(index);
  }
  for (int child = 0; child < 4; ++child) {
    const std::size_t leaf = static_cast<std::size_t>(first + child);
    if (nodes_[leaf].points.size() > kLeafCapacity && nodes_[leaf].depth < kMaxDepth) Split(points, leaf);
  }
}

long ArbolPuntos::Buscar(const std::vector<PuntoSup>& points, double x, double y, double tolerance) const {
  if (nodes_.empty()) return -1;
  long best = -1;
  double bestDistance = tolerance * tolerance;
  std::vector<std::size_t> pending{0};
  while (!pending.empty()) {
    const Node& node = nodes_[pending.back()];
    pending.pop_back();
    if (x < node.minX - tolerance || x > node.maxX + tolerance || y < node.minY - tolerance ||
        y > node.maxY + tolerance) {
      continue;
    }
    if (node.children >= 0) {
      for (int child = 0; child < 4; ++child) pending.push_back(static_cast<std::size_t>(node.children + child));
      continue;
    }
    for (const int32_t index : node.points) {
      const double dx = points[index].x - x;
      const double dy = points[index].y - y;
      const double distance = dx * dx + dy * dy;
      if (distance <= bestDistance) {
        if (best < 0 || distance < bestDistance || index < best) best = index;
        bestDistance = distance;
      }
    }
  }
  return best;
}

// ---- Model -----------------------------------------------------------------------------------

void SuperficieTin::Vaciar() {
  for (auto& list : lists) list.clear();
  points.Vaciar();
  edges.Clear();
  nodes.Clear();
  index.Vaciar();
  triangleCount = 0;
  firstEdgeAt_.clear();
  nextEdge_.clear();
  DropUpperEdgeLists();
}

void SuperficieTin::PrepararPuntos() {
  index.Construir(points.Points());
  nodes.Clear();
  nodes.Reserve(points.Size());
  for (std::size_t i = 0; i < points.Size(); ++i) nodes.Append(NodoSup());
  firstEdgeAt_.assign(points.Size(), -1);
}

void SuperficieTin::ReservarAristas(std::size_t triangles) {
  if (triangles == 0) return;
  // A surface in one piece has points + triangles - 1 edges, one more for each hole beyond
  // the first, and never more than three a triangle; a sixteenth more leaves room for holes.
  triangles = std::min<std::size_t>(triangles, std::size_t{1} << 26);
  const std::size_t expected =
      edges.Size() + std::min(3 * triangles, points.Size() + triangles + triangles / 16);
  if (!edges.Reserve(expected)) return;
  nextEdge_.reserve(expected);
  if (upperListsBuilt_) nextUpperEdge_.reserve(expected);
}

long SuperficieTin::BuscarArista(int32_t p, int32_t q) const {
  const int32_t lower = std::min(p, q);
  const int32_t upper = std::max(p, q);
  if (lower < 0 || static_cast<std::size_t>(upper) >= firstEdgeAt_.size()) return -1;
  const std::vector<AristaSup>& table = edges.Records();
  for (int32_t e = firstEdgeAt_[static_cast<std::size_t>(lower)]; e >= 0; e = nextEdge_[static_cast<std::size_t>(e)]) {
    const AristaSup& edge = table[static_cast<std::size_t>(e)];
    const int32_t other = edge.a == lower ? edge.b : edge.a;
    if (other == upper && (edge.flags & kDeletedEdge) == 0) return e;
  }
  return -1;
}

void SuperficieTin::LinkEdge(int32_t e) {
  const AristaSup& edge = edges.Records()[static_cast<std::size_t>(e)];
  const std::size_t lower = static_cast<std::size_t>(std::min(edge.a, edge.b));
  nextEdge_.push_back(firstEdgeAt_[lower]);
  firstEdgeAt_[lower] = e;
  if (upperListsBuilt_) LinkAtUpperEnd(e);
}

void SuperficieTin::LinkAtUpperEnd(int32_t e) {
  const AristaSup& edge = edges.Records()[static_cast<std::size_t>(e)];
  const std::size_t upper = static_cast<std::size_t>(std::max(edge.a, edge.b));
  nextUpperEdge_.push_back(firstUpperEdgeAt_[upper]);
  firstUpperEdgeAt_[upper] = e;
}

void SuperficieTin::BuildUpperEdgeLists() {
  firstUpperEdgeAt_.assign(points.Size(), -1);
  nextUpperEdge_.clear();
  nextUpperEdge_.reserve(edges.Size());
  for (std::size_t e = 0; e < edges.Size(); ++e) LinkAtUpperEnd(static_cast<int32_t>(e));
  upperListsBuilt_ = true;
}

void SuperficieTin::DropUpperEdgeLists() {
  upperListsBuilt_ = false;
  firstUpperEdgeAt_ = std::vector<int32_t>();
  nextUpperEdge_ = std::vector<int32_t>();
}

int32_t SuperficieTin::NewestLiveEdgeAt(int32_t point) {
  if (!upperListsBuilt_) BuildUpperEdgeLists();
  const std::vector<AristaSup>& table = edges.Records();
  const auto firstLive = [&](int32_t e, const std::vector<int32_t>& next) {
    while (e >= 0 && (table[static_cast<std::size_t>(e)].flags & kDeletedEdge) != 0) e = next[static_cast<std::size_t>(e)];
    return e;
  };
  // Both lists run from the newest edge down, so the newer of their first live edges is it.
  return std::max(firstLive(firstEdgeAt_[static_cast<std::size_t>(point)], nextEdge_),
                  firstLive(firstUpperEdgeAt_[static_cast<std::size_t>(point)], nextUpperEdge_));
}

int32_t SuperficieTin::CrearArista(int32_t p, int32_t q) {
  AristaSup edge;
  edge.a = p;
  edge.b = q;
  if (!edges.Append(edge)) return -1;
  const int32_t e = static_cast<int32_t>(edges.Size() - 1);
  LinkEdge(e);
  // The edge-created hook: both end points count one more edge.
  for (const int32_t end : {p, q}) {
    NodoSup& node = nodes.At(end);
    if (node.edgeCount++ == 0) node.edge = e;
  }
  return e;
}

bool SuperficieTin::AnadirTriangulo(int32_t p0, int32_t p1, int32_t p2, uint8_t tag) {
  const long count = static_cast<long>(points.Size());
  for (const int32_t p : {p0, p1, p2}) {
    if (p < 0 || p >= count) return false;
  }
  if (p0 == p1 || p1 == p2 || p2 == p0) return false;
  const int32_t ends[3][2] = {{p0, p1}, {p1, p2}, {p2, p0}};
  int32_t triangle[3];
  for (int k = 0; k < 3; ++k) {
    long e = BuscarArista(ends[k][0], ends[k][1]);
    if (e < 0) e = CrearArista(ends[k][0], ends[k][1]);
    if (e < 0) return false;
    triangle[k] = static_cast<int32_t>(e);
  }
  for (int k = 0; k < 3; ++k) {
    AristaSup& edge = edges.At(triangle[k]);
    const int32_t following = triangle[(k + 1) % 3];
    const int32_t other = triangle[(k + 2) % 3];
    if (edge.side1[0] < 0) {
      edge.side1 = {following, other};
      edge.tag1 = tag;
    } else if (edge.side2[0] < 0) {
      edge.side2 = {following, other};
      edge.tag2 = tag;
    }
  }
  return true;
}

void SuperficieTin::BorrarArista(int32_t e) {
  AristaSup& edge = edges.At(e);
  if (edge.a < 0 || (edge.flags & kDeletedEdge) != 0) return;
  edge.flags |= kDeletedEdge;
  // The triangles on its sides go with it.
  for (const auto& side : {edge.side1, edge.side2}) {
    for (const int32_t neighbour : side) {
      if (neighbour < 0) continue;
      AristaSup& other = edges.At(neighbour);
      if (other.side1[0] == e || other.side1[1] == e) other.side1 = {-1, -1};
      if (other.side2[0] == e || other.side2[1] == e) other.side2 = {-1, -1};
    }
  }
  edge.side1 = {-1, -1};
  edge.side2 = {-1, -1};
  // The edge-deleted hook.
  for (const int32_t end : {edge.a, edge.b}) {
    NodoSup& node = nodes.At(end);
    --node.edgeCount;
    if (node.edge == e) {
      node.edge = -1;
      // Another live edge at the point keeps the record useful.
      if (node.edgeCount > 0) node.edge = NewestLiveEdgeAt(end);
    }
  }
}

namespace {

// Where each record goes when every unwanted one is replaced by the last wanted one: -1 for
// the dropped ones. Returns the number kept.
template <typename Keep>
std::size_t FillGapsFromTheEnd(std::size_t count, Keep keep, std::vector<int32_t>& target) {
  target.resize(count);
  for (std::size_t i = 0; i < count; ++i) target[i] = static_cast<int32_t>(i);
  std::size_t last = count;
  std::size_t i = 0;
  while (i < last) {
    if (keep(i)) {
      ++i;
      continue;
    }
    target[i] = -1;
    while (last > i + 1 && !keep(last - 1)) target[--last] = -1;
    if (last == i + 1) {
      last = i;
      break;
    }
    target[last - 1] = static_cast<int32_t>(i);
    --last;
    ++i;
  }
  return last;
}

template <typename Keep>
bool AllKept(std::size_t count, Keep keep) {
  for (std::size_t i = 0; i < count; ++i) {
    if (!keep(i)) return false;
  }
  return true;
}

int32_t Renumbered(const std::vector<int32_t>& target, int32_t index) {
  return index >= 0 && static_cast<std::size_t>(index) < target.size() ? target[static_cast<std::size_t>(index)] : -1;
}

}  // namespace

void SuperficieTin::Compactar() {
  std::vector<PuntoSup>& pointTable = points.Points();
  std::vector<NodoSup>& nodeTable = nodes.Records();
  std::vector<AristaSup>& edgeTable = edges.Records();
  nodeTable.resize(pointTable.size());

  // The renumbering tables are made only when something goes.
  std::vector<int32_t> target;
  const auto usedPoint = [&](std::size_t i) { return nodeTable[i].edgeCount > 0; };
  const bool pointsMoved = !AllKept(pointTable.size(), usedPoint);
  if (pointsMoved) {
    const std::size_t keptPoints = FillGapsFromTheEnd(pointTable.size(), usedPoint, target);
    for (std::size_t i = 0; i < target.size(); ++i) {
      const int32_t to = target[i];
      if (to >= 0 && static_cast<std::size_t>(to) != i) {
        pointTable[static_cast<std::size_t>(to)] = pointTable[i];
        nodeTable[static_cast<std::size_t>(to)] = nodeTable[i];
      }
    }
    pointTable.resize(keptPoints);
    nodeTable.resize(keptPoints);
    for (AristaSup& edge : edgeTable) {
      edge.a = Renumbered(target, edge.a);
      edge.b = Renumbered(target, edge.b);
    }
  }

  const auto liveEdge = [&](std::size_t i) { return (edgeTable[i].flags & kDeletedEdge) == 0; };
  const bool edgesMoved = !AllKept(edgeTable.size(), liveEdge);
  if (edgesMoved) {
    const std::size_t keptEdges = FillGapsFromTheEnd(edgeTable.size(), liveEdge, target);
    for (std::size_t i = 0; i < target.size(); ++i) {
      const int32_t to = target[i];
      if (to >= 0 && static_cast<std::size_t>(to) != i) edgeTable[static_cast<std::size_t>(to)] = edgeTable[i];
    }
    edgeTable.resize(keptEdges);
    for (AristaSup& edge : edgeTable) {
      for (int32_t& link : edge.side1) link = Renumbered(target, link);
      for (int32_t& link : edge.side2) link = Renumbered(target, link);
    }
    for (NodoSup& node : nodeTable) node.edge = Renumbered(target, node.edge);
  }

  if (pointsMoved || edgesMoved) RebuildEdgeLists();
  if (pointsMoved) index.Construir(pointTable);
}

void SuperficieTin::RebuildEdgeLists() {
  firstEdgeAt_.assign(points.Size(), -1);
  nextEdge_.clear();
  nextEdge_.reserve(edges.Size());
  // The lists at the upper ends are made again when a deletion next needs them.
  DropUpperEdgeLists();
  for (std::size_t e = 0; e < edges.Size(); ++e) LinkEdge(static_cast<int32_t>(e));
}

// ---- Triangle text file ------------------------------------------------------------------

void WriteTriangleFile(const std::vector<PuntoSup>& points, const std::vector<std::array<int32_t, 3>>& triangles,
                       common::TextWriter& out) {
  out.Printf("%d\n", static_cast<int>(points.size()));
  for (const PuntoSup& point : points) out.Printf("%0.3lf %0.3lf %0.3lf\n", point.x, point.y, point.z);
  out.Printf("%d\n", static_cast<int>(triangles.size()));
  for (const auto& triangle : triangles) out.Printf("%d %d %d\n", triangle[0], triangle[1], triangle[2]);
}

namespace {

void AddTriangle(SuperficieTin& model, int32_t p0, int32_t p1, int32_t p2) {
  if (model.AnadirTriangulo(p0, p1, p2, 0)) ++model.triangleCount;
}

// A coordinate as it reads back from the triangle text file, where it has three decimals.
double AsWrittenWithThreeDecimals(double value) {
  char text[400];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  return common::LenientDouble(std::string_view(text, static_cast<std::size_t>(written.ptr - text)));
}

}  // namespace

void BuildFromTriangles(SuperficieTin& model, const std::vector<PuntoSup>& points,
                        const std::vector<std::array<int32_t, 3>>& triangles) {
  std::vector<PuntoSup> rounded;
  rounded.reserve(points.size());
  for (const PuntoSup& point : points) {
    rounded.push_back({AsWrittenWithThreeDecimals(point.x), AsWrittenWithThreeDecimals(point.y),
                       AsWrittenWithThreeDecimals(point.z)});
  }
  BuildFromRoundedPoints(model, std::move(rounded), triangles);
}

void BuildFromRoundedPoints(SuperficieTin& model, std::vector<PuntoSup> points,
                            const std::vector<std::array<int32_t, 3>>& triangles) {
  StartFromRoundedPoints(model, std::move(points), triangles.size());
  for (const auto& triangle : triangles) AddTriangle(model, triangle);
}

void StartFromRoundedPoints(SuperficieTin& model, std::vector<PuntoSup> points, std::size_t triangles) {
  model.Vaciar();
  if (points.empty()) return;
  model.points.Points() = std::move(points);
  model.PrepararPuntos();
  model.ReservarAristas(triangles);
}

void AddTriangle(SuperficieTin& model, const std::array<int32_t, 3>& triangle) {
  AddTriangle(model, triangle[0], triangle[1], triangle[2]);
}

bool CargarTri(SuperficieTin& model, const std::string& path) {
  model.Vaciar();
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> tokens;
  constexpr std::string_view kSeparators = " \t";

  // A count line: its first field by its leading digits; none when the file has ended.
  auto readCount = [&](long& count) {
    if (!reader.Next(piece)) return false;
    common::SplitTokens(piece, kSeparators, tokens);
    count = tokens.empty() ? 0 : common::LenientInt(tokens[0]);
    return true;
  };

  long pointCount = 0;
  if (!readCount(pointCount) || pointCount <= 0) return false;
  for (long i = 0; i < pointCount && reader.Next(piece); ++i) {
    common::SplitTokens(piece, kSeparators, tokens);
    PuntoSup point;
    if (tokens.size() > 0) point.x = common::LenientDouble(tokens[0]);
    if (tokens.size() > 1) point.y = common::LenientDouble(tokens[1]);
    if (tokens.size() > 2) point.z = common::LenientDouble(tokens[2]);
    model.points.Anadir(point);
  }
  model.PrepararPuntos();

  long triangles = 0;
  if (!readCount(triangles)) {
    model.Vaciar();
    return false;
  }
  // Only room: a count beyond what the file can hold (a triangle line is some six bytes) is
  // not believed.
  if (triangles > 0) model.ReservarAristas(std::min(static_cast<std::size_t>(triangles), text.size() / 6));
  for (long i = 0; i < triangles && reader.Next(piece); ++i) {
    if (common::SplitTokens(piece, kSeparators, tokens) < 3) continue;
    AddTriangle(model, common::LenientInt(tokens[0]), common::LenientInt(tokens[1]), common::LenientInt(tokens[2]));
  }
  return true;
}

// ---- Native surface file -----------------------------------------------------------------

namespace {

// Little-endian fields, whatever the machine, gathered on the stack and appended a record or
// more at a time (millions of four-byte appends would cost more than the fields).
class BinaryWriter {
 public:
  explicit BinaryWriter(std::string& bytes) : bytes_(bytes) {}
  ~BinaryWriter() { Flush(); }
  BinaryWriter(const BinaryWriter&) = delete;
  BinaryWriter& operator=(const BinaryWriter&) = delete;

  void Int(int32_t value) { Unsigned(static_cast<uint32_t>(value), 4); }
  void Byte(uint8_t value) { Unsigned(value, 1); }
  void Double(double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    Unsigned(bits, 8);
  }
  void Zeros(std::size_t count) {
    if (used_ + count > sizeof staged_) Flush();
    if (count > sizeof staged_) {
      bytes_.append(count, '\0');
      return;
    }
    std::memset(staged_ + used_, 0, count);
    used_ += count;
  }
  void Text(std::string_view text) {
    Flush();
    bytes_.append(text);
  }
  // Hands the gathered fields to the bytes (done at the end of the writer's life).
  void Flush() {
    bytes_.append(staged_, used_);
    used_ = 0;
  }

 private:
  void Unsigned(uint64_t value, std::size_t size) {
    if (used_ + size > sizeof staged_) Flush();
    for (std::size_t i = 0; i < size; ++i) staged_[used_ + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    used_ += size;
  }

  std::string& bytes_;
  char staged_[256];
  std::size_t used_ = 0;
};

constexpr int32_t kHeaderSize = 208;
constexpr std::size_t kEntryNameSize = 32;

}  // namespace

namespace {

// The fields of the surface file, after compacting the model, written into `bytes`; `spill()`
// is called after each record, so that a caller writing a file can hand the bytes on as they
// gather. False when spill() failed.
template <typename Spill>
bool WriteSurfaceFields(SuperficieTin& model, std::string& bytes, Spill&& spill) {
  model.Compactar();
  const std::vector<PuntoSup>& points = model.points.Points();
  const std::vector<AristaSup>& edges = model.edges.Records();
  const std::vector<NodoSup>& nodes = model.nodes.Records();

  // Fields still gathered in the writer follow whatever spill() hands on, so the order holds.
  BinaryWriter out(bytes);
  out.Int(kHeaderSize);
  out.Text(std::string_view("SUP\0", 4));
  for (int entry = 0; entry < 3; ++entry) {
    out.Int(0);
    out.Int(0);
    out.Zeros(kEntryNameSize);
    out.Int(255);
  }
  out.Int(1);
  out.Zeros(12);  // three ints 0
  out.Zeros(4);   // reserved
  out.Double(SuperficieTin::kConstant);
  out.Int(0);
  for (const auto& list : model.lists) out.Int(static_cast<int32_t>(list.size()));
  out.Int(static_cast<int32_t>(points.size()));
  out.Int(static_cast<int32_t>(model.triangleCount));
  out.Double(SuperficieTin::kTolerance);
  out.Double(SuperficieTin::kTolerance);

  for (const auto& list : model.lists) {
    for (const EntradaSup& entry : list) {
      out.Int(static_cast<int32_t>(entry.name.size()));
      if (!entry.name.empty()) {
        out.Text(entry.name);
        out.Byte(0);
      }
      out.Int(entry.value);
      if (!spill()) return false;
    }
  }

  out.Int(static_cast<int32_t>(points.size()));
  if (points.empty()) return true;
  for (const PuntoSup& point : points) {
    out.Double(point.x);
    out.Double(point.y);
    out.Double(point.z);
    if (!spill()) return false;
  }

  out.Int(1);
  out.Int(static_cast<int32_t>(edges.size()));
  for (const AristaSup& edge : edges) {
    out.Int(edge.a);
    out.Int(edge.b);
    out.Int(edge.side1[0]);
    out.Int(edge.side1[1]);
    out.Int(edge.side2[0]);
    out.Int(edge.side2[1]);
    out.Byte(edge.flags);
    out.Byte(edge.tag1);
    out.Byte(edge.tag2);
    out.Zeros(19);
    if (!spill()) return false;
  }

  out.Int(1);
  out.Int(static_cast<int32_t>(nodes.size()));
  for (const NodoSup& node : nodes) {
    out.Int(node.edgeCount);
    out.Int(node.edge);
    out.Int(node.flag);
    if (!spill()) return false;
  }
  return true;
}

}  // namespace

std::string SurfaceFileBytes(SuperficieTin& model) {
  std::string bytes;
  bytes.reserve(kHeaderSize + model.points.Size() * (24 + 12) + model.edges.Size() * 46 + 64);
  WriteSurfaceFields(model, bytes, [] { return true; });
  return bytes;
}

long GuardarSup(SuperficieTin& model, const std::string& path) {
  // Written as the fields are made: the file is never held whole in memory.
  common::TargetFileStream file(path);
  if (!file.ok()) return 0;
  common::BatchedOutput<common::TargetFileStream> out(file);
  if (!WriteSurfaceFields(model, out.Bytes(), [&] { return out.Spill(); }) || !out.Flush()) return 0;
  return file.Finish() ? model.triangleCount : 0;
}

}  // namespace planimetro::surface
