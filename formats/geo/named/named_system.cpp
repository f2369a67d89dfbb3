#include "formats/geo/named/named_system.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace geo {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Where `needle` (lower case) starts in `text` regardless of case; npos when not there.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0) {
  if (needle.empty() || text.size() < needle.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < needle.size() && Lower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return i;
  }
  return std::string_view::npos;
}

// The value of attribute `name` (lower case) inside the start tag `tag`; empty when absent.
std::string Attribute(std::string_view tag, std::string_view name) {
  for (std::size_t at = FindNoCase(tag, name); at != std::string_view::npos; at = FindNoCase(tag, name, at + 1)) {
    // A whole attribute name: preceded by a blank, followed by "=".
    if (at == 0 || !std::isspace(static_cast<unsigned char>(tag[at - 1]))) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && std::isspace(static_cast<unsigned char>(tag[i]))) ++i;
    if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) continue;
    const char quote = tag[i];
    const std::size_t end = tag.find(quote, i + 1);
    if (end == std::string_view::npos) return std::string();
    std::string value(tag.substr(i + 1, end - i - 1));
    // The entities a WKT's quotes come in.
    for (std::size_t q = value.find("&quot;"); q != std::string::npos; q = value.find("&quot;", q + 1)) {
      value.replace(q, 6, "\"");
    }
    return value;
  }
  return std::string();
}

// The first quoted name of a WKT text ("ETRS89 / UTM zone 30N").
std::string WktName(const std::string& wkt) {
  const std::size_t open = wkt.find('"');
  if (open == std::string::npos) return wkt;
  const std::size_t close = wkt.find('"', open + 1);
  return close == std::string::npos ? wkt : wkt.substr(open + 1, close - open - 1);
}

std::string Trimmed(std::string text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  std::size_t start = 0;
  while (start < text.size() && std::isspace(static_cast<unsigned char>(text[start]))) ++start;
  return text.substr(start);
}

bool ReadSmallFile(const std::string& path, std::string& text, std::size_t limit) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  text.resize(limit);
  file.read(text.data(), static_cast<std::streamsize>(limit));
  text.resize(static_cast<std::size_t>(file.gcount()));
  return true;
}

}  // namespace

NamedSystem NamedSystemOfLandXml(std::string_view text) {
  NamedSystem system;
  std::size_t at = FindNoCase(text, "<coordinatesystem");
  // A namespace prefix ("<lx:CoordinateSystem") is matched by its local name.
  if (at == std::string_view::npos) at = FindNoCase(text, ":coordinatesystem");
  if (at == std::string_view::npos) return system;
  const std::size_t end = text.find('>', at);
  const std::string_view tag = text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
  const std::string epsg = Trimmed(Attribute(tag, "epsgcode"));
  const std::string wkt = Trimmed(Attribute(tag, "ogcwktcode"));
  const std::string name = Trimmed(Attribute(tag, "name"));
  if (!epsg.empty()) {
    system.definition = (FindNoCase(epsg, "epsg:") == 0 ? epsg : "EPSG:" + epsg);
    system.name = name.empty() ? system.definition : name + " (" + system.definition + ")";
  } else if (!wkt.empty()) {
    system.definition = wkt;
    system.name = WktName(wkt);
  }
  return system;
}

NamedSystem NamedSystemOfShapefile(const std::string& path) {
  NamedSystem system;
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  const std::string stem = (dot == std::string::npos || (slash != std::string::npos && dot < slash)) ? path : path.substr(0, dot);
  std::string wkt;
  if (!ReadSmallFile(stem + ".prj", wkt, 65536) && !ReadSmallFile(stem + ".PRJ", wkt, 65536)) return system;
  wkt = Trimmed(wkt);
  if (wkt.empty()) return system;
  system.definition = wkt;
  system.name = WktName(wkt);
  return system;
}

NamedSystem NamedSystemOfIfc(std::string_view text) {
  NamedSystem system;
  const std::size_t at = FindNoCase(text, "ifcprojectedcrs(");
  if (at == std::string_view::npos) return system;
  const std::size_t open = text.find('\'', at);
  const std::size_t line = text.find(';', at);
  if (open == std::string_view::npos || (line != std::string_view::npos && open > line)) return system;
  const std::size_t close = text.find('\'', open + 1);
  if (close == std::string_view::npos) return system;
  system.definition = Trimmed(std::string(text.substr(open + 1, close - open - 1)));
  system.name = system.definition;
  return system;
}

NamedSystem NamedSystemOfFile(const std::string& path, std::string_view kind) {
  if (kind == "shapefile") return NamedSystemOfShapefile(path);
  // The system is declared near the top of a document: its first megabyte is read.
  std::string text;
  if (!ReadSmallFile(path, text, 1 << 20)) return NamedSystem();
  if (kind == "landxml") return NamedSystemOfLandXml(text);
  if (kind == "ifc") return NamedSystemOfIfc(text);
  return NamedSystem();
}

}  // namespace geo
