// InRoads element listing: one line per element start, "LIN", "CIR" or "SPI", with station,
// radius, x, y, azimuth and a length (of the clothoid on "SPI" lines). The listing does not
// say whether its azimuths are radians or grads: the geometry of its arcs tells.
#include <cmath>
#include <vector>

#include "formats/inroads/inroads.h"
#include "common/conversion_rules.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/tokens.h"

namespace calzada {
namespace {

// The factor the InRoads conversions have always used for 200 / pi.
constexpr double kGradsPerRadian = 63.66197722844561;
constexpr double kFullCircleRadians = 6.283185308;

struct InroadsRecord {
  TramoEje element;
  double listedLength = 0;  // seventh field, kept beside the record
};

int KindOf(std::string_view keyword) {
  if (common::EqualsIgnoringCase(keyword, "CIR")) return common::kArc;
  if (common::EqualsIgnoringCase(keyword, "SPI")) return common::kClothoid;
  return common::kStraight;
}

// Radians unless an azimuth is a full circle or more, or an arc's next azimuth is closer to
// what the arc predicts in grads than to what it predicts in radians.
bool AzimuthsInRadians(const std::vector<InroadsRecord>& records) {
  for (const InroadsRecord& r : records) {
    if (r.element.azimuth >= kFullCircleRadians) return false;
  }
  for (std::size_t i = 0; i + 1 < records.size(); ++i) {
    const TramoEje& arc = records[i].element;
    if (arc.kind != common::kArc || arc.radius == 0) continue;
    const double turn = (records[i + 1].element.station - arc.station) / arc.radius;
    double inRadians = arc.azimuth + turn;
    if (inRadians > kFullCircleRadians) inRadians -= kFullCircleRadians;
    else if (inRadians < 0) inRadians += kFullCircleRadians;
    const double inGrads = common::NormalizeGrads(arc.azimuth + turn * kGradsPerRadian);
    const double next = records[i + 1].element.azimuth;
    if (!(std::fabs(next - inRadians) <= std::fabs(next - inGrads))) return false;
  }
  return true;
}

double RootOfAbs(double value) {
  const double root = std::sqrt(std::fabs(value));
  return std::isfinite(root) ? root : 0.0;
}

// A clothoid between two arcs: its parameter from both radii, or from the one it joins.
void ClothoidBetweenArcs(TramoEje& c, const TramoEje& p, const TramoEje& n) {
  const double length = n.station - c.station;
  const double rp = p.radius;
  const double rn = n.radius;
  if (rp * rn >= 0) {
    if (std::fabs(rp) > 0.001 && std::fabs(rn) > 0.001) {
      c.parameter = RootOfAbs(length * rn * rp / (rp - rn));
    } else if (std::fabs(rp) >= 0.001) {
      c.parameter = RootOfAbs(length * rp);
    } else {
      c.parameter = RootOfAbs(length * rn);
    }
  } else {
    // Opposite turns: the clothoid belongs to the arc whose half-turn over its length fits
    // the change of azimuth better.
    const double turnToNext = std::fabs(n.azimuth - c.azimuth);
    const double halfTurnOfP = length / (2 * rp) * kGradsPerRadian;
    const double halfTurnOfN = length / (2 * rn) * kGradsPerRadian;
    if (std::fabs(turnToNext - std::fabs(halfTurnOfP)) >= std::fabs(turnToNext - std::fabs(halfTurnOfN))) {
      c.parameter = RootOfAbs(length * rn);
      c.radius = rn;
    } else {
      c.parameter = RootOfAbs(length * rp);
      c.radius = 0;
    }
  }
  c.length = length;
}

}  // namespace

Eje ParseInroadsAlignment(std::string_view text) {
  std::vector<InroadsRecord> records;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (piece.size() < 20 || piece.front() == '*' || piece.front() == '{') continue;
    if (common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields) < 7) continue;
    const char first = fields[1].front();
    if (first == 'P' || first == 'p' || first == 'T') continue;
    InroadsRecord r;
    r.element.kind = KindOf(fields[0]);
    r.element.station = LeeEstacion(fields[1]);
    r.element.radius = LeeNumeroComa(fields[2]);
    r.element.x = LeeNumeroComa(fields[3]);
    r.element.y = LeeNumeroComa(fields[4]);
    r.element.azimuth = LeeNumeroComa(fields[5]);
    r.listedLength = common::LenientDouble(fields[6]);
    records.push_back(r);
  }
  // A clothoid leads into the element after it and takes its radius.
  for (std::size_t i = 0; i + 1 < records.size(); ++i) {
    if (records[i].element.kind == common::kClothoid) records[i].element.radius = records[i + 1].element.radius;
  }
  if (AzimuthsInRadians(records)) {
    for (InroadsRecord& r : records) r.element.azimuth *= kGradsPerRadian;
  }
  Eje elements;
  elements.reserve(records.size());
  for (const InroadsRecord& r : records) elements.push_back(r.element);
  const long count = static_cast<long>(elements.size());
  for (long i = 0; i < count; ++i) {
    TramoEje& c = elements[static_cast<std::size_t>(i)];
    const TramoEje& p = RecordOrZeros(elements, i - 1);
    const TramoEje& n = RecordOrZeros(elements, i + 1);
    const bool hasPredecessor = i > 0;
    const bool hasSuccessor = i + 1 < count;
    if (hasPredecessor && hasSuccessor && p.kind == common::kArc && n.kind == common::kArc &&
        c.kind == common::kClothoid) {
      ClothoidBetweenArcs(c, p, n);
      continue;
    }
    if (hasSuccessor) c.length = n.station - c.station;
    // Only a clothoid has a parameter: one on an arc would turn it into a clothoid in the
    // native file.
    if (c.kind != common::kClothoid) {
      c.parameter = 0;
      continue;
    }
    const double kept = records[static_cast<std::size_t>(i)].listedLength;
    c.parameter = RootOfAbs(c.radius * kept);
    if (c.parameter == 0 && hasPredecessor) c.parameter = RootOfAbs(p.radius * kept);
  }
  return elements;
}

int ImportInroadsAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseInroadsAlignment, FormatEjeNativo);
}

}  // namespace calzada
