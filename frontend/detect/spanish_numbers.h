// Numbers as the program writes them for the user: thousands set apart by a blank and a decimal
// comma ("1 660,000", "44 094").
#pragma once

#include <string>

namespace detect {

std::string SpanishCount(long long count);
std::string SpanishDecimal(double value, int decimals);

}  // namespace detect
