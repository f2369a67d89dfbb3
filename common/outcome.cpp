#include "common/outcome.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/message_hook.h"

namespace common {
namespace {

thread_local std::string failure;
thread_local bool failureRecorded = false;
thread_local std::vector<std::string> writtenTargets;
thread_local bool optionalReads = false;
thread_local int outcomeDepth = 0;

constexpr const char* kNothingWritten = "No se ha generado ningún fichero";

// Why a path that exists cannot be taken as a file.
std::string NotRegularText(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return "es una carpeta";
  return "no es un fichero normal";
}

}  // namespace

void RecordFailure(const std::string& reason) {
  if (failureRecorded || outcomeDepth == 0) return;
  failure = reason;
  failureRecorded = true;
}

bool HasRecordedFailure() { return failureRecorded; }

const std::string& RecordedFailure() { return failure; }

std::string SourceFailureText(const std::string& path, int error) {
  switch (error) {
    case 0: return "El fichero " + path + " " + NotRegularText(path);
    case ENOENT: return "No existe el fichero " + path;
    case ENOTDIR: return "No existe el fichero " + path + ": una carpeta de la ruta no existe";
    case EACCES:
    case EPERM: return "No se puede leer el fichero " + path + ": permiso denegado";
    case ENAMETOOLONG: return "No se puede leer el fichero " + path + ": la ruta es demasiado larga";
    case EISDIR: return "El fichero " + path + " es una carpeta";
    default: return "No se puede leer el fichero " + path + ": error de lectura";
  }
}

std::string TargetFailureText(const std::string& path, int error) {
  const std::string start = "No se puede escribir el fichero " + path;
  switch (error) {
    case 0: return start + ": " + NotRegularText(path);
    case ENOENT:
    case ENOTDIR: return start + ": la carpeta no existe";
    case EACCES:
    case EPERM: return start + ": permiso denegado";
    case EROFS: return start + ": el disco es de solo lectura";
    case ENOSPC:
    case EDQUOT: return start + ": no queda espacio en el disco";
    case EISDIR: return start + ": es una carpeta";
    case ENAMETOOLONG: return start + ": la ruta es demasiado larga";
    default: return start + ": error de escritura";
  }
}

void RecordSourceFailure(const std::string& path, int error) {
  if (optionalReads) return;
  RecordFailure(path.empty() ? std::string("No se ha indicado el fichero de origen") : SourceFailureText(path, error));
}

void RecordTargetFailure(const std::string& path, int error) {
  RecordFailure(path.empty() ? std::string("No se ha indicado el fichero de destino") : TargetFailureText(path, error));
}

void RecordWrongKind(const std::string& path, const char* expected, FileKind found) {
  RecordFailure("El fichero " + path + " no es " + expected + ": parece " + FileKindDescription(found));
}

void RecordNothingToWrite(const std::string& path, const char* what) {
  RecordFailure("El fichero " + path + " no contiene " + what);
}

void RememberWrittenTarget(const std::string& path) {
  if (outcomeDepth == 0) return;
  for (const std::string& known : writtenTargets) {
    if (known == path) return;
  }
  writtenTargets.push_back(path);
}

OptionalReadScope::OptionalReadScope() : previous_(optionalReads) { optionalReads = true; }

OptionalReadScope::~OptionalReadScope() { optionalReads = previous_; }

bool ReadsAreOptional() { return optionalReads; }

OutcomeScope::OutcomeScope() : outermost_(outcomeDepth++ == 0) {
  if (!outermost_) return;
  messagesBefore_ = MessagesShownByThisThread();
  failure.clear();
  failureRecorded = false;
  writtenTargets.clear();
}

OutcomeScope::~OutcomeScope() {
  --outcomeDepth;
  if (!outermost_) return;
  failure.clear();
  failureRecorded = false;
  writtenTargets.clear();
}

void OutcomeScope::Finish(bool failed) {
  if (!outermost_) return;
  if (failed) {
    for (const std::string& path : writtenTargets) ::unlink(path.c_str());
    if (MessagesShownByThisThread() == messagesBefore_) {
      ShowMessage(kFailureCaption, failureRecorded ? failure.c_str() : kNothingWritten);
    }
  }
  writtenTargets.clear();
}

}  // namespace common
