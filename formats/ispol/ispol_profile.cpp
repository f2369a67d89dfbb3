// Ispol profiles: the vertex listing read into native vertices, and the report of the state of
// the grade lines written from the native file.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "formats/native/rasante.h"
#include "common/conversion_rules.h"
#include "formats/ispol/ispol.h"
#include "formats/native/native_profile.h"
#include "common/numbers.h"
#include "common/tokens.h"

namespace calzada {
namespace {

double WithoutBlanks(const std::string& field) {
  std::string digits;
  for (char c : field) {
    if (c != ' ') digits.push_back(c);
  }
  return common::LenientDouble(digits);
}

// Elevation on the grade lines at `station`, between the first pair of vertices that encloses
// it; false outside the stations of the vertices. `ordered`: stations never decrease, so the
// pair is found by bisection.
bool ElevationOnGrades(const Rasante& rasante, bool ordered, double station, double& elevation) {
  if (station < rasante.front().station || station > rasante.back().station) return false;
  std::size_t k = 0;
  if (ordered) {
    const auto atOrAfter = std::lower_bound(rasante.begin(), rasante.end(), station,
                                            [](const VerticeRasante& v, double s) { return v.station < s; });
    const std::size_t j = static_cast<std::size_t>(atOrAfter - rasante.begin());
    k = j == 0 ? 0 : j - 1;
  } else {
    while (k + 1 < rasante.size() && !(rasante[k].station <= station && station <= rasante[k + 1].station)) ++k;
    if (k + 1 >= rasante.size()) return false;
  }
  elevation = rasante[k].elevation + (station - rasante[k].station) * Pendiente(rasante[k], rasante[k + 1]);
  return true;
}

}  // namespace

Rasante ParseIspolProfile(std::string_view text) {
  Rasante rasante;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  // Leading "#" lines and the title after them come before any vertex.
  while (reader.Next(piece)) {
    if (piece.empty() || piece.front() != '#') break;
  }
  bool started = false;
  while (reader.Next(piece)) {
    if (!rasante.empty() && piece.size() <= 4) break;
    const std::string_view line = common::WithoutLineFeed(piece);
    const std::size_t count = common::SplitTokens(line, " \t", fields);
    VerticeRasante v;
    if (count == 2) {
      started = true;
      v.station = common::LenientDouble(fields[0]);
      v.elevation = common::LenientDouble(fields[1]);
    } else if (!started) {
      continue;
    } else if (count == 3) {
      v.station = common::LenientDouble(fields[1]);
      v.elevation = common::LenientDouble(fields[2]);
    } else {
      v.kv = common::LenientDouble(common::ColumnField(line, 33, 12));
      v.station = WithoutBlanks(common::ColumnField(line, 46, 12));
      v.elevation = WithoutBlanks(common::ColumnField(line, 59, 12));
      if (v.station == 0 && v.elevation == 0 && v.kv == 0) continue;
    }
    rasante.push_back(v);
  }
  return rasante;
}

int ImportIspolProfile(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoRasantes, ParseIspolProfile, FormatNativeRasante);
}

void FormatIspolReport(const Rasante& rasante, const std::string& project, common::TextWriter& writer) {
  const std::string rule = std::string(39, ' ') + std::string(49, '=') + "\n";
  writer.Write("  ispol-V.7.29" + std::string(102, ' ') + "pagina   1\n");
  writer.Write("  PROYECTO :   " + project + "\n");
  writer.Write("  EJE :\n\n\n");
  writer.Write(rule);
  writer.Write(std::string(39, ' ') + "* * *  E S T A D O   D E   R A S A N T E S  * * *\n");
  writer.Write(rule);
  writer.Write("\n");
  writer.Write("       PENDIENTE    LONGITUD     PARAMETRO       V E R T I C E          ENTRADA AL ACUERDO"
               "        SALIDA DEL ACUERDO      \n");
  writer.Write("         ( % )        ( m )        ( kv )        p.k.         cota         p.k.         cota"
               "         p.k.         cota    \n");
  std::string dashes(6, ' ');
  for (int group = 0; group < 9; ++group) dashes += std::string(12, '-') + (group < 8 ? " " : "");
  writer.Write(dashes + "\n\n");
  if (rasante.empty()) return;
  const auto byStation = [](const VerticeRasante& a, const VerticeRasante& b) { return a.station < b.station; };
  const bool ordered = std::is_sorted(rasante.begin(), rasante.end(), byStation);
  writer.Printf("%83.3lf%13.3lf\n", rasante.front().station, rasante.front().elevation);
  for (std::size_t i = 1; i + 1 < rasante.size(); ++i) {
    const VerticeRasante& v = rasante[i];
    const double entry = v.station - v.tangent;
    const double exit = v.station + v.tangent;
    double entryElevation = 0;
    double exitElevation = 0;
    // A curve that reaches past either end of the profile is left out.
    if (!ElevationOnGrades(rasante, ordered, entry, entryElevation) ||
        !ElevationOnGrades(rasante, ordered, exit, exitElevation)) {
      continue;
    }
    writer.Printf("%18.6lf%13.3lf%13.3lf%13.3lf%13.3lf%13.3lf%13.3lf%13.3lf%13.3lf\n",
                  FiniteOrZero(Pendiente(rasante[i - 1], v) * 100), FiniteOrZero(2 * v.tangent), v.kv, v.station,
                  v.elevation, FiniteOrZero(entry), FiniteOrZero(entryElevation), FiniteOrZero(exit),
                  FiniteOrZero(exitElevation));
  }
  if (rasante.size() > 1) {
    const VerticeRasante& last = rasante.back();
    writer.Printf("%18.6lf%65.3lf%13.3lf\n", FiniteOrZero(Pendiente(rasante[rasante.size() - 2], last) * 100),
                  last.station, last.elevation);
  }
}

int ExportIspolProfile(const std::string& entrada, const std::string& salida) {
  // The target's path is the project named in the report.
  const auto format = [&](const Rasante& rasante, common::TextWriter& writer) {
    FormatIspolReport(rasante, salida, writer);
  };
  return common::ConvertFile(entrada, salida, kFicheroRasantes, ParseNativeRasante, format);
}

}  // namespace calzada
