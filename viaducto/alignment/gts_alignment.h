// The GTS road file of an alignment, in its two forms: one line per element ("STRAIGHT",
// "ARC", "SPIRAL") or one "PT" line per tangent intersection point.
#pragma once

#include <string>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"

namespace viaducto {

// Element form of the records (after arc splitting).
void FormatGtsElements(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

// Intersection-point form. Returns 1, or -1 when a curve's outgoing tangent had to be taken
// from the points after an entry clothoid that has no matching exit clothoid.
int FormatGtsIntersections(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

// Read the native file at `entrada`, split long arcs, write `salida`. 0 and no file when
// nothing was read (or the target cannot be written).
int WriteGtsElements(const std::string& entrada, const std::string& salida);
int WriteGtsIntersections(const std::string& entrada, const std::string& salida);

}  // namespace viaducto
