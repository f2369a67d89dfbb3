// Survey points between the native point file and an ESRI shapefile with its attribute table
// (fields "NUMERO", "Z" and "CODIGO").
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace shapeline {

// Reasons handed to the library's message hook when a conversion fails.
inline constexpr char kMessageCaption[] = "Shapeline";
inline constexpr char kCannotOpenFile[] = "Imposible abrir fichero";
inline constexpr char kCannotOpenTable[] = "Imposible abrir base de datos";
inline constexpr char kCannotCreateFile[] = "Imposible crear archivo";
inline constexpr char kCannotCreateTable[] = "Imposible crear base de datos";
inline constexpr char kCannotCreateField[] = "Imposible crear campo en la base de datos";
inline constexpr char kOutOfMemory[] = "Memoria insuficiente";

// One point of a shapefile as the import reads it: a vertex of a shape, with the number and
// the code of its shape's table record; z from the vertex where the shapes carry elevations,
// else from the field "Z".
struct ShapefilePoint {
  int32_t number = 0;
  double x = 0;
  double y = 0;
  double z = 0;
  std::string_view code;  // valid during the visit
};

enum class ShapefileRead { kRead, kCannotOpenFile, kCannotOpenTable };
using ShapefilePointVisitor = std::function<void(const ShapefilePoint&)>;

// What a reading found that the user should know.
struct ShapefileNotes {
  long records = 0;             // records read
  bool indexDisagrees = false;  // the .shx named other records: the .shp was read in sequence
  long indexRecords = 0;        // the records the .shx named validly, then
  std::string numberField;      // the field the points were numbered by, when not "NUMERO"
  bool numberedByRecord = false;  // no number field: numbered by record from 1
  bool vertexZ = false;           // some vertex carried its own z
};

// Hands every point of the shapefile (its .shp, .shx and .dbf) to `visit`, in file order, and
// says nothing through the message hook. The records are those of the .shp in sequence where
// its index (.shx) disagrees with it; every vertex of a record is a point. The number is the
// field "NUMERO", else an integer identifier field (ID, NUM, PUNTO...), else the record's
// place from 1.
ShapefileRead ReadShapefilePoints(const std::string& shapefile, const ShapefilePointVisitor& visit,
                                  ShapefileNotes* notes = nullptr);

// What the import says of a reading, one line each (in Spanish); none when nothing is to say.
std::vector<std::string> ShapefileNoteTexts(const ShapefileNotes& notes);

// One full point line per vertex of every shape: number and code from the table, z from the
// vertex where the shapes carry elevations, else from the field "Z". 1, or 0 on failure.
int ImportShapefilePoints(const std::string& shapefile, const std::string& pointFile);

// One Point shape and one table record per point line, in file order. 1, or 0 on failure.
int ExportPointsToShapefile(const std::string& pointFile, const std::string& shapefile);

// The projection text (WKT) of the .prj (or .PRJ) beside the shapefile, without its surrounding
// blanks; empty when there is none.
std::string ReadShapefileProjection(const std::string& shapefile);

}  // namespace shapeline
