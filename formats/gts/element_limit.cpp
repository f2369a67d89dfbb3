#include "formats/gts/element_limit.h"

#include "common/numbers.h"
#include "common/outcome.h"
#include "common/paths.h"
#include "common/text_input.h"
#include "common/tokens.h"

namespace viaducto {

int ReadElementLimit(std::size_t lineCount, const std::string& settingsDirectory) {
  std::string text;
  {
    // A missing settings file means no limit: it is not why a conversion fails.
    common::OptionalReadScope optional;
    if (!common::LoadTextFile(common::JoinPath(settingsDirectory, "jalonex.ini"), text)) return 0;
  }
  common::LineReader reader(text);
  std::string_view line;
  if (!reader.Next(line)) return 0;
  line = common::WithoutLineFeed(line);
  if (line.find('=') == std::string_view::npos) return 0;
  common::Tokenizer tokenizer(line);
  std::string_view key;
  std::string_view value;
  if (!tokenizer.Next("=", key) || !tokenizer.Next(" \t", value)) return 0;
  const long long limit = common::LenientInt(value);
  return limit >= static_cast<long long>(lineCount) ? 1 : 0;
}

}  // namespace viaducto
