#include "formats/clip/libreta_clip_ter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <utility>

#include "common/conversion_rules.h"
#include "common/numbers.h"
#include "formats/native/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace calzada {
namespace {

// Every record but the last is an element; the clothoid foot is halved down to 0.01 m; a point
// outside the corner of two straights is measured from their joint.
constexpr common::ProjectionRules kReglasLibreta{0.01, true, true};

constexpr double kTolerancia = 0.001;

double Escrito(double value) { return common::PrintableZero(common::FiniteOrZero(value), 3); }

}  // namespace

std::vector<common::ProjectionElement> EjeParaProyectar(std::vector<TramoEje> records) {
  common::SetLengthsFromStations(records);
  if (!records.empty()) records.back().length = 0;
  std::vector<common::ProjectionElement> eje;
  eje.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    const double previousRadius = i > 0 ? records[i - 1].radius : 0;
    eje.push_back(common::MakeProjectionElement(records[i], previousRadius));
  }
  return eje;
}

bool ProyectaPunto(double x, double y, const std::vector<common::ProjectionElement>& eje, TramoEje& pie,
                   double& distancia) {
  common::AxisFoot foot;
  if (!common::ProjectOnAxis(eje, common::Point2{x, y}, kReglasLibreta, foot)) return false;
  pie = TramoEje{};
  pie.station = foot.station;
  pie.x = foot.point.x;
  pie.y = foot.point.y;
  pie.azimuth = foot.azimuth;
  distancia = foot.offset;
  return true;
}

Transversales PuntosDeLibreta(std::string_view puntos, const std::vector<common::ProjectionElement>& eje) {
  Transversales seccion;
  common::ForEachPointLine(puntos, common::PointCodeRule::kFirstWord, common::kBlankSeparated,
                           [&](const common::PointLine& punto) {
                             // The section's station follows the first "_" of the code.
                             const std::size_t guion = punto.code.find('_');
                             if (guion == std::string_view::npos || guion + 1 == punto.code.size()) return;
                             TramoEje pie;
                             double distancia = 0;
                             if (!ProyectaPunto(punto.x, punto.y, eje, pie, distancia)) return;
                             PuntoTransversal p;
                             p.station = common::LenientDouble(punto.code.substr(guion + 1));
                             p.offset = distancia;
                             p.elevation = punto.z;
                             p.code.assign(punto.code.data(), punto.code.size());
                             seccion.push_back(std::move(p));
                           });
  return seccion;
}

void OrdenaPuntosLibreta(Transversales& puntos) {
  struct Clave {
    std::size_t indice;
    double station;
    double offset;
    int codigo;  // the code read as an integer
  };
  std::vector<Clave> claves(puntos.size());
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    claves[i] = Clave{i, puntos[i].station, puntos[i].offset, common::LenientInt(puntos[i].code)};
  }
  // The comparison is not a strict order near the tolerance; a merge sort stays within bounds
  // whatever it answers, and keeps points that compare equal in file order.
  std::stable_sort(claves.begin(), claves.end(), [](const Clave& a, const Clave& b) {
    if (std::fabs(a.station - b.station) < kTolerancia && a.codigo == b.codigo) {
      return std::fabs(a.offset - b.offset) >= kTolerancia && a.offset < b.offset;
    }
    return a.station < b.station;
  });
  Transversales ordenados;
  ordenados.reserve(puntos.size());
  for (const Clave& clave : claves) ordenados.push_back(std::move(puntos[clave.indice]));
  puntos = std::move(ordenados);
}

std::string FormatoClipTer(const Transversales& puntos) {
  // Each distinct station (exact comparison) in the order it first appears, with its points in
  // sorted order. A point is listed only under its own station, even where the sort put a
  // point of a nearly equal station between two of another's.
  std::vector<double> estaciones;
  std::unordered_map<double, std::vector<std::size_t>> porEstacion;
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    auto [entrada, nueva] = porEstacion.try_emplace(puntos[i].station);
    if (nueva) estaciones.push_back(puntos[i].station);
    entrada->second.push_back(i);
  }
  common::TextWriter ter;
  ter.Write("*TER\n");
  for (const double estacion : estaciones) {
    const std::vector<std::size_t>& indices = porEstacion[estacion];
    ter.Printf("%0.3lf , %d , 0 , 0\n", Escrito(estacion), static_cast<int>(indices.size()));
    for (const std::size_t i : indices) {
      ter.Printf("%8.3lf , %8.3lf\n", Escrito(puntos[i].offset), Escrito(puntos[i].elevation));
    }
  }
  return ter.Bytes();
}

int Libreta2ClipTer(const std::string& puntra, const std::string& eje, const std::string& salida) {
  if (!common::CheckConversionTarget(eje, salida) || !common::CheckConversionTarget(puntra, salida)) return 0;
  std::string textoEje;
  if (!common::LoadConversionSource(eje, kFicheroEjes, textoEje)) return 0;
  const std::vector<common::ProjectionElement> elementos = EjeParaProyectar(ParseEjeNativo(textoEje));
  if (!common::RequireSomething(elementos.empty(), eje, kFicheroEjes)) return 0;
  std::string textoPuntos;
  if (!common::LoadConversionSource(puntra, kFicheroPuntos, textoPuntos)) return 0;
  Transversales puntos = PuntosDeLibreta(textoPuntos, elementos);
  if (puntos.empty()) {
    common::RecordNothingToWrite(puntra, "ningún punto con la estación en su código que caiga sobre el eje");
    return 0;
  }
  OrdenaPuntosLibreta(puntos);
  return common::WriteFileBytes(salida, FormatoClipTer(puntos)) ? 1 : 0;
}

}  // namespace calzada
