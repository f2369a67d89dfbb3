// The point of a large set nearest a place in plan, found without looking at every point:
// the points are sorted once into a grid of cells holding a few points each. The views ask it
// what lies under the mouse at every move.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/geometry.h"

namespace view {

struct SurfaceView;

class PlanIndex {
 public:
  // Indexes `points` (kept by the caller, who must build again when they change). Points
  // that are not finite are never found.
  void Build(const std::vector<common::Point2>& points);

  // The index of the point nearest (x, y) within `radius`, -1 when none lies that close.
  // Of two at the same distance, the first.
  long Nearest(double x, double y, double radius) const;

  std::size_t size() const { return points_.size(); }

 private:
  long CellOf(double value, double origin, long count) const;

  std::vector<common::Point2> points_;
  double minX_ = 0;
  double minY_ = 0;
  double cellSize_ = 1;
  long columns_ = 0;
  long rows_ = 0;
  std::vector<uint32_t> cellStart_;  // cell c holds order_[cellStart_[c] .. cellStart_[c + 1])
  std::vector<uint32_t> order_;      // point indices, by cell
};

// The elevation of a surface at a place in plan: the triangle holding it is looked for among
// the triangles of the point nearest it and of their corners, and its plane gives the Z.
class SurfaceLocator {
 public:
  // Indexes `surface` (kept by the caller, who must build again when it changes).
  void Build(const SurfaceView& surface);
  // The elevation at (x, y); false outside every triangle near it (outside the surface, or in
  // a hole).
  bool ElevationAt(double x, double y, double& z) const;

 private:
  bool InTriangle(std::size_t triangle, double x, double y, double& z) const;

  const SurfaceView* surface_ = nullptr;
  PlanIndex points_;
  double reach_ = 0;                   // the radius the nearest point is looked for in
  std::vector<uint32_t> firstOfPoint_;  // point p's triangles: trianglesOf_[firstOfPoint_[p] .. [p + 1])
  std::vector<uint32_t> trianglesOf_;
};

}  // namespace view
