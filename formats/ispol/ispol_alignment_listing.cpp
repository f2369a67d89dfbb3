// Ispol alignment listing (ispol_alignment_reader.h): the element list ends at the first "#"
// line after the first line past the start station.
#include "formats/ispol/ispol_alignment_reader.h"
#include "formats/ispol/ispol.h"

namespace viaducto {

Alignment ParseIspolAlignment(std::string_view text) {
  return common::ParseIspolAlignment(text, common::IspolListEnd::kCommentAfterFirstElementLine);
}

}  // namespace viaducto
