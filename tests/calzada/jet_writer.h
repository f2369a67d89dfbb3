// Writes small Access databases in the Jet 4 format for the tests of the TopSurv import: tables
// of text, long-integer and double columns, laid out as the database engine lays them out
// (4 KiB pages: definition page, table definitions, data pages with their usage maps, and the
// system catalog MSysObjects that lists the tables), so that libmdb and the mdbtools programs
// read them as they read a job database.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet_test {

enum class JetType { kText, kLong, kDouble };

struct JetColumn {
  std::string name;
  JetType type;
};

// A cell: null, text (UTF-8, up to 255 characters), long integer or double.
using JetCell = std::variant<std::monostate, std::string, int32_t, double>;

struct JetTable {
  std::string name;
  std::vector<JetColumn> columns;
  std::vector<std::vector<JetCell>> rows;
};

// The bytes of a database holding `tables` (rows kept in the given order). Throws
// std::length_error when a table definition or a row does not fit in a page.
std::string WriteJet4(const std::vector<JetTable>& tables);

// A TopSurv job database: tblDatasets (keyDataset, CsName) and tblSoPoints (keyPoint,
// fkeyDataset, Name, C1, C2, C3, Code).
struct JobPoint {
  int32_t dataset;
  JetCell name;
  JetCell c1, c2, c3;
};
std::string WriteTopsurvJob(const std::vector<std::pair<int32_t, std::string>>& datasets,
                            const std::vector<JobPoint>& points);

}  // namespace jet_test
