// How a menu command runs: ask for the source, propose and ask for the target, call one
// export, report the outcome. Written against CommandHost, which the desktop program
// implements with real dialogs, pasarela-cli with its arguments and the tests with a script.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"

namespace frontend {

// The texts the program shows.
inline constexpr const char* kProgramTitle = "Pasarela";
inline constexpr const char* kMainWindowCaption = "Conversor de Formatos";
inline constexpr const char* kSourceDialogTitle = "Fichero Origen";
inline constexpr const char* kTargetDialogTitle = "Fichero Destino";
inline constexpr const char* kGeneratedMessage = "Generado correctamente fichero ";
inline constexpr const char* kConvertedMessage = "Fichero convertido correctamente";
inline constexpr const char* kConversionError = "Error en la conversión";
inline constexpr const char* kSameFileMessage = "El fichero destino debe ser diferente al origen";
inline constexpr const char* kEmptyListMessage = "EL fichero no contiene información";
inline constexpr const char* kEntrySelectionCaption = "Selección de tramos desde LandXML";
inline constexpr const char* kSurfaceSelectionCaption = "Seleccione la superficie a convertir";
inline constexpr const char* kLayerSelectionCaption = "Seleccione la capa donde estan dibujadas las caras 3D";

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
  // A modal list titled `caption`: the index of the chosen line, -1 when none was chosen.
  virtual int ChooseFromList(ListKind kind, const std::string& caption, const std::vector<std::string>& lines) = 0;
  // A message box with the program's title and an OK button.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
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

// The parts of a path: directory without its final separator, base name, extension.
struct SplitPathParts {
  std::string directory;
  std::string baseName;
  std::string extension;
  bool hasDirectory = false;  // the path held a separator
};

// Splits at the last path separator and the file name at its last dot.
SplitPathParts SepararRuta(const std::string& path);

// The default target name: same directory and base name, extension replaced (or added when
// the name has none).
std::string CambiarExtension(const std::string& path, const std::string& extension);

// The open dialog; true with `path` set when a file was chosen.
bool PedirFicheroOrigen(CommandHost& host, const std::string& filter, std::string& path);

// The save dialog starting with the proposal in `path`; true with `path` set when chosen.
bool PedirFicheroDestino(CommandHost& host, const std::string& filter, std::string& path);

// <tempdir>/$$$$.EJE, where the selection exports write their lists.
std::string SelectionListPath();

// The lines of the selection list, which is then deleted. An unreadable list shows
// "EL fichero no contiene información" (critical icon), stays on disk and gives no line.
std::vector<std::string> ReadSelectionList(CommandHost& host);

// The lines of a layer list (the "cap" file beside a drawing); none when it cannot be read.
std::vector<std::string> ReadLayerList(const std::string& path);

enum class CommandOutcome {
  Converted,  // the export reported success (or its result is not looked at)
  Failed,     // the export reported failure, or the command failed on the way
  Stopped,    // the user cancelled a dialog or chose nothing
  SameFile,   // the target was the source
  Done,       // a command that converts nothing (About, Salir)
};

class CommandRunner {
 public:
  // `programDirectory` is handed to the exports that want the program's start-up directory.
  CommandRunner(CommandHost& host, ExportCaller& exports, std::string programDirectory);

  CommandOutcome Run(const MenuCommand& command);

  // Why the last command failed on the way (empty when it did not).
  const std::string& lastFailure() const { return lastFailure_; }

 private:
  CommandOutcome RunSteps(const MenuCommand& command);
  bool AskSource(const std::string& filter, std::string& path);
  int ChooseEntry(const MenuCommand& command, const std::string& source, std::string& chosen);

  CommandHost& host_;
  ExportCaller& exports_;
  std::string programDirectory_;
  std::string dialogFileName_;  // the one file dialog of the program remembers the last name
  std::string lastFailure_;
};

}  // namespace frontend
