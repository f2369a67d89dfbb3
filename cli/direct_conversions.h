// Conversions the libraries offer that have no menu command: the alignment listings of PL-Road
// and Asotec, which detection recognises and only their exports convert. `convert`, `info`
// and `formats` treat them as commands of their own, run by the same command flow.
#pragma once

#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/detect/detect.h"

namespace cli {

struct DirectConversion {
  detect::Format source;
  const char* target;  // the key `convert --to` takes
  frontend::MenuCommand command;  // control, export and library; Variant::Standard
};

const std::vector<DirectConversion>& DirectConversions();

// The conversions that read `source`.
std::vector<const DirectConversion*> DirectConversionsReading(detect::Format source);

// The target keys a format converts to, each once, blank-separated: the menu commands' in
// menu order, then the direct conversions'. Empty when there is none.
std::string TargetKeysOf(detect::Format format);

}  // namespace cli
