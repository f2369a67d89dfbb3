#include "formats/landxml/xml_reader.h"

#include <cctype>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include "common/file_kind.h"
#include "common/file_stream.h"
#include "common/message_hook.h"
#include "common/numbers.h"
#include "common/outcome.h"
#include "common/text_case.h"

namespace common {

namespace {

constexpr std::size_t kChunkSize = 1 << 16;

std::string_view View(const xmlChar* text) {
  return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// ---- Encoding of a document that does not declare one ----------------------------------------

// Checks UTF-8 a chunk at a time; a sequence may be cut between chunks.
class Utf8Check {
 public:
  static constexpr uint64_t kHighBits = 0x8080808080808080ull;

  void Feed(const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && valid_; ++i) {
      // Runs of ASCII, most of a document, are passed over eight bytes at a time.
      if (pending_ == 0) {
        uint64_t word = 0;
        while (i + sizeof word <= size && (std::memcpy(&word, data + i, sizeof word), (word & kHighBits) == 0)) {
          i += sizeof word;
        }
        if (i == size) break;
      }
      const unsigned char c = data[i];
      if (pending_ > 0) {
        if ((c & 0xC0) != 0x80) {
          valid_ = false;
        } else {
          --pending_;
        }
      } else if (c < 0x80) {
      } else if (c >= 0xC2 && c <= 0xDF) {
        pending_ = 1;
      } else if (c >= 0xE0 && c <= 0xEF) {
        pending_ = 2;
      } else if (c >= 0xF0 && c <= 0xF4) {
        pending_ = 3;
      } else {
        valid_ = false;
      }
    }
  }
  bool Valid() const { return valid_ && pending_ == 0; }
  bool Broken() const { return !valid_; }

 private:
  int pending_ = 0;
  bool valid_ = true;
};

// Whether the document's start fixes its encoding: a byte-order mark or an XML declaration
// with an encoding.
bool DeclaresEncoding(std::string_view head) {
  if (head.size() >= 2) {
    const unsigned char a = static_cast<unsigned char>(head[0]);
    const unsigned char b = static_cast<unsigned char>(head[1]);
    if ((a == 0xFE && b == 0xFF) || (a == 0xFF && b == 0xFE) || a == 0 || b == 0) return true;
    if (a == 0xEF && b == 0xBB) return true;
  }
  if (head.substr(0, 5) != "<?xml") return false;
  const std::string_view declaration = head.substr(0, head.find("?>"));
  return declaration.find("encoding") != std::string_view::npos;
}

// True when the file holds no encoding declaration and is not valid UTF-8.
// Reads `file` from its start; the caller rewinds it for the parse.
bool NeedsWindows1252(common::FileChunkReader& file) {
  std::unique_ptr<char[]> buffer(new char[kChunkSize]);
  Utf8Check check;
  bool first = true;
  for (;;) {
    const std::size_t got = file.Read(buffer.get(), kChunkSize);
    if (got == 0) break;
    if (first && DeclaresEncoding(std::string_view(buffer.get(), got))) return false;
    first = false;
    check.Feed(reinterpret_cast<const unsigned char*>(buffer.get()), got);
    if (check.Broken()) return true;
  }
  return !check.Valid();
}

// ---- SAX2 events ------------------------------------------------------------------------------

struct ParseState {
  LandXmlHandler* handler = nullptr;
  std::string text;             // text collected since the last tag
  LandXmlAttributes attributes;
  std::vector<std::string> decodedValues;

  void FlushText() {
    if (!text.empty()) {
      handler->Characters(text);
      text.clear();
    }
  }
};

// Without entity substitution the parser hands over a "&" of an attribute value as "&#38;".
std::string_view AttributeValue(const xmlChar* begin, const xmlChar* end, std::vector<std::string>& storage) {
  const std::string_view raw(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
  if (raw.find("&#38;") == std::string_view::npos) return raw;
  std::string decoded;
  decoded.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size();) {
    if (raw.compare(i, 5, "&#38;") == 0) {
      decoded += '&';
      i += 5;
    } else {
      decoded += raw[i++];
    }
  }
  storage.push_back(std::move(decoded));
  return storage.back();
}

void OnStartElement(void* context, const xmlChar* localName, const xmlChar*, const xmlChar*, int, const xmlChar**,
                    int attributeCount, int, const xmlChar** attributes) {
  ParseState& state = *static_cast<ParseState*>(context);
  state.FlushText();
  state.attributes.clear();
  state.decodedValues.clear();
  state.decodedValues.reserve(static_cast<std::size_t>(attributeCount));
  for (int i = 0; i < attributeCount; ++i) {
    const xmlChar** a = attributes + 5 * i;
    state.attributes.push_back(LandXmlAttribute{View(a[0]), AttributeValue(a[3], a[4], state.decodedValues)});
  }
  state.handler->StartElement(View(localName), state.attributes);
}

void OnEndElement(void* context, const xmlChar* localName, const xmlChar*, const xmlChar*) {
  ParseState& state = *static_cast<ParseState*>(context);
  state.FlushText();
  state.handler->EndElement(View(localName));
}

void OnCharacters(void* context, const xmlChar* text, int length) {
  ParseState& state = *static_cast<ParseState*>(context);
  if (length > 0 && state.handler->WantsText()) state.text.append(reinterpret_cast<const char*>(text), length);
}

void IgnoreError(void*, xmlErrorPtr) {}

struct ParserContextDeleter {
  void operator()(xmlParserCtxt* context) const {
    if (context->myDoc != nullptr) xmlFreeDoc(context->myDoc);
    context->myDoc = nullptr;
    xmlFreeParserCtxt(context);
  }
};

}  // namespace

bool NameIs(std::string_view name, std::string_view wanted) { return common::EqualsIgnoringCase(name, wanted); }

std::optional<std::string_view> GetAttribute(const LandXmlAttributes& attributes, std::string_view name) {
  for (const LandXmlAttribute& attribute : attributes) {
    if (NameIs(attribute.localName, name)) return attribute.value;
  }
  return std::nullopt;
}

std::optional<double> GetNumber(const LandXmlAttributes& attributes, std::string_view name) {
  const std::optional<std::string_view> value = GetAttribute(attributes, name);
  if (!value) return std::nullopt;
  return common::LenientDouble(*value);
}

namespace {

thread_local int lastMalformedLine = 0;
thread_local bool malformedSeen = false;
thread_local xmlParserCtxt* parsing = nullptr;

// The parser of the running parse on this thread, for DocumentBytesRead; a parse started from
// a handler restores the outer one when it ends.
class ParsingScope {
 public:
  explicit ParsingScope(xmlParserCtxt* context) : outer_(parsing) { parsing = context; }
  ~ParsingScope() { parsing = outer_; }
  ParsingScope(const ParsingScope&) = delete;
  ParsingScope& operator=(const ParsingScope&) = delete;

 private:
  xmlParserCtxt* outer_;
};

void NoteMalformed(int line) {
  lastMalformedLine = line;
  malformedSeen = true;
}

// Feeds the parser from `next(buffer, size)` (0 at the end) until the document ends or breaks.
template <typename NextChunk>
ParseResult ParseChunks(bool windows1252, LandXmlHandler& handler, NextChunk&& next, bool& readFailed) {
  xmlInitParser();
  xmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.initialized = XML_SAX2_MAGIC;
  sax.startElementNs = OnStartElement;
  sax.endElementNs = OnEndElement;
  sax.characters = OnCharacters;
  sax.cdataBlock = OnCharacters;
  sax.ignorableWhitespace = OnCharacters;
  sax.serror = IgnoreError;

  ParseState state;
  state.handler = &handler;
  std::unique_ptr<xmlParserCtxt, ParserContextDeleter> context(
      xmlCreatePushParserCtxt(&sax, &state, nullptr, 0, nullptr));
  if (!context) return ParseResult::kCannotOpen;
  xmlCtxtUseOptions(context.get(), XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (windows1252) {
    xmlCharEncodingHandlerPtr encoding = xmlFindCharEncodingHandler("WINDOWS-1252");
    if (encoding != nullptr) xmlSwitchToEncoding(context.get(), encoding);
  }

  const ParsingScope scope(context.get());
  bool failed = false;
  for (;;) {
    const char* chunk = nullptr;
    const std::size_t got = next(chunk);
    if (got == 0) break;
    if (xmlParseChunk(context.get(), chunk, static_cast<int>(got), 0) != 0) {
      failed = true;
      break;
    }
  }
  if (!failed && xmlParseChunk(context.get(), nullptr, 0, 1) != 0) failed = true;
  if (readFailed || !context->wellFormed) failed = true;
  if (!failed) state.FlushText();
  if (failed) {
    // The line of the error; a document cut short ends in an error at its last line.
    int line = context->lastError.line;
    if (line <= 0 && context->input != nullptr) line = context->input->line;
    NoteMalformed(line > 0 ? line : 1);
  }
  return failed ? ParseResult::kMalformed : ParseResult::kComplete;
}

bool Windows1252Bytes(std::string_view document) {
  if (DeclaresEncoding(document.substr(0, kChunkSize))) return false;
  Utf8Check check;
  check.Feed(reinterpret_cast<const unsigned char*>(document.data()), document.size());
  return !check.Valid();
}

}  // namespace

long long DocumentBytesRead() { return parsing != nullptr ? xmlByteConsumed(parsing) : -1; }

int LastMalformedLine() { return lastMalformedLine; }

void ForgetMalformedDocuments() {
  malformedSeen = false;
  lastMalformedLine = 0;
}

bool MalformedDocumentSeen() { return malformedSeen; }

std::string MalformedDocumentText(const std::string& path, int line) {
  return "El documento LandXML " + path + " está incompleto o mal formado (línea " + std::to_string(line) + ")";
}

ParseResult LandXmlReader::Parse(const std::string& path, LandXmlHandler& handler) {
  const ParseResult result = ParseFile(path, handler);
  // A document cut short or broken is no smaller document: whatever reads it for an export
  // fails with this reason, which names where the document breaks.
  if (result == ParseResult::kMalformed) RecordFailure(MalformedDocumentText(path, lastMalformedLine));
  return result;
}

ParseResult LandXmlReader::ParseFile(const std::string& path, LandXmlHandler& handler) {
  common::FileChunkReader file;
  if (!file.Open(path)) return ParseResult::kCannotOpen;
  // One opening for both passes: the encoding check, then the parse.
  const bool windows1252 = NeedsWindows1252(file);
  file.Rewind();
  std::unique_ptr<char[]> buffer(new char[kChunkSize]);
  bool readFailed = false;
  return ParseChunks(windows1252, handler,
                     [&](const char*& chunk) {
                       const std::size_t got = file.Read(buffer.get(), kChunkSize);
                       readFailed = file.failed();
                       chunk = buffer.get();
                       return got;
                     },
                     readFailed);
}

ParseResult LandXmlReader::ParseBytes(std::string_view document, LandXmlHandler& handler) {
  bool readFailed = false;
  std::size_t offset = 0;
  return ParseChunks(Windows1252Bytes(document), handler,
                     [&](const char*& chunk) {
                       const std::size_t got = std::min(kChunkSize, document.size() - offset);
                       chunk = document.data() + offset;
                       offset += got;
                       return got;
                     },
                     readFailed);
}

bool CheckLandXmlSource(const std::string& path) {
  common::FileChunkReader file;
  if (!file.Open(path)) return false;
  char head[4096];
  std::size_t got = 0;
  while (got < sizeof head) {
    const std::size_t more = file.Read(head + got, sizeof head - got);
    if (more == 0) break;
    got += more;
  }
  if (file.failed()) {
    RecordSourceFailure(path, EIO);
    return false;
  }
  const FileKind kind = SniffFileKind(std::string_view(head, got));
  if (kind == FileKind::kLandXml) return true;
  RecordWrongKind(path, kLandXmlDocument, kind);
  return false;
}

bool DeclaresFeet(std::string_view localName, const LandXmlAttributes& attributes) {
  if (!NameIs(localName, "Imperial") && !NameIs(localName, "Metric")) return false;
  const std::optional<std::string_view> unit = GetAttribute(attributes, "linearUnit");
  if (!unit) return NameIs(localName, "Imperial");
  const std::string lower = common::LowerAscii(*unit);
  return lower.find("foot") != std::string::npos || lower.find("feet") != std::string::npos;
}

double FeetInMetres(std::string_view localName, const LandXmlAttributes& attributes) {
  if (!DeclaresFeet(localName, attributes)) return 0;
  const std::optional<std::string_view> unit = GetAttribute(attributes, "linearUnit");
  const std::string lower = unit ? common::LowerAscii(*unit) : std::string();
  return lower.find("survey") != std::string::npos ? kUsSurveyFoot : kInternationalFoot;
}

const char* FeetMessage(double feetInMetres) {
  return feetInMetres == kUsSurveyFoot ? kUsFeetMessage : kFeetMessage;
}

void ShowApproximation(const std::string& text) { ShowMessage(kApproximationCaption, text.c_str()); }

bool WktIsGeographic(std::string_view wkt) {
  std::size_t start = 0;
  while (start < wkt.size() && std::isspace(static_cast<unsigned char>(wkt[start])) != 0) ++start;
  const std::string_view head = wkt.substr(start, 8);
  const auto startsWith = [&](std::string_view word) {
    if (head.size() < word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (std::toupper(static_cast<unsigned char>(head[i])) != word[i]) return false;
    }
    return true;
  };
  return startsWith("GEOGCS[") || startsWith("GEOGCRS[") || startsWith("GEODCRS[");
}

std::string DegreesCheck::Note(bool geographic) const {
  if (points_ == 0) return std::string();
  if (!geographic && (outside_ || !lost_ || maxX_ - minX_ > 2 || maxY_ - minY_ > 2)) return std::string();
  return std::string(geographic ? "las coordenadas son geográficas (grados)" : "las coordenadas parecen grados") +
         ": el fichero de puntos guarda 3 decimales, un redondeo de hasta 0,0005° (unos 55 m sobre el terreno)";
}

}  // namespace common
