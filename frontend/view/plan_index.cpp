#include "frontend/view/plan_index.h"

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

}  // namespace view
