// How a menu command runs: ask for the source, propose and ask for the target, call one
// export, report the outcome. Written against CommandHost, which the desktop program
// implements with real dialogs, pasarela-cli with its arguments and the tests with a script.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/core/coordinate_systems.h"
#include "frontend/detect/detect.h"
#include "frontend/core/library_messages.h"

namespace frontend {

// The texts the program shows.
inline constexpr const char* kProgramTitle = "Pasarela";
inline constexpr const char* kMainWindowCaption = "Conversor de Formatos";
inline constexpr const char* kSourceDialogTitle = "Fichero Origen";
inline constexpr const char* kTargetDialogTitle = "Fichero Destino";
inline constexpr const char* kGeneratedMessage = "Generado correctamente fichero ";
inline constexpr const char* kConversionError = "Error en la conversión";
inline constexpr const char* kSameFileMessage = "El fichero destino debe ser diferente al origen";
inline constexpr const char* kEmptyListMessage = "EL fichero no contiene información";
inline constexpr const char* kEntrySelectionCaption = "Selección de tramos desde LandXML";
inline constexpr const char* kSurfaceSelectionCaption = "Seleccione la superficie a convertir";
inline constexpr const char* kLayerSelectionCaption = "Seleccione la capa donde estan dibujadas las caras 3D";
inline constexpr const char* kNothingChosenMessage = "No se ha elegido ninguna línea de la lista";
inline constexpr const char* kNotWrittenMessage = "No se ha generado el fichero ";
inline constexpr const char* kNothingFoundMessage = "No se ha encontrado ";

// What ChooseFromList answers when the list was accepted with no line selected.
inline constexpr int kNothingChosen = -2;

enum class MessageIcon { None, Exclamation, Critical };

// Which of the two selection dialogs shows a list.
enum class ListKind { LandXmlEntries, DxfLayers };

class CommandHost {
 public:
  virtual ~CommandHost() = default;
  // The open dialog titled "Fichero Origen" (file and path must exist). `path` holds the name
  // the dialog starts with and receives the chosen one; false on Cancel.
  virtual bool AskSource(const std::string& filter, std::string& path) = 0;
  // The save dialog titled "Fichero Destino", with overwrite prompt, starting with `path`.
  virtual bool AskTarget(const std::string& filter, std::string& path) = 0;
  // A modal list titled `caption` (never empty): the index of the chosen line, -1 when the
  // list was cancelled, kNothingChosen when it was accepted with no line selected.
  virtual int ChooseFromList(ListKind kind, const std::string& caption, const std::vector<std::string>& lines) = 0;
  // A message box with the program's title and an OK button.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
  // A message a library showed while its export ran (other than a failure's reason).
  virtual void ShowLibraryMessage(const std::string& caption, const std::string& text) {
    (void)caption;
    ShowMessage(text, MessageIcon::None);
  }
  // The coordinate systems of a conversion of the georeferencing library (a map, a change of
  // system), asked after its source: `options` come with the ones set for the runner and the
  // source's own system; an alignment's map also takes the native profile its heights come from
  // (`profile`, empty: none). False when the user cancels. The default takes them as they come.
  virtual bool AskSystems(const MenuCommand& command, const std::string& source, SystemOptions& options,
                          std::string& profile) {
    (void)command;
    (void)source;
    (void)options;
    (void)profile;
    return true;
  }
  virtual void ShowAbout() {}
  virtual void Quit() {}
};

// A library, a library's export or a command's data could not be had: reported to the user
// as "Error en la conversión".
class ConversionFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Calls one export of one library with text arguments and returns its result; throws
// ConversionFailure when the library or the export cannot be had.
class ExportCaller {
 public:
  virtual ~ExportCaller() = default;
  virtual int32_t Call(const std::string& library, const std::string& name,
                       const std::vector<std::string>& arguments) = 0;
};

// The open dialog; true with `path` set when a file was chosen.
bool PedirFicheroOrigen(CommandHost& host, const std::string& filter, std::string& path);

// The save dialog starting with the proposal in `path`; true with `path` set when chosen.
bool PedirFicheroDestino(CommandHost& host, const std::string& filter, std::string& path);

// The lines of the selection list (common::SelectionListPath()), which is then deleted. False
// when the list cannot be read (it then stays on disk).
bool ReadSelectionList(std::vector<std::string>& lines);

// The lines of a layer list (the "cap" file beside a drawing); none when it cannot be read.
std::vector<std::string> ReadLayerList(const std::string& path);

// What a written target holds, as the success message names it.
struct TargetReport {
  bool exists = false;       // a regular file that is not empty
  bool holdsNothing = false;  // read, and empty of what its format carries
  std::string summary;       // "12 elementos, 1 660,000 m"; empty when not known
  std::string nothing;       // what it lacks when it holds nothing: "ningún eje"
};
using TargetInspector = std::function<TargetReport(const std::string& path)>;

// Looks at a target through format detection.
TargetReport InspectTarget(const std::string& path);

// The files a command writes for the target the user chose (the target itself, but for the
// commands that write several files named after it).
std::vector<std::string> WrittenTargets(const MenuCommand& command, const std::string& target);

// The success message: "Generado correctamente fichero ", line break, the target and, on a
// line of its own, what it holds.
std::string GeneratedText(const std::string& target, const std::string& summary);

// The failure message with its reason on the next line (the reason may be empty).
std::string FailureText(const std::string& reason);

enum class CommandOutcome {
  Converted,  // the export reported success and the target holds something
  Failed,     // the export reported failure, wrote nothing, or the command failed on the way
  Stopped,    // the user cancelled a dialog or chose nothing
  SameFile,   // the target was the source
  Done,       // a command that converts nothing (About, Salir)
};

class CommandRunner {
 public:
  // `programDirectory` is handed to the exports that want the program's start-up directory.
  CommandRunner(CommandHost& host, ExportCaller& exports, std::string programDirectory);

  CommandOutcome Run(const MenuCommand& command);

  // Runs `command` with `source` already chosen: its first open dialog is not shown. A
  // source already detected tells its format, which chooses the export of the commands that
  // choose one by their source.
  CommandOutcome RunWithSource(const MenuCommand& command, const std::string& source,
                               detect::Format sourceFormat = detect::Format::kUnknown);

  // The format of the sources the host gives (detected by the caller), for the same choice;
  // kUnknown: the source's extension chooses, as the menu does.
  void SetSourceFormat(detect::Format format) { sourceFormat_ = format; }
  // What the IFC exports take besides source and target: a native profile for the vertical
  // layout and a coordinate system ("EPSG:25830"); empty for none. The profile also gives an
  // alignment's map its heights (Georref_Eje_Mapa becomes Georref_Eje_Rasante_Mapa).
  void SetIfcOptions(std::string profile, std::string crs) {
    ifcProfile_ = std::move(profile);
    ifcCrs_ = std::move(crs);
  }

  // The coordinate systems of the conversions that follow: a conversion of points or a surface
  // has them moved on the way (none given: nothing is moved); a conversion of the
  // georeferencing library asks the host for them, starting from these.
  // kEveryCommand: a command that cannot take them is refused (they were given for it);
  // kWhereTheyApply: they are set for a session and a command that cannot take them runs
  // without them.
  enum class SystemScope { kEveryCommand, kWhereTheyApply };
  void SetSystems(SystemOptions systems, SystemScope scope = SystemScope::kEveryCommand) {
    systems_ = std::move(systems);
    systemScope_ = scope;
  }
  const SystemOptions& systems() const { return systems_; }

  // Has the library list the entries of `source` a selection command chooses from (the
  // LandXML alignments, profiles, cross-section sets, surfaces, or the drawing's layers).
  // Empty with lastFailure() set to the reason when there is none.
  std::vector<std::string> SelectionEntries(const MenuCommand& command, const std::string& source);

  // Why the last command failed (empty when it did not).
  const std::string& lastFailure() const { return lastFailure_; }
  // What the last command's target holds (empty when unknown or not converted).
  const std::string& lastSummary() const { return lastSummary_; }
  // The target of the last command (empty before the save dialog).
  const std::string& lastTarget() const { return lastTarget_; }

  // The files the last command looked at to judge its outcome, with what each holds, in the
  // order the command names them (up to the first that holds something).
  const std::vector<std::pair<std::string, TargetReport>>& writtenReports() const { return writtenReports_; }

  void SetTargetInspector(TargetInspector inspector) { inspectTarget_ = std::move(inspector); }

 private:
  CommandOutcome RunSteps(const MenuCommand& command);
  bool AskSource(const std::string& filter, std::string& path);
  int ChooseEntry(const MenuCommand& command, const std::string& source, std::string& chosen);
  // Calls an export collecting the libraries' messages; the failure reasons land in `reason`.
  int32_t CallCollecting(const std::string& library, const std::string& name,
                         const std::vector<std::string>& arguments, std::string& reason);
  CommandOutcome Fail(const std::string& reason, MessageIcon icon);
  // The first written file that holds something, else what was found.
  TargetReport InspectWritten(const MenuCommand& command, const std::string& target);

  CommandHost& host_;
  ExportCaller& exports_;
  std::string programDirectory_;
  std::string dialogFileName_;  // the one file dialog of the program remembers the last name
  std::string presetSource_;    // the source chosen before the command started
  detect::Format sourceFormat_ = detect::Format::kUnknown;
  std::string lastFailure_;
  std::string lastSummary_;
  std::string lastTarget_;
  std::vector<std::pair<std::string, TargetReport>> writtenReports_;
  TargetInspector inspectTarget_ = &InspectTarget;
  std::string ifcProfile_;
  std::string ifcCrs_;
  SystemOptions systems_;
  SystemScope systemScope_ = SystemScope::kEveryCommand;
};

}  // namespace frontend
