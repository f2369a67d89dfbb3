// The registry of conversions: one row per conversion, a command of the desktop program's
// menu or an export with no menu command. A row says everything the menu, `commands`,
// `formats`, `info`, `convert`, `run`, `help` and the desktop's "Fichero > Abrir..." need:
// where the command sits and what its dialogs show, the export and library it calls, the
// formats it reads (with the export each one needs, for the commands that choose it), the
// kind of data it takes from them, the target it writes and the list it chooses from.
// The separators, Salir and "Acerca de" are rows of the menu that convert nothing.
#pragma once

#include <string>
#include <vector>

#include "frontend/detect/detect.h"

namespace detect {
struct Contents;
}

namespace frontend {

// How a command runs; Standard is: source, proposed target, same-file check, export, message.
enum class Variant {
  Standard,
  ResultNotChecked,        // Shapeline rows: success is shown whatever the export returned
  SilentSuccess,           // Ispol cross sections: the library shows its own success message
  LandXmlAlignment,        // choose an alignment of the document, call with its index
  LandXmlProfile,          // choose a profile, call with the chosen line
  LandXmlCrossSections,    // choose "alignment: surface", call with both parts
  LandXmlSurface,          // choose a surface, call with its name
  DxfFacesSurface,         // choose the layer of the 3D faces
  ExportLandXmlBySource,   // export chosen by the source (its format, else its extension)
  ExportIfcBySource,       // the same, called with the profile and coordinate system too
  FieldBookToClipTer,      // points, alignment and target
  WithProgramDirectory,    // source, target and the program's directory (its settings file)
  Quit,
  About,
};

enum class ItemKind { Command, Separator };

// What a conversion takes from its source. For a file that holds several kinds (a LandXML
// document, a drawing) it tells which conversions the file can feed.
enum class DataKind {
  None,            // Salir, "Acerca de", separators
  Points,
  Alignments,
  Profiles,
  CrossSections,       // sections by surface (LandXML: "alignment: surface" sets)
  CrossSectionPoints,  // sections given point by point (LandXML: StationOffsetPoint)
  Superelevation,
  Surfaces,        // triangles (LandXML surfaces, the 3D faces of a drawing)
  Survey,
};

struct MenuName {
  std::string control;
  std::string caption;
};

// One format a conversion reads.
struct SourceFormat {
  SourceFormat(detect::Format f) : format(f) {}  // NOLINT: a plain format reads with the row's export
  SourceFormat(detect::Format f, const char* ext, const char* name) : format(f), extension(ext), exportName(name) {}
  detect::Format format;
  // The LandXML export commands: the source's extension (upper case) the menu command
  // chooses this export by; empty when the menu offers no extension for the format.
  std::string extension;
  std::string exportName;  // empty: the row's export
};

// One export of the LandXML export commands, chosen by the source's extension (upper case):
// made from the row's sources that name an extension, in their order.
struct ExportByExtension {
  std::string extension;
  std::string exportName;
};

struct MenuCommand {
  ItemKind kind = ItemKind::Command;
  bool inMenu = true;        // false: a conversion only `convert`, `info` and `formats` offer
  std::string control;       // the menu item's name; the export's name for one with no item
  std::string caption;       // "-" for a separator; "&" marks the accelerator
  MenuName menu;             // top-level menu
  MenuName submenu;          // empty control when the item sits directly in the menu
  std::string sourceFilter;  // "description|pattern" pairs separated by "|"
  std::string extension;     // of the proposed target; empty: the save dialog starts empty
  std::string targetFilter;
  std::string exportName;    // empty for the LandXML exports, Quit and About
  std::string library;
  Variant variant = Variant::Standard;
  std::string selectionExport;   // writes the list the user chooses from (LandXML, DXF layers)
  std::string selectionLibrary;
  std::vector<ExportByExtension> byExtension;
  std::string secondSourceFilter;  // the alignment of the field-book command

  // What it converts (empty sources: a row that converts nothing).
  std::vector<SourceFormat> sources;
  DataKind reads = DataKind::None;
  std::string target;  // the key `convert --to` names: "eje", "gts", "landxml", "tra-inroads"...
  // The format of the written file; kUnknown where detection has none (GTS points, Topcal).
  detect::Format targetFormat = detect::Format::kUnknown;
};

// Every item of the menu, separators included, in menu order.
const std::vector<MenuCommand>& CommandTable();

// Every conversion: the menu's commands that convert, in menu order, then the exports that
// no menu command calls.
const std::vector<const MenuCommand*>& Conversions();

// The menu command with this control name; null when there is none (separators are not
// found, nor the conversions without a menu item).
const MenuCommand* FindCommand(const std::string& control);

// The conversions that read `source`, in registry order.
std::vector<const MenuCommand*> ConversionsReading(detect::Format source);

// Whether `contents` hold the kind of data `conversion` takes. Only the formats that carry
// several kinds (LandXML, DXF) are looked into, and only once read; any other file of a format
// the conversion reads feeds it.
bool HoldsDataFor(const MenuCommand& conversion, const detect::Contents& contents);

// The conversions that read the file `contents` describe and find their data in it.
std::vector<const MenuCommand*> ConversionsFor(const detect::Contents& contents);

// Whether the contents must be read to tell which conversions a file of `format` feeds.
bool FormatHoldsSeveralKinds(detect::Format format);

// The export `conversion` calls for a source of `format`: the one its row names for that
// format, else the row's export. Empty when neither names one.
std::string ExportFor(const MenuCommand& conversion, detect::Format format);

// The target keys a format converts to, each once, in registry order.
std::vector<std::string> TargetKeysOf(detect::Format format);

// The extension a conversion's targets get when no name is given: the proposed one, else the
// last pattern of its target filter.
std::string TargetExtension(const MenuCommand& conversion);

// The line `pasarela-cli commands` prints for a command: control, menu path and caption in
// columns.
std::string CommandListLine(const MenuCommand& command);

// The caption as the menu shows it: "&" accelerator marks removed ("&&" stays one "&").
std::string CaptionWithoutAccelerator(const std::string& caption);

}  // namespace frontend
