// pasarela-cli: the conversions of the four libraries from a terminal.
//   pasarela-cli exports                       every export with its library and parameters
//   pasarela-cli call [LIBRARY:]EXPORT ARG...   calls it and prints its result
//   pasarela-cli commands                      the commands of the desktop program's menu
//   pasarela-cli run CONTROL SOURCE [TARGET] [ANSWER...]
//                                              runs a menu command, answering its dialogs
//   pasarela-cli check | view | report FILE ...  see cli/view_commands.cpp
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "cli/view_commands.h"
#include "frontend/core/about_box.h"
#include "frontend/core/command_flow.h"
#include "frontend/core/command_table.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_export_caller.h"
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
               "     pasarela-cli call [BIBLIOTECA:]FUNCION ARGUMENTO...\n"
               "     pasarela-cli commands\n"
               "     pasarela-cli run ORDEN ORIGEN [DESTINO|-] [RESPUESTA...]\n%s",
               cli::ViewCommandsUsage());
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

int ListCommands() {
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    if (command.kind != frontend::ItemKind::Command) continue;
    std::string path = command.menu.caption;
    if (!command.submenu.control.empty()) path += " > " + command.submenu.caption;
    std::printf("%-36s %-28s %s\n", command.control.c_str(), path.c_str(),
                frontend::CaptionWithoutAccelerator(command.caption).c_str());
  }
  return 0;
}

// Answers the dialogs of a command from the arguments: the first open dialog takes the
// source, the save dialog the target (the proposed name when it is "-" or missing), and every
// further dialog (a list, the alignment of the field-book command) the next answer.
class ArgumentHost : public frontend::CommandHost {
 public:
  ArgumentHost(std::string source, std::string target, std::vector<std::string> answers)
      : source_(std::move(source)), target_(std::move(target)), answers_(std::move(answers)) {}

  bool AskSource(const std::string& /*filter*/, std::string& path) override {
    if (!sourceTaken_) {
      sourceTaken_ = true;
      path = source_;
      return !path.empty();
    }
    return NextAnswer("el fichero que pide el segundo diálogo", path);
  }

  bool AskTarget(const std::string& /*filter*/, std::string& path) override {
    if (!target_.empty() && target_ != "-") path = target_;
    if (path.empty()) Note("falta el fichero destino (la orden no propone ninguno)");
    return !path.empty();
  }

  int ChooseFromList(frontend::ListKind /*kind*/, const std::string& caption,
                     const std::vector<std::string>& lines) override {
    std::string answer;
    if (NextAnswer("la línea elegida de la lista", answer)) {
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == answer) return static_cast<int>(i);
      }
      Note("\"" + answer + "\" no está en la lista");
    }
    std::fprintf(stderr, "%s:\n", caption.c_str());
    for (const std::string& line : lines) std::fprintf(stderr, "  %s\n", line.c_str());
    return -1;
  }

  void ShowMessage(const std::string& text, frontend::MessageIcon /*icon*/) override {
    std::string shown = text;
    for (std::size_t crlf = shown.find("\r\n"); crlf != std::string::npos; crlf = shown.find("\r\n", crlf)) {
      shown.erase(crlf, 1);
    }
    std::printf("%s\n", shown.c_str());
  }

  void ShowAbout() override {
    const frontend::AboutText& about = frontend::AboutBoxText();
    std::printf("%s\nVersión %s\n%s\n%s\n%s\n%s\n", about.caption.c_str(), about.version.c_str(),
                about.company.c_str(), about.web.c_str(), about.telephone.c_str(), about.fax.c_str());
  }

 private:
  bool NextAnswer(const char* what, std::string& answer) {
    if (next_ >= answers_.size()) {
      Note(std::string("falta ") + what);
      return false;
    }
    answer = answers_[next_++];
    return true;
  }

  static void Note(const std::string& text) { std::fprintf(stderr, "pasarela-cli: %s\n", text.c_str()); }

  std::string source_;
  std::string target_;
  std::vector<std::string> answers_;
  bool sourceTaken_ = false;
  std::size_t next_ = 0;
};

int RunCommand(const std::string& control, const std::vector<std::string>& arguments) {
  const frontend::MenuCommand* command = frontend::FindCommand(control);
  if (command == nullptr) return Fail("orden desconocida: " + control + " (véase pasarela-cli commands)");
  const bool convertsFiles = command->variant != frontend::Variant::Quit && command->variant != frontend::Variant::About;
  if (convertsFiles && arguments.empty()) return Fail("falta el fichero origen");
  ArgumentHost host(arguments.size() > 0 ? arguments[0] : std::string(),
                    arguments.size() > 1 ? arguments[1] : std::string(),
                    arguments.size() > 2 ? std::vector<std::string>(arguments.begin() + 2, arguments.end())
                                         : std::vector<std::string>());
  frontend::LibraryLoader loader;
  frontend::LibraryExportCaller exports(loader);
  frontend::CommandRunner runner(host, exports, frontend::ProgramDirectory());
  const frontend::CommandOutcome outcome = runner.Run(*command);
  if (!runner.lastFailure().empty()) std::fprintf(stderr, "pasarela-cli: %s\n", runner.lastFailure().c_str());
  if (outcome == frontend::CommandOutcome::Stopped) std::fprintf(stderr, "pasarela-cli: orden no completada\n");
  return outcome == frontend::CommandOutcome::Converted || outcome == frontend::CommandOutcome::Done ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "exports") == 0 && argc == 2) return ListExports();
  if (argc >= 3 && std::strcmp(argv[1], "call") == 0) {
    return CallExport(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  }
  if (argc == 2 && std::strcmp(argv[1], "commands") == 0) return ListCommands();
  if (argc >= 3 && std::strcmp(argv[1], "run") == 0) {
    return RunCommand(argv[2], std::vector<std::string>(argv + 3, argv + argc));
  }
  int status = 0;
  if (cli::RunViewCommand(argc, argv, status)) return status;
  PrintUsage();
  return kUsageError;
}
