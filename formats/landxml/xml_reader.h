// Reading LandXML (and any XML document) event by event on libxml2's SAX2 parser: elements and
// attributes by local name without regard to case, text delivered whole, the file streamed in
// chunks. The road-geometry and the surface libraries both read LandXML through it.
#pragma once

#include <cstddef>
#include <optional>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace common {

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
// A document that is not well formed (kMalformed) is noted for MalformedDocumentSeen; read from
// a path, it is also recorded as the reason of the running export's failure (the first reason
// wins, so a document cut short is never reported as one that holds nothing).
class LandXmlReader {
 public:
  ParseResult Parse(const std::string& path, LandXmlHandler& handler);
  // The same for a document already in memory.
  ParseResult ParseBytes(std::string_view document, LandXmlHandler& handler);

 private:
  ParseResult ParseFile(const std::string& path, LandXmlHandler& handler);
};

// Called from a handler's StartElement or EndElement: how many bytes of the document, counted
// in its own encoding from its first byte, the parser has read. In StartElement that is past
// the element's name and attributes (the tag's "<" is the last one before it, as no attribute
// value holds a "<"); in EndElement, past the element's end ("/>" or its end tag). -1 outside
// a parse. Lets a writer change one element of a document and copy every other byte as it is.
long long DocumentBytesRead();

// The line at which the last document read on this thread stopped at an error.
int LastMalformedLine();
// Whether a document read on this thread since ForgetMalformedDocuments was not well formed.
void ForgetMalformedDocuments();
bool MalformedDocumentSeen();
// "El documento LandXML X está incompleto o mal formado (línea N)".
std::string MalformedDocumentText(const std::string& path, int line);

// The document a LandXML reading takes: a file named by its path (the usual case, converted
// from the path implicitly), or bytes already in memory. It refers to the path or bytes it
// was made from, which must outlive it.
class LandXmlSource {
 public:
  LandXmlSource(const std::string& path) : path_(&path) {}  // NOLINT: a path is a source
  static LandXmlSource Bytes(std::string_view bytes) {
    LandXmlSource source;
    source.bytes_ = bytes;
    return source;
  }
  ParseResult Parse(LandXmlHandler& handler) const {
    return path_ != nullptr ? LandXmlReader().Parse(*path_, handler) : LandXmlReader().ParseBytes(bytes_, handler);
  }

 private:
  LandXmlSource() = default;
  const std::string* path_ = nullptr;
  std::string_view bytes_;
};

// What a LandXML import says a source of another kind is not.
inline constexpr const char* kLandXmlDocument = "un documento LandXML";

// Whether `path` can be read and its first bytes show a LandXML document; when not, the reason
// is recorded ("no es un documento LandXML: parece un dibujo DXF").
bool CheckLandXmlSource(const std::string& path);

// Whether a `Units` child declares feet as the linear unit (`Imperial`, or a `linearUnit` in
// feet): the imports convert every length to metres and say so.
bool DeclaresFeet(std::string_view localName, const LandXmlAttributes& attributes);
inline constexpr double kInternationalFoot = 0.3048;
inline constexpr double kUsSurveyFoot = 1200.0 / 3937.0;
// The metres in the foot a `Units` child declares: the US survey foot where its `linearUnit`
// says so (USSurveyFoot), the international foot otherwise; 0 when it declares no feet.
double FeetInMetres(std::string_view localName, const LandXmlAttributes& attributes);
inline constexpr const char* kFeetMessage = "el fichero está en pies: las medidas se han convertido a metros";
inline constexpr const char* kUsFeetMessage = "el fichero está en pies US: las medidas se han convertido a metros";
// The message for a document in the foot of `feetInMetres`.
const char* FeetMessage(double feetInMetres);

// What an import approximated or could not keep, said through the message hook.
inline constexpr const char* kApproximationCaption = "Aviso";
void ShowApproximation(const std::string& text);

// Whether a projection text (the WKT of a shapefile's .prj) describes geographic coordinates
// (degrees of latitude and longitude) rather than a projection.
bool WktIsGeographic(std::string_view wkt);

// Watches the coordinates a point file is written from: a point file keeps three decimals,
// which in degrees is a rounding of up to 0.0005 degrees, some 55 m on the ground.
class DegreesCheck {
 public:
  void Add(double x, double y) {
    if (points_++ == 0) {
      minX_ = maxX_ = x;
      minY_ = maxY_ = y;
    }
    minX_ = std::fmin(minX_, x);
    maxX_ = std::fmax(maxX_, x);
    minY_ = std::fmin(minY_, y);
    maxY_ = std::fmax(maxY_, y);
    if (!(std::fabs(x) <= 180 && std::fabs(y) <= 90)) outside_ = true;
    if (!lost_ && (Cut(x) || Cut(y))) lost_ = true;
  }
  // The warning when the coordinates are degrees: `geographic`, or every one within the range
  // of degrees, with decimals a point file does not keep, spread over at most two degrees as
  // the points of one site are (small plane coordinates of a local grid spread wider). Empty
  // otherwise.
  std::string Note(bool geographic) const;

 private:
  static bool Cut(double value) { return std::fabs(value * 1000 - std::round(value * 1000)) > 1e-6; }
  long points_ = 0;
  bool outside_ = false;
  bool lost_ = false;
  double minX_ = 0, maxX_ = 0, minY_ = 0, maxY_ = 0;
};

}  // namespace common
