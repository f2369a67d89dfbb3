// Programs of other makers that the tests use to check that they read what we write and that
// we read what they write. A missing one is installed from the distribution when the test
// runs; where that is impossible (no network, no rights) the test is skipped, not failed.
#pragma once

#include <string>
#include <unistd.h>

#include "support/test_support.h"

namespace testing_support {

// Python of the distribution, which holds the distribution's python3-ezdxf.
inline const char kSystemPython[] = "/usr/bin/python3";

// True when `probe` succeeds, installing `package` with apt-get first if it does not.
inline bool EnsurePeerTool(const std::string& probe, const std::string& package) {
  std::string output;
  if (RunCommand(probe + " >/dev/null 2>&1", output) == 0) return true;
  const std::string sudo = ::geteuid() == 0 ? "" : "sudo -n ";
  const std::string apt = sudo + "env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -qq ";
  RunCommand("(" + apt + "update && " + apt + "install -y --no-install-recommends " + package + ") >/dev/null 2>&1",
             output);
  return RunCommand(probe + " >/dev/null 2>&1", output) == 0;
}

}  // namespace testing_support

#define REQUIRE_PEER_TOOL(probe, package)                                              \
  do {                                                                                 \
    if (!::testing_support::EnsurePeerTool(probe, package)) {                          \
      GTEST_SKIP() << "no se pudo instalar " << (package) << " para comprobar con él"; \
    }                                                                                  \
  } while (0)

#define REQUIRE_EZDXF() REQUIRE_PEER_TOOL(std::string(::testing_support::kSystemPython) + " -c 'import ezdxf'", "python3-ezdxf")
#define REQUIRE_GDAL() REQUIRE_PEER_TOOL("ogrinfo --version && ogr2ogr --version", "gdal-bin")
