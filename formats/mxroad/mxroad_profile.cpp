// MxRoad vertical listing: station, elevation and kv per numbered vertex; the tangent length
// and external ordinate are derived from the changes of grade.
#include "formats/mxroad/mxroad.h"

#include <cmath>
#include <vector>

#include "common/lector_lineas.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/tokens.h"

namespace calzada {
namespace {

// An inner vertex whose curve runs back past the vertex before it, or on past the vertex after
// it, or that stands out of station order, cannot keep its curve.
bool CurveFits(const Rasante& rasante, std::size_t i) {
  if (i == 0 || i + 1 >= rasante.size()) return true;
  const VerticeRasante& before = rasante[i - 1];
  const VerticeRasante& v = rasante[i];
  const VerticeRasante& after = rasante[i + 1];
  if (v.station < before.station || v.station > after.station) return false;
  if (before.station + before.tangent > v.station - v.tangent) return false;
  if (v.station + v.tangent > after.station - after.tangent) return false;
  return true;
}

}  // namespace

Rasante ParseMxroadProfile(std::string_view text) {
  LectorLineas lector;
  lector.OpenText(std::string(text), " ");
  Rasante rasante;
  std::vector<double> curveValues;
  int expected = 1;
  while (lector.NextLine()) {
    if (lector.TokenCount() != 10) continue;
    int number = 0;
    lector.GetInt(number);
    if (number != expected) continue;
    VerticeRasante v;
    double unused = 0;
    double curve = 0;
    lector.GetDouble(unused);
    lector.GetDouble(unused);
    lector.GetDouble(v.elevation);
    lector.GetDouble(v.station);
    lector.GetDouble(unused);
    lector.GetDouble(curve);
    rasante.push_back(v);
    curveValues.push_back(std::fabs(curve));
    ++expected;
  }
  lector.Close();
  // Curves in order: when vertex i is checked, the curve before it is final and the one after
  // it not yet placed.
  for (std::size_t i = 1; i < rasante.size(); ++i) {
    VerticeRasante& v = rasante[i];
    const VerticeRasante asRead = v;
    v.kv = curveValues[i];
    common::CurveFromKv(v, CambioPendiente(rasante, i));
    if (!CurveFits(rasante, i)) v = asRead;
  }
  return rasante;
}

int ImportMxroadProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseMxroadProfile, FormatNativeRasante);
}

}  // namespace calzada
