// Surfaces of a LandXML file: the list of their names, and the import of one surface (its P
// points, with CgPoints referred to by pntRef, and its F faces) into the native surface file.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/text_output.h"
#include "formats/landxml/xml_reader.h"
#include "formats/native/surface_model.h"

namespace planimetro::landxml {

// The name of every Surface, in document order (those before a fault of the document).
std::vector<std::string> ListLandXmlSurfaceNames(const common::LandXmlSource& source);

// Writes the name of every Surface to `listFile`, one per line in document order. Returns the
// number of names (0, with an empty list, when the document cannot be read).
int ListLandXmlSurfaces(const std::string& document, const std::string& listFile);

// The points and faces of every Surface called `surfaceName` (letter case ignored) become the
// surface file `target`; the triangle file "$$$.TRI" of the temporary directory is written with
// the same values. Returns 1 when the surface file was written; 0, with the reason recorded,
// otherwise.
int ImportLandXmlSurface(const std::string& document, const std::string& surfaceName, const std::string& target);

// Receives the bytes of the triangle text file a batch at a time, in order; false when they
// cannot be kept (the reading then goes on, and says so).
using TriangleTextSink = std::function<bool(std::string_view bytes)>;

// What a surface of a document gives: the points and triangles as the triangle text file
// holds them, whether that file's bytes were all taken by the sink, and what was left out.
struct LandXmlSurfaceRead {
  common::ParseResult parse = common::ParseResult::kComplete;
  bool triangleTextWritten = true;
  std::vector<surface::PuntoSup> points;
  std::vector<std::array<int32_t, 3>> triangles;
  bool feet = false;         // the document is in feet: the points were converted to metres
  double feetInMetres = 0;   // the metres in its foot
  long surfacesSeen = 0;
  long surfacesSelected = 0;
  long invisibleFaces = 0;
  long facesWithoutPoints = 0;
};
LandXmlSurfaceRead ReadLandXmlSurface(const common::LandXmlSource& source, const std::string& surfaceName,
                                      const TriangleTextSink& triangleText);

// The model as loading a triangle file holding these points and triangles makes it (the points
// become the model's).
void BuildSurface(surface::SuperficieTin& model, std::vector<surface::PuntoSup> points,
                  const std::vector<std::array<int32_t, 3>>& triangles);

// The fixed triangle file the import leaves behind.
std::string TriangleFilePath();

}  // namespace planimetro::landxml
