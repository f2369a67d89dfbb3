#include "frontend/view/checks.h"

#include "frontend/detect/spanish_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace view {
namespace {

constexpr double kStationTolerance = 0.001;     // equal stations
constexpr double kOffsetTolerance = 0.0001;     // equal offsets
constexpr double kCurveOverlapTolerance = 0.001;
constexpr double kSurfacePointTolerance = 0.001;  // points closer in plan are the same point
constexpr double kDegenerateArea = 1e-6;          // m², in plan
// Findings of one kind past this many are summed up in one line, so a broken file of a million
// records does not give a million lines.
constexpr std::size_t kFindingsPerKind = 50;

// The numbers of a finding are written for the person reading it (decimal comma).
std::string Format(const char* format, double a, double b = 0, double c = 0) {
  return detect::SpanishFormat(format, {a, b, c});
}

std::string AtStation(double station) { return "P.K. " + StationLabel(station, 3); }

// Collects findings, at most kFindingsPerKind of each kind of fault.
class Findings {
 public:
  void Add(int kind, Level level, std::string where, std::string text) {
    if (kind >= static_cast<int>(counts_.size())) counts_.resize(kind + 1, 0);
    if (counts_[kind]++ < kFindingsPerKind) {
      list_.push_back({level, std::move(where), std::move(text)});
    } else if (counts_[kind] == kFindingsPerKind + 1) {
      overflow_.push_back({kind, level});
    }
  }
  std::vector<Finding> Take() {
    for (const auto& [kind, level] : overflow_) {
      list_.push_back({level, "", "y " + detect::SpanishCount(static_cast<long long>(counts_[kind] - kFindingsPerKind)) + " más del mismo tipo"});
    }
    return std::move(list_);
  }

 private:
  std::vector<Finding> list_;
  std::vector<std::size_t> counts_;
  std::vector<std::pair<int, Level>> overflow_;
};

// Difference of two directions in grads, in (-200, 200].
double DirectionDifference(double a, double b) {
  double d = std::fmod(a - b, 400.0);
  if (d > 200) d -= 400;
  if (d <= -200) d += 400;
  return d;
}

}  // namespace

const char* LevelName(Level level) { return level == Level::kError ? "error" : "aviso"; }

std::vector<Finding> CheckAlignment(const AlignmentView& view) {
  enum { kEmpty, kDecreasing, kZeroLength, kPosition, kDirection, kParameter, kNoRadius };
  Findings findings;
  const auto& e = view.elements;
  if (e.size() < 2) {
    findings.Add(kEmpty, Level::kError, "", "El eje no tiene ningún elemento (hacen falta al menos dos líneas)");
    return findings.Take();
  }
  for (std::size_t i = 0; i + 1 < e.size(); ++i) {
    const double length = e[i + 1].station - e[i].station;
    const std::string where = AtStation(e[i].station);
    if (length < -kStationTolerance) {
      findings.Add(kDecreasing, Level::kError, AtStation(e[i + 1].station),
                   Format("Los P.K. no crecen: el elemento siguiente empieza %.3f m antes", -length));
      continue;
    }
    if (length <= kStationTolerance) {
      if (i + 2 < e.size()) findings.Add(kZeroLength, Level::kWarning, where, "Elemento de longitud 0");
      continue;
    }
    if (e[i].kind == common::kClothoid) {
      const double radius = ClothoidEndRadius(e, i);
      if (radius == 0.0) {
        findings.Add(kNoRadius, Level::kError, where, "Clotoide sin radio: ni ella ni el elemento anterior lo tienen");
      } else {
        const double a2 = e[i].parameter * e[i].parameter;
        const double lr = length * std::fabs(radius);
        if (std::fabs(a2 - lr) > kParameterTolerance * a2) {
          findings.Add(kParameter, Level::kError, where,
                       Format("El parámetro de la clotoide no cumple A² = L·R: A = %.3f, pero L·R da A = %.3f (R %.3f)",
                              std::fabs(e[i].parameter), std::sqrt(lr), radius));
        }
      }
    }
    // Where the element ends, against where the next one says it starts.
    const StationPoint end = PointOnElement(e, i, length);
    const double gap = std::hypot(end.point.x - e[i + 1].x, end.point.y - e[i + 1].y);
    const std::string next = AtStation(e[i + 1].station);
    if (!(gap <= kPositionGap)) {
      findings.Add(kPosition, Level::kError, next,
                   Format("Salto de posición de %.4f m entre el final de un elemento y el inicio del siguiente", gap));
    }
    const double turn = DirectionDifference(e[i + 1].azimuth, end.azimuth);
    if (!(std::fabs(turn) <= kDirectionGap)) {
      findings.Add(kDirection, Level::kError, next,
                   Format("Salto de dirección de %.6f g entre el final de un elemento y el inicio del siguiente", turn));
    }
  }
  return findings.Take();
}

std::vector<Finding> CheckProfile(const ProfileView& view) {
  enum { kEmpty, kDecreasing, kOverlap, kKvSign };
  Findings findings;
  const common::Profile& p = view.vertices;
  if (p.size() < 2) {
    findings.Add(kEmpty, Level::kError, "", "La rasante no tiene al menos dos vértices");
    return findings.Take();
  }
  // A file that gives some kv a sign marks crests with negative kv; in one whose kv are all
  // positive the sign tells nothing.
  const bool signedKv = std::any_of(p.begin(), p.end(), [](const common::ProfileVertex& v) { return v.kv < 0; });
  for (std::size_t i = 0; i + 1 < p.size(); ++i) {
    const double distance = p[i + 1].station - p[i].station;
    if (distance <= 0) {
      findings.Add(kDecreasing, Level::kError, AtStation(p[i + 1].station),
                   Format("Los P.K. de los vértices no crecen (%.3f m desde el anterior)", distance));
      continue;
    }
    const double tangents = std::max(0.0, p[i].tangent) + std::max(0.0, p[i + 1].tangent);
    if (tangents > distance + kCurveOverlapTolerance) {
      findings.Add(kOverlap, Level::kError, AtStation(p[i + 1].station),
                   Format("Los acuerdos se solapan: las tangentes suman %.3f m y los vértices distan %.3f m", tangents,
                          distance));
    }
  }
  if (signedKv) {
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
      if (p[i].kv == 0) continue;
      const double change = common::GradeChange(p, i);
      if (change != 0 && (p[i].kv < 0) != (change < 0)) {
        findings.Add(kKvSign, Level::kError, AtStation(p[i].station),
                     Format(change < 0 ? "Kv %.3f positivo en un acuerdo convexo (cambio de pendiente %.5f)"
                                       : "Kv %.3f negativo en un acuerdo cóncavo (cambio de pendiente %.5f)",
                            p[i].kv, change));
      }
    }
  }
  return findings.Take();
}

std::vector<Finding> CheckCrossSections(const CrossSectionsView& view) {
  enum { kEmpty, kOrder, kRepeated, kFewPoints, kNoAxis, kStationOrder };
  Findings findings;
  if (view.sections.empty()) {
    findings.Add(kEmpty, Level::kError, "", "El fichero no tiene ningún perfil transversal");
    return findings.Take();
  }
  // Stations seen, to find a section that appears twice in the file.
  std::vector<std::pair<double, std::size_t>> stations;
  for (std::size_t s = 0; s < view.sections.size(); ++s) {
    const CrossSection& section = view.sections[s];
    const std::string where = AtStation(section.station);
    stations.push_back({section.station, s});
    if (s > 0 && section.station < view.sections[s - 1].station) {
      findings.Add(kStationOrder, Level::kWarning, where, "Perfil de P.K. menor que el anterior");
    }
    if (section.points.size() < 2) {
      findings.Add(kFewPoints, Level::kError, where, "Perfil sin puntos suficientes: tiene un solo punto");
    }
    bool axis = false;
    for (std::size_t k = 0; k < section.points.size(); ++k) {
      if (std::fabs(section.points[k].offset) < kOffsetTolerance) axis = true;
      if (k > 0 && section.points[k].offset < section.points[k - 1].offset - kOffsetTolerance) {
        findings.Add(kOrder, Level::kError, where,
                     Format("Distancias al eje desordenadas: %.3f después de %.3f", section.points[k].offset,
                            section.points[k - 1].offset));
      }
    }
    if (!axis) findings.Add(kNoAxis, Level::kWarning, where, "Perfil sin punto en el eje (distancia 0)");
  }
  std::sort(stations.begin(), stations.end());
  for (std::size_t k = 1; k < stations.size(); ++k) {
    if (stations[k].first - stations[k - 1].first < kStationTolerance) {
      findings.Add(kRepeated, Level::kError, AtStation(stations[k].first), "P.K. repetido: el perfil aparece dos veces");
    }
  }
  return findings.Take();
}

std::vector<Finding> CheckPoints(const PointsView& view) {
  enum { kEmpty, kRepeated };
  Findings findings;
  if (view.points.empty()) {
    findings.Add(kEmpty, Level::kError, "", "El fichero no tiene ningún punto");
    return findings.Take();
  }
  std::vector<int32_t> numbers;
  numbers.reserve(view.points.size());
  for (const common::NativePoint& point : view.points) numbers.push_back(point.number);
  std::sort(numbers.begin(), numbers.end());
  for (std::size_t k = 1; k < numbers.size(); ++k) {
    if (numbers[k] == numbers[k - 1] && (k == 1 || numbers[k - 2] != numbers[k])) {
      const auto run = std::upper_bound(numbers.begin(), numbers.end(), numbers[k]) -
                       std::lower_bound(numbers.begin(), numbers.end(), numbers[k]);
      findings.Add(kRepeated, Level::kWarning, "punto " + std::to_string(numbers[k]),
                   "Número de punto repetido (" + detect::SpanishCount(static_cast<long long>(run)) + " veces)");
    }
  }
  return findings.Take();
}

std::vector<Finding> CheckSuperelevation(const SuperelevationView& view) {
  enum { kEmpty, kDecreasing };
  Findings findings;
  if (view.rows.empty()) findings.Add(kEmpty, Level::kError, "", "El fichero no tiene ningún peralte");
  for (std::size_t k = 1; k < view.rows.size(); ++k) {
    if (view.rows[k].station < view.rows[k - 1].station) {
      findings.Add(kDecreasing, Level::kWarning, AtStation(view.rows[k].station), "P.K. menor que el de la fila anterior");
    }
  }
  return findings.Take();
}

std::vector<Finding> CheckSurface(const SurfaceView& view) {
  enum { kEmpty, kBadIndex, kDegenerate, kVertical, kRepeatedPoint, kSharedEdge, kUnused, kBrokenSide };
  Findings findings;
  const auto& points = view.points;
  const long count = static_cast<long>(points.size());
  if (view.triangles.empty()) findings.Add(kEmpty, Level::kError, "", "La superficie no tiene ningún triángulo");
  std::vector<char> used(points.size(), 0);
  std::vector<std::pair<int32_t, int32_t>> edges;
  edges.reserve(view.triangles.size() * 3);
  for (std::size_t t = 0; t < view.triangles.size(); ++t) {
    const auto& triangle = view.triangles[t];
    const std::string where = "triángulo " + std::to_string(t + 1);
    if (std::any_of(triangle.begin(), triangle.end(), [count](int32_t i) { return i < 0 || i >= count; })) {
      findings.Add(kBadIndex, Level::kError, where, "Triángulo con un vértice que no es un punto de la superficie");
      continue;
    }
    for (int32_t i : triangle) used[i] = 1;
    const SurfacePoint& a = points[triangle[0]];
    const SurfacePoint& b = points[triangle[1]];
    const SurfacePoint& c = points[triangle[2]];
    // Area in space (half the cross product) and in plan.
    const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const double planArea = 0.5 * std::fabs(ux * vy - vx * uy);
    const double area = 0.5 * std::sqrt(std::pow(uy * vz - uz * vy, 2) + std::pow(uz * vx - ux * vz, 2) +
                                        std::pow(ux * vy - uy * vx, 2));
    if (triangle[0] == triangle[1] || triangle[1] == triangle[2] || triangle[0] == triangle[2] ||
        !(area > kDegenerateArea)) {
      findings.Add(kDegenerate, Level::kError, where, Format("Triángulo degenerado (área %.6f m²)", area));
      continue;
    }
    if (!(planArea > kDegenerateArea)) {
      findings.Add(kVertical, Level::kWarning, where, "Triángulo vertical: no tiene área en planta");
    }
    for (int k = 0; k < 3; ++k) {
      const int32_t p = triangle[k];
      const int32_t q = triangle[(k + 1) % 3];
      edges.push_back({std::min(p, q), std::max(p, q)});
    }
  }
  std::sort(edges.begin(), edges.end());
  for (std::size_t k = 0; k < edges.size();) {
    std::size_t end = k + 1;
    while (end < edges.size() && edges[end] == edges[k]) ++end;
    if (end - k > 2) {
      findings.Add(kSharedEdge, Level::kError, "puntos " + std::to_string(edges[k].first + 1) + " y " +
                                                   std::to_string(edges[k].second + 1),
                   "Arista compartida por " + detect::SpanishCount(static_cast<long long>(end - k)) + " triángulos");
    }
    k = end;
  }
  // Points closer in plan than the tolerance: each point against those after it in its column
  // of tolerance width and in the next column, by y, so a grid of a million points stays fast.
  struct Placed {
    double column;
    double y;
    int32_t index;
    bool operator<(const Placed& other) const {
      return column < other.column || (column == other.column && y < other.y);
    }
  };
  std::vector<Placed> placed;
  placed.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (std::isfinite(points[i].x) && std::isfinite(points[i].y)) {
      placed.push_back({std::floor(points[i].x / kSurfacePointTolerance), points[i].y, static_cast<int32_t>(i)});
    }
  }
  std::sort(placed.begin(), placed.end());
  auto close = [&](std::size_t k, std::size_t m) {
    const SurfacePoint& p = points[placed[k].index];
    const SurfacePoint& q = points[placed[m].index];
    if (std::hypot(p.x - q.x, p.y - q.y) < kSurfacePointTolerance) {
      const int32_t first = std::min(placed[k].index, placed[m].index);
      const int32_t second = std::max(placed[k].index, placed[m].index);
      findings.Add(kRepeatedPoint, Level::kWarning, "punto " + std::to_string(second + 1),
                   "Punto repetido: coincide en planta con el punto " + std::to_string(first + 1));
    }
  };
  for (std::size_t k = 0; k < placed.size(); ++k) {
    for (std::size_t m = k + 1; m < placed.size() && placed[m].column == placed[k].column &&
                                placed[m].y - placed[k].y < kSurfacePointTolerance;
         ++m) {
      close(k, m);
    }
    const Placed from{placed[k].column + 1, placed[k].y - kSurfacePointTolerance, 0};
    for (std::size_t m = std::lower_bound(placed.begin(), placed.end(), from) - placed.begin();
         m < placed.size() && placed[m].column == from.column && placed[m].y - placed[k].y < kSurfacePointTolerance;
         ++m) {
      close(k, m);
    }
  }
  std::size_t unused = 0;
  for (char flag : used) unused += flag ? 0 : 1;
  if (unused > 0 && !view.triangles.empty()) {
    for (std::size_t i = 0; i < used.size(); ++i) {
      if (!used[i]) findings.Add(kUnused, Level::kWarning, "punto " + std::to_string(i + 1), "Punto sin triángulos");
    }
  }
  if (view.collapsedFaces > 0) {
    findings.Add(kBrokenSide, Level::kError, "",
                 detect::SpanishCount(static_cast<long long>(view.collapsedFaces)) +
                     " caras del dibujo no tienen tres vértices distintos o no tienen área");
  }
  if (view.fourCornerFaces > 0) {
    findings.Add(kBrokenSide, Level::kError, "",
                 detect::SpanishCount(static_cast<long long>(view.fourCornerFaces)) +
                     " caras del dibujo tienen cuatro vértices con lados que se cruzan: la superficie no las toma");
  }
  if (view.facesWithoutPoints > 0) {
    findings.Add(kBrokenSide, Level::kError, "",
                 detect::SpanishCount(static_cast<long long>(view.facesWithoutPoints)) + " caras del fichero nombran puntos que no existen");
  }
  if (view.brokenSides > 0) {
    findings.Add(kBrokenSide, Level::kError, "",
                 detect::SpanishCount(static_cast<long long>(view.brokenSides)) + " lados de arista no cierran un triángulo en el fichero");
  }
  return findings.Take();
}

std::vector<Finding> CheckModel(const ViewModel& model) {
  switch (model.kind) {
    case DataKind::kAlignment: return CheckAlignment(model.alignment);
    case DataKind::kProfile: return CheckProfile(model.profile);
    case DataKind::kCrossSections: return CheckCrossSections(model.sections);
    case DataKind::kPoints: return CheckPoints(model.points);
    case DataKind::kSuperelevation: return CheckSuperelevation(model.superelevation);
    case DataKind::kSurface: return CheckSurface(model.surface);
    case DataKind::kNone: break;
  }
  return {};
}

bool HasError(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.level == Level::kError; });
}

std::string FormatFinding(const Finding& finding) {
  std::string line = LevelName(finding.level);
  line += "  ";
  if (!finding.where.empty()) line += finding.where + "  ";
  return line + finding.text;
}

}  // namespace view
