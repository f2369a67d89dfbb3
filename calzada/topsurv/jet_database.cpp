#include "calzada/topsurv/jet_database.h"

#include <cstring>
#include <mdbtools.h>

#include "common/numbers.h"
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

bool BaseDeDatosJet::Abre(const std::string& path, std::string& error) {
  if (!common::ReadWholeFile(path, bytes_)) {
    error = "No se puede abrir la base de datos '" + path + "'.";
    return false;
  }
  if (PareceJet(bytes_)) handle_ = mdb_open_buffer(bytes_.data(), bytes_.size(), MDB_NOFLAGS);
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
