// Ispol alignment listing (common/ispol_alignment.h): the element list ends at the first "#"
// line after the first line past the start station.
#include "common/ispol_alignment.h"
#include "viaducto/alignment/foreign_alignment.h"

namespace viaducto {

Alignment ParseIspolAlignment(std::string_view text) {
  return common::ParseIspolAlignment(text, common::IspolListEnd::kCommentAfterFirstElementLine);
}

}  // namespace viaducto
