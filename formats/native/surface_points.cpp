#include "formats/native/surface_points.h"

#include <algorithm>

namespace planimetro::surface {
namespace {

struct PlanLess {
  bool operator()(const PuntoSup& a, const PuntoSup& b) const { return a.x < b.x || (a.x == b.x && a.y < b.y); }
};

}  // namespace

void ListaPuntosSup::Ordenar() {
  if (sorted_) return;
  std::stable_sort(points_.begin(), points_.end(), PlanLess());
  sorted_ = true;
}

long ListaPuntosSup::Buscar(double x, double y) {
  Ordenar();
  const PuntoSup wanted{x, y, 0};
  const auto found = std::lower_bound(points_.begin(), points_.end(), wanted, PlanLess());
  if (found == points_.end() || found->x != x || found->y != y) return -1;
  return static_cast<long>(found - points_.begin());
}

void ListaPuntosSup::Depurar(double tolerance) {
  Ordenar();
  if (points_.empty()) return;
  const double squared = tolerance * tolerance;
  std::size_t kept = 0;
  for (std::size_t i = 1; i < points_.size(); ++i) {
    const PuntoSup& last = points_[kept];
    const PuntoSup& point = points_[i];
    bool differs;
    if (tolerance > 0) {
      const double dx = point.x - last.x;
      const double dy = point.y - last.y;
      differs = dx * dx + dy * dy >= squared;
    } else {
      differs = point.x != last.x || point.y != last.y;
    }
    if (differs) points_[++kept] = point;
  }
  points_.resize(kept + 1);
}

}  // namespace planimetro::surface
