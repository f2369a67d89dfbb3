// Ispol alignment listing: a start station, then typed elements with their lengths, mapped
// onto native elements.
#include "formats/ispol/ispol.h"

#include "formats/ispol/ispol_alignment_reader.h"

namespace calzada {
// The element list ends at the first "#" line once an element has been read.
Eje ParseIspolAlignment(std::string_view text) {
  return common::ParseIspolAlignment(text, common::IspolListEnd::kCommentAfterFirstElement);
}

int ImportIspolAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseIspolAlignment, FormatEjeNativo);
}

}  // namespace calzada
