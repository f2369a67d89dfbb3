// `convert`: detects each source and runs the menu command that reads its format and writes
// the one asked for (by --to or by the target's extension), answering the command's list from
// --all, --alignment, --profile, --surface or --layer.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/argument_host.h"
#include "cli/cli.h"
#include "cli/direct_conversions.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "frontend/core/command_flow.h"
#include "frontend/core/command_formats.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/core/library_loader.h"
#include "frontend/detect/detect.h"

namespace cli {
namespace {

struct ConvertLine {
  std::vector<std::string> sources;
  std::string target;     // -o
  std::string folder;     // -d
  std::string to;         // --to
  std::string choice;     // --alignment, --profile, --surface or --layer
  std::string axis;       // --axis: the alignment of the field-book command
  bool all = false;
  bool overwrite = false;
};

// The target key an extension stands for.
std::string KeyOfExtension(std::string extension) {
  extension = common::LowerAscii(extension);
  if (extension == "xml") return "landxml";
  if (extension == "trv") return "clip-trv";
  if (extension == "ter") return "clip-ter";
  if (extension == "plt") return "clip-plt";
  if (extension == "alz") return "clip-alz";
  if (extension == "xst") return "topsurv";
  if (extension == "odb") return "topcal";
  return extension;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The regular files of a folder, in name order.
std::vector<std::string> FilesOf(const std::string& folder) {
  std::vector<std::string> files;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return files;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const std::string path = common::JoinPath(folder, entry->d_name);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) files.push_back(path);
  }
  ::closedir(dir);
  std::sort(files.begin(), files.end());
  return files;
}

bool ParseConvertLine(const Arguments& arguments, ConvertLine& line, std::string& error) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&](std::string& into) {
      if (i + 1 >= arguments.size()) {
        error = argument + " necesita un valor";
        return false;
      }
      into = arguments[++i];
      return true;
    };
    if (argument == "-o") {
      if (!value(line.target)) return false;
    } else if (argument == "-d") {
      if (!value(line.folder)) return false;
    } else if (argument == "--to") {
      if (!value(line.to)) return false;
    } else if (argument == "--alignment" || argument == "--profile" || argument == "--surface" ||
               argument == "--layer") {
      if (!line.choice.empty()) {
        error = "una sola elección de la lista (--alignment, --profile, --surface o --layer)";
        return false;
      }
      if (!value(line.choice)) return false;
    } else if (argument == "--axis") {
      if (!value(line.axis)) return false;
    } else if (argument == "--all") {
      line.all = true;
    } else if (argument == "--overwrite" || argument == "-f") {
      line.overwrite = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "opción desconocida: " + argument;
      return false;
    } else if (IsDirectory(argument)) {
      const std::vector<std::string> files = FilesOf(argument);
      line.sources.insert(line.sources.end(), files.begin(), files.end());
    } else {
      line.sources.push_back(argument);
    }
  }
  if (line.sources.empty()) error = "convert: falta el fichero origen";
  else if (line.target.empty() == line.folder.empty()) error = "convert: hace falta -o DESTINO o -d CARPETA (uno de los dos)";
  else if (!line.target.empty() && line.sources.size() > 1) error = "convert: -o es para un solo origen; use -d CARPETA";
  else if (line.all && !line.choice.empty()) error = "convert: --all o una elección, no las dos";
  if (line.to.empty() && !line.target.empty()) line.to = KeyOfExtension(common::SplitPath(line.target).extension.substr(
                                                     line.target.find('.') == std::string::npos ? 0 : 1));
  if (error.empty() && line.to.empty()) error = "convert: falta --to FORMATO (véase pasarela-cli formats)";
  return error.empty();
}

bool IsSelectionCommand(frontend::Variant variant) {
  using frontend::Variant;
  return variant == Variant::LandXmlAlignment || variant == Variant::LandXmlProfile ||
         variant == Variant::LandXmlCrossSections || variant == Variant::LandXmlSurface ||
         variant == Variant::DxfFacesSurface;
}

// The commands that read what `detection` may be and write `to`.
std::vector<const frontend::MenuCommand*> Candidates(const detect::Detection& detection, const std::string& to) {
  std::vector<detect::Format> formats{detection.format};
  for (detect::Format format : detection.possible) {
    if (format != detection.format) formats.push_back(format);
  }
  std::vector<const frontend::MenuCommand*> found;
  for (detect::Format format : formats) {
    for (const frontend::MenuCommand* command : frontend::CommandsReading(format)) {
      if (common::EqualsIgnoringCase(frontend::FormatsOfCommand(command->control)->target, to) &&
          std::find(found.begin(), found.end(), command) == found.end()) {
        found.push_back(command);
      }
    }
    for (const DirectConversion* direct : DirectConversionsReading(format)) {
      if (common::EqualsIgnoringCase(direct->target, to)) found.push_back(&direct->command);
    }
    // The layout the content shows first decides, when its commands can make the target.
    if (!found.empty()) break;
  }
  return found;
}

std::string TargetsOf(const detect::Detection& detection) {
  const std::string targets = TargetKeysOf(detection.format);
  return targets.empty() ? "nada" : targets;
}

// The target of `source` in `folder`: its name with the command's extension.
std::string TargetInFolder(const std::string& folder, const std::string& source, const frontend::MenuCommand& command,
                           const std::string& to) {
  const std::string extension = !command.extension.empty() ? command.extension : to == "escaner" ? "txt" : "tra";
  std::string name = common::SplitPath(source).name + "." + extension;
  // A target beside its source with the same name would be the source itself.
  const std::string target = common::JoinPath(folder, name);
  if (target == source) return common::AppendSuffix(target, "_" + to);
  return target;
}

// Runs `command` once for one target; prints the target's line. The exit status of the run.
int RunFor(const frontend::MenuCommand& command, frontend::ExportCaller& exports, const std::string& source,
           const std::string& target, const std::vector<std::string>& answers, int fixedChoice, bool overwrite) {
  ArgumentHost host(command, source, target, answers, overwrite);
  host.KeepSuccessMessage();
  if (fixedChoice >= 0) host.ChooseAlways(fixedChoice);
  frontend::CommandRunner runner(host, exports, frontend::ProgramDirectory());
  const frontend::CommandOutcome outcome = runner.Run(command);
  if (!host.refusal().empty()) Note(source + ": " + host.refusal());
  if (outcome != frontend::CommandOutcome::Converted) {
    if (host.refusal().empty() && runner.lastFailure().empty()) Note(source + ": conversión no completada");
    return kFailed;
  }
  // One line per file written (a command may write several named after the target).
  for (const std::string& written : frontend::WrittenTargets(command, target)) {
    const frontend::TargetReport report = frontend::InspectTarget(written);
    if (!report.exists) continue;
    std::printf("%s: %s\n", written.c_str(), report.summary.empty() ? "generado" : report.summary.c_str());
  }
  return kDone;
}

int ConvertOne(const ConvertLine& line, const std::string& source, frontend::ExportCaller& exports,
               TargetNames& names) {
  const detect::Detection detection = detect::DetectFile(source);
  if (detection.format == detect::Format::kMissing) {
    Note(detection.note);
    return kFailed;
  }
  const std::vector<const frontend::MenuCommand*> commands = Candidates(detection, line.to);
  if (commands.empty()) {
    Note(source + " (" + detect::DescribeDetection(detection) + ") no se convierte a " + line.to +
         "; se puede convertir a: " + TargetsOf(detection));
    return kFailed;
  }
  if (commands.size() > 1) {
    std::string names;
    for (const frontend::MenuCommand* command : commands) names += " " + command->control;
    Note(source + ": varias órdenes lo convierten a " + line.to + ":" + names + " (use pasarela-cli run ORDEN)");
    return kFailed;
  }
  const frontend::MenuCommand& command = *commands.front();
  const bool selects = IsSelectionCommand(command.variant);
  if ((line.all || !line.choice.empty()) && !selects) {
    Note(source + ": " + command.control + " no elige de una lista: sobra " + (line.all ? "--all" : "la elección"));
    return kFailed;
  }
  std::vector<std::string> answers;
  if (!line.choice.empty()) answers.push_back(line.choice);
  if (command.variant == frontend::Variant::FieldBookToClipTer) {
    if (line.axis.empty()) {
      Note(source + ": " + command.control + " necesita el eje: --axis FICHERO.eje");
      return kFailed;
    }
    answers.push_back(line.axis);
  }
  const std::string target =
      !line.target.empty() ? line.target : TargetInFolder(line.folder, source, command, line.to);
  if (!line.all) return RunFor(command, exports, source, names.Claim(target), answers, -1, line.overwrite);

  ArgumentHost listing(command, source, target, {}, line.overwrite);
  frontend::CommandRunner lister(listing, exports, frontend::ProgramDirectory());
  const std::vector<std::string> entries = lister.SelectionEntries(command, source);
  if (entries.empty()) {
    Note(source + ": " + PlainLines(lister.lastFailure()));
    return kFailed;
  }
  const std::vector<std::string> targets = EntryTargets(target, entries, names);
  int status = kDone;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (RunFor(command, exports, source, targets[i], {}, static_cast<int>(i), line.overwrite) != kDone) status = kFailed;
  }
  return status;
}

}  // namespace

int ConvertFiles(const Arguments& arguments) {
  ConvertLine line;
  std::string error;
  if (!ParseConvertLine(arguments, line, error)) return UsageError(error);
  if (!line.folder.empty() && !IsDirectory(line.folder)) return UsageError("convert: no existe la carpeta " + line.folder);
  frontend::LibraryLoader loader;
  frontend::LibraryExportCaller exports(loader);
  const bool progress = line.sources.size() > 1 && ::isatty(STDERR_FILENO) != 0;
  TargetNames names;
  int status = kDone;
  for (std::size_t i = 0; i < line.sources.size(); ++i) {
    if (progress) std::fprintf(stderr, "[%zu/%zu] %s\n", i + 1, line.sources.size(), line.sources[i].c_str());
    if (ConvertOne(line, line.sources[i], exports, names) != kDone) status = kFailed;
  }
  return status;
}

}  // namespace cli
