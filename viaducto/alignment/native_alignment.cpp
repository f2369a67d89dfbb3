#include "viaducto/alignment/native_alignment.h"

#include "common/alignment_fields.h"
#include "common/printed_values.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

NativeAlignment ParseNativeAlignment(std::string_view text, NativeAlignmentRule rule) {
  NativeAlignment alignment;
  alignment.lineCount = common::CountLines(text);
  alignment.capacity = 3 * alignment.lineCount;
  common::LineReader reader(text);
  std::string_view line;
  std::string_view fields[6];
  while (reader.Next(line)) {
    if (line.empty() || line.front() == '\n') continue;
    if (rule.skipCommentLines && line.front() == '*') continue;
    common::Tokenizer tokenizer(line);
    int found = 0;
    while (found < 6 && tokenizer.Next(found < 5 ? rule.leadingFieldDelimiters : " \t\n", fields[found])) ++found;
    if (found < 6) continue;
    alignment.elements.push_back(common::ElementFromNativeFields(fields));
  }
  return alignment;
}

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
    const std::string line = common::FormattedLine("%0.3lf %0.3lf %0.3lf %0.6lf %0.3lf %0.3lf\n", e.station, e.x,
                                                   e.y, e.azimuth, e.parameter, e.radius);
    if (line.size() < common::LineReader::kDefaultBuffer) {
      common::AlignmentElement read;
      read.station = common::AsPrinted(e.station, 3);
      read.x = common::AsPrinted(e.x, 3);
      read.y = common::AsPrinted(e.y, 3);
      read.azimuth = common::AsPrinted(e.azimuth, 6);
      read.parameter = common::AsPrinted(e.parameter, 3);
      read.radius = common::AsPrinted(e.radius, 3);
      read.kind = common::KindFromValues(read.parameter, read.radius);
      stored.elements.push_back(read);
      ++stored.lineCount;
      continue;
    }
    // Values so long that the reader gets the line in pieces: read as written.
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
