// pasarela-cli run by the tests with both output streams kept apart.
#pragma once

#include <string>

#include "support/test_support.h"

namespace cli_testing {

struct Outcome {
  int status = 0;
  std::string out;
  std::string err;
};

// Runs pasarela-cli with `arguments` (already quoted for the shell) and TEMP in `dir`; the
// standard error goes through a file in `dir`.
inline Outcome Cli(const testing_support::TempDir& dir, const std::string& arguments) {
  using testing_support::Quoted;
  Outcome outcome;
  const std::string errors = dir.File("errores.txt");
  outcome.status = testing_support::RunCommand("TEMP=" + Quoted(dir.path()) + " " + testing_support::CliPath() + " " +
                                                   arguments + " 2>" + Quoted(errors),
                                               outcome.out);
  outcome.err = testing_support::ReadFile(errors);
  return outcome;
}

}  // namespace cli_testing
