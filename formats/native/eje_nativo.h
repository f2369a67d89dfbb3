// Records and small routines every converter of Calzada shares, and its native alignment file.
// The number rules and the text utilities live in common/; Calzada knows them by the names its
// converters use.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/native/alignment_fields.h"
#include "common/number_rules.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/records.h"
#include "common/text_input.h"
#include "common/text_output.h"

namespace calzada {

// An alignment element at its start point (kind, station, x, y, spare, azimuth, radius,
// parameter, length).
using TramoEje = common::AlignmentElement;

// A profile vertex; `grade` is a working value of the Clip reader.
using VerticeRasante = common::ProfileVertex;

using common::LeeDecimal;
using common::LeeEstacion;
using common::LeeNumeroComa;
using common::SignoTolerante;

// Reads with a 256-byte buffer up to the end of file, plus one: an upper bound of the records
// a file holds. 0 when it cannot be read.
inline std::size_t CuentaLineas(const std::string& path) { return common::CountFileLines(path); }

// The path with `suffix` appended to the file name, before the extension.
inline std::string AnadeSufijo(const std::string& path, const std::string& suffix) {
  return common::AppendSuffix(path, suffix);
}

// Record `index` of `records`, or a record of zeros when the index lies outside: a missing
// neighbour reads as zeros, which several converters rely on.
template <typename Record>
const Record& RecordOrZeros(const std::vector<Record>& records, long index) {
  static const Record zeros{};
  if (index < 0 || static_cast<std::size_t>(index) >= records.size()) return zeros;
  return records[static_cast<std::size_t>(index)];
}

using common::FiniteOrZero;
using common::SetKindsFromValues;

// The elements of the text of a native alignment file (line ends normalised), read in pieces of
// at most 255 characters: pieces of at most 9 characters (line feed included) and pieces
// beginning with "*" are skipped; fields are split at tab, blank and comma, station, x, y,
// azimuth, clothoid parameter and radius (a piece with fewer is skipped). Kinds come from the
// values; lengths are not set.
std::vector<TramoEje> ParseEjeNativo(std::string_view nativeText);

// Writes the records as a native alignment file, one line per record: station, x, y, azimuth,
// clothoid parameter and radius ("%15.3lf %9.3lf %10.3lf %7.4lf %7.3lf %7.3lf"), no value
// ever infinite or undefined. 1 when written, 0 when the target cannot be written.
int EscribeEjeNativo(const std::vector<TramoEje>& records, const std::string& path);
void FormatEjeNativo(const std::vector<TramoEje>& records, common::TextWriter& writer);

}  // namespace calzada
