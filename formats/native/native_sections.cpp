#include "formats/native/native_sections.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <unordered_set>

#include "common/conversion_rules.h"
#include "formats/native/eje_nativo.h"
#include "formats/native/native_cross_section.h"
#include "common/numbers.h"
#include "common/file_kind.h"
#include "common/source_files.h"
#include "common/text_input.h"

namespace calzada {

Transversales ParseNativeSections(std::string_view text) {
  Transversales puntos;
  common::ParseNativeCrossSections(text, common::kNativeSectionsReadUnendedLine, puntos);
  return puntos;
}

bool ReadNativeSectionsFile(const std::string& path, Transversales& puntos) {
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  puntos = ParseNativeSections(text);
  return true;
}

std::vector<double> DistinctStations(const Transversales& puntos) {
  std::vector<double> estaciones;
  std::unordered_set<double> vistas;
  for (const PuntoTransversal& p : puntos) {
    if (vistas.insert(p.station).second) estaciones.push_back(p.station);
  }
  return estaciones;
}

double WrittenValue(double value) { return common::PrintableZero(FiniteOrZero(value), 3); }

void FormatSectionPoint(common::TextWriter& writer, const PuntoTransversal& punto) {
  common::FormatNativeCrossSectionPoint(punto, common::kNativeSectionsNineWideStation, writer);
}

Transversales WithAxisPoints(const Transversales& puntos) {
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

void EscribeTodos(const Transversales& puntos, common::TextWriter& writer) {
  for (const PuntoTransversal& p : puntos) FormatSectionPoint(writer, p);
}

}  // namespace

void FormatWithAxisPoints(const Transversales& puntos, common::TextWriter& writer) {
  // The pass reads the file this library writes with its own reader.
  const Transversales leidos = common::AsStoredInNativeCrossSections(puntos, common::kNativeSectionsNineWideStation,
                                                                     common::kNativeSectionsReadUnendedLine);
  EscribeTodos(WithAxisPoints(leidos), writer);
}

int WriteWithAxisPoints(const Transversales& puntos, const std::string& salida) {
  common::TextWriter writer;
  FormatWithAxisPoints(puntos, writer);
  return writer.SaveTo(salida) ? 1 : 0;
}

namespace {

// The file the pass rewrites in place: read whole, but not as a source of the conversion, so
// that the one write that replaces it is allowed.
bool LeeFicheroAReescribir(const std::string& path, std::string& text) {
  if (!common::ReadWholeFile(path, text, /*isSource=*/false)) return false;
  const common::FileKind found = common::SniffFileKind(text);
  if (!common::KindFitsRule(found, kFicheroTransversales)) {
    common::RecordWrongKind(path, kFicheroTransversales.source, found);
    return false;
  }
  common::NormalizeLineEnds(text);
  return true;
}

// The user's file replaced in one step once the new text is whole, keeping its mode, so a
// failed write leaves it as it was. A path through a symbolic link is replaced at the file
// the link names. The file is never removed, whatever happens.
int ReemplazaFichero(const std::string& path, const common::TextWriter& writer) {
  struct stat original {};
  if (::stat(path.c_str(), &original) != 0) return writer.SaveTo(path) ? 1 : 0;
  char* real = ::realpath(path.c_str(), nullptr);
  const std::string target = real != nullptr ? real : path;
  std::free(real);
  if (!common::WriteFileReplacing(target, writer.Bytes())) return 0;
  ::chmod(target.c_str(), original.st_mode & 07777);
  return 1;
}

}  // namespace

int InterpolateAxisElevations(const std::string& entrada, const std::string& salida) {
  const bool enSuSitio = !salida.empty() && common::SameExistingFile(entrada.c_str(), salida.c_str());
  if (!enSuSitio) {
    const auto format = [](const Transversales& puntos, common::TextWriter& writer) {
      EscribeTodos(WithAxisPoints(puntos), writer);
    };
    return common::ConvertFile(entrada, salida, kFicheroTransversales, ParseNativeSections, format);
  }
  std::string text;
  if (!LeeFicheroAReescribir(entrada, text)) return 0;
  const Transversales puntos = ParseNativeSections(text);
  if (!common::RequireSomething(puntos.empty(), entrada, kFicheroTransversales)) return 0;
  common::TextWriter writer;
  EscribeTodos(WithAxisPoints(puntos), writer);
  return ReemplazaFichero(salida, writer);
}

}  // namespace calzada
