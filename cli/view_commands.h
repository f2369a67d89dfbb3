// The commands of pasarela-cli that show and check what a file holds: check, view, report.
#pragma once

namespace cli {

// Runs `check`, `view` or `report` when argv[1] names one of them and returns true with the
// exit status in `status`; false for any other command.
bool RunViewCommand(int argc, char** argv, int& status);

// The usage lines of these commands.
const char* ViewCommandsUsage();

}  // namespace cli
