// The triangulated surface: points, an edge table in which each edge knows its two end points
// and the two other edges of the triangle on each of its sides, one record per point, and a
// quadtree over the points. Loaded from the triangle text file, saved as the native binary
// surface file (*.sup).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text_output.h"
#include "common/segmented_array.h"
#include "formats/native/surface_points.h"

namespace planimetro::surface {

// A named entry of one of the model's three lists (the importers leave them empty).
struct EntradaSup {
  std::string name;  // up to 31 characters in the file's fixed fields
  int32_t value = 255;
  int32_t first = 0;
  int32_t second = 0;
};

inline constexpr uint8_t kDeletedEdge = 0x80;

struct AristaSup {
  int32_t a = -1;  // end points
  int32_t b = -1;
  // The other two edges of the triangle on each side; -1 when the side is empty.
  std::array<int32_t, 2> side1{{-1, -1}};
  std::array<int32_t, 2> side2{{-1, -1}};
  uint8_t flags = 0;  // kDeletedEdge
  uint8_t tag1 = 0;   // attribute of the triangle on each side
  uint8_t tag2 = 0;
};

struct NodoSup {
  int32_t edgeCount = 0;  // edges that end at the point
  int32_t edge = -1;      // one of them
  int32_t flag = 0;
};

// Quadtree over the points: leaves of up to 128 points; a point goes to child
// (x > centre x) + 2 (y > centre y).
class ArbolPuntos {
 public:
  static constexpr std::size_t kLeafCapacity = 128;

  void Construir(const std::vector<PuntoSup>& points);
  void Vaciar();
  // The nearest point within `tolerance` in plan of (x, y); -1 when none.
  long Buscar(const std::vector<PuntoSup>& points, double x, double y, double tolerance) const;
  std::size_t NodeCount() const { return nodes_.size(); }

 private:
  struct Node {
    double minX, minY, maxX, maxY;
    int32_t children = -1;  // index of the first of four consecutive children; -1 in a leaf
    int depth = 0;
    std::vector<int32_t> points;
  };
  void Insert(const std::vector<PuntoSup>& points, int32_t index);
  void Split(const std::vector<PuntoSup>& points, std::size_t node);
  static int ChildOf(const Node& node, const PuntoSup& point);

  std::vector<Node> nodes_;
};

class SuperficieTin {
 public:
  static constexpr double kTolerance = 0.001;
  static constexpr double kConstant = 50.0;

  std::string name;
  std::array<std::vector<EntradaSup>, 3> lists;
  ListaPuntosSup points;
  SegmentedArray<AristaSup> edges{kElementoNoExiste};
  SegmentedArray<NodoSup> nodes;
  ArbolPuntos index;
  long triangleCount = 0;

  void Vaciar();

  // Sets up the per-point records and the quadtree once the points are in.
  void PrepararPuntos();

  // Sizes the edge table (and the edge lists) for `triangles` more triangles over the points,
  // so that it is not copied while it grows.
  void ReservarAristas(std::size_t triangles);

  // The edge between two points; -1 when there is none. Walks only the edges at `p`.
  long BuscarArista(int32_t p, int32_t q) const;

  // Adds the triangle's three edges (reusing existing ones) and fills a free side of each
  // with the other two edges, the following one first. False, with nothing added, when an
  // index is not a point or two indices are equal.
  bool AnadirTriangulo(int32_t p0, int32_t p1, int32_t p2, uint8_t tag);

  // Marks the edge deleted, clears the sides of the edges of its triangles that point at it,
  // and updates its end points' records.
  void BorrarArista(int32_t edge);

  // Points without edges and deleted edges are dropped by moving the last one into the gap,
  // with every reference renumbered.
  void Compactar();

 private:
  int32_t CrearArista(int32_t p, int32_t q);
  void LinkEdge(int32_t edge);
  void RebuildEdgeLists();
  void LinkAtUpperEnd(int32_t edge);
  void BuildUpperEdgeLists();
  void DropUpperEdgeLists();
  // The live edge of highest index at the point; -1 when none.
  int32_t NewestLiveEdgeAt(int32_t point);

  // Edges at each point as singly linked lists, newest first: the first edge of each point and,
  // per edge, the next one. Each edge is linked only at its lower end point, which is where the
  // edge between two points is looked for. Not stored in the file.
  std::vector<int32_t> firstEdgeAt_;
  std::vector<int32_t> nextEdge_;
  // The same at the upper end points, made only when a deletion needs every edge of a point
  // (building a surface never does, and it would cost four more bytes an edge).
  bool upperListsBuilt_ = false;
  std::vector<int32_t> firstUpperEdgeAt_;
  std::vector<int32_t> nextUpperEdge_;
};

// The triangle text file: the point count, one "x y z" line per point ("%0.3lf"), the
// triangle count, one line of three point indices per triangle.
void WriteTriangleFile(const std::vector<PuntoSup>& points, const std::vector<std::array<int32_t, 3>>& triangles,
                       common::TextWriter& out);

// The model (emptied first) as CargarTri loads it from the triangle text file that
// WriteTriangleFile writes for these points and triangles, without the file: coordinates
// rounded to three decimals, triangles that name a missing point or one point twice skipped.
// Empty when there are no points.
void BuildFromTriangles(SuperficieTin& model, const std::vector<PuntoSup>& points,
                        const std::vector<std::array<int32_t, 3>>& triangles);

// The same from points that already hold what the triangle file gives back (three decimals);
// they become the model's.
void BuildFromRoundedPoints(SuperficieTin& model, std::vector<PuntoSup> points,
                            const std::vector<std::array<int32_t, 3>>& triangles);

// BuildFromRoundedPoints a triangle at a time, for a caller that makes them one by one: the
// model (emptied first) takes the points and room for `triangles` triangles, then each
// AddTriangle adds one (skipped, as CargarTri skips it, when it names a missing point or one
// point twice).
void StartFromRoundedPoints(SuperficieTin& model, std::vector<PuntoSup> points, std::size_t triangles);
void AddTriangle(SuperficieTin& model, const std::array<int32_t, 3>& triangle);

// Loads the triangle text file into the model (emptied first). False when it cannot be read,
// has no point count or a count of 0, or lacks the triangle count. Triangles naming a point
// that does not exist, or one point twice, are skipped.
bool CargarTri(SuperficieTin& model, const std::string& path);

// The native surface file, byte for byte, after compacting the model. Returns the number of
// triangles; 0 when the file cannot be written.
long GuardarSup(SuperficieTin& model, const std::string& path);
std::string SurfaceFileBytes(SuperficieTin& model);

}  // namespace planimetro::surface
