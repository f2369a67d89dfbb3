// pasarela-cli: the conversions of the four libraries from a terminal.
//   pasarela-cli exports                       every export with its library and parameters
//   pasarela-cli call [LIBRARY:]EXPORT ARG...   calls it and prints its result
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"

namespace {

constexpr int kUsageError = 2;

int Fail(const std::string& message) {
  std::fprintf(stderr, "pasarela-cli: %s\n", message.c_str());
  return kUsageError;
}

void PrintUsage() {
  std::fprintf(stderr,
               "uso: pasarela-cli exports\n"
               "     pasarela-cli call [BIBLIOTECA:]FUNCION ARGUMENTO...\n");
}

int ListExports() {
  for (const frontend::ExportEntry& entry : frontend::ExportTable()) {
    std::string parameters = entry.parameters;
    for (std::size_t comma = parameters.find(','); comma != std::string::npos; comma = parameters.find(',', comma + 2)) {
      parameters.replace(comma, 1, ", ");
    }
    std::printf("%-11s %s(%s)\n", entry.library, entry.name, parameters.c_str());
  }
  return 0;
}

int CallExport(const std::string& qualifiedName, const std::vector<std::string>& arguments) {
  std::string library;
  std::string name = qualifiedName;
  const std::size_t colon = qualifiedName.find(':');
  if (colon != std::string::npos) {
    library = qualifiedName.substr(0, colon);
    name = qualifiedName.substr(colon + 1);
  }
  const frontend::ExportEntry* entry = frontend::FindExport(name, library);
  if (entry == nullptr) return Fail("función desconocida: " + qualifiedName);
  if (static_cast<int>(arguments.size()) != entry->parameterCount) {
    return Fail(std::string(entry->name) + " espera " + std::to_string(entry->parameterCount) +
                " argumentos (" + entry->parameters + "), recibidos " + std::to_string(arguments.size()));
  }
  frontend::LibraryLoader loader;
  std::string error;
  void* address = loader.Resolve(entry->library, entry->name, error);
  if (address == nullptr) return Fail(error);
  frontend::CallOutcome outcome;
  if (!entry->invoke(address, arguments, outcome, error)) return Fail(error);
  for (const std::string& buffer : outcome.buffers) std::printf("%s\n", buffer.c_str());
  if (!outcome.hasResult) return 0;
  std::printf("%d\n", outcome.result);
  // The front end judges a result by its low 16 bits.
  return (outcome.result & 0xFFFF) != 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "exports") == 0 && argc == 2) return ListExports();
  if (argc >= 3 && std::strcmp(argv[1], "call") == 0) {
    return CallExport(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  }
  PrintUsage();
  return kUsageError;
}
