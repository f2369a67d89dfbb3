#include "fuzz/driver.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>

#include "common/paths.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"

namespace fuzzing {
namespace {

struct ResolvedCall {
  const frontend::ExportEntry* entry = nullptr;
  void* address = nullptr;
};

extern "C" void SilentHook(const char*, const char*) {}

class Workspace {
 public:
  Workspace() {
    char pattern[] = "/tmp/pasarela-fuzz-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    directory_ = made;
    // Fixed temporary names ($$$$.EJE, $$$.xml, $$$.TRI) go to the private directory too.
    ::setenv("TEMP", directory_.c_str(), 1);
    for (const char* library : {"Viaducto", "Calzada", "Planimetro", "Shapeline"}) {
      std::string error;
      void* setter = loader_.Resolve(library, std::string(library) + "_SetMessageHook", error);
      if (setter != nullptr) reinterpret_cast<void (*)(void (*)(const char*, const char*))>(setter)(&SilentHook);
    }
  }

  const std::string& directory() const { return directory_; }
  std::string File(const char* name) const { return directory_ + "/" + name; }

  ResolvedCall Resolve(const FuzzCall& call) {
    ResolvedCall resolved;
    const std::string qualified = call.exportName;
    const std::size_t colon = qualified.find(':');
    const std::string library = qualified.substr(0, colon);
    const std::string name = qualified.substr(colon + 1);
    resolved.entry = frontend::FindExport(name, library);
    if (resolved.entry == nullptr) return resolved;
    std::string error;
    resolved.address = loader_.Resolve(library, name, error);
    return resolved;
  }

  // Everything a run left in the directory goes, so the next run starts clean.
  void Empty() const {
    DIR* dir = ::opendir(directory_.c_str());
    if (dir == nullptr) return;
    while (const dirent* item = ::readdir(dir)) {
      if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
      const std::string path = directory_ + "/" + item->d_name;
      if (::unlink(path.c_str()) != 0) ::rmdir(path.c_str());
    }
    ::closedir(dir);
  }

 private:
  std::string directory_;
  frontend::LibraryLoader loader_;
};

void WriteBytes(const std::string& path, std::string_view bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

}  // namespace

std::vector<std::string_view> SplitParts(std::string_view content) {
  static constexpr std::string_view kSeparator = "\n@@@@\n";
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = content.find(kSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(content.substr(0, at));
    content.remove_prefix(at + kSeparator.size());
  }
  parts.push_back(content);
  while (parts.size() < 3) parts.emplace_back();
  return parts;
}

int RunFuzzCalls(const uint8_t* data, std::size_t size, const std::vector<FuzzCall>& calls) {
  static Workspace workspace;
  static std::map<const std::vector<FuzzCall>*, std::vector<ResolvedCall>> resolvedByFamily;
  std::vector<ResolvedCall>& resolved = resolvedByFamily[&calls];
  if (resolved.empty()) {
    for (const FuzzCall& call : calls) resolved.push_back(workspace.Resolve(call));
  }
  if (size < 2 || calls.empty()) return 0;
  const std::size_t pick = data[0] % calls.size();
  const unsigned choice = data[1];
  const ResolvedCall& target = resolved[pick];
  if (target.address == nullptr) return 0;

  const std::vector<std::string_view> parts =
      SplitParts(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
  // Names that occur in the seed files: profiles, surfaces, layers.
  static const char* const kNames[] = {"",   "E: R", "1stave: FGCenter", "M3_RS - CL: M3_RS - CL", "EG",
                                       "FG", "M3_Terrain - Terrain", "0", "TERRENO", "x"};
  std::vector<std::string> arguments;
  for (const char* word : calls[pick].arguments) {
    const std::string_view w = word;
    if (w == "IN" || w == "IN2" || w == "IN3") {
      const std::size_t index = w == "IN" ? 0 : (w == "IN2" ? 1 : 2);
      const std::string path = workspace.File(index == 0 ? "entrada.txt" : index == 1 ? "entrada2.txt" : "entrada3.txt");
      WriteBytes(path, parts[index]);
      arguments.push_back(path);
    } else if (w == "SHP") {
      WriteBytes(workspace.File("capa.shp"), parts[0]);
      WriteBytes(workspace.File("capa.shx"), parts[1]);
      WriteBytes(workspace.File("capa.dbf"), parts[2]);
      arguments.push_back(workspace.File("capa.shp"));
    } else if (w == "OUT") {
      arguments.push_back(workspace.File("salida.txt"));
    } else if (w == "OUT2") {
      arguments.push_back(workspace.File("salida2.txt"));
    } else if (w == "DIR") {
      WriteBytes(workspace.File("jalonex.ini"), parts[1]);
      arguments.push_back(workspace.directory());
    } else if (w == "SEL") {
      arguments.push_back(std::to_string(choice % 4));
    } else if (w == "NAME") {
      arguments.emplace_back(kNames[choice % (sizeof kNames / sizeof kNames[0])]);
    } else {
      arguments.emplace_back(word);
    }
  }
  frontend::CallOutcome outcome;
  std::string error;
  target.entry->invoke(target.address, arguments, outcome, error);
  workspace.Empty();
  return 0;
}

}  // namespace fuzzing
