#include "frontend/core/library_export_caller.h"

#include <limits.h>
#include <unistd.h>

#include "frontend/core/export_table.h"

namespace frontend {

LibraryExportCaller::LibraryExportCaller(LibraryLoader& loader, LibraryMessageHook hook)
    : loader_(loader) {
  if (hook != nullptr) SetUncollectedMessageHandler(hook);
}

int32_t LibraryExportCaller::Call(const std::string& library, const std::string& name,
                                  const std::vector<std::string>& arguments) {
  const ExportEntry* entry = FindExport(name, library);
  if (entry == nullptr) throw ConversionFailure("la biblioteca " + library + " no tiene la función " + name);
  std::string error;
  void* address = loader_.Resolve(library, name, error);
  if (address == nullptr) throw ConversionFailure(error);
  InstallHook(library);
  CallOutcome outcome;
  if (!entry->invoke(address, arguments, outcome, error)) throw ConversionFailure(name + ": " + error);
  return outcome.hasResult ? outcome.result : 0;
}

void LibraryExportCaller::InstallHook(const std::string& library) {
  if (!hooked_.insert(library).second) return;
  std::string error;
  void* setter = loader_.Resolve(library, library + "_SetMessageHook", error);
  if (setter == nullptr) return;  // a library without messages of its own
  using HookSetter = void (*)(LibraryMessageHook);
  reinterpret_cast<HookSetter>(setter)(&DeliverLibraryMessage);
}

std::string ProgramDirectory() {
  char executable[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  if (length <= 0) return ".";
  const std::string path(executable, static_cast<std::size_t>(length));
  const std::size_t slash = path.find_last_of('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace frontend
