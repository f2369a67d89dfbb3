#include "common/section_offsets.h"

#include <algorithm>
#include <cmath>

#include "common/numbers.h"

namespace viaducto {

namespace {
constexpr double kOffsetTolerance = 0.001;
}

int CompareSectionOffsets(const common::CrossSectionPoint& a, const common::CrossSectionPoint& b) {
  const double gap = std::fabs(a.offset - b.offset);
  const int codeA = common::LenientInt(a.code);
  const int codeB = common::LenientInt(b.code);
  if (gap < kOffsetTolerance && codeA == codeB) return 0;
  if (a.offset < b.offset) return -1;
  if (gap >= kOffsetTolerance) return 1;
  return codeA > codeB ? -1 : 1;
}

void SortSectionByOffset(std::vector<common::CrossSectionPoint>& section) {
  // Merge sort: stays in range even where the tolerance makes the comparison disagree.
  std::stable_sort(section.begin(), section.end(), [](const common::CrossSectionPoint& a, const common::CrossSectionPoint& b) {
    return CompareSectionOffsets(a, b) < 0;
  });
}

}  // namespace viaducto
