// Surfaces from the 3DFACE entities of one layer of a drawing: the import, and the conversion
// as the export runs it.
#pragma once

#include <string>

#include "formats/dxf/dxf_reader.h"
#include "formats/native/surface_model.h"

namespace planimetro::surface {

// Every 3DFACE of `layer` (letter case ignored) that forms a triangle becomes a triangle of the
// surface file `target`: the corners are cleaned of points closer than 0.001 in plan, each
// corner is looked up exactly among the cleaned points, and a face with exactly three distinct
// corners found is kept. The surface is built in memory and written once.
// Returns the number of triangles; 0 when the drawing cannot be read or no face is on the
// layer (nothing written then).
long ImportDxfSurface(const std::string& drawing, const std::string& layer, const std::string& target);

// The import's surface, built from the drawing read from `file`; false (the model left empty
// or with no triangle) when the drawing could not be read to its end or has no face on the
// layer.
bool BuildDxfSurface(dxf::DxfFile& file, const std::string& layer, SuperficieTin& model);

// The import as the export runs it: the target and the kind of the drawing checked before the
// faces are read, and a drawing without faces that make a triangle on the layer taken as a
// failure that says so. The number of triangles written; 0 with the reason recorded.
long ConvertDxfFacesToSurface(const std::string& drawing, const std::string& layer, const std::string& target);

}  // namespace planimetro::surface
