// The README's command-line examples, run in the order the page gives them in a fresh folder
// that holds only the programs, the libraries, the samples and the test data, as a fresh clone
// does: each must succeed, and each file an example reads must be one the page has made or
// the clone holds.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;

namespace {

// The indented lines of the page that run pasarela-cli, in order.
std::vector<std::string> Examples(const std::string& page) {
  std::vector<std::string> examples;
  std::istringstream lines(page);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("    build/bin/pasarela-cli ", 0) == 0) examples.push_back(line.substr(4));
  }
  return examples;
}

}  // namespace

TEST(ReadmeWalkthrough, EveryExampleRunsInOrderOnAFreshClone) {
  const std::string source = PASARELA_SOURCE_DIR;
  const std::string binary = PASARELA_BINARY_DIR;
  const std::vector<std::string> examples = Examples(ReadFile(source + "/README.md"));
  ASSERT_GE(examples.size(), 10u);
  TempDir clone;
  ASSERT_EQ(::mkdir(clone.File("build").c_str(), 0777), 0);
  for (const char* link : {"bin", "lib"}) {
    ASSERT_EQ(::symlink((binary + "/" + link).c_str(), clone.File(std::string("build/") + link).c_str()), 0);
  }
  for (const char* link : {"samples", "tests"}) {
    ASSERT_EQ(::symlink((source + "/" + link).c_str(), clone.File(link).c_str()), 0);
  }
  const bool drawings = FileExists(binary + "/bin/pasarela-view");
  for (const std::string& example : examples) {
    const bool draws = example.find(" view ") != std::string::npos || example.find(" report ") != std::string::npos;
    if (draws && !drawings) continue;  // a build without Qt has no drawing program
    std::string output;
    const int status = RunCommand("cd " + Quoted(clone.path()) + " && TEMP=" + Quoted(clone.path()) + " " + example +
                                      " 2>&1",
                                  output);
    EXPECT_EQ(status, 0) << example << "\n" << output;
  }
}
