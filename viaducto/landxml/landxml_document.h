// LandXML documents: the event-driven reader every LandXML import uses, the writer that gives
// every exported document the same frame and text, the line-joining copy of the "WCE"
// imports and the selection list handed to the front end.
#pragma once

#include <cstddef>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace viaducto {

// Element and attribute names are matched by local name without regard to case, so LandXML
// 1.0, 1.1 and 1.2 files, with or without a namespace, read alike.
bool NameIs(std::string_view name, std::string_view wanted);

struct LandXmlAttribute {
  std::string_view localName;
  std::string_view value;  // UTF-8, entities already resolved
};
using LandXmlAttributes = std::vector<LandXmlAttribute>;

// The value of the first attribute whose local name is `name` (any case); none when absent.
std::optional<std::string_view> GetAttribute(const LandXmlAttributes& attributes, std::string_view name);

// GetAttribute read as a number the way atof does ("INF" and other text read as 0).
std::optional<double> GetNumber(const LandXmlAttributes& attributes, std::string_view name);

// Receives the events of one parse. Text between tags arrives whole in one Characters call
// (never cut at a buffer boundary), and only while WantsText() is true when it is read, so a
// handler that keeps no text costs no memory for it.
class LandXmlHandler {
 public:
  virtual ~LandXmlHandler() = default;
  virtual void StartElement(std::string_view localName, const LandXmlAttributes& attributes) = 0;
  virtual void EndElement(std::string_view localName) = 0;
  virtual void Characters(std::string_view /*text*/) {}
  virtual bool WantsText() const { return false; }
};

enum class ParseResult {
  kComplete,    // the whole document was read
  kMalformed,   // reading stopped at an error; the events before it were delivered
  kCannotOpen,  // the file cannot be read; no event was delivered
};

// Streams the file through the handler; memory does not grow with the document. Network
// access, external entities and entity definitions are off (an entity-expansion bomb stops at
// its first reference). A document without an encoding declaration that is not valid UTF-8 is
// read as Windows-1252, as older Spanish tools save it.
class LandXmlReader {
 public:
  ParseResult Parse(const std::string& path, LandXmlHandler& handler);
};

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

// The fixed file through which a selection export hands its list to the front end.
std::string SelectionListPath();

// One entry per line, replacing the file.
bool WriteSelectionList(const std::vector<std::string>& entries);

}  // namespace viaducto
