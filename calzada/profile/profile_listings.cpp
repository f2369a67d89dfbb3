// Vertex listings of MxRoad, Dragados MDW and WTrazado: station, elevation and kv per vertex;
// the tangent length and external ordinate are derived from the changes of grade.
#include <cmath>
#include <vector>

#include "calzada/frame/lector_lineas.h"
#include "calzada/profile/profile_converters.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/tokens.h"

namespace calzada {
namespace {

bool Contains(std::string_view line, std::string_view word) {
  return common::LowerAscii(line).find(common::LowerAscii(word)) != std::string::npos;
}

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

Rasante ParseDragadosProfile(std::string_view text) {
  Rasante rasante;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    if (common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields) < 5) continue;
    VerticeRasante v;
    v.station = common::LenientDouble(fields[1]);
    v.elevation = common::LenientDouble(fields[2]);
    v.kv = std::fabs(common::LenientDouble(fields[4]));
    rasante.push_back(v);
  }
  CompletaCurvasInteriores(rasante);
  return rasante;
}

int ImportDragadosProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseDragadosProfile, FormatNativeRasante);
}

Rasante ParseWtrazadoProfile(std::string_view text) {
  Rasante rasante;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  bool started = false;
  bool initialRead = false;
  while (reader.Next(piece)) {
    const std::size_t count = common::SplitTokens(piece, " \t\n", fields);
    VerticeRasante v;
    if (!initialRead && Contains(piece, "INIC")) {
      initialRead = started = true;
      if (count < 4) continue;
      v.station = LeeNumeroComa(fields[2]);
      v.elevation = LeeNumeroComa(fields[3]);
    } else if (Contains(piece, "FINAL")) {
      started = true;
      if (count < 3) continue;
      v.station = LeeNumeroComa(fields[1]);
      v.elevation = LeeNumeroComa(fields[2]);
    } else {
      if (!started || count < 5 || common::LenientInt(fields[0]) < 1) continue;
      v.station = LeeNumeroComa(fields[2]);
      v.elevation = LeeNumeroComa(fields[3]);
      v.kv = std::fabs(LeeNumeroComa(fields[4]));
    }
    rasante.push_back(v);
  }
  CompletaCurvasInteriores(rasante);
  if (!rasante.empty()) {
    for (VerticeRasante* end : {&rasante.front(), &rasante.back()}) end->kv = end->tangent = end->external = 0;
  }
  return rasante;
}

int ImportWtrazadoProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseWtrazadoProfile, FormatNativeRasante);
}

}  // namespace calzada
