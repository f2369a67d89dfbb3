// The menu of the desktop program as data: every item in menu order with its caption, the
// file filters of its dialogs, the proposed extension of its target and the export it calls.
// The Qt program builds its menu bar from this table and pasarela-cli runs the same rows.
#pragma once

#include <string>
#include <vector>

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
  ExportLandXmlBySource,   // export chosen by the extension of the source
  FieldBookToClipTer,      // points, alignment and target
  Quit,
  About,
};

enum class ItemKind { Command, Separator };

struct MenuName {
  std::string control;
  std::string caption;
};

// One export of the LandXML export commands, chosen by the source's extension (upper case).
struct ExportByExtension {
  std::string extension;
  std::string exportName;
};

struct MenuCommand {
  ItemKind kind = ItemKind::Command;
  std::string control;
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
};

// Every menu item, separators included, in menu order.
const std::vector<MenuCommand>& CommandTable();

// The command with this control name; null when there is none (separators are not found).
const MenuCommand* FindCommand(const std::string& control);

// The line `pasarela-cli commands` prints for a command: control, menu path and caption in
// columns.
std::string CommandListLine(const MenuCommand& command);

// The caption as the menu shows it: "&" accelerator marks removed ("&&" stays one "&").
std::string CaptionWithoutAccelerator(const std::string& caption);

}  // namespace frontend
