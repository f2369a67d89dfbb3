#include "frontend/core/command_flow.h"

#include <cctype>
#include <cstdio>
#include <exception>
#include <utility>

#include "common/temp_files.h"
#include "common/text_input.h"

namespace frontend {
namespace {

constexpr char kSeparator = '/';
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

}  // namespace

SplitPathParts SepararRuta(const std::string& path) {
  SplitPathParts parts;
  std::string file = path;
  const std::size_t slash = path.find_last_of(kSeparator);
  if (slash != std::string::npos) {
    parts.hasDirectory = true;
    parts.directory = path.substr(0, slash);
    file = path.substr(slash + 1);
  }
  const std::size_t dot = file.find_last_of('.');
  parts.baseName = dot == std::string::npos ? file : file.substr(0, dot);
  if (dot != std::string::npos) parts.extension = file.substr(dot + 1);
  return parts;
}

std::string CambiarExtension(const std::string& path, const std::string& extension) {
  const SplitPathParts parts = SepararRuta(path);
  // A bare name stays in the current directory rather than moving to the root.
  const std::string directory = parts.hasDirectory ? parts.directory + kSeparator : std::string();
  return directory + parts.baseName + "." + extension;
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

std::string SelectionListPath() { return common::TempPath("$$$$.EJE"); }

std::vector<std::string> ReadSelectionList(CommandHost& host) {
  const std::string path = SelectionListPath();
  std::string text;
  if (!common::LoadTextFile(path, text)) {
    host.ShowMessage(kEmptyListMessage, MessageIcon::Critical);
    return {};
  }
  std::remove(path.c_str());
  return SplitListLines(text);
}

std::vector<std::string> ReadLayerList(const std::string& path) {
  std::string text;
  if (!common::LoadTextFile(path, text)) return {};
  return SplitListLines(text);
}

CommandRunner::CommandRunner(CommandHost& host, ExportCaller& exports, std::string programDirectory)
    : host_(host), exports_(exports), programDirectory_(std::move(programDirectory)) {}

CommandOutcome CommandRunner::Run(const MenuCommand& command) {
  lastFailure_.clear();
  try {
    return RunSteps(command);
  } catch (const std::exception& failure) {
    lastFailure_ = failure.what();
  } catch (...) {
    lastFailure_ = "fallo desconocido";
  }
  host_.ShowMessage(kConversionError, MessageIcon::None);
  return CommandOutcome::Failed;
}

bool CommandRunner::AskSource(const std::string& filter, std::string& path) {
  std::string chosen = dialogFileName_;
  if (!PedirFicheroOrigen(host_, filter, chosen)) return false;
  dialogFileName_ = path = chosen;
  return true;
}

// Has the library write the list for this command, shows it and returns the chosen index
// (-1 when nothing usable was chosen) with the chosen line in `chosen`.
int CommandRunner::ChooseEntry(const MenuCommand& command, const std::string& source, std::string& chosen) {
  std::vector<std::string> lines;
  ListKind kind = ListKind::LandXmlEntries;
  std::string caption = kEntrySelectionCaption;
  if (command.variant == Variant::DxfFacesSurface) {
    const std::string layerList = CambiarExtension(source, "cap");
    exports_.Call(command.selectionLibrary, command.selectionExport, {layerList, source});
    lines = ReadLayerList(layerList);
    kind = ListKind::DxfLayers;
    caption = kLayerSelectionCaption;
  } else {
    // A list left by an earlier run must never be offered for this document.
    std::remove(SelectionListPath().c_str());
    if (command.variant == Variant::LandXmlSurface) {
      exports_.Call(command.selectionLibrary, command.selectionExport, {source, SelectionListPath()});
      caption = kSurfaceSelectionCaption;
    } else {
      exports_.Call(command.selectionLibrary, command.selectionExport, {source});
    }
    lines = ReadSelectionList(host_);
  }
  const int index = host_.ChooseFromList(kind, caption, lines);
  if (index < 0 || index >= static_cast<int>(lines.size()) || lines[static_cast<std::size_t>(index)].empty()) {
    return -1;
  }
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
    if (chosenIndex < 0) return CommandOutcome::Stopped;
  }

  std::string alignment;
  if (command.variant == Variant::FieldBookToClipTer && !AskSource(command.secondSourceFilter, alignment)) {
    return CommandOutcome::Stopped;
  }

  std::string target = command.extension.empty() ? std::string() : CambiarExtension(source, command.extension);
  if (!PedirFicheroDestino(host_, command.targetFilter, target)) return CommandOutcome::Stopped;
  dialogFileName_ = target;

  // The field-book command reads two files and is not checked.
  if (command.variant != Variant::FieldBookToClipTer && target == source) {
    host_.ShowMessage(kSameFileMessage, MessageIcon::Exclamation);
    return CommandOutcome::SameFile;
  }

  std::string exportName = command.exportName;
  std::vector<std::string> arguments{source, target};
  switch (command.variant) {
    case Variant::LandXmlAlignment:
      arguments = {std::to_string(chosenIndex), source, target, programDirectory_};
      break;
    case Variant::LandXmlProfile:
      arguments = {chosen, source, target};
      break;
    case Variant::LandXmlCrossSections: {
      // "alignment: surface"; a surface name may itself hold the separator.
      const std::size_t separator = chosen.find(kEntrySeparator);
      if (separator == std::string::npos) throw ConversionFailure("la línea elegida no tiene \": \": " + chosen);
      arguments = {chosen.substr(0, separator), chosen.substr(separator + 2), source, target};
      break;
    }
    case Variant::LandXmlSurface:
    case Variant::DxfFacesSurface:
      arguments = {source, chosen, target};
      break;
    case Variant::FieldBookToClipTer:
      arguments = {source, alignment, target};
      break;
    case Variant::ExportLandXmlBySource: {
      const ExportByExtension* byExtension = ExportForSource(command, source);
      if (byExtension == nullptr) {
        lastFailure_ = "extensión sin conversión a LandXML: " + source;
        host_.ShowMessage(kConversionError, MessageIcon::None);
        return CommandOutcome::Failed;
      }
      exportName = byExtension->exportName;
      break;
    }
    default:
      break;
  }

  const int32_t result = exports_.Call(command.library, exportName, arguments);
  // The program judges a result by its low 16 bits; the Shapeline exports are not judged.
  const bool converted = command.variant == Variant::ResultNotChecked || (result & 0xFFFF) != 0;
  if (!converted) {
    host_.ShowMessage(kConversionError, command.variant == Variant::ExportLandXmlBySource ? MessageIcon::None
                                                                                           : MessageIcon::Exclamation);
    return CommandOutcome::Failed;
  }
  if (command.variant == Variant::ExportLandXmlBySource) {
    host_.ShowMessage(kConvertedMessage, MessageIcon::None);
  } else if (command.variant != Variant::SilentSuccess) {
    host_.ShowMessage(std::string(kGeneratedMessage) + "\r\n" + target, MessageIcon::None);
  }
  return CommandOutcome::Converted;
}

}  // namespace frontend
