// Clip TRV cross sections (common/clip_trv.h): blank lines and an optional "*TRV" heading
// first, section lines "station, count" as scanned, the code in the third field, a point at the
// offset of the one before it dropped.
#include "common/clip_trv.h"
#include "viaducto/crosssection/foreign_readers.h"

namespace viaducto {

bool ReadClipTrvSections(std::string_view text, std::vector<common::CrossSectionPoint>& points) {
  return common::ParseClipTrv(text, common::kClipTrvOptionalHeading, points);
}

}  // namespace viaducto
