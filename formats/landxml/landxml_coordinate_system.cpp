#include "formats/landxml/landxml_coordinate_system.h"
#include "formats/landxml/landxml_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#include "common/file_kind.h"
#include "common/file_stream.h"
#include "common/outcome.h"
#include "common/source_files.h"

namespace viaducto {
namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return std::string();
  return std::string(text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1));
}

class CoordinateSystemHandler : public common::LandXmlHandler {
 public:
  explicit CoordinateSystemHandler(LandXmlCoordinateSystem& system) : system_(system) {}
  void StartElement(std::string_view name, const common::LandXmlAttributes& attributes) override {
    TakeCoordinateSystem(name, attributes, system_);
  }
  void EndElement(std::string_view) override {}

 private:
  LandXmlCoordinateSystem& system_;
};

// ---- Writing ---------------------------------------------------------------------------------

// Where the parser stood at the elements a CoordinateSystem is put among: the root, its
// CoordinateSystem children and its first child that comes after them.
class PlacesHandler : public common::LandXmlHandler {
 public:
  struct Read {
    long long start = -1;  // at the start tag (past its attributes)
    long long end = -1;    // past the element's end
  };

  void StartElement(std::string_view name, const common::LandXmlAttributes&) override {
    if (depth_ == 0) {
      root = std::string(name);
      rootRead = common::DocumentBytesRead();
    } else if (depth_ == 1) {
      if (common::NameIs(name, "CoordinateSystem")) {
        systems.push_back({common::DocumentBytesRead(), -1});
        inSystem_ = true;
      } else if (next.start < 0 && !common::NameIs(name, "Project") && !common::NameIs(name, "Units")) {
        next.start = common::DocumentBytesRead();
        nextName = std::string(name);
      }
    }
    ++depth_;
  }
  void EndElement(std::string_view) override {
    --depth_;
    if (depth_ == 1 && inSystem_) {
      systems.back().end = common::DocumentBytesRead();
      inSystem_ = false;
    } else if (depth_ == 0) {
      rootEnd = common::DocumentBytesRead();
    }
  }

  std::string root;
  long long rootRead = -1;
  long long rootEnd = -1;
  std::vector<Read> systems;
  Read next;
  std::string nextName;

 private:
  int depth_ = 0;
  bool inSystem_ = false;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Random access to the bytes of a document: a file through its descriptor, or bytes in memory.
class DocumentBytes {
 public:
  explicit DocumentBytes(int fd) : fd_(fd) {}
  explicit DocumentBytes(std::string_view bytes) : bytes_(bytes) {}

  // Up to `size` bytes at `offset`; fewer only at the end, none on an error.
  std::string At(long long offset, std::size_t size) const {
    if (offset < 0) return std::string();
    if (fd_ < 0) {
      const std::size_t start = static_cast<std::size_t>(offset);
      return start < bytes_.size() ? std::string(bytes_.substr(start, size)) : std::string();
    }
    std::string bytes(size, '\0');
    std::size_t got = 0;
    while (got < size) {
      const ssize_t more = ::pread(fd_, bytes.data() + got, size - got, static_cast<off_t>(offset) + static_cast<off_t>(got));
      if (more < 0 && errno == EINTR) continue;
      if (more <= 0) break;
      got += static_cast<std::size_t>(more);
    }
    bytes.resize(got);
    return bytes;
  }

 private:
  int fd_ = -1;
  std::string_view bytes_;
};

// The "<" of the tag the parser read up to `read`: the last one before it, as neither a tag's
// name nor its attribute values hold one. -1 when there is none.
long long TagStart(const DocumentBytes& document, long long read) {
  constexpr long long kBlock = 4096;
  for (long long end = read; end > 0;) {
    const long long start = std::max(0LL, end - kBlock);
    const std::string block = document.At(start, static_cast<std::size_t>(end - start));
    if (static_cast<long long>(block.size()) != end - start) return -1;
    const std::size_t at = block.rfind('<');
    if (at != std::string::npos) return start + static_cast<long long>(at);
    end = start;
  }
  return -1;
}

// The qualified name of the tag at `at` ("lx:LandXML", "/LandXML" for an end tag); empty when
// no tag starts there.
std::string TagName(const DocumentBytes& document, long long at) {
  if (at < 0) return std::string();
  const std::string head = document.At(at, 512);
  if (head.empty() || head[0] != '<') return std::string();
  const std::size_t end = head.find_first_of(" \t\r\n/>", 2);
  return end == std::string::npos ? std::string() : head.substr(1, end - 1);
}

bool LocalNameIs(std::string_view qualified, std::string_view local) {
  const std::size_t colon = qualified.find(':');
  return (colon == std::string_view::npos ? qualified : qualified.substr(colon + 1)) == local;
}

void AppendAttribute(std::string& out, std::string_view name, std::string_view value) {
  if (value.empty()) return;
  out += ' ';
  out += name;
  out += "=\"";
  for (std::size_t i = 0; i < value.size();) {
    const unsigned char c = static_cast<unsigned char>(value[i]);
    if (c < 0x80) {
      std::size_t end = i;
      while (end < value.size() && static_cast<unsigned char>(value[end]) < 0x80) ++end;
      common::AppendEscaped(out, value.substr(i, end - i));
      i = end;
      continue;
    }
    // A UTF-8 sequence becomes the reference of its character; a byte that begins none is
    // taken as the Latin character of that number.
    const int length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c <= 0xDF ? 2 : 1;
    unsigned long code = length == 4 ? c & 0x07u : length == 3 ? c & 0x0Fu : length == 2 ? c & 0x1Fu : c;
    bool whole = length > 1 && i + static_cast<std::size_t>(length) <= value.size();
    for (int k = 1; whole && k < length; ++k) {
      const unsigned char more = static_cast<unsigned char>(value[i + static_cast<std::size_t>(k)]);
      whole = (more & 0xC0) == 0x80;
      code = (code << 6) | (more & 0x3Fu);
    }
    if (!whole) code = c;
    i += whole ? static_cast<std::size_t>(length) : 1;
    out += "&#" + std::to_string(code) + ";";
  }
  out += '"';
}

// One change of the document: the bytes [start, end) replaced by `text`.
struct Edit {
  long long start;
  long long end;
  std::string text;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// Where the element goes and what it replaces; false (reason recorded) when the document does
// not show its places as the parser gave them.
bool PlanEdits(const DocumentBytes& document, const std::string& path, const PlacesHandler& places,
               const LandXmlCoordinateSystem& system, std::vector<Edit>& edits) {
  const std::string cannot = "No se puede poner el sistema de coordenadas en el documento LandXML " + path;
  if (!common::NameIs(places.root, "LandXML")) {
    common::RecordWrongKind(path, common::kLandXmlDocument, common::FileKind::kXml);
    return false;
  }
  const long long rootStart = TagStart(document, places.rootRead);
  const std::string root = TagName(document, rootStart);
  if (!LocalNameIs(root, places.root)) {
    common::RecordFailure(cannot);
    return false;
  }
  const std::size_t colon = root.find(':');
  const std::string element =
      CoordinateSystemElement(system, colon == std::string::npos ? std::string_view() : std::string_view(root).substr(0, colon + 1));
  for (const PlacesHandler::Read& read : places.systems) {
    const long long start = TagStart(document, read.start);
    if (!LocalNameIs(TagName(document, start), "CoordinateSystem") || read.end <= start ||
        document.At(read.end - 1, 1) != ">") {
      common::RecordFailure(cannot);
      return false;
    }
    edits.push_back({start, read.end, edits.empty() ? element : std::string()});
  }
  if (!edits.empty()) return true;
  long long at = -1;
  if (places.next.start >= 0) {
    at = TagStart(document, places.next.start);
    if (!LocalNameIs(TagName(document, at), places.nextName)) at = -1;
  } else {
    at = TagStart(document, places.rootEnd);
    // A root without content ("<LandXML/>") has no end tag to put the element before.
    if (TagName(document, at) != "/" + root) {
      common::RecordFailure("El documento LandXML " + path + " no tiene contenido: no se le pone sistema de coordenadas");
      return false;
    }
  }
  if (at < 0) {
    common::RecordFailure(cannot);
    return false;
  }
  edits.push_back({at, at, element});
  return true;
}

}  // namespace

std::string CoordinateSystemElement(const LandXmlCoordinateSystem& system, std::string_view prefix) {
  std::string element = "<";
  element += prefix;
  element += "CoordinateSystem";
  AppendAttribute(element, "name", system.name);
  AppendAttribute(element, "epsgCode", system.epsgCode);
  AppendAttribute(element, "ogcWktCode", system.ogcWkt);
  element += "/>";
  return element;
}

bool PutLandXmlCoordinateSystem(const std::string& path, const LandXmlCoordinateSystem& system) {
  const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat before {};
  if (fd.get() < 0 || ::fstat(fd.get(), &before) != 0 || !S_ISREG(before.st_mode)) {
    common::RecordSourceFailure(path, fd.get() < 0 ? errno : 0);
    return false;
  }
  if (!common::CheckLandXmlSource(path)) return false;
  PlacesHandler places;
  if (common::LandXmlReader().Parse(path, places) != common::ParseResult::kComplete) return false;
  struct stat after {};
  if (::fstat(fd.get(), &after) != 0 || !SameFile(before, after)) {
    common::RecordFailure("El documento LandXML " + path + " ha cambiado mientras se leía");
    return false;
  }
  const DocumentBytes document(fd.get());
  std::vector<Edit> edits;
  if (!PlanEdits(document, path, places, system, edits)) return false;

  // The document read is the one rewritten: it is no source whose content must be kept.
  common::ForgetSourceFile(path.c_str());
  common::ReplacingFileStream out(path);
  constexpr std::size_t kCopyBlock = 1 << 20;
  const long long size = static_cast<long long>(before.st_size);
  long long at = 0;
  const auto copyTo = [&](long long end) {
    while (at < end) {
      const std::string block = document.At(at, static_cast<std::size_t>(std::min<long long>(end - at, kCopyBlock)));
      if (block.empty()) {
        common::RecordSourceFailure(path, EIO);
        return false;
      }
      if (!out.Write(block)) return false;
      at += static_cast<long long>(block.size());
    }
    return true;
  };
  for (const Edit& edit : edits) {
    if (!copyTo(edit.start) || !out.Write(edit.text)) return false;
    at = edit.end;
  }
  if (!copyTo(size) || !out.Commit()) return false;
  // The file made beside the document is private; the document keeps the permissions it had.
  ::chmod(path.c_str(), before.st_mode & 07777);
  return true;
}

bool PutCoordinateSystemInDocument(std::string_view document, const LandXmlCoordinateSystem& system,
                                   std::string& result) {
  PlacesHandler places;
  if (common::LandXmlReader().ParseBytes(document, places) != common::ParseResult::kComplete) {
    common::RecordFailure("El documento LandXML está incompleto o mal formado (línea " +
                          std::to_string(common::LastMalformedLine()) + ")");
    return false;
  }
  std::vector<Edit> edits;
  if (!PlanEdits(DocumentBytes(document), std::string(), places, system, edits)) return false;
  result.clear();
  std::size_t at = 0;
  for (const Edit& edit : edits) {
    result.append(document, at, static_cast<std::size_t>(edit.start) - at);
    result += edit.text;
    at = static_cast<std::size_t>(edit.end);
  }
  result.append(document, at, std::string_view::npos);
  return true;
}

void TakeCoordinateSystem(std::string_view name, const common::LandXmlAttributes& attributes,
                          LandXmlCoordinateSystem& into) {
  if (into.seen || !common::NameIs(name, "CoordinateSystem")) return;
  into.seen = true;
  const auto text = [&](std::string_view attribute) {
    const auto value = common::GetAttribute(attributes, attribute);
    return value ? Trimmed(*value) : std::string();
  };
  into.epsgCode = text("epsgCode");
  into.ogcWkt = text("ogcWktCode");
  into.name = text("name");
}

LandXmlCoordinateSystem ReadLandXmlCoordinateSystem(const common::LandXmlSource& source) {
  LandXmlCoordinateSystem system;
  CoordinateSystemHandler handler(system);
  source.Parse(handler);
  return system;
}

}  // namespace viaducto
