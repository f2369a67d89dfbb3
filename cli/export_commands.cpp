// `exports` and `call`: the libraries' functions themselves.
#include <cstdio>

#include "cli/cli.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"

namespace cli {

int ListExports(const Arguments& arguments) {
  if (!arguments.empty()) return UsageError("exports no lleva argumentos");
  for (const frontend::ExportEntry& entry : frontend::ExportTable()) {
    std::string parameters = entry.parameters;
    for (std::size_t comma = parameters.find(','); comma != std::string::npos; comma = parameters.find(',', comma + 2)) {
      parameters.replace(comma, 1, ", ");
    }
    std::printf("%-11s %s(%s)\n", entry.library, entry.name, parameters.c_str());
  }
  return kDone;
}

int CallExport(const Arguments& arguments) {
  if (arguments.empty()) return UsageError("falta la función (véase pasarela-cli exports)");
  const std::string& qualifiedName = arguments[0];
  const Arguments values(arguments.begin() + 1, arguments.end());
  std::string library;
  std::string name = qualifiedName;
  const std::size_t colon = qualifiedName.find(':');
  if (colon != std::string::npos) {
    library = qualifiedName.substr(0, colon);
    name = qualifiedName.substr(colon + 1);
  }
  const frontend::ExportEntry* entry = frontend::FindExport(name, library);
  if (entry == nullptr) return UsageError("función desconocida: " + qualifiedName);
  if (static_cast<int>(values.size()) != entry->parameterCount) {
    return UsageError(std::string(entry->name) + " espera " + std::to_string(entry->parameterCount) +
                      " argumentos (" + entry->parameters + "), recibidos " + std::to_string(values.size()));
  }
  frontend::LibraryLoader loader;
  std::string error;
  void* address = loader.Resolve(entry->library, entry->name, error);
  if (address == nullptr) return UsageError(error);
  frontend::CallOutcome outcome;
  if (!entry->invoke(address, values, outcome, error)) return UsageError(error);
  for (const std::string& buffer : outcome.buffers) std::printf("%s\n", buffer.c_str());
  if (!outcome.hasResult) return kDone;
  std::printf("%d\n", outcome.result);
  // The front end judges a result by its low 16 bits.
  return (outcome.result & 0xFFFF) != 0 ? kDone : kFailed;
}

}  // namespace cli
