#include "formats/topsurv/jet_database.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mdbtools.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/numbers.h"
#include "common/outcome.h"
#include "common/text_input.h"

namespace calzada {
namespace {

MdbHandle* Handle(void* handle) { return static_cast<MdbHandle*>(handle); }

// A Jet or ACE file begins with its definition page: a zero byte, then "Standard Jet DB" or
// "Standard ACE DB" at offset 4 and the version at 0x14. Checked before libmdb sees the file,
// which would print its own complaints about other files.
bool PareceJet(const std::string& bytes) {
  constexpr std::size_t kPaginaMinima = 2048;
  if (bytes.size() < kPaginaMinima || bytes[0] != 0) return false;
  if (bytes.compare(4, 15, "Standard Jet DB") != 0 && bytes.compare(4, 15, "Standard ACE DB") != 0) return false;
  const unsigned char version = static_cast<unsigned char>(bytes[0x14]);
  return version <= MDB_VER_ACCDB_2016;
}

}  // namespace

BaseDeDatosJet::~BaseDeDatosJet() {
  if (handle_ != nullptr) mdb_close(Handle(handle_));
}

bool BaseDeDatosJet::Abre(const std::string& bytes, const std::string& path, std::string& error) {
  // fmemopen wants a writable buffer even to read.
  copia_ = bytes;
  if (PareceJet(copia_)) handle_ = mdb_open_buffer(copia_.data(), copia_.size(), MDB_NOFLAGS);
  if (handle_ == nullptr) {
    error = "El fichero '" + path + "' no es una base de datos de Access.";
    return false;
  }
  return true;
}

bool BaseDeDatosJet::LeeTabla(const std::string& tabla, const std::vector<std::string>& columnas,
                              std::vector<FilaJet>& filas, std::string& error) {
  filas.clear();
  MdbHandle* mdb = Handle(handle_);
  if (mdb == nullptr) {
    error = "La base de datos no está abierta.";
    return false;
  }
  std::string nombre = tabla;
  MdbTableDef* table = mdb_read_table_by_name(mdb, nombre.data(), MDB_TABLE);
  if (table == nullptr || mdb_read_columns(table) == nullptr) {
    if (table != nullptr) mdb_free_tabledef(table);
    error = "No se encuentra la tabla '" + tabla + "' en la base de datos.";
    return false;
  }
  // Each column asked for is bound to a buffer of the library's bind size, where it leaves the
  // value as text; numbers are also taken from the page, as stored.
  std::vector<std::vector<char>> buffers(columnas.size(), std::vector<char>(mdb->bind_size + 1, '\0'));
  std::vector<MdbColumn*> bound(columnas.size(), nullptr);
  for (std::size_t c = 0; c < columnas.size(); ++c) {
    std::string columna = columnas[c];
    const int number = mdb_bind_column_by_name(table, columna.data(), buffers[c].data(), nullptr);
    if (number < 1 || static_cast<unsigned>(number) > table->columns->len) {
      mdb_free_tabledef(table);
      error = "No se encuentra el campo '" + columnas[c] + "' en la tabla '" + tabla + "'.";
      return false;
    }
    bound[c] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, number - 1));
  }
  mdb_rewind_table(table);
  while (mdb_fetch_row(table)) {
    FilaJet fila(columnas.size());
    for (std::size_t c = 0; c < columnas.size(); ++c) {
      const MdbColumn* col = bound[c];
      ValorJet& valor = fila[c];
      const int start = col->cur_value_start;
      const int length = col->cur_value_len;
      // An empty text counts as null too: neither joins nor names a point.
      valor.nulo = length <= 0;
      buffers[c].back() = '\0';
      valor.texto = buffers[c].data();
      if (valor.nulo) continue;
      const bool enPagina = start >= 0 && length > 0 && start + length <= static_cast<int>(mdb->fmt->pg_size);
      if (col->col_type == MDB_DOUBLE && enPagina && length == 8) {
        valor.numero = common::FiniteOrZero(mdb_get_double(mdb->pg_buf, start));
      } else if (col->col_type == MDB_FLOAT && enPagina && length == 4) {
        valor.numero = common::FiniteOrZero(mdb_get_single(mdb->pg_buf, start));
      } else {
        valor.numero = common::LenientDouble(valor.texto);
      }
    }
    filas.push_back(std::move(fila));
  }
  mdb_free_tabledef(table);
  return true;
}

}  // namespace calzada

// The child's answer through the pipe: per table a status byte, then the error text, or the
// row count and every value (null flag, number, text).
namespace calzada {
namespace {

void PutBytes(std::string& out, const void* data, std::size_t size) { out.append(static_cast<const char*>(data), size); }
void PutSize(std::string& out, uint64_t value) { PutBytes(out, &value, sizeof value); }
void PutText(std::string& out, const std::string& text) {
  PutSize(out, text.size());
  out += text;
}

class Lector {
 public:
  explicit Lector(const std::string& bytes) : bytes_(bytes) {}
  bool Bytes(void* data, std::size_t size) {
    if (bytes_.size() - position_ < size) return false;
    std::memcpy(data, bytes_.data() + position_, size);
    position_ += size;
    return true;
  }
  bool Size(uint64_t& value) { return Bytes(&value, sizeof value); }
  bool Text(std::string& text) {
    uint64_t size = 0;
    if (!Size(size) || bytes_.size() - position_ < size) return false;
    text.assign(bytes_, position_, size);
    position_ += size;
    return true;
  }

 private:
  const std::string& bytes_;
  std::size_t position_ = 0;
};

std::string RespuestaDelHijo(const std::string& bytes, const std::string& path, const std::vector<TablaJet>& tablas) {
  std::string out;
  BaseDeDatosJet base;
  std::string error;
  if (!base.Abre(bytes, path, error)) {
    out.push_back(1);
    PutText(out, error);
    return out;
  }
  for (const TablaJet& tabla : tablas) {
    std::vector<FilaJet> filas;
    if (!base.LeeTabla(tabla.nombre, tabla.columnas, filas, error)) {
      out.push_back(1);
      PutText(out, error);
      return out;
    }
    out.push_back(0);
    PutSize(out, filas.size());
    for (const FilaJet& fila : filas) {
      for (const ValorJet& valor : fila) {
        out.push_back(valor.nulo ? 1 : 0);
        PutBytes(out, &valor.numero, sizeof valor.numero);
        PutText(out, valor.texto);
      }
    }
  }
  return out;
}

bool EscribeTodo(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

constexpr int kEsperaMaxima = 60000;  // ms without a byte from the child before it is stopped
const char kDanada[] = "La base de datos está dañada y no se puede leer.";

}  // namespace

bool LeeTablasJet(const std::string& path, const std::vector<TablaJet>& tablas, std::vector<std::vector<FilaJet>>& filas,
                  std::string& error) {
  filas.clear();
  // The file is read here, once: the child works on this copy of it.
  std::string bytes;
  if (!common::ReadWholeFile(path, bytes)) {
    // The reader says why (it does not exist, it is a folder...).
    error = common::HasRecordedFailure() ? common::RecordedFailure()
                                         : "No se puede abrir la base de datos '" + path + "'.";
    return false;
  }
  int canal[2];
  if (::pipe2(canal, O_CLOEXEC) != 0) {
    error = "No se puede leer la base de datos '" + path + "'.";
    return false;
  }
  std::fflush(nullptr);
  const pid_t hijo = ::fork();
  if (hijo < 0) {
    ::close(canal[0]);
    ::close(canal[1]);
    error = "No se puede leer la base de datos '" + path + "'.";
    return false;
  }
  if (hijo == 0) {
    // A crash of the child is the parent's to report: it dies of the signal itself, without
    // the crash handlers the program installed (which would report the program as crashed)
    // and without a core dump.
    for (const int senal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) std::signal(senal, SIG_DFL);
    const rlimit sinVolcado{0, 0};
    ::setrlimit(RLIMIT_CORE, &sinVolcado);
    // libmdb tells its troubles on standard error; the parent reports them in its own words.
    const int nulo = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nulo >= 0) ::dup2(nulo, STDERR_FILENO);
    ::close(canal[0]);
    int estado = 1;
    try {
      estado = EscribeTodo(canal[1], RespuestaDelHijo(bytes, path, tablas)) ? 0 : 1;
    } catch (...) {
    }
    ::_exit(estado);
  }
  ::close(canal[1]);
  std::string respuesta;
  bool cortado = false;
  char buffer[1 << 16];
  for (;;) {
    pollfd espera{canal[0], POLLIN, 0};
    const int listo = ::poll(&espera, 1, kEsperaMaxima);
    if (listo < 0 && errno == EINTR) continue;
    if (listo <= 0) {
      cortado = true;
      break;
    }
    const ssize_t n = ::read(canal[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    respuesta.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(canal[0]);
  if (cortado) ::kill(hijo, SIGKILL);
  int estado = 0;
  while (::waitpid(hijo, &estado, 0) < 0 && errno == EINTR) {
  }
  if (cortado || !WIFEXITED(estado) || WEXITSTATUS(estado) != 0) {
    error = kDanada;
    return false;
  }
  Lector lector(respuesta);
  for (const TablaJet& tabla : tablas) {
    char status = 0;
    if (!lector.Bytes(&status, 1)) {
      error = kDanada;
      return false;
    }
    if (status != 0) {
      if (!lector.Text(error)) error = kDanada;
      return false;
    }
    uint64_t count = 0;
    if (!lector.Size(count)) {
      error = kDanada;
      return false;
    }
    std::vector<FilaJet> rows;
    for (uint64_t r = 0; r < count; ++r) {
      FilaJet fila(tabla.columnas.size());
      for (ValorJet& valor : fila) {
        char nulo = 0;
        if (!lector.Bytes(&nulo, 1) || !lector.Bytes(&valor.numero, sizeof valor.numero) || !lector.Text(valor.texto)) {
          error = kDanada;
          return false;
        }
        valor.nulo = nulo != 0;
      }
      rows.push_back(std::move(fila));
    }
    filas.push_back(std::move(rows));
  }
  return true;
}

}  // namespace calzada
