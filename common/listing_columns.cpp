#include "common/listing_columns.h"

#include <string>

#include "common/numbers.h"
#include "common/text_input.h"

namespace calzada {

bool CampoNumerico(std::string_view field, double& value) {
  value = common::LenientDouble(field);
  if (value != 0) return true;
  const std::size_t last = field.find_last_not_of(" \t");
  return last != std::string_view::npos && field[last] == '0';
}

bool LeeParColumnas(std::string_view line, const ColumnasPunto& columnas, double& offset, double& elevation) {
  const std::string offsetField = common::ColumnField(line, columnas.offsetColumn, columnas.offsetWidth);
  const std::string elevationField = common::ColumnField(line, columnas.elevationColumn, columnas.elevationWidth);
  const bool offsetIsNumber = CampoNumerico(offsetField, offset);
  const bool elevationIsNumber = CampoNumerico(elevationField, elevation);
  return offsetIsNumber && elevationIsNumber;
}

}  // namespace calzada
