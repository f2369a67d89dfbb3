// Horizontal alignments between LandXML (`Alignments` / `Alignment` / `CoordGeom` with `Line`,
// `Curve` and `Spiral`) and the native alignment file.
#pragma once

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/records.h"
#include "common/text_output.h"
#include "formats/landxml/landxml_document.h"

namespace viaducto {

// The entry of every `Alignment` of the file, in document order (its `name`; the first
// attribute when it has none). The entries found before an error are kept.
std::vector<std::string> ListLandXmlAlignments(const common::LandXmlSource& source);

struct LandXmlAlignmentImport {
  ParseResult parse = ParseResult::kComplete;
  std::vector<common::AlignmentElement> elements;  // ends with the end-point record
  bool clothoidsSound = true;  // false after a clothoid that starts on a finite radius wrongly
  std::vector<std::string> notes;  // what was approximated or not kept, in Spanish
  int alignments = 0;              // `Alignment` elements in the document
};

// Reads the alignment numbered `selec` (from 0). Elements are placed one after the other from
// the alignment's `staStart`, whatever stations the elements carry.
LandXmlAlignmentImport ImportLandXmlAlignment(const common::LandXmlSource& source, int selec);

// Every alignment of the document, in document order, each read as ImportLandXmlAlignment
// reads it, in one pass and without a word through the message hook. A handler, so that one
// reading of a document can gather its alignments beside what other handlers gather.
class LandXmlAlignmentsReader : public LandXmlHandler {
 public:
  LandXmlAlignmentsReader();
  ~LandXmlAlignmentsReader() override;
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override;
  void EndElement(std::string_view name) override;
  void Characters(std::string_view text) override;
  bool WantsText() const override;
  // The alignments once the document has been read with the result `parse`.
  std::vector<LandXmlAlignmentImport> Finish(ParseResult parse);

 private:
  struct Reading;
  std::unique_ptr<Reading> reading_;
};

std::vector<LandXmlAlignmentImport> ImportLandXmlAlignments(const common::LandXmlSource& source);

// A station equation of an alignment (`StaEquation`): at the running station `internal` the
// stations given before it end at `back` and go on from `ahead`.
struct LandXmlStationEquation {
  double internal = 0;
  double ahead = 0;
  std::optional<double> back;  // `staBack`, when given
};

// The station equations of the alignment numbered `alignmentIndex` (from 0), in document order;
// an equation without `staInternal` or `staAhead` is left out.
std::vector<LandXmlStationEquation> ReadLandXmlStationEquations(const common::LandXmlSource& source,
                                                                int alignmentIndex);

// The imported records as the six native columns, tab-separated with eight decimals.
void FormatImportedAlignment(const std::vector<common::AlignmentElement>& elements, common::TextWriter& writer);

// The alignment `selec` of `entrada` in `imported` and laid out as the native file in
// `native`; false, with the reason recorded, when `entrada` cannot be read or the alignment has
// no element.
bool FormatLandXmlAlignmentAsNative(const std::string& entrada, int selec, LandXmlAlignmentImport& imported,
                                    common::TextWriter& native);

// Imports `selec` from `entrada` into the native file `salida`, saying through the message
// hook what was approximated. 1 when written and every clothoid was sound, 0 otherwise; nothing
// is written when `entrada` cannot be read or the alignment has no element (the reason is
// recorded).
int ImportLandXmlAlignmentToNative(const std::string& entrada, int selec, const std::string& salida);

// The `Alignments` element of the records (the last one is the end point) named `name`.
void WriteLandXmlAlignment(std::vector<common::AlignmentElement> elements, const std::string& name,
                           LandXmlWriter& writer);

// Native alignment file to a LandXML document named after `salida`. 1 when written; 0 when the
// input holds no record or the target cannot be written.
int ExportNativeToLandXml(const std::string& entrada, const std::string& salida);
int ExportNativeToLandXml(const std::string& entrada, const std::string& salida, const std::tm& when);

}  // namespace viaducto
