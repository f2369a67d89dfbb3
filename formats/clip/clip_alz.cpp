// Clip ALZ profiles: a "*ALZ" line, a title, then one vertex per line with its station, an
// elevation (letter C) or a grade in percent, and the curve as kv, its length (T) or its
// external ordinate (F).
#include <climits>
#include <cmath>
#include <vector>

#include "formats/native/rasante.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/native/native_profile.h"
#include "common/numbers.h"
#include "common/tokens.h"

namespace calzada {
namespace {

char LastUpper(std::string_view token) {
  const char c = token.empty() ? '\0' : token.back();
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The curve of an inner vertex from whichever of kv, T and F the file gave.
void CompleteClipCurve(VerticeRasante& v, double change) {
  if (v.kv != 0) {
    common::CurveFromKv(v, change);
    return;
  }
  if (v.tangent == 0 && v.external == 0) return;
  // Without a change of grade kv and the derived length are stored as 0, never as infinite.
  const bool fromExternal = v.tangent == 0;
  if (fromExternal) v.tangent = FiniteOrZero(std::fabs(4 * v.external / change));
  v.kv = FiniteOrZero(std::fabs(2 * v.tangent / change));
  if (!fromExternal) v.external = std::fabs(change * v.tangent * 0.25);
}

int ImportClip(const std::string& entrada, const std::string& salida, bool tangentIsHalf) {
  const auto parse = [&](std::string_view text) {
    Rasante rasante;
    if (!ParseClipAlz(text, tangentIsHalf, rasante)) {
      common::RecordFailure("El fichero " + entrada + " no es una rasante Clip: no empieza por *ALZ");
    }
    return rasante;
  };
  return common::ConvertFile(entrada, salida, kListadoRasantes, parse, FormatNativeRasante);
}

}  // namespace

bool ParseClipAlz(std::string_view text, bool tangentIsHalf, Rasante& rasante) {
  rasante.clear();
  common::LineReader reader(text);
  std::string_view piece;
  if (!reader.Next(piece) || piece.substr(0, 4) != "*ALZ") return false;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    const std::string_view line = common::WithoutLineFeed(piece);
    if (line.empty()) continue;
    const std::size_t count = common::SplitTokens(line, " \t,", fields);
    if (count == 0) continue;
    VerticeRasante v;
    v.station = common::LenientDouble(fields[0]);
    // Title lines before the first vertex read as station 0 without being a number.
    if (rasante.empty() && v.station == 0 && fields[0].front() != '0' && fields[0].front() != '.') continue;
    if (count < 3) continue;
    const double second = common::LenientDouble(fields[1]);
    if (LastUpper(fields[1]) == 'C') {
      v.elevation = second;
    } else {
      v.grade = second * 0.01;
    }
    const double third = std::fabs(common::LenientDouble(fields[2]));
    switch (LastUpper(fields[2])) {
      case 'T':
        v.tangent = tangentIsHalf ? third : third / 2;
        break;
      case 'F':
        v.external = third;
        break;
      default:
        v.kv = third;
    }
    rasante.push_back(v);
  }
  for (std::size_t i = 1; i < rasante.size(); ++i) {
    VerticeRasante& v = rasante[i];
    if (v.elevation == 0 && v.grade != 0) {
      v.elevation = rasante[i - 1].elevation + (v.station - rasante[i - 1].station) * v.grade;
    }
  }
  for (std::size_t i = 1; i + 1 < rasante.size(); ++i) CompleteClipCurve(rasante[i], CambioPendiente(rasante, i));
  return true;
}

int ImportClipAlz(const std::string& entrada, const std::string& salida) { return ImportClip(entrada, salida, false); }

int ImportClipAlzTanSimple(const std::string& entrada, const std::string& salida) {
  return ImportClip(entrada, salida, true);
}

int ExportClipAlz(const std::string& entrada, const std::string& salida) {
  // The target's path is the title of the file.
  const auto format = [&](const Rasante& rasante, common::TextWriter& writer) { FormatClipAlz(rasante, salida, writer); };
  return common::ConvertFile(entrada, salida, kFicheroRasantes, ParseNativeRasante, format);
}

void FormatClipAlz(const Rasante& rasante, const std::string& title, common::TextWriter& writer) {
  if (rasante.empty()) return;
  writer.Write("*ALZ1\n");
  writer.Write(title);
  writer.Write("\n");
  const VerticeRasante& first = rasante.front();
  writer.Printf("%11.3lf ,%9.3lfC , %8.3lfT\n", first.station, first.elevation, 0.0);
  for (std::size_t i = 1; i + 1 < rasante.size(); ++i) {
    const VerticeRasante& v = rasante[i];
    const double kv = std::trunc(v.kv);
    const int whole = kv >= INT_MAX ? INT_MAX : kv <= INT_MIN ? INT_MIN : static_cast<int>(kv);
    writer.Printf("%11.3lf ,%9.3lfC , %8dR\n", v.station, v.elevation, whole);
  }
  const VerticeRasante& last = rasante.back();
  writer.Printf("%11.3lf ,%9.3lfC , %8.3lfT\n", last.station, last.elevation, 0.0);
}

}  // namespace calzada
