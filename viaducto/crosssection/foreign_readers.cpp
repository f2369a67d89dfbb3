#include "viaducto/crosssection/foreign_readers.h"

#include "common/text_input.h"

namespace viaducto {

bool ReadForeignSections(const std::string& path, CrossSectionReader reader, std::string& nativeText) {
  nativeText.clear();
  std::string text;
  if (!common::LoadTextFile(path, text)) return false;
  common::TextWriter native;
  if (!reader(text, native)) return false;
  // The second stage reads the native text as a file would be read back.
  nativeText = native.Bytes();
  common::NormalizeLineEnds(nativeText);
  return true;
}

}  // namespace viaducto
