#include "formats/shapefile/shapefile_points.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <shapefil.h>
#include <strings.h>
#include <vector>

#include "common/fixed_format.h"
#include "common/message_hook.h"
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

ShapefileRead ReadShapefilePoints(const std::string& shapefile, const ShapefilePointVisitor& visit) {
  SAHooks hooks = MemoryFileHooks();
  ShapeFile shapes(SHPOpenLL(shapefile.c_str(), "rb", &hooks));
  if (!shapes) return ShapefileRead::kCannotOpenFile;
  int shapeCount = 0;
  int shapeType = 0;
  SHPGetInfo(shapes.get(), &shapeCount, &shapeType, nullptr, nullptr);
  // Read only: importing never needs to change the source, which may well be read-only.
  Table table(DBFOpenLL(TablePath(shapefile).c_str(), "rb", &hooks));
  if (!table) return ShapefileRead::kCannotOpenTable;
  const int numberField = FindField(table.get(), kNumberField);
  const int codeField = FindField(table.get(), kCodeField);
  const int elevationField = FindField(table.get(), kElevationField);
  const bool vertexElevation = CarriesElevation(shapeType);

  for (int index = 0; index < shapeCount; ++index) {
    ShapefilePoint point;
    double fieldElevation = 0;
    if (numberField >= 0) point.number = TruncateToNumber(DBFReadDoubleAttribute(table.get(), index, numberField));
    if (elevationField >= 0) fieldElevation = DBFReadDoubleAttribute(table.get(), index, elevationField);
    std::string codeText;
    if (codeField >= 0) {
      const char* text = DBFReadStringAttribute(table.get(), index, codeField);
      if (text != nullptr) codeText = text;
    }
    point.code = codeText;
    Shape shape(SHPReadObject(shapes.get(), index));
    if (!shape) continue;
    for (int vertex = 0; vertex < shape->nVertices; ++vertex) {
      point.x = shape->padfX[vertex];
      point.y = shape->padfY[vertex];
      point.z = vertexElevation && shape->padfZ != nullptr ? shape->padfZ[vertex] : fieldElevation;
      visit(point);
    }
  }
  return ShapefileRead::kRead;
}

int ImportShapefilePoints(const std::string& shapefile, const std::string& pointFile) {
  // The point file never replaces a part of the shapefile it is read from.
  for (const std::string& part : {shapefile, TablePath(shapefile), common::ChangeExtension(shapefile, "shx")}) {
    if (common::SameExistingFile(pointFile.c_str(), part.c_str())) return Fail(kCannotCreateFile);
  }
  // The point file exists, empty, even when the shapefile turns out unreadable.
  if (!common::WriteFileBytes(pointFile, std::string_view())) return Fail(kCannotCreateFile);
  common::TextWriter out;
  const ShapefileRead read = ReadShapefilePoints(shapefile, [&](const ShapefilePoint& point) {
    common::WriteFullPointLine(out, point.number, point.x, point.y, point.z, point.code);
  });
  if (read == ShapefileRead::kCannotOpenFile) return Fail(kCannotOpenFile);
  if (read == ShapefileRead::kCannotOpenTable) return Fail(kCannotOpenTable);
  if (!out.SaveTo(pointFile)) return Fail(kCannotCreateFile);
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

}  // namespace shapeline
