// TopSurv field software: the survey points of a job database into a native point file, and
// native cross sections into TopSurv's section description (each point as its horizontal and
// vertical step from the previous point on its side of the axis).
#pragma once

#include <string>

#include "formats/native/native_sections.h"
#include "common/text_output.h"

namespace calzada {

// The section text of native cross-section points: for each distinct station (in file order),
// its points left of the axis from the axis outward as "%0.3lf-I,%s,%0.3lf,%0.3lf" (station,
// code, horizontal distance, vertical difference), then those on or right of it as
// "%0.3lf-D,...". A section without a point at offset 0 and without points on both sides of it
// (no axis elevation) is left out.
std::string FormatTopsurvSectionsText(const Transversales& puntos);
void FormatTopsurvSections(const Transversales& puntos, common::TextWriter& texto);

// The export: 1 when the section file was written; 0 when the input cannot be read, holds no
// point or no section with an axis elevation, or the target cannot be written.
int ExportTopsurvSections(const std::string& entrada, const std::string& salida);

// The points of the LOCAL datasets of a job database as a native point file (full layout,
// empty code). Returns the number of points written. A database that cannot be read, or lacks
// a table or field, is reported through the message hook with caption "Calzada::ADO"; then, as
// when the job holds no point, 0 is returned and nothing written.
int ImportTopsurvPoints(const std::string& entrada, const std::string& salida);

}  // namespace calzada
