// The one setting the library reads: the element limit in jalonex.ini.
#pragma once

#include <cstddef>
#include <string>

namespace viaducto {

// 1 when the number after "=" on the first line of <settingsDirectory>/jalonex.ini is at least
// `lineCount`; 0 when the file cannot be read, the line has no "=", no value follows it, or
// the value is smaller.
int ReadElementLimit(std::size_t lineCount, const std::string& settingsDirectory);

}  // namespace viaducto
