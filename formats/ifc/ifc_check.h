// The checks of an IFC file's alignments: the structure of layouts, segments and
// representations, the agreement of design parameters and geometry, and the continuity of the
// curves. Each finding names the code of the rule it breaks.
#pragma once

#include <string>
#include <vector>

#include "formats/ifc/step.h"

namespace ifc {

struct RuleFinding {
  std::string rule;     // as ALB015
  std::string message;  // Spanish
  uint32_t entity = 0;  // the instance it is about, 0 when none
};

// Every rule the suite checks, in the order it checks them.
const std::vector<std::string>& CheckedRules();

std::vector<RuleFinding> CheckAlignmentRules(const StepFile& file);

}  // namespace ifc
