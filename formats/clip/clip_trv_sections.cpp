// Clip TRV cross sections (clip_trv_reader.h): blank lines and an optional "*TRV" heading
// first, section lines "station, count" as scanned, the code in the third field, a point at the
// offset of the one before it dropped.
#include "formats/clip/clip_trv_reader.h"
#include "formats/native/section_listings.h"
#include "formats/clip/clip.h"

namespace viaducto {

bool ParseClipTrvSections(std::string_view text, std::vector<common::CrossSectionPoint>& points) {
  return common::ParseClipTrv(text, common::kClipTrvOptionalHeading, points);
}

}  // namespace viaducto
