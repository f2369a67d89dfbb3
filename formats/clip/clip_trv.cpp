// Clip TRV cross sections, read and written: "*TRV", a title line "name,first,last, 0", then
// per section a header "station  ,count" and that many lines "offset,elevation,code".
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "formats/native/native_sections.h"
#include "common/conversion_rules.h"
#include "formats/clip/clip.h"
#include "formats/clip/clip_trv_reader.h"
#include "common/numbers.h"
#include "common/text_case.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace calzada {

bool ParseClipTrvWithHeading(std::string_view text, Transversales& puntos) {
  return common::ParseClipTrv(text, common::kClipTrvFixedHeading, puntos);
}

namespace {

constexpr double kCoincident = 0.001;
constexpr double kRoomNeeded = 0.002;

}  // namespace

void SeparateCoincidentPoints(Transversales& puntos) {
  const long n = static_cast<long>(puntos.size());
  for (long i = 1; i < n; ++i) {
    PuntoTransversal& p = puntos[i - 1];
    PuntoTransversal& c = puntos[i];
    if (p.station != c.station || std::fabs(c.offset - p.offset) >= kCoincident) continue;
    // The room on either side counts only within the section; -1 where there is no neighbour.
    const double before = i >= 2 && puntos[i - 2].station == p.station ? p.offset - puntos[i - 2].offset : -1;
    const double after = i + 1 < n && puntos[i + 1].station == c.station ? puntos[i + 1].offset - c.offset : -1;
    if (before > after && before > kRoomNeeded) {
      p.offset -= kCoincident;
    } else if (after > kRoomNeeded) {
      c.offset += kCoincident;
    }
  }
}

int ImportClipTrv(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  Transversales puntos;
  if (!ParseClipTrvWithHeading(text, puntos) || puntos.empty()) return 0;
  SeparateCoincidentPoints(puntos);
  return WriteWithAxisPoints(puntos, salida);
}

void FormatClipTrv(const Transversales& puntos, const std::string& titulo, common::TextWriter& writer) {
  const std::vector<double> estaciones = DistinctStations(puntos);
  // Every point of a station goes to its section, wherever it stands in the file.
  std::unordered_map<double, std::vector<std::size_t>> seccion;
  seccion.reserve(estaciones.size());
  for (std::size_t i = 0; i < puntos.size(); ++i) seccion[puntos[i].station].push_back(i);

  writer.Write("*TRV\n");
  writer.Printf("%s,%12.3lf,%12.3lf, 0\n", titulo.c_str(), WrittenValue(estaciones.empty() ? 0 : estaciones.front()),
                WrittenValue(estaciones.empty() ? 0 : estaciones.back()));
  std::unordered_set<std::string> codigos;
  for (double estacion : estaciones) {
    const std::vector<std::size_t>& indices = seccion[estacion];
    writer.Printf("%12.3lf  ,%d\n", WrittenValue(estacion), static_cast<int>(indices.size()));
    // Codes that repeat within a section do not name its points: they become side codes.
    codigos.clear();
    bool repetidos = false;
    for (std::size_t i : indices) {
      if (!puntos[i].code.empty() && !codigos.insert(common::LowerAscii(puntos[i].code)).second) repetidos = true;
    }
    for (std::size_t i : indices) {
      const PuntoTransversal& p = puntos[i];
      const double offset = WrittenValue(p.offset);
      const double elevation = WrittenValue(p.elevation);
      if (p.code.empty()) {
        writer.Printf("%9.3lf,%9.3lf\n", offset, elevation);
      } else if (repetidos) {
        writer.Printf("%9.3lf,%9.3lf%s\n", offset, elevation, p.offset < 0 ? " ,SI01" : " ,SD01");
      } else {
        writer.Printf("%9.3lf,%9.3lf,%s\n", offset, elevation, p.code.c_str());
      }
    }
  }
}

int ExportClipTrv(const std::string& entrada, const std::string& salida) {
  Transversales puntos;
  if (!ReadNativeSectionsFile(entrada, puntos) || puntos.empty()) return 0;
  common::TextWriter writer;
  FormatClipTrv(puntos, salida, writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

}  // namespace calzada
