#include "formats/sacyr/sacyr_scanner.h"

#include <cerrno>
#include <charconv>

#include "common/conversion_rules.h"
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

namespace {

// One line of the listing, "  %lld,  %0.3lf,  %0.3lf,  %0.3lf,  %d,  %d,  %d\n", put together
// field by field: millions of lines are not worth parsing the same format for each.
class LineaListado {
 public:
  void Entero(long long value) {
    Separador();
    end_ = std::to_chars(end_, Limit(), value).ptr;
  }
  // Finite, as the lenient numbers always are: "%0.3lf" is then exactly this.
  void TresDecimales(double value) {
    Separador();
    end_ = std::to_chars(end_, Limit(), value, std::chars_format::fixed, 3).ptr;
  }
  std::string_view Terminada() {
    *end_++ = '\n';
    return std::string_view(text_, static_cast<std::size_t>(end_ - text_));
  }

 private:
  void Separador() {
    if (end_ != text_) *end_++ = ',';
    *end_++ = ' ';
    *end_++ = ' ';
  }
  char* Limit() { return text_ + sizeof text_ - 1; }

  // Room for the widest fields: three doubles of up to 309 integer digits and four integers.
  char text_[3 * 320 + 4 * 24 + 32];
  char* end_ = text_;
};

}  // namespace

bool EscribePuntoScanner(std::string_view pieza, long long numero, common::TextWriter& salida) {
  // The line end is no field: a line of five numbers and a trailing blank has five fields.
  common::Tokenizer campos(common::WithoutLineFeed(pieza));
  std::string_view x, y, z, i, j, k;
  if (!campos.Next(" ", x) || !campos.Next(" ", y) || !campos.Next(" ", z) || !campos.Next(" ", i) ||
      !campos.Next(" ", j) || !campos.Next(" ", k)) {
    return false;
  }
  LineaListado linea;
  linea.Entero(numero);
  linea.TresDecimales(common::LenientDouble(x));
  linea.TresDecimales(common::LenientDouble(y));
  linea.TresDecimales(common::LenientDouble(z));
  linea.Entero(common::LenientInt(i));
  linea.Entero(common::LenientInt(j));
  linea.Entero(common::LenientInt(k));
  salida.Write(linea.Terminada());
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
      lote.Clear();
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
