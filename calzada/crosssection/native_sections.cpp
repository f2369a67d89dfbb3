#include "calzada/crosssection/native_sections.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "calzada/frame/shared_routines.h"
#include "common/native_cross_section.h"
#include "common/numbers.h"
#include "common/source_files.h"
#include "common/text_input.h"

namespace calzada {

Transversales LeeTransversales(std::string_view text) {
  Transversales puntos;
  common::ParseNativeCrossSections(text, common::kNativeSectionsReadUnendedLine, puntos);
  return puntos;
}

bool LeeFicheroTransversales(const std::string& path, Transversales& puntos) {
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  puntos = LeeTransversales(text);
  return true;
}

std::vector<double> EstacionesDistintas(const Transversales& puntos) {
  std::vector<double> estaciones;
  std::unordered_set<double> vistas;
  for (const PuntoTransversal& p : puntos) {
    if (vistas.insert(p.station).second) estaciones.push_back(p.station);
  }
  return estaciones;
}

double ValorEscrito(double value) { return common::PrintableZero(FiniteOrZero(value), 3); }

void EscribePunto(common::TextWriter& writer, const PuntoTransversal& punto) {
  const std::string_view code = common::WithoutLineFeed(punto.code);
  writer.Printf("%9.3lf %8.3lf %8.3lf %.*s\n", ValorEscrito(punto.station), ValorEscrito(punto.offset),
                ValorEscrito(punto.elevation), static_cast<int>(code.size()), code.data());
}

Transversales ConPuntosDeEje(const Transversales& puntos) {
  Transversales resultado;
  resultado.reserve(puntos.size() + puntos.size() / 4);
  for (std::size_t i = 0; i < puntos.size(); ++i) {
    const PuntoTransversal& c = puntos[i];
    if (i > 0 && c.offset > 0) {
      const PuntoTransversal& p = puntos[i - 1];
      if (p.station == c.station && p.offset < 0) {
        PuntoTransversal eje;
        eje.station = c.station;
        eje.offset = 0;
        eje.elevation = p.elevation + (c.elevation - p.elevation) * (-p.offset) / (c.offset - p.offset);
        eje.code = "0";
        resultado.push_back(std::move(eje));
      }
    }
    resultado.push_back(c);
  }
  return resultado;
}

namespace {

double ComoEscrito(double value) {
  char text[512];
  std::snprintf(text, sizeof text, "%.3f", ValorEscrito(value));
  return common::LenientDouble(text);
}

}  // namespace

PuntoTransversal ComoEnFichero(const PuntoTransversal& punto) {
  PuntoTransversal leido;
  leido.station = ComoEscrito(punto.station);
  leido.offset = ComoEscrito(punto.offset);
  leido.elevation = ComoEscrito(punto.elevation);
  const std::size_t start = punto.code.find_first_not_of(" \t\n");
  if (start != std::string::npos) {
    leido.code = punto.code.substr(start, punto.code.find_first_of(" \t\n", start) - start);
  }
  return leido;
}

namespace {

void EscribeTodos(const Transversales& puntos, common::TextWriter& writer) {
  for (const PuntoTransversal& p : puntos) EscribePunto(writer, p);
}

}  // namespace

int EscribeConPuntosDeEje(const Transversales& puntos, const std::string& salida) {
  Transversales leidos;
  leidos.reserve(puntos.size());
  for (const PuntoTransversal& p : puntos) leidos.push_back(ComoEnFichero(p));
  common::TextWriter writer;
  EscribeTodos(ConPuntosDeEje(leidos), writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

int TransverInterpolaCota(const std::string& entrada, const std::string& salida) {
  Transversales puntos;
  if (!LeeFicheroTransversales(entrada, puntos) || puntos.empty()) return 0;
  common::TextWriter writer;
  EscribeTodos(ConPuntosDeEje(puntos), writer);
  struct stat original {};
  if (common::SameExistingFile(entrada.c_str(), salida.c_str()) && ::stat(salida.c_str(), &original) == 0) {
    // The user's file is replaced in one step once the new text is whole, keeping its mode,
    // so a failed write leaves it as it was.
    // A path through a symbolic link is replaced at the file the link names.
    char* real = ::realpath(salida.c_str(), nullptr);
    const std::string target = real != nullptr ? real : salida;
    std::free(real);
    const common::SourceRewriteAllowed inPlace;  // this pass rewrites the file it has read whole
    if (!common::WriteFileReplacing(target, writer.Bytes())) return 0;
    ::chmod(target.c_str(), original.st_mode & 07777);
    return 1;
  }
  return writer.SaveTo(salida) ? 1 : 0;
}

}  // namespace calzada
