// The native alignment file (*.eje): one element start per line, six numbers: station, x, y,
// azimuth, clothoid parameter, radius. The last line is the end point.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/native/alignment_fields.h"
#include "formats/native/native_alignment.h"
#include "common/records.h"
#include "common/text_output.h"

namespace viaducto {

// An alignment as the listings of other programs are read into: native records, the last one
// the end point.
using Alignment = std::vector<common::AlignmentElement>;
using AlignmentParser = Alignment (*)(std::string_view text);

using common::ClearCurvesOfEmptyElements;
using common::SetKindsFromValues;
using common::SetLengthsFromStations;

using common::NativeAlignment;
using common::NativeAlignmentRule;
using common::ParseNativeAlignment;

inline constexpr NativeAlignmentRule kIntersectionReader{true};
inline constexpr NativeAlignmentRule kElementReader{false};
// The reader of the LandXML export: blanks and tabs only between the first five fields.
inline constexpr NativeAlignmentRule kLandXmlExportReader{false, " \t"};

// Reads and parses the file; false when it cannot be read.
bool ReadNativeAlignment(const std::string& path, NativeAlignmentRule rule, NativeAlignment& alignment);

// One line per record: "%0.3lf %0.3lf %0.3lf %0.6lf %0.3lf %0.3lf".
void FormatNativeAlignment(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

// The records as `rule`'s reader gets them back from the file FormatNativeAlignment writes:
// values with the file's decimals, kinds from them, no lengths; the line count of that file.
// What a foreign listing converted on to GTS or LandXML carries.
NativeAlignment AsStoredInNativeAlignment(const std::vector<common::AlignmentElement>& elements,
                                          NativeAlignmentRule rule);

// Writes the records (end record included) to `path`; 1 when written, 0 when not.
int WriteNativeAlignment(const std::vector<common::AlignmentElement>& elements, const std::string& path);

}  // namespace viaducto
