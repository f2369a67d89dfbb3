// Programs of other makers that the tests use to check that they read what we write and that
// we read what they write. Where one is missing the test is skipped, not failed.
#pragma once

#include <string>
#include <unistd.h>

#include "support/test_support.h"

namespace testing_support {

// Python of the distribution, which holds the distribution's python3-ezdxf.
inline const char kSystemPython[] = "/usr/bin/python3";

// True when `probe` succeeds. scripts/install-deps.sh installs these tools; tests never
// install anything themselves.
inline bool EnsurePeerTool(const std::string& probe, const std::string& /*package*/) {
  std::string output;
  return RunCommand(probe + " >/dev/null 2>&1", output) == 0;
}

}  // namespace testing_support

#define REQUIRE_PEER_TOOL(probe, package)                                              \
  do {                                                                                 \
    if (!::testing_support::EnsurePeerTool(probe, package)) {                          \
      GTEST_SKIP() << (package) << " no está instalado: sin él no se hace esta comprobación"; \
    }                                                                                  \
  } while (0)

#define REQUIRE_EZDXF() REQUIRE_PEER_TOOL(std::string(::testing_support::kSystemPython) + " -c 'import ezdxf'", "python3-ezdxf")
#define REQUIRE_GDAL() REQUIRE_PEER_TOOL("ogrinfo --version && ogr2ogr --version", "gdal-bin")
