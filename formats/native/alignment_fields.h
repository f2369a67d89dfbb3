// What every reader of alignment listings does with its records: the six numbers of a native
// line, element lengths from the stations, kinds from the values.
#pragma once

#include <string_view>
#include <vector>

#include "common/records.h"

namespace common {

// The six fields of a native alignment line in their order: station, x, y, azimuth, clothoid
// parameter, radius; the kind follows from the last two. Fields read leniently.
AlignmentElement ElementFromNativeFields(const std::string_view* fields);

// Length of every record but the last from the next record's station; the last keeps its own.
void SetLengthsFromStations(std::vector<AlignmentElement>& elements);

// An element of no length (the end record aside) carries no curve: parameter and radius 0.
void ClearCurvesOfEmptyElements(std::vector<AlignmentElement>& elements);

// Kind of every record from its parameter and radius.
void SetKindsFromValues(std::vector<AlignmentElement>& elements);

}  // namespace common
