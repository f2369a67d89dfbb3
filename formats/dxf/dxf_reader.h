// Reading drawing-exchange files (DXF, ASCII form): the group reader, the scanners that find
// the layer table and the entities section, and the readers of POINT, 3DFACE, LWPOLYLINE and
// POLYLINE entities. Every DXF consumer of the library reads through these.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/numbers.h"
#include "common/text_input.h"
#include "common/text_stream.h"

namespace planimetro::dxf {

// One group: the integer code and the value line (at most 255 characters, no line end).
struct DxfGroup {
  int code = 0;
  std::string_view value;  // valid until the next group is read
};

// A drawing read group by group, with the line pieces of a 256-byte buffer (a longer value
// line arrives in pieces, as the format's readers have always had it). Either held whole in
// memory, or streamed from the file in one pass with memory for one chunk only.
class DxfFile {
 public:
  DxfFile() : lines_(std::string_view()) {}
  explicit DxfFile(std::string text);
  DxfFile(const DxfFile&) = delete;
  DxfFile& operator=(const DxfFile&) = delete;

  // Loads the drawing at `path` whole; false when it cannot be read.
  bool Open(const std::string& path);

  // Opens the drawing at `path` to be read as a stream; false when it cannot be opened. A
  // read error later ends the groups early, is recorded as the reason of the failure, and
  // `failed()` tells it from the end of the file.
  bool OpenStreamed(const std::string& path);
  bool failed() const { return streamed_ && stream_.failed(); }

  // Reads the next group; false at the end of the file. Inline: a drawing holds millions.
  bool ReadGroup(DxfGroup& group) {
    if (held_) {
      held_ = false;
      group = last_;
      return true;
    }
    std::string_view codeLine;
    std::string_view valueLine;
    if (!NextPiece(codeLine)) return false;
    // The code is taken before the next piece replaces the line it stands in.
    const int code = common::LenientInt(codeLine);
    if (!NextPiece(valueLine)) return false;
    last_.code = code;
    last_.value = common::WithoutLineFeed(valueLine);
    haveLast_ = true;
    group = last_;
    return true;
  }

  // Puts back the group read last, so that the next ReadGroup returns it again: an entity
  // reader stops at the group that starts the next entity without taking it away.
  void UnreadGroup() { held_ = haveLast_; }

 private:
  bool NextPiece(std::string_view& piece) {
    if (!streamed_) return lines_.Next(piece);
    return stream_.Next(piece) || NoteStreamEnd();
  }
  // At the end of a streamed drawing: records a read error as the reason of the failure, once.
  bool NoteStreamEnd();

  std::string text_;
  common::LineReader lines_;
  common::StreamedLineReader stream_;
  bool streamed_ = false;
  std::string path_;  // of the streamed drawing
  bool failureRecorded_ = false;
  // The group read last. While it is put back nothing is read, so its value still stands in
  // the text or the stream's chunk and needs no copy.
  DxfGroup last_;
  bool haveLast_ = false;
  bool held_ = false;
};

// Whether `value` is the keyword `keyword`, letter case ignored. Trailing blanks are part of
// the value, so "POINT " is not "POINT".
bool IsKeyword(std::string_view value, std::string_view keyword);

// The next group: the first line is the code (leading blanks skipped, leading digits taken; a
// line holding only a line end reads as 0), the second the value without its line end.
inline bool LeerGrupoDxf(DxfFile& file, DxfGroup& group) { return file.ReadGroup(group); }

// Reads the next group of the current entity; at the group that starts the next entity (or
// at the end of the file, which sets `atEnd`) puts it back and answers false.
bool ReadEntityGroup(DxfFile& file, DxfGroup& group, bool& atEnd);

// Advances to the layer table: past (0, "TABLE") then (2, "LAYER") of the same table. False
// at the end of the file.
bool BuscarTablaCapas(DxfFile& file);

// Advances into the entities section: past (0, "SECTION") then (2, "ENTITIES"). False at the
// end of the file.
bool BuscarEntidades(DxfFile& file);

struct DxfVertex {
  double x = 0;
  double y = 0;
  double z = 0;
};

// 3DFACE: the layer and four corners; a triangle repeats its third corner as the fourth.
struct DxfFace {
  std::string layer;
  DxfVertex corners[4];
};

// LWPOLYLINE or POLYLINE: the layer and its vertices. For an LWPOLYLINE the third value of
// each vertex is the last group-43 value seen before it (0 when none).
struct DxfPolyline {
  std::string layer;
  std::vector<DxfVertex> vertices;
};

// The entity readers are called right after the group that names the entity. Each reads the
// groups of its own entity and stops before the group (code 0) that starts the next one, so a
// caller scanning for entity names never loses an entity to a reader.

// POINT: codes 10, 20, 30 (z 0 when the point has none). False when x or y is missing.
bool LeerPunto(DxfFile& file, DxfVertex& point);

// 3DFACE: code 8 is the layer; codes 10-13, 20-23, 30-33 are x, y, z of corners 0-3. A face
// without a fourth corner repeats its third. False when one of the first three corners is
// incomplete.
bool LeerCara3D(DxfFile& file, DxfFace& face);

// LWPOLYLINE: code 8 the layer, 90 the number of vertices, 43 the third value, 10 x, and 20 y,
// which completes a vertex. Ends when the declared vertices have been read or the entity
// ends. False when the file ends before the declared vertices have all been read.
bool LeerPolilineaLigera(DxfFile& file, DxfPolyline& polyline);

// POLYLINE: code 8 the layer, then one vertex (10, 20, 30) per VERTEX entity up to SEQEND.
// The face records of a polyface mesh are not vertices and are left out. False when the file
// ends before SEQEND.
bool LeerPolilinea(DxfFile& file, DxfPolyline& polyline);

}  // namespace planimetro::dxf
