// Every export of the four libraries, as data: library, name, parameter names and a caller
// that converts text arguments to the export's own parameter types.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace frontend {

// What a call returned: the result (when the export has one) and the text left in each
// in/out buffer parameter, in parameter order.
struct CallOutcome {
  bool hasResult = false;
  int32_t result = 0;
  std::vector<std::string> buffers;
};

// Calls the export at `entry` with `arguments` converted to its parameter types; false with
// `error` set when an argument does not fit its type.
using ExportInvoker = bool (*)(void* entry, const std::vector<std::string>& arguments, CallOutcome& outcome,
                               std::string& error);

struct ExportEntry {
  const char* library;     // "Viaducto", "Calzada", "Planimetro", "Shapeline"
  const char* name;        // the exported symbol
  const char* parameters;  // parameter names, separated by commas
  int parameterCount;
  ExportInvoker invoke;
};

const std::vector<ExportEntry>& ExportTable();

// The entry of `library` (any library when empty) named `name`; null when there is none.
const ExportEntry* FindExport(const std::string& name, const std::string& library = std::string());

// Size of each in/out text buffer handed to an export.
inline constexpr std::size_t kInOutBufferSize = 4096;

}  // namespace frontend
