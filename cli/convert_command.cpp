// `convert`: detects each source and runs the command that turns it into the format asked for.
#include "cli/cli.h"

namespace cli {

int ConvertFiles(const Arguments& arguments) {
  (void)arguments;
  return UsageError("convert: todavía no disponible");
}

}  // namespace cli
