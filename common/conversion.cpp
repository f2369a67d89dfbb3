#include "common/conversion.h"

#include <cerrno>
#include <sys/stat.h>

#include "common/source_files.h"
#include "common/text_input.h"

namespace common {

bool KindFitsRule(FileKind found, const ConversionRule& rule) {
  if (rule.anyKind) return true;
  if (rule.kind == FileKind::kText) return !IsForeignToTextReaders(found);
  // A LandXML document is an XML document too; an empty file reaches the reader, which finds
  // nothing in it.
  if (rule.kind == FileKind::kXml) return found == FileKind::kXml || found == FileKind::kLandXml;
  return found == rule.kind || found == FileKind::kEmpty;
}

bool LoadConversionSource(const std::string& entrada, const ConversionRule& rule, std::string& contents,
                          bool normalizeLineEnds) {
  if (!ReadWholeFile(entrada, contents)) return false;
  const FileKind found = SniffFileKind(contents);
  if (!KindFitsRule(found, rule)) {
    RecordWrongKind(entrada, rule.source, found);
    contents.clear();
    return false;
  }
  if (normalizeLineEnds) NormalizeLineEnds(contents);
  return true;
}

bool CheckConversionTarget(const std::string& entrada, const std::string& salida) {
  if (salida.empty()) {
    RecordTargetFailure(salida, ENOENT);
    return false;
  }
  if (SameExistingFile(entrada.c_str(), salida.c_str())) {
    RecordFailure(kSameFileText);
    return false;
  }
  struct stat info {};
  if (::stat(salida.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    RecordTargetFailure(salida, 0);
    return false;
  }
  return true;
}

bool RequireSomething(bool empty, const std::string& entrada, const ConversionRule& rule) {
  if (empty) RecordNothingToWrite(entrada, rule.nothing);
  return !empty;
}

}  // namespace common
