// Survey points between the native point file and an ESRI shapefile with its attribute table
// (fields "NUMERO", "Z" and "CODIGO").
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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

// Hands every point of the shapefile (its .shp, .shx and .dbf) to `visit`, in file order, and
// says nothing through the message hook.
ShapefileRead ReadShapefilePoints(const std::string& shapefile, const ShapefilePointVisitor& visit);

// One full point line per vertex of every shape: number and code from the table, z from the
// vertex where the shapes carry elevations, else from the field "Z". 1, or 0 on failure.
int ImportShapefilePoints(const std::string& shapefile, const std::string& pointFile);

// One Point shape and one table record per point line, in file order. 1, or 0 on failure.
int ExportPointsToShapefile(const std::string& pointFile, const std::string& shapefile);

}  // namespace shapeline
