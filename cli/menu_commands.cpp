// `commands`, `run` and `help`: the menu commands of the desktop program.
#include <cstdio>

#include "cli/argument_host.h"
#include "cli/cli.h"
#include "common/paths.h"
#include "frontend/core/command_flow.h"
#include "frontend/core/command_table.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/core/library_loader.h"

namespace cli {
namespace {

bool IsSelectionCommand(frontend::Variant variant) {
  using frontend::Variant;
  return variant == Variant::LandXmlAlignment || variant == Variant::LandXmlProfile ||
         variant == Variant::LandXmlCrossSections || variant == Variant::LandXmlSurface ||
         variant == Variant::DxfFacesSurface;
}

const char* SelectionWhat(frontend::Variant variant) {
  using frontend::Variant;
  switch (variant) {
    case Variant::LandXmlAlignment: return "el eje del documento";
    case Variant::LandXmlProfile: return "la rasante del documento (\"eje: rasante\")";
    case Variant::LandXmlCrossSections: return "el conjunto de transversales (\"eje: superficie\")";
    case Variant::LandXmlSurface: return "la superficie del documento";
    default: return "la capa del dibujo donde están las caras 3D";
  }
}

std::string MenuPath(const frontend::MenuCommand& command) {
  std::string path = command.menu.caption;
  if (!command.submenu.control.empty()) path += " > " + command.submenu.caption;
  return path + " > " + frontend::CaptionWithoutAccelerator(command.caption);
}

struct RunLine {
  std::vector<std::string> positional;
  bool overwrite = false;
  bool all = false;
};

bool ParseRunLine(const Arguments& arguments, RunLine& line, std::string& error) {
  for (const std::string& argument : arguments) {
    if (argument == "--overwrite" || argument == "-f") {
      line.overwrite = true;
    } else if (argument == "--all") {
      line.all = true;
    } else if (argument.size() > 1 && argument[0] == '-' && argument[1] == '-') {
      error = "opción desconocida: " + argument;
      return false;
    } else {
      line.positional.push_back(argument);
    }
  }
  return true;
}

// One run of the command; prints what went wrong and returns the exit status.
int RunOnce(const frontend::MenuCommand& command, frontend::CommandRunner& runner, ArgumentHost& host) {
  const frontend::CommandOutcome outcome = runner.Run(command);
  if (!host.refusal().empty()) Note(host.refusal());
  if (outcome == frontend::CommandOutcome::Stopped && host.refusal().empty()) Note("orden no completada");
  if (outcome == frontend::CommandOutcome::Converted && host.unusedAnswers() > 0) {
    Note("sobran " + std::to_string(host.unusedAnswers()) + " respuestas que la orden no ha pedido");
  }
  return outcome == frontend::CommandOutcome::Converted || outcome == frontend::CommandOutcome::Done ? kDone : kFailed;
}

}  // namespace

int ListCommands(const Arguments& arguments) {
  if (!arguments.empty()) return UsageError("commands no lleva argumentos");
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    if (command.kind != frontend::ItemKind::Command) continue;
    std::printf("%s\n", frontend::CommandListLine(command).c_str());
  }
  return kDone;
}

int RunMenuCommand(const Arguments& arguments) {
  if (arguments.empty()) return UsageError("falta la orden (véase pasarela-cli commands)");
  const frontend::MenuCommand* command = frontend::FindCommand(arguments[0]);
  if (command == nullptr) return UsageError("orden desconocida: " + arguments[0] + " (véase pasarela-cli commands)");
  RunLine line;
  std::string error;
  if (!ParseRunLine(Arguments(arguments.begin() + 1, arguments.end()), line, error)) return UsageError(error);
  const bool convertsFiles =
      command->variant != frontend::Variant::Quit && command->variant != frontend::Variant::About;
  if (convertsFiles && line.positional.empty()) return UsageError("falta el fichero origen");
  if (line.all && !IsSelectionCommand(command->variant)) {
    return UsageError("--all es para las órdenes que eligen de una lista; " + command->control + " no elige");
  }
  const std::string source = line.positional.empty() ? std::string() : line.positional[0];
  const std::string target = line.positional.size() > 1 ? line.positional[1] : std::string();
  const std::vector<std::string> answers(line.positional.size() > 2 ? line.positional.begin() + 2
                                                                    : line.positional.end(),
                                         line.positional.end());

  frontend::LibraryLoader loader;
  frontend::LibraryExportCaller exports(loader);
  if (!line.all) {
    ArgumentHost host(*command, source, target, answers, line.overwrite);
    frontend::CommandRunner runner(host, exports, frontend::ProgramDirectory());
    return RunOnce(*command, runner, host);
  }

  // --all: one target per entry, named after the source (or the target given) and the entry.
  if (!answers.empty()) return UsageError("con --all no se elige ninguna línea");
  ArgumentHost listing(*command, source, target, {}, line.overwrite);
  frontend::CommandRunner lister(listing, exports, frontend::ProgramDirectory());
  const std::vector<std::string> entries = lister.SelectionEntries(*command, source);
  if (entries.empty()) {
    std::fprintf(stderr, "%s\n", PlainLines(frontend::FailureText(lister.lastFailure())).c_str());
    return kFailed;
  }
  const std::string base = !target.empty() && target != "-" ? target : common::ChangeExtension(source, command->extension);
  TargetNames names;
  const std::vector<std::string> targets = EntryTargets(base, entries, names);
  int status = kDone;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    ArgumentHost host(*command, source, targets[i], {}, line.overwrite);
    host.ChooseAlways(static_cast<int>(i));
    frontend::CommandRunner runner(host, exports, frontend::ProgramDirectory());
    if (RunOnce(*command, runner, host) != kDone) status = kFailed;
  }
  return status;
}

int ShowHelp(const Arguments& arguments) {
  if (arguments.size() != 1) {
    if (arguments.empty()) return UsageError("help ORDEN: falta la orden (véase pasarela-cli commands o --help)");
    return UsageError("help lleva una sola orden");
  }
  for (const Verb& verb : Verbs()) {
    if (arguments[0] == verb.name) {
      PrintVerbHelp(verb, stdout);
      return kDone;
    }
  }
  const frontend::MenuCommand* command = frontend::FindCommand(arguments[0]);
  if (command == nullptr) return UsageError("orden desconocida: " + arguments[0] + " (véase pasarela-cli commands)");
  std::printf("%s: %s\n", command->control.c_str(), MenuPath(*command).c_str());
  if (command->variant == frontend::Variant::Quit || command->variant == frontend::Variant::About) {
    std::printf("No pide nada.\n    pasarela-cli run %s\n", command->control.c_str());
    return kDone;
  }
  int step = 1;
  std::printf("Pide, en este orden:\n");
  std::printf("  %d. ORIGEN: %s\n", step++, command->sourceFilter.c_str());
  if (IsSelectionCommand(command->variant)) {
    std::printf("  %d. LÍNEA: %s (su texto, su número desde 1, o --all para todas)\n", step++,
                SelectionWhat(command->variant));
  }
  if (command->variant == frontend::Variant::FieldBookToClipTer) {
    std::printf("  %d. EJE: %s\n", step++, command->secondSourceFilter.c_str());
  }
  std::printf("  %d. DESTINO: %s", step++, command->targetFilter.c_str());
  if (command->extension.empty()) {
    std::printf(" (no se propone ninguno: hay que darlo)\n");
  } else {
    std::printf(" (\"-\" toma el origen con extensión %s)\n", command->extension.c_str());
  }
  if (command->variant == frontend::Variant::ExportLandXmlBySource || command->variant == frontend::Variant::ExportIfcBySource) {
    std::printf("La función se elige por la extensión del origen:");
    for (const frontend::ExportByExtension& byExtension : command->byExtension) {
      std::printf(" %s %s;", byExtension.extension.c_str(), byExtension.exportName.c_str());
    }
    std::printf("\n");
  }
  if (command->variant == frontend::Variant::ExportIfcBySource) {
    std::printf("Con convert, la rasante y el sistema de coordenadas: --with-profile RASANTE.ras --crs EPSG:n\n");
  }
  std::string usage = "pasarela-cli run " + command->control + " ORIGEN " +
                      (command->extension.empty() ? "DESTINO" : "[DESTINO|-]");
  if (IsSelectionCommand(command->variant)) usage += " [LÍNEA | --all]";
  if (command->variant == frontend::Variant::FieldBookToClipTer) usage += " EJE";
  std::printf("    %s [--overwrite]\n", usage.c_str());
  return kDone;
}

}  // namespace cli
