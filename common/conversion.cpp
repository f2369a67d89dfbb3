#include "common/conversion.h"

#include <cerrno>
#include <sys/stat.h>

#include "common/file_stream.h"
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

bool CheckConversionSourceKind(const std::string& entrada, const ConversionRule& rule) {
  FileChunkReader file;
  if (!file.Open(entrada)) return false;
  // Enough of the file to tell its kind.
  std::string head(4096, '\0');
  std::size_t got = 0;
  while (got < head.size()) {
    const std::size_t more = file.Read(head.data() + got, head.size() - got);
    if (more == 0) break;
    got += more;
  }
  if (file.failed()) {
    RecordSourceFailure(entrada, EIO);
    return false;
  }
  head.resize(got);
  const FileKind found = SniffFileKind(head);
  if (KindFitsRule(found, rule)) return true;
  RecordWrongKind(entrada, rule.source, found);
  return false;
}

bool RequireSomething(bool empty, const std::string& entrada, const ConversionRule& rule) {
  if (empty) RecordNothingToWrite(entrada, rule.nothing);
  return !empty;
}

}  // namespace common
