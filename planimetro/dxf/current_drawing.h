// The drawing whose layers were listed last: the lines-file conversion reads that drawing, not
// the one its caller names. The only state the library keeps from one call to the next.
#pragma once

#include <string>

namespace planimetro::dxf {

void SetCurrentDrawing(const std::string& path);

// Empty until a drawing has been listed.
std::string CurrentDrawing();

}  // namespace planimetro::dxf
