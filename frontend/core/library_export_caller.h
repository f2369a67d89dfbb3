// Calls the exports of the command table through the library loader: the export is resolved
// on the handle of the library the table names and called through the export table's typed
// invoker, never through the process-wide lookup.
#pragma once

#include <set>
#include <string>

#include "frontend/core/command_flow.h"
#include "frontend/core/library_loader.h"
#include "frontend/core/library_messages.h"

namespace frontend {

class LibraryExportCaller : public ExportCaller {
 public:
  // DeliverLibraryMessage is installed in each library (<Library>_SetMessageHook) the first
  // time one of its exports is called, so the library's messages reach the program; `hook`,
  // when given, shows the messages no running command collects.
  explicit LibraryExportCaller(LibraryLoader& loader, LibraryMessageHook hook = nullptr);

  int32_t Call(const std::string& library, const std::string& name,
               const std::vector<std::string>& arguments) override;

 private:
  void InstallHook(const std::string& library);

  LibraryLoader& loader_;
  std::set<std::string> hooked_;
};

// The directory of the running program (without a final separator).
std::string ProgramDirectory();

}  // namespace frontend
