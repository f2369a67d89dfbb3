// Reading the native surface file (*.sup) back: the points and the triangles its edge table
// describes, for the programs that show or check a surface.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/native/surface_points.h"

namespace planimetro::surface {

struct SurfaceFileContents {
  std::vector<PuntoSup> points;
  std::vector<std::array<int32_t, 3>> triangles;  // point indices, each triangle once
  long declaredTriangles = 0;                     // the count in the header
  long edgeCount = 0;
  long brokenSides = 0;  // triangle sides whose links do not close a triangle
};

// Parses the bytes of a native surface file. False, with `problem` set to a Spanish reason,
// when the bytes are not a surface file or end before a section does; counts are checked
// against the bytes left before anything is allocated.
bool LeerSup(std::string_view bytes, SurfaceFileContents& contents, std::string& problem);

// Reads and parses the file at `path`.
bool LeerFicheroSup(const std::string& path, SurfaceFileContents& contents, std::string& problem);

}  // namespace planimetro::surface
