// Clip PLT alignment (common/clip_plt.h): every line of six fields split at blanks, tabs and
// commas is a point; the records are taken as they come.
#include "common/clip_plt.h"
#include "viaducto/alignment/foreign_alignment.h"

namespace viaducto {

Alignment ParseClipPltAlignment(std::string_view text) {
  return common::ParseClipPlt(text, common::kClipPltSplitFields);
}

}  // namespace viaducto
