#include "formats/native/native_alignment_file.h"

#include "formats/native/alignment_fields.h"
#include "common/printed_values.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

bool ReadNativeAlignment(const std::string& path, NativeAlignmentRule rule, NativeAlignment& alignment) {
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  alignment = ParseNativeAlignment(text, rule);
  return true;
}

void FormatNativeAlignment(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer) {
  for (const common::AlignmentElement& e : elements) {
    writer.Printf("%0.3lf %0.3lf %0.3lf %0.6lf %0.3lf %0.3lf\n", e.station, e.x, e.y, e.azimuth, e.parameter,
                  e.radius);
  }
}

NativeAlignment AsStoredInNativeAlignment(const std::vector<common::AlignmentElement>& elements,
                                          NativeAlignmentRule rule) {
  NativeAlignment stored;
  stored.elements.reserve(elements.size());
  // Every line ends with a line feed: one read more than the pieces finds the end.
  stored.lineCount = 1;
  for (const common::AlignmentElement& e : elements) {
    const common::PrintedValue values[] = {common::Printed(e.station, 3),   common::Printed(e.x, 3),
                                           common::Printed(e.y, 3),         common::Printed(e.azimuth, 6),
                                           common::Printed(e.parameter, 3), common::Printed(e.radius, 3)};
    std::size_t lineLength = 6;  // five blanks and the line feed
    for (const common::PrintedValue& value : values) lineLength += value.length;
    if (lineLength < common::LineReader::kDefaultBuffer) {
      common::AlignmentElement read;
      read.station = values[0].value;
      read.x = values[1].value;
      read.y = values[2].value;
      read.azimuth = values[3].value;
      read.parameter = values[4].value;
      read.radius = values[5].value;
      read.kind = common::KindFromValues(read.parameter, read.radius);
      stored.elements.push_back(read);
      ++stored.lineCount;
      continue;
    }
    // Values so long that the reader gets the line in pieces: read as written.
    const std::string line = common::FormattedLine("%0.3lf %0.3lf %0.3lf %0.6lf %0.3lf %0.3lf\n", e.station, e.x,
                                                   e.y, e.azimuth, e.parameter, e.radius);
    const NativeAlignment pieces = ParseNativeAlignment(line, rule);
    stored.elements.insert(stored.elements.end(), pieces.elements.begin(), pieces.elements.end());
    stored.lineCount += pieces.lineCount - 1;
  }
  stored.capacity = 3 * stored.lineCount;
  return stored;
}

int WriteNativeAlignment(const std::vector<common::AlignmentElement>& elements, const std::string& path) {
  common::TextWriter writer;
  FormatNativeAlignment(elements, writer);
  return writer.SaveTo(path) ? 1 : 0;
}

}  // namespace viaducto
