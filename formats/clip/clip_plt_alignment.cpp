// Clip PLT alignment (clip_plt_reader.h): every line of six fields split at blanks, tabs and
// commas is a point; the records are taken as they come.
#include "formats/clip/clip_plt_reader.h"
#include "formats/clip/clip.h"

namespace viaducto {

Alignment ParseClipPltAlignment(std::string_view text) {
  return common::ParseClipPlt(text, common::kClipPltSplitFields);
}

}  // namespace viaducto
