// Access (Jet) databases read with mdbtools' libmdb: the rows of a table, the columns asked for
// by name, in the order the database keeps them. The file is loaded whole first (a FIFO or a
// directory is refused, never waited on).
//
// libmdb trusts the page pointers and sizes it finds in the file, and a damaged database can
// make it read outside its buffers or loop. So the tables are read in a child process: a
// database that brings it down (or keeps it busy for a minute) is reported as damaged, and the
// caller never stops.
#pragma once

#include <string>
#include <vector>

namespace calzada {

// One value of a row as the database holds it.
struct ValorJet {
  bool nulo = true;
  double numero = 0;  // numeric columns: the stored value, bit for bit for doubles
  std::string texto;  // every column as text (UTF-8)
};

using FilaJet = std::vector<ValorJet>;

// One table to read: its name and the columns asked for.
struct TablaJet {
  std::string nombre;
  std::vector<std::string> columnas;
};

// Reads `tablas` of the database at `path` into `filas` (one list of rows per table), in a
// child process. False, with a description in Spanish in `error`, when the file cannot be
// read, is not a Jet database, lacks a table or a column, or is damaged.
bool LeeTablasJet(const std::string& path, const std::vector<TablaJet>& tablas, std::vector<std::vector<FilaJet>>& filas,
                  std::string& error);

// The database read in this process (the child's side of LeeTablasJet).

class BaseDeDatosJet {
 public:
  BaseDeDatosJet() = default;
  ~BaseDeDatosJet();
  BaseDeDatosJet(const BaseDeDatosJet&) = delete;
  BaseDeDatosJet& operator=(const BaseDeDatosJet&) = delete;

  // Opens the database whose file `bytes` holds (they must outlive this object); `path` names
  // it in messages. False, with a description in Spanish in `error`, when it is not a Jet
  // database.
  bool Abre(const std::string& bytes, const std::string& path, std::string& error);

  // The columns `columnas` of every row of `tabla` (names compared without regard to case).
  // False, with a description in `error`, when the table or one of the columns is missing.
  bool LeeTabla(const std::string& tabla, const std::vector<std::string>& columnas, std::vector<FilaJet>& filas,
                std::string& error);

 private:
  std::string copia_;        // the file, which the handle reads
  void* handle_ = nullptr;  // MdbHandle, kept out of this header with glib
};

}  // namespace calzada
