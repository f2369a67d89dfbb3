// InRoads vertical listing: a "{ TYPE STATION ELEVATION SLOPE VC_LENGTH" header and one line
// per point: "LIN" on a grade, "PAR" or "CIR" at the start of a parabolic or circular curve.
// A curve is given by its start and end points with their grades; the vertex is where the
// two grade lines meet.
#include <cmath>
#include <vector>

#include "formats/native/rasante.h"
#include "common/conversion_rules.h"
#include "formats/inroads/inroads.h"
#include "common/geometry.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {
namespace {

struct InroadsPoint {
  double station = 0;
  double elevation = 0;
  double slope = 0;
  double curveLength = 0;
  double listedKv = 0;  // sixth column
};

bool IsColumnHeader(const std::vector<std::string_view>& fields) {
  static const char* const kColumns[] = {"TYPE", "STATION", "ELEVATION", "SLOPE", "VC_LENGTH"};
  if (fields.size() < 6) return false;
  for (std::size_t i = 0; i < 5; ++i) {
    if (!common::EqualsIgnoringCase(fields[i + 1], kColumns[i])) return false;
  }
  return true;
}

// Where the grade line through `a` meets the one through `b`; none when they are parallel.
bool GradeLinesMeet(const InroadsPoint& a, const InroadsPoint& b, VerticeRasante& vertex) {
  const common::Point2 a0{a.station, a.elevation};
  const common::Point2 a1{a.station + 1.0, a.elevation + a.slope};
  const common::Point2 b0{b.station, b.elevation};
  const common::Point2 b1{b.station + 1.0, b.elevation + b.slope};
  const std::optional<common::Point2> meet = common::IntersectLines(a0, a1, b0, b1);
  if (!meet || !std::isfinite(meet->x) || !std::isfinite(meet->y)) return false;
  vertex.station = meet->x;
  vertex.elevation = meet->y;
  return true;
}

}  // namespace

bool ParseInroadsProfile(std::string_view text, Rasante& rasante) {
  rasante.clear();
  std::vector<InroadsPoint> points;
  bool circular = false;
  bool kvListed = false;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (!piece.empty() && piece.front() == '*') continue;
    const std::size_t count = common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields);
    if (!piece.empty() && piece.front() == '{') {
      if (!IsColumnHeader(fields)) return false;
      continue;
    }
    if (count < 5) continue;
    InroadsPoint p;
    p.station = LeeEstacion(fields[1]);
    p.elevation = LeeNumeroComa(fields[2]);
    p.slope = LeeNumeroComa(fields[3]);
    p.curveLength = LeeNumeroComa(fields[4]);
    if (count > 5) {
      kvListed = true;
      p.listedKv = std::fabs(LeeNumeroComa(fields[5]));
    }
    if (common::EqualsIgnoringCase(fields[0], "CIR")) circular = true;
    points.push_back(p);
  }
  for (std::size_t i = 0; i < points.size();) {
    const InroadsPoint& p = points[i];
    if (p.curveLength == 0 || i + 1 == points.size()) {
      // A point on a grade; a curve start with no end point after it stays a plain vertex.
      VerticeRasante v;
      v.station = p.station;
      v.elevation = p.elevation;
      rasante.push_back(v);
      ++i;
      continue;
    }
    const InroadsPoint& end = points[i + 1];
    VerticeRasante v;
    if (!GradeLinesMeet(p, end, v)) {
      i += 2;  // parallel grades: no vertex, both points passed over
      continue;
    }
    v.tangent = p.curveLength / 2;
    v.kv = p.listedKv;
    rasante.push_back(v);
    // An end point that starts the next curve is also the start of the next pair.
    i += end.curveLength != 0 ? 1 : 2;
  }
  common::CurveCompletion how;
  how.circular = circular;
  how.kvGiven = kvListed;
  how.first = 1;
  how.end = rasante.empty() ? 0 : rasante.size() - 1;
  how.riseSign = SignoTolerante;
  common::CompleteCurves(rasante, how);
  return true;
}

void FormatInroadsRasante(const Rasante& rasante, common::TextWriter& writer) {
  for (const VerticeRasante& v : rasante) {
    writer.Printf("%0.3lf\t%0.3lf\t%0.3lf\t%0.3lf\t%0.3lf\n", FiniteOrZero(v.station), FiniteOrZero(v.elevation),
                  FiniteOrZero(v.kv), FiniteOrZero(v.tangent), FiniteOrZero(v.external));
  }
}

int ImportInroadsProfile(const std::string& entrada, const std::string& salida) {
  const auto parse = [&](std::string_view text) {
    Rasante rasante;
    if (!ParseInroadsProfile(text, rasante)) {
      common::RecordFailure("El fichero " + entrada + " no es una rasante de InRoads: la cabecera de columnas no es "
                            "la esperada");
      rasante.clear();
    }
    return rasante;
  };
  return common::ConvertFile(entrada, salida, kListadoRasantes, parse, FormatInroadsRasante);
}

}  // namespace calzada
