// Surfaces from the 3DFACE entities of one layer of a drawing: the import, and the conversion
// as the export runs it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "formats/dxf/dxf_reader.h"
#include "formats/native/surface_model.h"

namespace planimetro::surface {

// Every 3DFACE of `layer` (letter case ignored) becomes triangles of the surface file
// `target`: the corners are cleaned of points closer than 0.001 in plan, each corner is looked
// up exactly among the cleaned points, a face with three distinct corners found is kept as
// it is and a face of four is split in two along its shorter diagonal; faces of fewer than
// three distinct corners or of no area in plan are left out. The surface is built in memory
// and written once.
// `note`, when given, receives what FacesNote says of the faces. Returns the number of
// triangles; 0 when the drawing cannot be read or no face is on the
// layer (nothing written then).
long ImportDxfSurface(const std::string& drawing, const std::string& layer, const std::string& target,
                      std::string* note = nullptr);

// The triangles the import makes of the 3D faces of a drawing, before the surface is built
// from them: the corners cleaned as above, one triangle per face of three distinct corners
// found among them and two per face of four. Every reader of the faces of a drawing (the
// import, the views) reads them through this.
struct DxfFaceTriangles {
  std::vector<PuntoSup> points;                   // the cleaned corners
  std::vector<std::array<int32_t, 3>> triangles;  // indices into `points`
  long faces = 0;                                 // faces read, whether or not they made one
  long collapsed = 0;    // faces of fewer than three distinct corners, or of no area in plan
  long split = 0;        // faces of four distinct corners split in two triangles
  long fourCorners = 0;  // faces of four distinct corners whose sides cross in plan: left out
  long lost = 0;         // faces with a corner the cleaning took away
};

// What the import says of the faces it split or left out; empty when every face was a
// triangle.
std::string FacesNote(const DxfFaceTriangles& read);

// Reads the faces of `file` on `layer` (letter case ignored), or on every layer when `layer`
// is null. False when the drawing could not be read to its end.
bool ReadDxfFaceTriangles(dxf::DxfFile& file, const std::string* layer, DxfFaceTriangles& read);

// The import's surface, built from the drawing read from `file`; false (the model left empty
// or with no triangle) when the drawing could not be read to its end or has no face on the
// layer.
// `counts`, when given, receives the counts of the faces read (without points or triangles).
bool BuildDxfSurface(dxf::DxfFile& file, const std::string& layer, SuperficieTin& model,
                     DxfFaceTriangles* counts = nullptr);

// The import as the export runs it: the target and the kind of the drawing checked before the
// faces are read, and a drawing without faces that make a triangle on the layer taken as a
// failure that says so. The number of triangles written; 0 with the reason recorded.
long ConvertDxfFacesToSurface(const std::string& drawing, const std::string& layer, const std::string& target);

}  // namespace planimetro::surface
