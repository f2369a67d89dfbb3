// The shapefile conversions as the exports run them: the target checked, a source of another
// kind refused, and a conversion that found no point taken as a failure, so that nothing is
// left behind and the reason is known.
#pragma once

#include <string>

namespace shapeline {

// ImportShapefilePoints, refusing a source that is no shapefile and a shapefile of no point.
int ConvertShapefileToPoints(const std::string& shapefile, const std::string& pointFile);

// ExportPointsToShapefile, refusing a source that is no text and a point file of no point.
int ConvertPointsToShapefile(const std::string& pointFile, const std::string& shapefile);

}  // namespace shapeline
