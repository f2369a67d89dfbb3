#include "formats/shapefile/shapefile_points.h"
#include "common/spanish_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <shapefil.h>
#include <strings.h>
#include <vector>

#include "common/file_stream.h"
#include "common/fixed_format.h"
#include "common/message_hook.h"
#include "common/outcome.h"
#include "common/text_input.h"
#include "formats/landxml/xml_reader.h"
#include "common/paths.h"
#include "formats/native/point_file.h"
#include "common/records.h"
#include "common/source_files.h"
#include "common/text_output.h"
#include "formats/shapefile/memory_file_hooks.h"

namespace shapeline {
namespace {

constexpr char kNumberField[] = "NUMERO";
constexpr char kElevationField[] = "Z";
constexpr char kCodeField[] = "CODIGO";
constexpr int kNumberWidth = 5;
constexpr int kElevationWidth = 8;
constexpr int kElevationDecimals = 3;
constexpr int kCodeWidth = 25;
constexpr int kMaxFieldWidth = 255;

struct ShapeCloser {
  void operator()(SHPInfo* handle) const { SHPClose(handle); }
};
struct TableCloser {
  void operator()(DBFInfo* handle) const { DBFClose(handle); }
};
struct ShapeDestroyer {
  void operator()(SHPObject* shape) const { SHPDestroyObject(shape); }
};
using ShapeFile = std::unique_ptr<SHPInfo, ShapeCloser>;
using Table = std::unique_ptr<DBFInfo, TableCloser>;
using Shape = std::unique_ptr<SHPObject, ShapeDestroyer>;

int Fail(const char* reason) {
  common::ShowMessage(kMessageCaption, reason);
  return 0;
}

// The table's path: the shapefile's with the extension of a dBASE file.
std::string TablePath(const std::string& shapefile) { return common::ChangeExtension(shapefile, "DBF"); }

// Shape types whose vertices carry their own elevation.
bool CarriesElevation(int shapeType) {
  return shapeType == SHPT_POINTZ || shapeType == SHPT_MULTIPOINTZ || shapeType == SHPT_ARCZ ||
         shapeType == SHPT_POLYGONZ || shapeType == SHPT_MULTIPATCH;
}

// A table value truncated to a point number; values outside the 32-bit range are clamped.
int32_t TruncateToNumber(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// The index of the last field named `name`, letter case ignored; -1 when none.
int FindField(DBFHandle table, const char* name) {
  int found = -1;
  const int count = DBFGetFieldCount(table);
  char fieldName[XBASE_FLDNAME_LEN_READ + 1];
  for (int field = 0; field < count; ++field) {
    int width = 0;
    int decimals = 0;
    DBFGetFieldInfo(table, field, fieldName, &width, &decimals);
    if (strcasecmp(fieldName, name) == 0) found = field;
  }
  return found;
}

// Characters that `value` needs with `decimals` decimals.
int PrintedWidth(std::string& scratch, double value, int decimals) {
  scratch.clear();
  common::AppendFixed(scratch, value, 0, decimals);
  return static_cast<int>(scratch.size());
}

// Writes a number into a numeric field as shapelib's own double writer does (right-aligned
// with the field's decimals), formatted without the C library's slow printf. False when the
// number does not fit the field, as that writer reports it.
bool WriteNumberField(DBFHandle table, int record, int field, double value, std::string& scratch) {
  int width = 0;
  int decimals = 0;
  DBFGetFieldInfo(table, field, nullptr, &width, &decimals);
  scratch.clear();
  common::AppendFixed(scratch, value, width, decimals);
  const bool fits = static_cast<int>(scratch.size()) <= width;
  if (!fits) scratch.resize(static_cast<std::size_t>(width));
  return DBFWriteAttributeDirectly(table, record, field, scratch.data()) && fits;
}

}  // namespace

namespace {

uint32_t BigEndian32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
         p[3];
}
int32_t LittleEndian32(const unsigned char* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                              static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}
double LittleEndianDouble(const unsigned char* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

constexpr std::size_t kHeaderSize = 100;
constexpr std::size_t kRecordHeaderSize = 8;

// A record of the .shp: where its content starts and how long it is, in bytes.
struct RecordSpan {
  std::size_t start = 0;
  std::size_t length = 0;
};

// Hands the records of the .shp, one after the other from its header, to `visit(span)`.
// `clean` when they fill the file to its end with nothing left over that is no record. The
// number of records.
template <typename Visit>
std::size_t WalkInSequence(const std::string& shp, bool& clean, Visit&& visit) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(shp.data());
  std::size_t at = kHeaderSize;
  std::size_t count = 0;
  clean = true;
  while (at + kRecordHeaderSize <= shp.size()) {
    const std::size_t length = static_cast<std::size_t>(BigEndian32(bytes + at + 4)) * 2;
    if (length < 4 || length > shp.size() - at - kRecordHeaderSize) {
      clean = false;
      break;
    }
    visit(RecordSpan{at + kRecordHeaderSize, length});
    ++count;
    at += kRecordHeaderSize + length;
  }
  clean = clean && at == shp.size();
  return count;
}

// The number of entries of the .shx: those its header declares that the file holds.
std::size_t IndexEntries(const std::string& shx, long long& declared) {
  const auto* index = reinterpret_cast<const unsigned char*>(shx.data());
  declared = shx.size() >= kHeaderSize ? (static_cast<long long>(BigEndian32(index + 24)) * 2 - 100) / 8 : 0;
  if (declared < 0) declared = 0;
  const std::size_t available = shx.size() >= kHeaderSize ? (shx.size() - kHeaderSize) / 8 : 0;
  return std::min(static_cast<std::size_t>(declared), available);
}

// Entry `i` of the .shx: false when its offset lands on no record header of its length.
bool IndexEntry(const std::string& shp, const std::string& shx, std::size_t i, RecordSpan& span) {
  const auto* index = reinterpret_cast<const unsigned char*>(shx.data());
  const auto* bytes = reinterpret_cast<const unsigned char*>(shp.data());
  const std::size_t offset = static_cast<std::size_t>(BigEndian32(index + kHeaderSize + 8 * i)) * 2;
  const std::size_t length = static_cast<std::size_t>(BigEndian32(index + kHeaderSize + 8 * i + 4)) * 2;
  const bool fits = offset >= kHeaderSize && offset <= shp.size() && shp.size() - offset >= kRecordHeaderSize &&
                    length >= 4 && length <= shp.size() - offset - kRecordHeaderSize &&
                    static_cast<std::size_t>(BigEndian32(bytes + offset + 4)) * 2 == length;
  span = RecordSpan{offset + kRecordHeaderSize, length};
  return fits;
}

// Shape types whose records carry a z for each vertex.
bool RecordCarriesZ(int32_t type) {
  return type == SHPT_POINTZ || type == SHPT_MULTIPOINTZ || type == SHPT_ARCZ || type == SHPT_POLYGONZ ||
         type == SHPT_MULTIPATCH;
}

// Hands each vertex of one record to `vertex(x, y, z, hasZ)`; a record too short for what it
// says it holds gives none.
template <typename Vertex>
void ForEachVertex(const unsigned char* record, std::size_t length, Vertex&& vertex) {
  const int32_t type = LittleEndian32(record);
  switch (type) {
    case SHPT_POINT:
    case SHPT_POINTM:
    case SHPT_POINTZ: {
      const std::size_t need = type == SHPT_POINTZ ? 28 : 20;
      if (length < need) return;
      vertex(LittleEndianDouble(record + 4), LittleEndianDouble(record + 12),
             type == SHPT_POINTZ ? LittleEndianDouble(record + 20) : 0.0, type == SHPT_POINTZ);
      return;
    }
    case SHPT_MULTIPOINT:
    case SHPT_MULTIPOINTM:
    case SHPT_MULTIPOINTZ:
    case SHPT_ARC:
    case SHPT_ARCM:
    case SHPT_ARCZ:
    case SHPT_POLYGON:
    case SHPT_POLYGONM:
    case SHPT_POLYGONZ:
    case SHPT_MULTIPATCH: {
      const bool multipoint = type == SHPT_MULTIPOINT || type == SHPT_MULTIPOINTM || type == SHPT_MULTIPOINTZ;
      if (length < 40) return;
      std::size_t at = 36;  // past the type and the box
      long long parts = 0;
      if (!multipoint) {
        if (length < 44) return;
        parts = LittleEndian32(record + 36);
        at = 40;
      }
      const long long points = LittleEndian32(record + at);
      at += 4;
      if (points < 0 || parts < 0) return;
      at += static_cast<std::size_t>(parts) * (type == SHPT_MULTIPATCH ? 8 : 4);
      const auto count = static_cast<std::size_t>(points);
      if (at > length || count > (length - at) / 16) return;
      const std::size_t xy = at;
      std::size_t z = 0;
      const bool hasZ = RecordCarriesZ(type) && length >= xy + 16 * count + 16 + 8 * count;
      if (hasZ) z = xy + 16 * count + 16;
      for (std::size_t i = 0; i < count; ++i) {
        vertex(LittleEndianDouble(record + xy + 16 * i), LittleEndianDouble(record + xy + 16 * i + 8),
               hasZ ? LittleEndianDouble(record + z + 8 * i) : 0.0, hasZ);
      }
      return;
    }
    default:
      return;  // a null shape, or a type no shapefile has
  }
}

// The names of integer identifier fields a table without "NUMERO" numbers its points by.
const char* const kIdentifierFields[] = {"ID", "NUM", "PUNTO", "NUMBER", "POINT_ID", "PUNTO_ID"};

// The first identifier field of the table that holds whole numbers; -1 when none.
int FindIdentifierField(DBFHandle table, std::string& name) {
  for (const char* candidate : kIdentifierFields) {
    const int field = FindField(table, candidate);
    if (field < 0) continue;
    char fieldName[XBASE_FLDNAME_LEN_READ + 1];
    int width = 0;
    int decimals = 0;
    const DBFFieldType type = DBFGetFieldInfo(table, field, fieldName, &width, &decimals);
    if (type == FTInteger || (type == FTDouble && decimals == 0)) {
      name = fieldName;
      return field;
    }
  }
  return -1;
}

// The file beside the shapefile with `extension`, in lower or upper case; empty when neither.
std::string Beside(const std::string& shapefile, const char* lower, const char* upper) {
  for (const char* extension : {lower, upper}) {
    const std::string path = common::ChangeExtension(shapefile, extension);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return path;
  }
  return std::string();
}

}  // namespace

ShapefileRead ReadShapefilePoints(const std::string& shapefile, const ShapefilePointVisitor& visit,
                                  ShapefileNotes* notes) {
  ShapefileNotes local;
  ShapefileNotes& said = notes != nullptr ? *notes : local;
  said = ShapefileNotes();
  std::string shp;
  std::string shx;
  {
    // A shapefile that cannot be read says so in this library's words, not as a source failure.
    const common::OptionalReadScope quiet;
    const std::string indexPath = Beside(shapefile, "shx", "SHX");
    if (!common::ReadWholeFile(shapefile, shp) || indexPath.empty() || !common::ReadWholeFile(indexPath, shx)) {
      return ShapefileRead::kCannotOpenFile;
    }
  }
  if (shp.size() < kHeaderSize || shx.size() < kHeaderSize) return ShapefileRead::kCannotOpenFile;
  const int32_t shapeType = LittleEndian32(reinterpret_cast<const unsigned char*>(shp.data()) + 32);

  // The records in the order they stand in the .shp. The index is only a shortcut to them:
  // where it disagrees (a count or offsets of another file), the records are what the .shp
  // holds. Where the .shp is no clean sequence (space left between records), the index says
  // where they are. Nothing is kept per record: a million records are walked, not listed.
  bool clean = false;
  const std::size_t inSequence = WalkInSequence(shp, clean, [](const RecordSpan&) {});
  long long declared = 0;
  const std::size_t entries = IndexEntries(shx, declared);
  std::size_t validEntries = 0;
  bool agrees = static_cast<std::size_t>(declared) == entries && entries == inSequence;
  {
    std::size_t i = 0;
    RecordSpan span;
    WalkInSequence(shp, clean, [&](const RecordSpan& record) {
      if (i < entries && !(IndexEntry(shp, shx, i, span) && span.start == record.start)) agrees = false;
      ++i;
    });
    for (std::size_t k = 0; k < entries; ++k) validEntries += IndexEntry(shp, shx, k, span) ? 1 : 0;
  }
  const bool bySequence = clean;
  if (clean && !agrees) {
    said.indexDisagrees = true;
    said.indexRecords = static_cast<long>(validEntries);
  }
  said.records = static_cast<long>(bySequence ? inSequence : validEntries);
  if (bySequence) {
    shx.clear();
    shx.shrink_to_fit();
  }

  // Read only: importing never needs to change the source, which may well be read-only.
  SAHooks hooks = MemoryFileHooks();
  Table table(DBFOpenLL(TablePath(shapefile).c_str(), "rb", &hooks));
  if (!table) return ShapefileRead::kCannotOpenTable;
  int numberField = FindField(table.get(), kNumberField);
  if (numberField < 0) {
    numberField = FindIdentifierField(table.get(), said.numberField);
    said.numberedByRecord = numberField < 0;
  }
  const int codeField = FindField(table.get(), kCodeField);
  const int elevationField = FindField(table.get(), kElevationField);
  const int tableRecords = DBFGetRecordCount(table.get());
  const bool vertexElevation = CarriesElevation(shapeType);

  std::string codeText;
  std::size_t index = 0;
  const auto readRecord = [&](const RecordSpan& span) {
    const int row = static_cast<int>(index);
    const bool inTable = row < tableRecords;
    ShapefilePoint point;
    double fieldElevation = 0;
    if (said.numberedByRecord) {
      point.number = TruncateToNumber(static_cast<double>(index) + 1);
    } else if (inTable) {
      point.number = TruncateToNumber(DBFReadDoubleAttribute(table.get(), row, numberField));
    }
    ++index;
    if (elevationField >= 0 && inTable) fieldElevation = DBFReadDoubleAttribute(table.get(), row, elevationField);
    codeText.clear();
    if (codeField >= 0 && inTable) {
      const char* text = DBFReadStringAttribute(table.get(), row, codeField);
      if (text != nullptr) codeText = text;
    }
    point.code = codeText;
    const auto* record = reinterpret_cast<const unsigned char*>(shp.data()) + span.start;
    ForEachVertex(record, span.length, [&](double x, double y, double z, bool hasZ) {
      point.x = x;
      point.y = y;
      point.z = vertexElevation ? (hasZ ? z : 0.0) : fieldElevation;
      if (hasZ) said.vertexZ = true;
      visit(point);
    });
  };
  if (bySequence) {
    WalkInSequence(shp, clean, readRecord);
  } else {
    RecordSpan span;
    for (std::size_t k = 0; k < entries; ++k) {
      // The table's row is the entry's place in the index, valid or not.
      index = k;
      if (IndexEntry(shp, shx, k, span)) readRecord(span);
    }
  }
  return ShapefileRead::kRead;
}

std::vector<std::string> ShapefileNoteTexts(const ShapefileNotes& notes) {
  std::vector<std::string> texts;
  if (notes.indexDisagrees) {
    texts.push_back("el índice (.shx) no corresponde al .shp (" + common::SpanishCount(notes.indexRecords) +
                    " registros válidos en el índice): se han leído los " + common::SpanishCount(notes.records) +
                    " registros del .shp en orden");
  }
  if (notes.numberedByRecord) {
    texts.push_back("la tabla no tiene campo NUMERO ni otro identificador entero: los puntos se numeran por su "
                    "registro, desde 1");
  } else if (!notes.numberField.empty()) {
    texts.push_back("la tabla no tiene campo NUMERO: los puntos se numeran con el campo " + notes.numberField);
  }
  return texts;
}

int ImportShapefilePoints(const std::string& shapefile, const std::string& pointFile) {
  // The point file never replaces a part of the shapefile it is read from.
  for (const std::string& part : {shapefile, TablePath(shapefile), common::ChangeExtension(shapefile, "shx")}) {
    if (common::SameExistingFile(pointFile.c_str(), part.c_str())) return Fail(kCannotCreateFile);
  }
  // The point file exists, empty, even when the shapefile turns out unreadable.
  if (!common::WriteFileBytes(pointFile, std::string_view())) return Fail(kCannotCreateFile);
  // The lines go to the file a batch at a time: a million points are never held whole beside
  // the shapefile read.
  common::TextWriter out;
  std::optional<common::TargetFileStream> stream;
  bool writeFailed = false;
  const auto flush = [&] {
    if (!stream) stream.emplace(pointFile);
    if (!stream->Write(out.Bytes())) writeFailed = true;
    out.Clear();
  };
  constexpr std::size_t kBatch = 1 << 20;
  ShapefileNotes notes;
  common::DegreesCheck degrees;
  const ShapefileRead read = ReadShapefilePoints(
      shapefile,
      [&](const ShapefilePoint& point) {
        common::WriteFullPointLine(out, point.number, point.x, point.y, point.z, point.code);
        degrees.Add(point.x, point.y);
        if (out.Bytes().size() >= kBatch) flush();
      },
      &notes);
  if (read == ShapefileRead::kCannotOpenFile) return Fail(kCannotOpenFile);
  if (read == ShapefileRead::kCannotOpenTable) return Fail(kCannotOpenTable);
  flush();
  if (writeFailed || !stream->Finish()) return Fail(kCannotCreateFile);
  std::vector<std::string> texts = ShapefileNoteTexts(notes);
  const std::string loss = degrees.Note(common::WktIsGeographic(ReadShapefileProjection(shapefile)));
  if (!loss.empty()) texts.push_back(loss);
  if (!texts.empty()) {
    std::string text;
    for (const std::string& line : texts) text += (text.empty() ? "" : "\n") + line;
    common::ShowApproximation(text);
  }
  return 1;
}

int ExportPointsToShapefile(const std::string& pointFile, const std::string& shapefile) {
  std::vector<common::NativePoint> points;
  try {
    if (!common::ReadPointFile(pointFile, common::PointCodeRule::kRestOfLine, points)) return Fail(kCannotOpenFile);
  } catch (const std::bad_alloc&) {
    return Fail(kOutOfMemory);
  }
  SAHooks hooks = MemoryFileHooks();
  WriteFailureCounter writeFailures;

  ShapeFile shapes(SHPCreateLL(shapefile.c_str(), SHPT_POINT, &hooks));
  if (!shapes) return Fail(kCannotCreateFile);
  for (const common::NativePoint& point : points) {
    Shape shape(SHPCreateSimpleObject(SHPT_POINT, 1, &point.x, &point.y, nullptr));
    if (!shape) return Fail(kOutOfMemory);
    if (SHPWriteObject(shapes.get(), -1, shape.get()) < 0) return Fail(kCannotCreateFile);
  }
  shapes.reset();
  if (writeFailures.AnyFailed()) return Fail(kCannotCreateFile);

  // The number and the elevation fields widen where a value would not fit: a cut number or
  // elevation would be a different one.
  int numberWidth = kNumberWidth;
  int elevationWidth = kElevationWidth;
  std::string scratch;
  for (const common::NativePoint& point : points) {
    // Most values plainly fit the narrowest fields; only the others are printed to measure.
    if (point.number <= -10000 || point.number >= 100000) {
      numberWidth = std::max(numberWidth, PrintedWidth(scratch, static_cast<double>(point.number), 0));
    }
    if (!(point.z > -999.0 && point.z < 9999.0)) {
      elevationWidth = std::max(elevationWidth, PrintedWidth(scratch, point.z, kElevationDecimals));
    }
  }
  numberWidth = std::min(numberWidth, kMaxFieldWidth);
  elevationWidth = std::min(elevationWidth, kMaxFieldWidth);

  Table table(DBFCreateLL(TablePath(shapefile).c_str(), "LDID/87", &hooks));
  if (!table) return Fail(kCannotCreateTable);
  const int numberField = DBFAddField(table.get(), kNumberField, FTDouble, numberWidth, 0);
  const int elevationField = DBFAddField(table.get(), kElevationField, FTDouble, elevationWidth, kElevationDecimals);
  const int codeField = DBFAddField(table.get(), kCodeField, FTString, kCodeWidth, 0);
  if (numberField < 0 || elevationField < 0 || codeField < 0) return Fail(kCannotCreateField);

  int record = DBFGetRecordCount(table.get());
  for (const common::NativePoint& point : points) {
    // A code longer than the field is cut to its width, which shapelib reports as false.
    DBFWriteStringAttribute(table.get(), record, codeField, point.code.c_str());
    if (!WriteNumberField(table.get(), record, numberField, point.number, scratch) ||
        !WriteNumberField(table.get(), record, elevationField, point.z, scratch)) {
      return Fail(kCannotCreateTable);
    }
    ++record;
  }
  table.reset();
  if (writeFailures.AnyFailed()) return Fail(kCannotCreateTable);
  return 1;
}

std::string ReadShapefileProjection(const std::string& shapefile) {
  const std::string projection = Beside(shapefile, "prj", "PRJ");
  std::string wkt;
  if (!projection.empty()) {
    const common::OptionalReadScope quiet;
    common::ReadWholeFile(projection, wkt);
  }
  const std::size_t start = wkt.find_first_not_of(" \t\r\n");
  if (start == std::string::npos) return std::string();
  return wkt.substr(start, wkt.find_last_not_of(" \t\r\n") - start + 1);
}

}  // namespace shapeline
