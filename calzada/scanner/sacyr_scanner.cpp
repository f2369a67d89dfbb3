#include "calzada/scanner/sacyr_scanner.h"

#include <cerrno>

#include "calzada/frame/conversion_rules.h"
#include "common/file_stream.h"
#include "common/numbers.h"
#include "common/outcome.h"
#include "common/text_input.h"
#include "common/text_stream.h"
#include "common/tokens.h"

namespace calzada {
namespace {

// Written text is handed to the file in pieces of about this size.
constexpr std::size_t kLote = 1 << 20;

}  // namespace

bool EscribePuntoScanner(std::string_view pieza, long long numero, common::TextWriter& salida) {
  // The line end is no field: a line of five numbers and a trailing blank has five fields.
  common::Tokenizer campos(common::WithoutLineFeed(pieza));
  std::string_view x, y, z, i, j, k;
  if (!campos.Next(" ", x) || !campos.Next(" ", y) || !campos.Next(" ", z) || !campos.Next(" ", i) ||
      !campos.Next(" ", j) || !campos.Next(" ", k)) {
    return false;
  }
  salida.Printf("  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d\n", numero, common::LenientDouble(x),
                common::LenientDouble(y), common::LenientDouble(z), common::LenientInt(i), common::LenientInt(j),
                common::LenientInt(k));
  return true;
}

int SacyrScanner(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  if (!common::CheckConversionSourceKind(entrada, kListadoPuntos)) return 0;
  common::StreamedLineReader lector;
  if (!lector.Open(entrada)) return 0;
  common::ReplacingFileStream destino(salida);
  if (!destino.ok()) return 0;
  common::TextWriter lote;
  std::string_view pieza;
  long long numero = 0;  // never wraps, whatever the length of the scan
  while (lector.Next(pieza)) {
    if (EscribePuntoScanner(pieza, numero + 1, lote)) ++numero;
    if (lote.Bytes().size() >= kLote) {
      if (!destino.Write(lote.Bytes())) return 0;
      lote = common::TextWriter();
    }
  }
  if (lector.failed()) {
    common::RecordSourceFailure(entrada, EIO);
    return 0;
  }
  // A listing of no point is no result: the stream is not committed and leaves nothing.
  if (!common::RequireSomething(numero == 0, entrada, kListadoPuntos)) return 0;
  if (!destino.Write(lote.Bytes())) return 0;
  return destino.Commit() ? 1 : 0;
}

}  // namespace calzada
