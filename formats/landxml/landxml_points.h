// Survey points between LandXML (`CgPoints` / `CgPoint`) and the native point file.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "formats/landxml/xml_reader.h"

namespace planimetro::landxml {

struct LandXmlPointsImport {
  common::ParseResult parse = common::ParseResult::kComplete;
  std::vector<common::NativePoint> points;
  bool feet = false;        // the document declares feet: the coordinates are converted to metres
  double feetInMetres = 0;  // the metres in its foot
  long unresolved = 0;      // CgPoints without coordinates whose pntRef names no point
  long renumbered = 0;      // CgPoints named otherwise than by a whole number
};

// Every `CgPoint` of the document, in document order: northing, easting and elevation (0 when
// absent) from its text, or those of the point its `pntRef` names; its number from its `name`
// when that is a whole number, else the next number after the highest given so far (the name
// then becomes the code of a point without `code` or `desc`); its `code` (else its `desc`) as
// the code. Coordinates in feet are converted to metres.
LandXmlPointsImport ReadLandXmlPoints(const common::LandXmlSource& source);

// The document of `points` as `CgPoints` named `name`, one `CgPoint` per point (`name` the
// number, `code` when there is one, text "northing easting elevation").
std::string FormatLandXmlPoints(const std::vector<common::NativePoint>& points, const std::string& name,
                                const std::tm* when = nullptr);

int ImportLandXmlPoints(const std::string& entrada, const std::string& salida);
int ExportLandXmlPoints(const std::string& entrada, const std::string& salida);

}  // namespace planimetro::landxml
