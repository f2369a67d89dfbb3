#include "formats/native/native_alignment.h"

#include "formats/native/alignment_fields.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace common {

NativeAlignment ParseNativeAlignment(std::string_view text, NativeAlignmentRule rule) {
  NativeAlignment alignment;
  alignment.lineCount = CountLines(text);
  alignment.capacity = 3 * alignment.lineCount;
  LineReader reader(text);
  std::string_view line;
  std::string_view fields[6];
  while (reader.Next(line)) {
    if (line.empty() || line.front() == '\n') continue;
    if (rule.skipCommentLines && line.front() == '*') continue;
    Tokenizer tokenizer(line);
    int found = 0;
    while (found < 6 &&
           tokenizer.Next(found < 5 ? rule.leadingFieldDelimiters : rule.lastFieldDelimiters, fields[found])) {
      ++found;
    }
    if (found < 6) continue;
    alignment.elements.push_back(ElementFromNativeFields(fields));
  }
  return alignment;
}

}  // namespace common
