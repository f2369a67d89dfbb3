// The surface of the 3D faces of one layer of a drawing, as the export runs it: the target and
// the kind of the drawing checked before the faces are read, and a drawing without faces that
// make a triangle on the layer taken as a failure that says so.
#pragma once

#include <string>

namespace planimetro::surface {

// The number of triangles written; 0 with the reason recorded.
long ConvertDxfFacesToSurface(const std::string& drawing, const std::string& layer, const std::string& target);

}  // namespace planimetro::surface
