// The order of the points of one section in the Istram and Clip listing readers.
#pragma once

#include <vector>

#include "common/records.h"

namespace viaducto {

// By offset: equal when the offsets differ by less than 0.001 and the codes, read as integers,
// are equal; a smaller offset (by any amount) first; with offsets within 0.001, the larger
// code first.
int CompareSectionOffsets(const common::CrossSectionPoint& a, const common::CrossSectionPoint& b);

void SortSectionByOffset(std::vector<common::CrossSectionPoint>& section);

}  // namespace viaducto
