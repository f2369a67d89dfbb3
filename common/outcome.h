// Why the running export failed, said in Spanish to the user, and what it wrote. The readers
// and writers of common/ record the cause where they meet it (the source that does not exist,
// the folder that cannot be written); a conversion records what its own reading found (no
// alignment in the file). When the export ends in failure, its guard shows the reason through
// the library's message hook, caption kFailureCaption, and removes every target the export
// wrote, so a failure never leaves a file that looks like a result.
// Everything here belongs to the calling thread and lives while an export runs.
#pragma once

#include <string>

#include "common/file_kind.h"

namespace common {

// The caption of the message that carries a failure's reason; the front ends show that text
// with their own failure message.
inline constexpr const char* kFailureCaption = "Error en la conversión";

// The reason given when a conversion would write over its own source.
inline constexpr const char* kSameFileText = "El fichero destino debe ser diferente al origen";

// The reason of the running export's failure; the first one recorded wins (the deepest cause:
// a source that could not be read, not the empty result that followed from it).
void RecordFailure(const std::string& reason);
bool HasRecordedFailure();
const std::string& RecordedFailure();

// The causes met by the file readers and writers of common/ (an errno value, or 0 for a path
// that is not a regular file).
void RecordSourceFailure(const std::string& path, int error);
void RecordTargetFailure(const std::string& path, int error);

// A source that is a file of another kind than the reader takes: "El fichero X no es <what>:
// parece <kind>".
void RecordWrongKind(const std::string& path, const char* expected, FileKind found);

// A source read whole that holds nothing the conversion can write: "El fichero X no contiene
// <what>" (`what` as "ningún eje", "ninguna rasante").
void RecordNothingToWrite(const std::string& path, const char* what);

// The text of the messages above, for the few places that build their own.
std::string SourceFailureText(const std::string& path, int error);
std::string TargetFailureText(const std::string& path, int error);

// Called by the writers of targets (not of the fixed files left behind by design) once a
// file is written; a failed export removes them again.
void RememberWrittenTarget(const std::string& path);

// While it lives, files that cannot be read are not the reason of a failure: an optional file
// (a settings file that may be missing) is read inside it.
class OptionalReadScope {
 public:
  OptionalReadScope();
  ~OptionalReadScope();
  OptionalReadScope(const OptionalReadScope&) = delete;
  OptionalReadScope& operator=(const OptionalReadScope&) = delete;

 private:
  bool previous_;
};

// Whether reads are optional now (inside an OptionalReadScope).
bool ReadsAreOptional();

// Around one export (inside its guard): starts with no reason and no target; Finish(failed)
// removes what the failed export wrote and shows the reason, unless the export has shown a
// message of its own already.
class OutcomeScope {
 public:
  OutcomeScope();
  ~OutcomeScope();
  OutcomeScope(const OutcomeScope&) = delete;
  OutcomeScope& operator=(const OutcomeScope&) = delete;

  void Finish(bool failed);

 private:
  bool outermost_;
  unsigned long messagesBefore_ = 0;
};

}  // namespace common
