// The cross-section listings of other road-design programs read into native points. Each
// format's reader (in its folder under formats/) appends the points of a listing (line ends
// normalised) to an empty vector, with the codes of its own layout; false when the listing
// cannot be read as such, and then nothing of it is used.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/conversion.h"
#include "formats/native/native_cross_section.h"
#include "common/records.h"

namespace viaducto {

using CrossSectionReader = bool (*)(std::string_view text, std::vector<common::CrossSectionPoint>& points);

// What a cross-section listing is, and what one that yields nothing lacks.
inline constexpr common::ConversionRule kForeignSections{"un listado de perfiles transversales",
                                                         "ningún perfil transversal"};

// Loads the listing at `entrada` (refusing a file that is not a text listing) and runs
// `reader`; the points as `rule`'s reader gets them back from the native file they would be
// written to. False with the reason recorded when the file cannot be read, the reader fails or
// nothing is left.
bool ReadForeignSections(const std::string& entrada, CrossSectionReader reader,
                         std::vector<common::CrossSectionPoint>& points,
                         const common::NativeCrossSectionRule& rule = common::kNativeSectionsLoseUnendedLine);

}  // namespace viaducto
