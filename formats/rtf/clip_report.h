// Clip cross-section reports (RTF): one table per section, a heading row with the station and
// rows with the points of two surfaces side by side. The report becomes two native
// cross-section files whose point codes mark each point's place in the section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/native/cross_section_set.h"

namespace viaducto {

struct ClipReportSurfaces {
  CrossSectionSet first;
  CrossSectionSet second;
};

// The points of both surfaces in the text of a report (as RtfToText gives it): rows of cells
// ended by " | ". Codes stay empty.
ClipReportSurfaces ReadClipReportCells(std::string_view text);

// Cleans and sorts both surfaces, numbers their points from the points they share, and
// completes the second surface with the outer points of the first.
void MatchClipReportSurfaces(ClipReportSurfaces& surfaces);

// The whole conversion; the number of points of the first surface (written to salida1).
int ConvertClipReport(const std::string& lecturas, const std::string& salida1, const std::string& salida2);

}  // namespace viaducto
