// Fixed-column fields of the Clip and Ispol section listings.
#pragma once

#include <string_view>

namespace calzada {

// A field holds a number when it reads as a value other than 0, or when it ends in "0" (so
// "0.000" is a number and a blank or a word is not). Trailing blanks of the field do not count.
bool CampoNumerico(std::string_view field, double& value);

// Offset and elevation of one point: columns counted from 1, and widths.
struct ColumnasPunto {
  int offsetColumn;
  int offsetWidth;
  int elevationColumn;
  int elevationWidth;
};

// True when both fields of the pair hold numbers.
bool LeeParColumnas(std::string_view line, const ColumnasPunto& columnas, double& offset, double& elevation);

}  // namespace calzada
