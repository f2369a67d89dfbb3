#include "frontend/core/command_flow.h"

#include <sys/stat.h>

#include <cctype>
#include <cstdio>
#include <exception>
#include <utility>

#include "common/paths.h"
#include "common/temp_files.h"
#include "common/text_input.h"
#include "frontend/detect/contents.h"

namespace frontend {
namespace {

constexpr const char* kEntrySeparator = ": ";

// The lines of a list file, without their line ends; no entry after a final line end.
std::vector<std::string> SplitListLines(const std::string& text) {
  std::vector<std::string> lines;
  common::LineReader reader(text, text.size() + 2);  // one piece per line, however long
  std::string_view piece;
  while (reader.Next(piece)) lines.emplace_back(common::WithoutLineFeed(piece));
  return lines;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The LandXML export for the source's extension (the text after the last dot of the path).
const ExportByExtension* ExportForSource(const MenuCommand& command, const std::string& source) {
  const std::size_t dot = source.find_last_of('.');
  if (dot == std::string::npos) return nullptr;
  const std::string extension = UpperCase(source.substr(dot + 1));
  for (const ExportByExtension& candidate : command.byExtension) {
    if (candidate.extension == extension) return &candidate;
  }
  return nullptr;
}

bool IsLandXmlSelection(Variant variant) {
  return variant == Variant::LandXmlAlignment || variant == Variant::LandXmlProfile ||
         variant == Variant::LandXmlCrossSections || variant == Variant::LandXmlSurface;
}

// What an empty selection list lacks.
const char* NoEntriesText(Variant variant) {
  switch (variant) {
    case Variant::LandXmlAlignment: return "ningún eje";
    case Variant::LandXmlProfile: return "ninguna rasante";
    case Variant::LandXmlCrossSections: return "ningún conjunto de transversales";
    case Variant::LandXmlSurface: return "ninguna superficie";
    default: return "ninguna capa";
  }
}

}  // namespace

std::vector<std::string> WrittenTargets(const MenuCommand& command, const std::string& target) {
  // The Ispol cross sections go to two files named after the target, one per surface.
  if (command.variant == Variant::SilentSuccess) {
    return {common::AppendSuffix(target, "Sub"), common::AppendSuffix(target, "Firme")};
  }
  return {target};
}

bool PedirFicheroOrigen(CommandHost& host, const std::string& filter, std::string& path) {
  try {
    std::string chosen = path;
    if (!host.AskSource(filter, chosen) || chosen.empty()) return false;
    path = chosen;
    return true;
  } catch (...) {
    return false;
  }
}

bool PedirFicheroDestino(CommandHost& host, const std::string& filter, std::string& path) {
  try {
    std::string chosen = path;
    if (!host.AskTarget(filter, chosen) || chosen.empty()) return false;
    path = chosen;
    return true;
  } catch (...) {
    return false;
  }
}

bool ReadSelectionList(std::vector<std::string>& lines) {
  const std::string path = common::SelectionListPath();
  std::string text;
  lines.clear();
  if (!common::LoadTextFile(path, text)) return false;
  std::remove(path.c_str());
  lines = SplitListLines(text);
  return true;
}

std::vector<std::string> ReadLayerList(const std::string& path) {
  std::string text;
  if (!common::LoadTextFile(path, text)) return {};
  return SplitListLines(text);
}

TargetReport InspectTarget(const std::string& path) {
  TargetReport report;
  struct stat info {};
  report.exists = ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
  if (!report.exists) return report;
  const detect::Contents contents = detect::ReadContents(path);
  report.holdsNothing = detect::HoldsNothing(contents);
  report.summary = detect::SummaryLine(contents);
  if (report.holdsNothing) report.nothing = detect::NothingText(contents.detection.format);
  return report;
}

std::string GeneratedText(const std::string& target, const std::string& summary) {
  std::string text = std::string(kGeneratedMessage) + "\r\n" + target;
  if (!summary.empty()) text += "\r\n" + summary;
  return text;
}

std::string FailureText(const std::string& reason) {
  return reason.empty() ? std::string(kConversionError) : std::string(kConversionError) + "\r\n" + reason;
}

CommandRunner::CommandRunner(CommandHost& host, ExportCaller& exports, std::string programDirectory)
    : host_(host), exports_(exports), programDirectory_(std::move(programDirectory)) {}

CommandOutcome CommandRunner::Run(const MenuCommand& command) {
  lastFailure_.clear();
  writtenReports_.clear();
  lastSummary_.clear();
  lastTarget_.clear();
  try {
    return RunSteps(command);
  } catch (const std::exception& failure) {
    lastFailure_ = failure.what();
  } catch (...) {
    lastFailure_ = "fallo desconocido";
  }
  host_.ShowMessage(FailureText(lastFailure_), MessageIcon::None);
  return CommandOutcome::Failed;
}

TargetReport CommandRunner::InspectWritten(const MenuCommand& command, const std::string& target) {
  TargetReport found;
  for (const std::string& written : WrittenTargets(command, target)) {
    TargetReport report = inspectTarget_(written);
    writtenReports_.emplace_back(written, report);
    if (report.exists && !report.holdsNothing) return report;
    if (report.exists) found = report;
  }
  return found;
}

CommandOutcome CommandRunner::Fail(const std::string& reason, MessageIcon icon) {
  lastFailure_ = reason;
  host_.ShowMessage(FailureText(reason), icon);
  return CommandOutcome::Failed;
}

CommandOutcome CommandRunner::RunWithSource(const MenuCommand& command, const std::string& source,
                                            detect::Format sourceFormat) {
  presetSource_ = source;
  const detect::Format before = sourceFormat_;
  sourceFormat_ = sourceFormat;
  const CommandOutcome outcome = Run(command);
  presetSource_.clear();
  sourceFormat_ = before;
  return outcome;
}

bool CommandRunner::AskSource(const std::string& filter, std::string& path) {
  if (!presetSource_.empty()) {
    dialogFileName_ = path = presetSource_;
    presetSource_.clear();
    return true;
  }
  std::string chosen = dialogFileName_;
  if (!PedirFicheroOrigen(host_, filter, chosen)) return false;
  dialogFileName_ = path = chosen;
  return true;
}

int32_t CommandRunner::CallCollecting(const std::string& library, const std::string& name,
                                      const std::vector<std::string>& arguments, std::string& reason) {
  std::vector<LibraryMessage> others;
  int32_t result = 0;
  {
    LibraryMessageCollector collector;
    result = exports_.Call(library, name, arguments);
    reason = collector.FailureReason();
    others = collector.OtherMessages();
  }
  for (const LibraryMessage& message : others) host_.ShowLibraryMessage(message.caption, message.text);
  return result;
}

std::vector<std::string> CommandRunner::SelectionEntries(const MenuCommand& command, const std::string& source) {
  lastFailure_.clear();
  std::vector<std::string> lines;
  std::string reason;
  if (command.variant == Variant::DxfFacesSurface) {
    // The list goes to a file of its own in the temporary directory, removed once read: the
    // drawing's folder may be one the user cannot write, and is no place for a scratch file.
    const common::ScratchFile layerList;
    if (!layerList.ok()) {
      reason = "No se puede crear la lista de capas en la carpeta temporal " + common::TempDirectory();
    } else {
      CallCollecting(command.selectionLibrary, command.selectionExport, {layerList.path(), source}, reason);
      lines = ReadLayerList(layerList.path());
    }
  } else if (IsLandXmlSelection(command.variant)) {
    // A list left by an earlier run must never be offered for this document.
    std::remove(common::SelectionListPath().c_str());
    if (command.variant == Variant::LandXmlSurface) {
      CallCollecting(command.selectionLibrary, command.selectionExport, {source, common::SelectionListPath()}, reason);
    } else {
      CallCollecting(command.selectionLibrary, command.selectionExport, {source}, reason);
    }
    if (!ReadSelectionList(lines) && reason.empty()) reason = kEmptyListMessage;
  }
  // Blank lines are no entries to choose.
  std::vector<std::string> entries;
  for (std::string& line : lines) {
    if (!line.empty()) entries.push_back(std::move(line));
  }
  if (entries.empty()) {
    lastFailure_ = !reason.empty() ? reason
                                   : "El fichero " + source + " no contiene " + NoEntriesText(command.variant);
  }
  return entries;
}

// Has the library write the list for this command, shows it and returns the chosen index
// (-1 when nothing was chosen) with the chosen line in `chosen`. An empty list is never shown:
// the user is told why there is nothing to choose.
int CommandRunner::ChooseEntry(const MenuCommand& command, const std::string& source, std::string& chosen) {
  const std::vector<std::string> lines = SelectionEntries(command, source);
  if (lines.empty()) {
    host_.ShowMessage(FailureText(lastFailure_), MessageIcon::Exclamation);
    return -1;
  }
  const bool layers = command.variant == Variant::DxfFacesSurface;
  std::string caption = layers ? kLayerSelectionCaption : kEntrySelectionCaption;
  if (command.variant == Variant::LandXmlSurface) caption = kSurfaceSelectionCaption;
  const int index = host_.ChooseFromList(layers ? ListKind::DxfLayers : ListKind::LandXmlEntries, caption, lines);
  if (index == kNothingChosen) {
    host_.ShowMessage(kNothingChosenMessage, MessageIcon::Exclamation);
    return -1;
  }
  if (index < 0 || index >= static_cast<int>(lines.size())) return -1;
  chosen = lines[static_cast<std::size_t>(index)];
  return index;
}

CommandOutcome CommandRunner::RunSteps(const MenuCommand& command) {
  if (command.kind != ItemKind::Command) return CommandOutcome::Done;
  if (command.variant == Variant::Quit) {
    host_.Quit();
    return CommandOutcome::Done;
  }
  if (command.variant == Variant::About) {
    host_.ShowAbout();
    return CommandOutcome::Done;
  }

  std::string source;
  if (!AskSource(command.sourceFilter, source)) return CommandOutcome::Stopped;

  std::string chosen;
  int chosenIndex = -1;
  if (IsLandXmlSelection(command.variant) || command.variant == Variant::DxfFacesSurface) {
    chosenIndex = ChooseEntry(command, source, chosen);
    if (chosenIndex < 0) return lastFailure_.empty() ? CommandOutcome::Stopped : CommandOutcome::Failed;
  }

  // The coordinate systems are settled before the target is asked: a conversion that cannot
  // take them is refused first. A native source whose coordinates move is read from its moved copy.
  SystemOptions systems = systems_;
  std::string mapProfile = ifcProfile_;  // the heights of an alignment's map
  detect::Format format = sourceFormat_;
  // A source chosen in a menu's dialog is detected only when systems are in play.
  if (format == detect::Format::kUnknown && (systems.Given() || command.library == kGeorefLibrary)) {
    format = detect::DetectFile(source).format;
  }
  const SystemUse use = SystemUseOf(command, format);
  // Systems set for a session move only what they can move, and only to a target system.
  if (systemScope_ == SystemScope::kWhereTheyApply && use != SystemUse::kOwn &&
      (use == SystemUse::kNone || systems.target.empty())) {
    systems = SystemOptions();
  }
  if (use == SystemUse::kOwn) {
    if (systems.source.empty()) systems.source = NamedSystemOfSource(source, format);
    if (!host_.AskSystems(command, source, systems, mapProfile)) return CommandOutcome::Stopped;
  }
  const GeorefCall callGeoref = [this](const char* name, const std::vector<std::string>& arguments,
                                       std::string& reason) {
    return CallCollecting(kGeorefLibrary, name, arguments, reason) != 0;
  };
  SystemStep systemStep;
  {
    std::string reason;
    if (!PrepareSystems(systems, command, format, source, callGeoref, systemStep, reason)) {
      return Fail(reason, MessageIcon::Exclamation);
    }
  }
  const std::string& read = systemStep.scratch.empty() ? source : systemStep.scratch;

  std::string alignment;
  if (command.variant == Variant::FieldBookToClipTer && !AskSource(command.secondSourceFilter, alignment)) {
    return CommandOutcome::Stopped;
  }

  std::string target = command.extension.empty() ? std::string() : common::ChangeExtension(source, command.extension);
  if (!PedirFicheroDestino(host_, command.targetFilter, target)) return CommandOutcome::Stopped;
  dialogFileName_ = target;
  lastTarget_ = target;

  // The field-book command reads two files and is not checked.
  if (command.variant != Variant::FieldBookToClipTer && target == source) {
    host_.ShowMessage(kSameFileMessage, MessageIcon::Exclamation);
    return CommandOutcome::SameFile;
  }

  const bool bySource = command.variant == Variant::ExportLandXmlBySource || command.variant == Variant::ExportIfcBySource;
  const MessageIcon failureIcon = bySource ? MessageIcon::None : MessageIcon::Exclamation;
  std::string exportName = command.exportName;
  std::vector<std::string> arguments{read, target};
  // An alignment's map with a profile given: the export that takes the line's heights from it.
  if (command.exportName == "Georref_Eje_Mapa" && !mapProfile.empty()) {
    exportName = "Georref_Eje_Rasante_Mapa";
    arguments = {read, mapProfile, target};
  }
  switch (command.variant) {
    case Variant::LandXmlAlignment:
      arguments = {std::to_string(chosenIndex), read, target, programDirectory_};
      break;
    case Variant::WithProgramDirectory:
      arguments = {read, target, programDirectory_};
      break;
    case Variant::LandXmlProfile:
      arguments = {chosen, read, target};
      break;
    case Variant::LandXmlCrossSections: {
      // "alignment: surface"; a surface name may itself hold the separator.
      const std::size_t separator = chosen.find(kEntrySeparator);
      if (separator == std::string::npos) throw ConversionFailure("la línea elegida no tiene \": \": " + chosen);
      arguments = {chosen.substr(0, separator), chosen.substr(separator + 2), read, target};
      break;
    }
    case Variant::LandXmlSurface:
    case Variant::DxfFacesSurface:
      arguments = {read, chosen, target};
      break;
    case Variant::FieldBookToClipTer:
      arguments = {read, alignment, target};
      break;
    case Variant::ExportLandXmlBySource:
    case Variant::ExportIfcBySource: {
      // A source of a format the command reads gets that format's reader; any other is told
      // by its extension, as the menu's patterns name them.
      if (command.variant == Variant::ExportIfcBySource) arguments = {read, target, ifcProfile_, ifcCrs_};
      exportName = ExportFor(command, sourceFormat_);
      if (!exportName.empty()) break;
      const ExportByExtension* byExtension = ExportForSource(command, source);
      if (byExtension == nullptr) {
        return Fail("El fichero " + source + " no tiene una extensión que se pueda convertir a " +
                        (command.variant == Variant::ExportIfcBySource ? "IFC" : "LandXML") + " con esta orden",
                    MessageIcon::None);
      }
      exportName = byExtension->exportName;
      break;
    }
    default:
      break;
  }

  std::string reason;
  const int32_t result = CallCollecting(command.library, exportName, arguments, reason);
  // The program judges a result by its low 16 bits; the Shapeline exports return nothing to
  // judge, so their target alone tells.
  const bool reportedSuccess = command.variant == Variant::ResultNotChecked || (result & 0xFFFF) != 0;
  if (!reportedSuccess) return Fail(reason, failureIcon);
  for (const std::string& written : WrittenTargets(command, target)) {
    std::string why;
    if (!FinishSystems(systemStep, written, callGeoref, why)) return Fail(why, MessageIcon::Exclamation);
  }
  // Success is only what can be found at the target.
  const TargetReport report = InspectWritten(command, target);
  if (!report.exists) {
    return Fail(reason.empty() ? kNotWrittenMessage + target : reason, failureIcon);
  }
  if (report.holdsNothing) {
    lastFailure_ = kNothingFoundMessage + report.nothing + " en el fichero " + source;
    host_.ShowMessage(lastFailure_, MessageIcon::Exclamation);
    return CommandOutcome::Failed;
  }
  lastSummary_ = report.summary;
  if (command.variant != Variant::SilentSuccess) {
    host_.ShowMessage(GeneratedText(target, report.summary), MessageIcon::None);
  }
  return CommandOutcome::Converted;
}

}  // namespace frontend
