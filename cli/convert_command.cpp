// `convert`: detects each source and runs the conversion of the registry that reads its format
// (and, for a LandXML document or a drawing, the data it holds) and writes the one asked for
// (by --to or by the target's extension), answering the command's list from --all,
// --alignment, --profile, --surface or --layer.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/argument_host.h"
#include "cli/cli.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "common/text_case.h"
#include "frontend/core/command_flow.h"
#include "frontend/core/conversions.h"
#include "frontend/core/coordinate_systems.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/core/library_loader.h"
#include "frontend/detect/contents.h"
#include "frontend/detect/detect.h"

namespace cli {
namespace {

struct Source {
  std::string path;
  bool inFolder = false;  // named by the folder that holds it, not by itself
};

struct ConvertLine {
  std::vector<Source> sources;
  std::string target;     // -o
  std::string folder;     // -d
  std::string to;         // --to
  std::string choice;     // --alignment, --profile, --surface, --layer or --entry
  std::string axis;       // --axis: the alignment of the field-book command
  std::string profile;    // --with-profile: the native profile of an IFC export or of an alignment's map
  std::string crs;        // --crs: the coordinate system of an IFC export
  bool all = false;
  bool overwrite = false;
  frontend::SystemOptions systems;  // --s_srs, --t_srs, --allow-ballpark
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

// Why a target named `target` cannot be written as `to`: its extension is that of another
// format (a profile written into "perfil.eje" would be taken for an alignment). Empty when the
// extension fits `to` or belongs to no format of the suite.
std::string ExtensionOfAnotherFormat(const std::string& target, const std::string& to) {
  const std::string dotted = common::SplitPath(target).extension;
  if (dotted.size() < 2) return std::string();
  const std::string extension = common::LowerAscii(dotted.substr(1));
  std::vector<std::string> owners;   // the formats written with this extension
  std::vector<std::string> written;  // the extensions `to` is written with
  for (const frontend::MenuCommand* conversion : frontend::Conversions()) {
    const std::string own = common::LowerAscii(frontend::TargetExtension(*conversion));
    const bool isTo = common::EqualsIgnoringCase(conversion->target, to);
    if (isTo && std::find(written.begin(), written.end(), own) == written.end()) written.push_back(own);
    if ((own == extension || KeyOfExtension(extension) == common::LowerAscii(conversion->target)) &&
        std::find(owners.begin(), owners.end(), conversion->target) == owners.end()) {
      owners.push_back(conversion->target);
    }
  }
  if (written.empty() || owners.empty() || KeyOfExtension(extension) == common::LowerAscii(to) ||
      std::find(written.begin(), written.end(), extension) != written.end()) {
    return std::string();
  }
  std::string formats;
  for (const std::string& owner : owners) formats += (formats.empty() ? "" : ", ") + owner;
  std::string extensions;
  for (const std::string& own : written) extensions += (extensions.empty() ? "." : " o .") + own;
  return "convert: el destino " + target + " tiene la extensión ." + extension + ", que es de otro formato (" +
         formats + "), y --to " + to + " escribe ficheros " + extensions +
         ": cambie la extensión del destino o el formato pedido";
}

// Makes `folder` and the folders above it that are missing.
bool MakeFolders(const std::string& folder, std::string& error) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (!part.empty() && !IsDirectory(part) && ::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
      error = "convert: no se puede crear la carpeta " + part + ": " + std::strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  if (IsDirectory(folder)) return true;
  error = "convert: " + folder + " no es una carpeta";
  return false;
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
               argument == "--layer" || argument == "--entry") {
      if (!line.choice.empty()) {
        error = "una sola elección de la lista (--alignment, --profile, --surface, --layer o --entry)";
        return false;
      }
      if (!value(line.choice)) return false;
    } else if (argument == "--axis") {
      if (!value(line.axis)) return false;
    } else if (argument == "--with-profile") {
      if (!value(line.profile)) return false;
    } else if (argument == "--crs") {
      if (!value(line.crs)) return false;
    } else if (argument == "--all") {
      line.all = true;
    } else if (argument == "--overwrite" || argument == "-f") {
      line.overwrite = true;
    } else if (argument == "--s_srs") {
      if (!value(line.systems.source)) return false;
    } else if (argument == "--t_srs") {
      if (!value(line.systems.target)) return false;
    } else if (argument == "--allow-ballpark") {
      line.systems.allowBallpark = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "opción desconocida: " + argument;
      return false;
    } else if (IsDirectory(argument)) {
      for (const std::string& file : FilesOf(argument)) line.sources.push_back({file, true});
    } else {
      line.sources.push_back({argument, false});
    }
  }
  if (line.sources.empty()) error = "convert: falta el fichero origen";
  else if (line.target.empty() == line.folder.empty()) error = "convert: hace falta -o DESTINO o -d CARPETA (uno de los dos)";
  else if (!line.target.empty() && line.sources.size() > 1) error = "convert: -o es para un solo origen; use -d CARPETA";
  else if (line.all && !line.choice.empty()) error = "convert: --all o una elección, no las dos";
  const bool toGiven = !line.to.empty();
  if (line.to.empty() && !line.target.empty()) line.to = KeyOfExtension(common::SplitPath(line.target).extension.substr(
                                                     line.target.find('.') == std::string::npos ? 0 : 1));
  if (error.empty() && line.to.empty()) error = "convert: falta --to FORMATO (véase pasarela-cli formats)";
  if (error.empty() && toGiven && !line.target.empty()) error = ExtensionOfAnotherFormat(line.target, line.to);
  return error.empty();
}

bool IsSelectionCommand(frontend::Variant variant) {
  using frontend::Variant;
  return variant == Variant::LandXmlAlignment || variant == Variant::LandXmlProfile ||
         variant == Variant::LandXmlCrossSections || variant == Variant::LandXmlSurface ||
         variant == Variant::DxfFacesSurface;
}

struct Candidate {
  const frontend::MenuCommand* conversion;
  detect::Format format;  // the layout of the source it reads
};

// The conversions that read what `contents` may be, find their data in it and write `to`.
std::vector<Candidate> Candidates(const detect::Contents& contents, const std::string& to) {
  const detect::Detection& detection = contents.detection;
  std::vector<detect::Format> formats{detection.format};
  for (detect::Format format : detection.possible) {
    if (format != detection.format) formats.push_back(format);
  }
  std::vector<Candidate> found;
  for (detect::Format format : formats) {
    for (const frontend::MenuCommand* conversion : frontend::ConversionsReading(format)) {
      if (common::EqualsIgnoringCase(conversion->target, to) && frontend::HoldsDataFor(*conversion, contents)) {
        found.push_back({conversion, format});
      }
    }
    // The layout the content shows first decides, when its conversions can make the target.
    if (!found.empty()) break;
  }
  return found;
}

// The target keys of the conversions the file feeds.
std::string TargetsOf(const detect::Contents& contents) {
  std::vector<std::string> keys;
  for (const frontend::MenuCommand* conversion : frontend::ConversionsFor(contents)) {
    if (std::find(keys.begin(), keys.end(), conversion->target) == keys.end()) keys.push_back(conversion->target);
  }
  std::string text;
  for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
  return text.empty() ? "nada" : text;
}

// Whether detection told what the file is (a file of a known format that simply is no source
// of the target asked for).
bool Recognised(detect::Format format) {
  using detect::Format;
  return format != Format::kUnknown && format != Format::kMissing && format != Format::kEmpty &&
         format != Format::kBinary;
}

// The target of `source` in `folder`: its name with the extension of the conversion's target.
std::string TargetInFolder(const std::string& folder, const std::string& source, const frontend::MenuCommand& command,
                           const std::string& to) {
  std::string name = common::SplitPath(source).name + "." + frontend::TargetExtension(command);
  // A target beside its source with the same name would be the source itself.
  const std::string target = common::JoinPath(folder, name);
  if (target == source) return common::AppendSuffix(target, "_" + to);
  return target;
}

// The layers of a drawing's list that hold 3D faces (none when none does):
// a layer without faces makes no surface.
std::vector<std::string> LayersWithFaces(const std::vector<std::string>& entries, const detect::Contents& contents) {
  std::vector<std::string> kept;
  for (const std::string& entry : entries) {
    for (const detect::LayerSummary& layer : contents.layers) {
      const auto faces = layer.entities.find("3DFACE");
      // The import takes the faces of a layer whatever the letter case its entities name it in.
      if (common::EqualsIgnoringCase(layer.name, entry) && faces != layer.entities.end() && faces->second > 0) {
        if (kept.empty() || kept.back() != entry) kept.push_back(entry);
      }
    }
  }
  return kept;
}

// Runs `command` once for one target; prints the target's line. The exit status of the run.
int RunFor(const frontend::MenuCommand& command, detect::Format format, frontend::ExportCaller& exports,
           const std::string& source, const std::string& target, const std::vector<std::string>& answers,
           int fixedChoice, bool overwrite, const ConvertLine& line, const frontend::SystemOptions& systems,
           bool printTargets = true) {
  ArgumentHost host(command, source, target, answers, overwrite);
  host.KeepSuccessMessage();
  if (fixedChoice >= 0) host.ChooseAlways(fixedChoice);
  frontend::CommandRunner runner(host, exports, frontend::ProgramDirectory());
  runner.SetSourceFormat(format);
  runner.SetIfcOptions(line.profile, line.crs);
  runner.SetSystems(systems);
  const frontend::CommandOutcome outcome = runner.Run(command);
  if (!host.refusal().empty()) Note(source + ": " + host.refusal());
  if (outcome != frontend::CommandOutcome::Converted) {
    if (host.refusal().empty() && runner.lastFailure().empty()) Note(source + ": conversión no completada");
    return kFailed;
  }
  if (!printTargets) return kDone;
  // One line per file written (a command may write several named after the target).
  // Each target is read once: the command's own look at it is reused.
  for (const std::string& written : frontend::WrittenTargets(command, target)) {
    frontend::TargetReport report;
    bool looked = false;
    for (const auto& [path, seen] : runner.writtenReports()) {
      if (path == written) {
        report = seen;
        looked = true;
      }
    }
    if (!looked) report = frontend::InspectTarget(written);
    if (!report.exists) continue;
    std::printf("%s: %s\n", written.c_str(), report.summary.empty() ? "generado" : report.summary.c_str());
  }
  return kDone;
}

// A map (GeoJSON, KML, KMZ, GeoPackage) is written from the suite's native points, surface or
// alignment. A source of another format that holds one of them (a LandXML document, a drawing,
// a shapefile...) goes through a scratch native file first, and the map takes the coordinate
// system the source names. kNotChained when no such way exists.
constexpr int kNotChained = -1;

int ConvertThroughNative(const ConvertLine& line, const std::string& source, detect::Contents& contents,
                         frontend::ExportCaller& exports, TargetNames& names) {
  struct Step {
    const char* key;
    detect::Format format;
  };
  static const Step kSteps[] = {{"pun", detect::Format::kNativePoints},
                                {"sup", detect::Format::kNativeSurface},
                                {"eje", detect::Format::kNativeAlignment}};
  for (const Step& step : kSteps) {
    const frontend::MenuCommand* second = nullptr;
    for (const frontend::MenuCommand* conversion : frontend::ConversionsReading(step.format)) {
      if (common::EqualsIgnoringCase(conversion->target, line.to) && conversion->library == "Georref") {
        second = conversion;
      }
    }
    if (second == nullptr) continue;
    if (frontend::FormatHoldsSeveralKinds(contents.detection.format) && !contents.read) {
      contents = detect::ReadContents(source, contents.detection);
    }
    const std::vector<Candidate> first = Candidates(contents, step.key);
    if (first.size() != 1) continue;
    const frontend::MenuCommand& command = *first.front().conversion;
    if (!line.profile.empty() && second->exportName != "Georref_Eje_Mapa") {
      Note(source + ": " + second->control + " no escribe un eje: sobra --with-profile");
      return kFailed;
    }
    if (!line.crs.empty()) {
      Note(source + ": un mapa no escribe IFC: sobra --crs (el sistema de destino es --t_srs)");
      return kFailed;
    }
    if (line.all && IsSelectionCommand(command.variant)) {
      Note(source + ": --all no se combina con un mapa de un " + detect::DescribeDetection(contents.detection) +
           "; elija la entrada con --entry");
      return kFailed;
    }
    std::vector<std::string> answers;
    if (!line.choice.empty()) answers.push_back(line.choice);
    std::string scratch = common::JoinPath(common::TempDirectory(), std::string("pasarela-mapa-XXXXXX.") + step.key);
    const int descriptor = ::mkstemps(scratch.data(), static_cast<int>(std::strlen(step.key)) + 1);
    if (descriptor < 0) {
      Note(source + ": no se puede crear un fichero temporal en " + common::TempDirectory());
      return kFailed;
    }
    ::close(descriptor);
    struct Removal {
      std::string path;
      ~Removal() { ::unlink(path.c_str()); }
    } removal{scratch};
    if (RunFor(command, first.front().format, exports, source, scratch, answers, -1, true, line, {}, false) != kDone) {
      return kFailed;
    }
    // The map takes the system the source names: the scratch file names none.
    frontend::SystemOptions systems = line.systems;
    if (systems.source.empty()) systems.source = frontend::NamedSystemOfSource(source, first.front().format);
    const std::string target =
        !line.target.empty() ? line.target : TargetInFolder(line.folder, source, *second, line.to);
    return RunFor(*second, step.format, exports, scratch, names.Claim(target), {}, -1, line.overwrite, line, systems);
  }
  return kNotChained;
}

int ConvertOne(const ConvertLine& line, const Source& from, frontend::ExportCaller& exports, TargetNames& names) {
  const std::string& source = from.path;
  detect::Contents contents;
  contents.path = source;
  contents.detection = detect::DetectFile(source);
  const detect::Detection& detection = contents.detection;
  if (detection.format == detect::Format::kMissing) {
    Note(detection.note);
    return kFailed;
  }
  std::vector<Candidate> candidates = Candidates(contents, line.to);
  // A LandXML document or a drawing: what it holds tells which conversions it feeds. It is read
  // for that only where the answer changes what is done (a folder's file may be left out, a
  // refusal names what the file converts to, --all takes the layers with faces); a source named
  // by itself goes to its one conversion, which reports what it lacks.
  const bool allLayers = line.all && candidates.size() == 1 &&
                         candidates.front().conversion->variant == frontend::Variant::DxfFacesSurface;
  if (frontend::FormatHoldsSeveralKinds(detection.format) && (from.inFolder || candidates.size() != 1 || allLayers)) {
    contents = detect::ReadContents(source, detection);
    candidates = Candidates(contents, line.to);
  }
  if (candidates.empty()) {
    const int chained = ConvertThroughNative(line, source, contents, exports, names);
    if (chained != kNotChained) return chained;
    const std::string why = source + " (" + detect::DescribeDetection(detection) + ") no se convierte a " + line.to +
                            "; se puede convertir a: " + TargetsOf(contents);
    // A folder's file of another kind is no source of this target: left, not failed.
    if (from.inFolder && Recognised(detection.format)) {
      Note(why + " (se omite)");
      return kDone;
    }
    Note(why);
    return kFailed;
  }
  if (candidates.size() > 1) {
    std::string controls;
    for (const Candidate& candidate : candidates) controls += " " + candidate.conversion->control;
    Note(source + ": varias órdenes lo convierten a " + line.to + ":" + controls + " (use pasarela-cli run ORDEN)");
    return kFailed;
  }
  const frontend::MenuCommand& command = *candidates.front().conversion;
  const detect::Format format = candidates.front().format;
  const bool selects = IsSelectionCommand(command.variant);
  if (!line.choice.empty() && !selects) {
    Note(source + ": " + command.control + " no elige de una lista: sobra la elección");
    return kFailed;
  }
  const bool alignmentMap = command.exportName == "Georref_Eje_Mapa";  // takes --with-profile for its heights
  if (((!line.profile.empty() && !alignmentMap) || !line.crs.empty()) &&
      command.variant != frontend::Variant::ExportIfcBySource) {
    Note(source + ": " + command.control + " no escribe IFC: sobran --with-profile y --crs");
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
  const frontend::SystemOptions& systems = line.systems;
  // --all of a conversion that chooses from no list is the conversion itself.
  if (!line.all || !selects) {
    return RunFor(command, format, exports, source, names.Claim(target), answers, -1, line.overwrite, line, systems);
  }

  ArgumentHost listing(command, source, target, {}, line.overwrite);
  frontend::CommandRunner lister(listing, exports, frontend::ProgramDirectory());
  std::vector<std::string> entries = lister.SelectionEntries(command, source);
  if (entries.empty()) {
    Note(source + ": " + PlainLines(lister.lastFailure()));
    return kFailed;
  }
  std::vector<int> indexes;
  if (command.variant == frontend::Variant::DxfFacesSurface && contents.read) {
    const std::vector<std::string> kept = LayersWithFaces(entries, contents);
    if (kept.empty()) {
      Note(source + ": ninguna capa del dibujo tiene caras 3D");
      return kFailed;
    }
    for (const std::string& layer : kept) {
      indexes.push_back(static_cast<int>(std::find(entries.begin(), entries.end(), layer) - entries.begin()));
    }
    entries = kept;
  } else {
    for (std::size_t i = 0; i < entries.size(); ++i) indexes.push_back(static_cast<int>(i));
  }
  const std::vector<std::string> targets = EntryTargets(target, entries, names);
  int status = kDone;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (RunFor(command, format, exports, source, targets[i], {}, indexes[i], line.overwrite, line, systems) != kDone) {
      status = kFailed;
    }
  }
  return status;
}

}  // namespace

int ConvertFiles(const Arguments& arguments) {
  ConvertLine line;
  std::string error;
  if (!ParseConvertLine(arguments, line, error)) return UsageError(error);
  // -d names the folder the targets go to: made when it is missing.
  if (!line.folder.empty() && !MakeFolders(line.folder, error)) return UsageError(error);
  frontend::LibraryLoader loader;
  frontend::LibraryExportCaller exports(loader);
  const bool progress = line.sources.size() > 1 && ::isatty(STDERR_FILENO) != 0;
  TargetNames names;
  int status = kDone;
  for (std::size_t i = 0; i < line.sources.size(); ++i) {
    if (progress) std::fprintf(stderr, "[%zu/%zu] %s\n", i + 1, line.sources.size(), line.sources[i].path.c_str());
    if (ConvertOne(line, line.sources[i], exports, names) != kDone) status = kFailed;
  }
  return status;
}

}  // namespace cli
