// What kind of container a file's first bytes show: enough for a reader of text listings to
// refuse a drawing, an XML document or a binary file instead of reading zeros out of it, and
// for format detection to start from. The fine detection of each listing lives with the front
// end; this only tells the containers apart.
#pragma once

#include <string_view>

namespace common {

enum class FileKind {
  kEmpty,       // no bytes at all
  kText,        // plain text: any listing or native file
  kXml,         // an XML document that is not LandXML
  kLandXml,     // an XML document whose root is LandXML
  kHtml,        // an HTML page
  kDxf,         // an ASCII DXF drawing
  kBinaryDxf,   // a binary DXF drawing
  kRtf,         // an RTF document
  kShapefile,   // the main file of a shapefile
  kDbase,       // a dBASE table
  kJet,         // a Jet (Access) database
  kBinary,      // other bytes that are not text
};

// The kind shown by the first bytes of a file (a few kilobytes are enough).
FileKind SniffFileKind(std::string_view head);

// The kind in Spanish, to say what a file looks like: "un documento LandXML", "un dibujo DXF"...
const char* FileKindDescription(FileKind kind);

// Whether a reader of text listings must refuse a file of this kind.
bool IsForeignToTextReaders(FileKind kind);

}  // namespace common
