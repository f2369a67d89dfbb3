// LandXML documents: the event-driven reader every LandXML import uses (from common/), the writer that gives
// every exported document the same frame and text, the line-joining copy of the "WCE"
// imports and the selection list handed to the front end.
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/xml_reader.h"

namespace viaducto {

// The reader lives in common/ (the surface library reads LandXML too); its names are used here
// unqualified as before.
using common::GetAttribute;
using common::GetNumber;
using common::LandXmlAttribute;
using common::LandXmlAttributes;
using common::LandXmlHandler;
using common::LandXmlReader;
using common::NameIs;
using common::ParseResult;

// Writes one LandXML document: the declaration, then the whole document on one line, then one
// line end. Attributes are given before the element they belong to, in the order they are to
// be written; an attribute with an empty value is left out. `&`, `<`, `>` and `"` are escaped.
class LandXmlWriter {
 public:
  LandXmlWriter();  // dated now, in local time

  // The date and time the root element carries.
  void SetTimestamp(const std::tm& when) { when_ = when; }

  // Root `LandXML` (left open), `Project`, `Units` and `Application` with `Author`.
  void BeginDocument();

  void AddText(std::string_view name, std::string_view value);
  // Fixed notation with `decimals` decimals; a value that is not finite is left out.
  void AddNumber(std::string_view name, double value, int decimals);

  void StartElement(std::string_view name);
  void EndElement(std::string_view name);
  void Characters(std::string_view text);

  // Closes `LandXML` and returns the file's bytes.
  std::string EndDocumentBytes();
  // Closes `LandXML` and writes the file; false (and no file) when it cannot be written.
  bool EndDocument(const std::string& path);

 private:
  void CloseStartTag();

  std::tm when_{};
  std::string body_;
  std::vector<std::pair<std::string, std::string>> attributes_;
  std::vector<std::string> open_;
  bool startTagOpen_ = false;
};

// Copies `source` to `target`, joining lines: each line loses its line feed, and a line end is
// written only between two lines that both hold a "<" or ">". Lines are read in pieces of at
// most 1279 characters, as the import always has. Streams; false when `source` cannot be read
// or `target` written.
bool JoinTextLines(const std::string& source, const std::string& target);

// Shows what an import approximated or could not keep, one line each, in one message with
// the caption "Aviso"; nothing when there is nothing to say.
void ShowImportNotes(const std::vector<std::string>& notes);

// The fixed file through which a selection export hands its list to the front end.
std::string SelectionListPath();

// One entry per line, replacing the file.
bool WriteSelectionList(const std::vector<std::string>& entries);

}  // namespace viaducto
