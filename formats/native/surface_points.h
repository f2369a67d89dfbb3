// The point list of a surface: points in one contiguous table, sorted by x then y on demand,
// looked up by exact plan coordinates and cleaned of near-duplicates.
#pragma once

#include <cstddef>
#include <vector>

namespace planimetro::surface {

struct PuntoSup {
  double x = 0;
  double y = 0;
  double z = 0;
};

class ListaPuntosSup {
 public:
  ListaPuntosSup() { points_.reserve(1000); }

  void Anadir(const PuntoSup& point) {
    points_.push_back(point);
    sorted_ = false;
  }
  void Vaciar() {
    points_.clear();
    sorted_ = true;
  }

  std::size_t Size() const { return points_.size(); }
  bool Empty() const { return points_.empty(); }
  const PuntoSup& operator[](std::size_t index) const { return points_[index]; }
  // Open to changes, so the list no longer counts as sorted.
  std::vector<PuntoSup>& Points() {
    sorted_ = false;
    return points_;
  }
  const std::vector<PuntoSup>& Points() const { return points_; }

  // Sorts by x, then y (z not compared, exact comparisons). Points of equal x and y keep their
  // order, so the first of them in the list stays the first.
  void Ordenar();

  // Index of the point with exactly these x and y in the sorted list (sorted first when it is
  // not); -1 when there is none.
  long Buscar(double x, double y);

  // Sorts, then keeps a point only when it differs from the last one kept: by a plan distance
  // of at least `tolerance`, or, with a tolerance of 0, by not being exactly equal in plan.
  // The first point of a run of near-equal points survives with its own z.
  void Depurar(double tolerance);

 private:
  std::vector<PuntoSup> points_;
  bool sorted_ = true;
};

}  // namespace planimetro::surface
