#include "common/file_kind.h"

#include <cctype>
#include <cstddef>

#include "common/text_case.h"

namespace common {
namespace {

constexpr std::size_t kSniffedBytes = 4096;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  if (word.size() > text.size()) return false;
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (EqualsIgnoringCase(text.substr(i, word.size()), word)) return true;
  }
  return false;
}

std::string_view Trimmed(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t' || text[first] == '\r')) ++first;
  std::size_t last = text.size();
  while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '\r')) --last;
  return text.substr(first, last - first);
}

// The next line of `text` from `position`, trimmed; false at the end.
bool NextLine(std::string_view text, std::size_t& position, std::string_view& line) {
  if (position >= text.size()) return false;
  std::size_t end = text.find('\n', position);
  if (end == std::string_view::npos) end = text.size();
  line = Trimmed(text.substr(position, end - position));
  position = end + 1;
  return true;
}

// An ASCII DXF file opens with the group "0" / "SECTION", after any "999" comment groups.
bool LooksLikeDxf(std::string_view text) {
  std::size_t position = 0;
  std::string_view code;
  std::string_view value;
  while (NextLine(text, position, code)) {
    if (code.empty()) continue;
    if (!NextLine(text, position, value)) return false;
    if (code == "999") continue;
    return code == "0" && EqualsIgnoringCase(value, "SECTION");
  }
  return false;
}

bool IsTextByte(unsigned char byte) {
  return byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r' || byte == '\f' || byte == 0x1A;
}

}  // namespace

FileKind SniffFileKind(std::string_view head) {
  if (head.empty()) return FileKind::kEmpty;
  if (head.size() > kSniffedBytes) head = head.substr(0, kSniffedBytes);
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(head[i]); };

  if (head.size() >= 4 && byte(0) == 0x00 && byte(1) == 0x00 && byte(2) == 0x27 && byte(3) == 0x0A) {
    return FileKind::kShapefile;
  }
  if (head.size() >= 19 && (head.substr(4, 15) == "Standard Jet DB" || head.substr(4, 15) == "Standard ACE DB")) {
    return FileKind::kJet;
  }
  if (StartsWithNoCase(head, "AutoCAD Binary DXF")) return FileKind::kBinaryDxf;

  std::size_t controlBytes = 0;
  for (std::size_t i = 0; i < head.size(); ++i) {
    if (!IsTextByte(byte(i))) ++controlBytes;
  }
  if (controlBytes > 0) {
    // A dBASE table: version byte, date, record count, then a header length that leaves room
    // for the field descriptors.
    if (head.size() >= 32 && (byte(0) == 0x03 || byte(0) == 0x83 || byte(0) == 0x8B || byte(0) == 0x30 ||
                              byte(0) == 0xF5) &&
        byte(2) >= 1 && byte(2) <= 12 && byte(3) >= 1 && byte(3) <= 31) {
      return FileKind::kDbase;
    }
    // Stray control bytes in a long text (a listing written by an old program) do not make
    // it binary; a NUL byte or many of them do.
    if (head.find('\0') != std::string_view::npos || controlBytes * 50 > head.size()) return FileKind::kBinary;
  }

  std::string_view text = head;
  if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t first = 0;
  while (first < text.size() && (text[first] == ' ' || text[first] == '\t' || text[first] == '\r' || text[first] == '\n')) {
    ++first;
  }
  text.remove_prefix(first);
  if (StartsWithNoCase(text, "{\\rtf")) return FileKind::kRtf;
  if (!text.empty() && text.front() == '<') {
    if (StartsWithNoCase(text, "<!DOCTYPE html") || StartsWithNoCase(text, "<html")) return FileKind::kHtml;
    if (ContainsNoCase(text, "<LandXML") || ContainsNoCase(text, ":LandXML")) return FileKind::kLandXml;
    if (ContainsNoCase(text, "<html")) return FileKind::kHtml;
    if (StartsWithNoCase(text, "<?xml") || (text.size() > 1 && (std::isalpha(static_cast<unsigned char>(text[1])) != 0))) {
      return FileKind::kXml;
    }
  }
  if (LooksLikeDxf(text)) return FileKind::kDxf;
  return FileKind::kText;
}

const char* FileKindDescription(FileKind kind) {
  switch (kind) {
    case FileKind::kEmpty: return "un fichero vacío";
    case FileKind::kText: return "un fichero de texto";
    case FileKind::kXml: return "un documento XML";
    case FileKind::kLandXml: return "un documento LandXML";
    case FileKind::kHtml: return "una página HTML";
    case FileKind::kDxf: return "un dibujo DXF";
    case FileKind::kBinaryDxf: return "un dibujo DXF binario";
    case FileKind::kRtf: return "un documento RTF";
    case FileKind::kShapefile: return "un shapefile";
    case FileKind::kDbase: return "una tabla dBASE";
    case FileKind::kJet: return "una base de datos Access (Jet)";
    case FileKind::kBinary: return "un fichero binario";
  }
  return "un fichero desconocido";
}

bool IsForeignToTextReaders(FileKind kind) {
  return kind != FileKind::kText && kind != FileKind::kEmpty;
}

}  // namespace common
