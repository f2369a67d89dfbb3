// Writing LandXML documents: every document the suite writes carries the same frame (root,
// project, units, application and author) and is written on one line after the declaration.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace common {

// Escapes the characters that would end or break an XML value; line ends and tabs become
// character references so a document stays on one line and values read back unchanged.
void AppendEscaped(std::string& out, std::string_view text);

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

}  // namespace common
