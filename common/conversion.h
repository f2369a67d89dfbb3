// The one shape of a file conversion: read the source whole, make sure it is a file of the
// kind the reader takes, parse it into records, refuse an empty result, format the records and
// write the target once. Every step that fails records its reason (common/outcome.h), which the
// export's guard shows; nothing is left behind at the target.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "common/file_kind.h"
#include "common/outcome.h"
#include "common/text_output.h"

namespace common {

// What a conversion's source must be, and what it says when the source holds nothing.
struct ConversionRule {
  // What the source is, for the refusal of a file of another kind: "un fichero de ejes".
  const char* source = "un fichero de texto";
  // What an empty result lacks: "ningún eje", "ninguna rasante".
  const char* nothing = "nada que convertir";
  // The kind of file the reader takes; `anyKind` lets every kind through (a reader that
  // tells its input apart itself).
  FileKind kind = FileKind::kText;
  bool anyKind = false;
  // The result on success: 1, or the number of records written.
  bool countRecords = false;
};

// Whether a file whose first bytes show `found` is one the rule's reader takes.
bool KindFitsRule(FileKind found, const ConversionRule& rule);

// Reads `entrada` whole, with line ends as text-mode reading gives them (`normalizeLineEnds`),
// and refuses a file of another kind than the rule's. False with the reason recorded.
bool LoadConversionSource(const std::string& entrada, const ConversionRule& rule, std::string& contents,
                          bool normalizeLineEnds = true);

// Refuses a target that is the source itself or that exists and is not a regular file, before
// anything is read or written. False with the reason recorded.
bool CheckConversionTarget(const std::string& entrada, const std::string& salida);

// For a conversion that reads its source itself (streamed, or by a reader that opens the file):
// the first bytes of `entrada` are read and a file of another kind than the rule's is refused.
// False with the reason recorded (the file cannot be opened or read, or is of another kind).
bool CheckConversionSourceKind(const std::string& entrada, const ConversionRule& rule);

// Records "no contiene ..." when `empty`; returns !empty.
bool RequireSomething(bool empty, const std::string& entrada, const ConversionRule& rule);

// The whole conversion: `parse(std::string_view text)` gives the records (anything with
// empty() and size()); `format(records, TextWriter&)` writes them. Returns 1 (or the count of
// records) when the target was written, 0 otherwise.
template <typename Parse, typename Format>
int ConvertFile(const std::string& entrada, const std::string& salida, const ConversionRule& rule, Parse&& parse,
                Format&& format) {
  if (!CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!LoadConversionSource(entrada, rule, text)) return 0;
  const auto records = std::forward<Parse>(parse)(std::string_view(text));
  if (!RequireSomething(records.empty(), entrada, rule)) return 0;
  TextWriter writer;
  std::forward<Format>(format)(records, writer);
  if (!writer.SaveTo(salida)) return 0;
  return rule.countRecords ? static_cast<int>(records.size()) : 1;
}

}  // namespace common
