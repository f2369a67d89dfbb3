// Which formats each menu command reads and which one it writes: what `convert` and the
// desktop program's "Abrir..." look up to offer the commands that can convert a file.
#pragma once

#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/detect/detect.h"

namespace frontend {

struct CommandFormats {
  const char* control;
  std::vector<detect::Format> sources;
  const char* target;  // the key `convert --to` names: "eje", "gts", "landxml", "dxf", "shp"...
};

// One row per conversion command of the menu.
const std::vector<CommandFormats>& CommandFormatTable();

// The row of a command; null for a command that converts nothing.
const CommandFormats* FormatsOfCommand(const std::string& control);

// The commands that read `source`, in menu order.
std::vector<const MenuCommand*> CommandsReading(detect::Format source);

// The target keys, each once, in table order.
std::vector<std::string> TargetKeys();

}  // namespace frontend
