// The GTS road file of an alignment, in its two forms: one line per element ("STRAIGHT",
// "ARC", "SPIRAL") or one "PT" line per tangent intersection point.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"
#include "formats/native/native_alignment_file.h"

namespace viaducto {

// Element form of the records (after arc splitting).
void FormatGtsElements(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

// Intersection-point form. Returns 1, or -1 when a curve's outgoing tangent had to be taken
// from the points after an entry clothoid that has no matching exit clothoid.
int FormatGtsIntersections(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

enum class GtsForm { kElements, kIntersections };

// The form for a native alignment of `lineCount` lines (CountLines): the element form when the
// limit in <settingsDirectory>/jalonex.ini reaches it, the intersection form otherwise (also
// when there is no such file).
GtsForm GtsFormFor(std::size_t lineCount, const std::string& settingsDirectory);

// The native reader each form reads its records with.
NativeAlignmentRule NativeRuleOf(GtsForm form);

// The records of a native alignment in `form`, long arcs split first. The result of the form's
// formatter: 1, or -1 from the intersection form's guess.
int FormatGtsAlignment(NativeAlignment alignment, GtsForm form, common::TextWriter& writer);

// The GTS road file `salida` of the text of a native alignment file (line ends normalised) that
// came from `entrada`: the form from its line count and the jalonex.ini of `settingsDirectory`
// when `settingsForm`, else the intersection form. 1 when written (the intersection form's guess
// counts as written), 0 with the reason recorded when the text holds no element.
int WriteGtsOfNativeText(std::string_view text, const std::string& entrada, const std::string& salida,
                         const std::string& settingsDirectory, bool settingsForm);

}  // namespace viaducto
