// What the georeferencing tests share: PROJ kept to this machine (no network, no grids of the
// user's own folder), and cs2cs and ogrinfo run as the independent programs.
#pragma once

#include <cstdlib>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace geo_testing {

// Set before any test (and inherited by pasarela-cli, cs2cs and ogrinfo).
inline const bool kEnvironmentSet = [] {
  ::setenv("PROJ_NETWORK", "OFF", 1);
  ::setenv("XDG_DATA_HOME", PASARELA_BINARY_DIR "/no-user-data", 1);
  ::unsetenv("PROJ_DATA");
  ::unsetenv("PROJ_LIB");
  return true;
}();

// The numbers cs2cs prints for `input` (one point per line) from `source` to `target`, in the
// axis order of the systems' definitions, as cs2cs reads and writes them.
inline std::vector<double> Cs2cs(const std::string& source, const std::string& target, const std::string& input) {
  std::string output;
  testing_support::RunCommand("printf '" + input + "' | LC_ALL=C cs2cs -f %.10f " + source + " " + target + " 2>&1", output);
  std::vector<double> values;
  std::istringstream words(output);
  // Read with a point whatever the program's locale (the desktop's tests run under a Spanish one).
  for (std::string word; words >> word;) {
    std::istringstream number(word);
    number.imbue(std::locale::classic());
    double value = 0;
    number >> value;
    values.push_back(value);
  }
  return values;
}

}  // namespace geo_testing
