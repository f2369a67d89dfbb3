#include "frontend/view/plan_index.h"

#include "frontend/view/view_model.h"

#include <algorithm>
#include <cmath>

namespace view {
namespace {

// About this many points to a cell; the grid never has more cells than points plus one.
constexpr double kPointsPerCell = 4.0;

}  // namespace

long PlanIndex::CellOf(double value, double origin, long count) const {
  const double cell = std::floor((value - origin) / cellSize_);
  if (!(cell >= 0)) return 0;
  return cell >= static_cast<double>(count - 1) ? count - 1 : static_cast<long>(cell);
}

void PlanIndex::Build(const std::vector<common::Point2>& points) {
  points_ = points;
  cellStart_.clear();
  order_.clear();
  columns_ = rows_ = 0;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;
  std::size_t finite = 0;
  for (const common::Point2& p : points_) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    if (finite++ == 0) {
      minX = maxX = p.x;
      minY = maxY = p.y;
    }
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  if (finite == 0) return;
  const double width = std::max(maxX - minX, 1e-9);
  const double height = std::max(maxY - minY, 1e-9);
  // Square cells, their number about a quarter of the points.
  const double cells = std::max(1.0, static_cast<double>(finite) / kPointsPerCell);
  cellSize_ = std::max(std::sqrt(width * height / cells), std::max(width, height) / cells);
  if (!(cellSize_ > 0) || !std::isfinite(cellSize_)) cellSize_ = 1;
  minX_ = minX;
  minY_ = minY;
  columns_ = std::max(1L, std::min(static_cast<long>(width / cellSize_) + 1, static_cast<long>(cells) + 1));
  rows_ = std::max(1L, std::min(static_cast<long>(height / cellSize_) + 1, static_cast<long>(cells) + 1));
  // Counting sort of the points by cell.
  cellStart_.assign(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
  std::vector<uint32_t> cellOf(points_.size(), UINT32_MAX);
  for (std::size_t k = 0; k < points_.size(); ++k) {
    const common::Point2& p = points_[k];
    if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
    const long cell = CellOf(p.y, minY_, rows_) * columns_ + CellOf(p.x, minX_, columns_);
    cellOf[k] = static_cast<uint32_t>(cell);
    ++cellStart_[static_cast<std::size_t>(cell) + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  order_.resize(finite);
  std::vector<uint32_t> next(cellStart_.begin(), cellStart_.end() - 1);
  for (std::size_t k = 0; k < points_.size(); ++k) {
    if (cellOf[k] != UINT32_MAX) order_[next[cellOf[k]]++] = static_cast<uint32_t>(k);
  }
}

long PlanIndex::Nearest(double x, double y, double radius) const {
  if (columns_ == 0 || !std::isfinite(x) || !std::isfinite(y) || !(radius >= 0)) return -1;
  // Cells beyond the grid hold nothing: a place far outside looks at the border cells only.
  const long firstColumn = CellOf(x - radius, minX_, columns_);
  const long lastColumn = CellOf(x + radius, minX_, columns_);
  const long firstRow = CellOf(y - radius, minY_, rows_);
  const long lastRow = CellOf(y + radius, minY_, rows_);
  long best = -1;
  double bestSquare = radius * radius;
  for (long row = firstRow; row <= lastRow; ++row) {
    for (long column = firstColumn; column <= lastColumn; ++column) {
      const std::size_t cell = static_cast<std::size_t>(row * columns_ + column);
      for (uint32_t k = cellStart_[cell]; k < cellStart_[cell + 1]; ++k) {
        const common::Point2& p = points_[order_[k]];
        const double square = (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y);
        if (square < bestSquare || (square == bestSquare && (best < 0 || order_[k] < best))) {
          bestSquare = square;
          best = order_[k];
        }
      }
    }
  }
  return best;
}

void SurfaceLocator::Build(const SurfaceView& surface) {
  surface_ = &surface;
  std::vector<common::Point2> plan;
  plan.reserve(surface.points.size());
  for (const SurfacePoint& point : surface.points) plan.push_back({point.x, point.y});
  points_.Build(plan);
  const std::size_t count = surface.points.size();
  firstOfPoint_.assign(count + 1, 0);
  const auto valid = [count](int32_t index) { return index >= 0 && static_cast<std::size_t>(index) < count; };
  for (const auto& triangle : surface.triangles) {
    for (const int32_t corner : triangle) {
      if (valid(corner)) ++firstOfPoint_[static_cast<std::size_t>(corner) + 1];
    }
  }
  for (std::size_t p = 0; p < count; ++p) firstOfPoint_[p + 1] += firstOfPoint_[p];
  trianglesOf_.assign(firstOfPoint_[count], 0);
  std::vector<uint32_t> next(firstOfPoint_.begin(), firstOfPoint_.end() - 1);
  double longest = 0;
  for (std::size_t t = 0; t < surface.triangles.size(); ++t) {
    const auto& triangle = surface.triangles[t];
    for (int k = 0; k < 3; ++k) {
      const int32_t corner = triangle[k];
      if (!valid(corner)) continue;
      trianglesOf_[next[static_cast<std::size_t>(corner)]++] = static_cast<uint32_t>(t);
      const int32_t other = triangle[(k + 1) % 3];
      if (!valid(other)) continue;
      const SurfacePoint& a = surface.points[static_cast<std::size_t>(corner)];
      const SurfacePoint& b = surface.points[static_cast<std::size_t>(other)];
      const double side = std::hypot(a.x - b.x, a.y - b.y);
      if (std::isfinite(side)) longest = std::max(longest, side);
    }
  }
  // A place inside a triangle is never farther from its nearest corner than the longest side.
  reach_ = longest;
}

bool SurfaceLocator::InTriangle(std::size_t triangle, double x, double y, double& z) const {
  const auto& corners = surface_->triangles[triangle];
  const std::size_t count = surface_->points.size();
  for (const int32_t corner : corners) {
    if (corner < 0 || static_cast<std::size_t>(corner) >= count) return false;
  }
  const SurfacePoint& a = surface_->points[static_cast<std::size_t>(corners[0])];
  const SurfacePoint& b = surface_->points[static_cast<std::size_t>(corners[1])];
  const SurfacePoint& c = surface_->points[static_cast<std::size_t>(corners[2])];
  const double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
  if (!(std::fabs(area) > 0)) return false;
  const double u = ((b.x - x) * (c.y - y) - (c.x - x) * (b.y - y)) / area;
  const double v = ((c.x - x) * (a.y - y) - (a.x - x) * (c.y - y)) / area;
  const double w = 1.0 - u - v;
  constexpr double kEdge = -1e-9;
  if (u < kEdge || v < kEdge || w < kEdge) return false;
  z = u * a.z + v * b.z + w * c.z;
  return std::isfinite(z);
}

bool SurfaceLocator::ElevationAt(double x, double y, double& z) const {
  if (surface_ == nullptr || reach_ <= 0) return false;
  // Near first: a wide search only where the points are sparse.
  long nearest = -1;
  for (double share = 1.0 / 64; nearest < 0 && share <= 1.0; share *= 4) nearest = points_.Nearest(x, y, reach_ * share);
  if (nearest < 0) return false;
  // The triangles of the nearest point, then those of their corners.
  const auto trianglesOf = [this](std::size_t point) {
    return std::make_pair(trianglesOf_.begin() + firstOfPoint_[point], trianglesOf_.begin() + firstOfPoint_[point + 1]);
  };
  const auto [begin, end] = trianglesOf(static_cast<std::size_t>(nearest));
  for (auto t = begin; t != end; ++t) {
    if (InTriangle(*t, x, y, z)) return true;
  }
  for (auto t = begin; t != end; ++t) {
    for (const int32_t corner : surface_->triangles[*t]) {
      if (corner < 0 || static_cast<std::size_t>(corner) >= surface_->points.size()) continue;
      const auto [from, to] = trianglesOf(static_cast<std::size_t>(corner));
      for (auto other = from; other != to; ++other) {
        if (InTriangle(*other, x, y, z)) return true;
      }
    }
  }
  return false;
}

}  // namespace view
