#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"
#include "formats/mxroad/mxroad.h"
#include "formats/istram/istram.h"
#include "formats/clip/clip.h"
#include "formats/cartomap/cartomap.h"

namespace viaducto {

bool ReadForeignSections(const std::string& entrada, CrossSectionReader reader,
                         std::vector<common::CrossSectionPoint>& points, const common::NativeCrossSectionRule& rule) {
  points.clear();
  std::string text;
  if (!common::LoadConversionSource(entrada, kForeignSections, text)) return false;
  std::vector<common::CrossSectionPoint> read;
  const bool readable = reader(text, read);
  if (readable) points = common::AsStoredInNativeCrossSections(read, common::kNativeSectionsEightWideStation, rule);
  return common::RequireSomething(points.empty(), entrada, kForeignSections);
}

}  // namespace viaducto
