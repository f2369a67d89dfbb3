// The front ends' names of the one number format for people (common/spanish_numbers.h), which
// the libraries' messages use too.
#pragma once

#include "common/spanish_numbers.h"

namespace detect {

using common::kThousandsSeparator;
using common::SpanishCount;
using common::SpanishDecimal;
using common::SpanishFormat;
using common::SpanishNumber;

}  // namespace detect
