// What every exported function does around its work: numbers in the "C" locale whatever the
// caller's locale is, and no exception ever crossing the C boundary.
#pragma once

#include <cstdint>
#include <locale.h>
#include <new>
#include <utility>

#include "common/outcome.h"
#include "common/source_files.h"

namespace common {

// The "C" locale object, made once.
locale_t CLocaleHandle();

// Switches the calling thread to the "C" locale until the end of the scope.
class CLocaleScope {
 public:
  CLocaleScope();
  ~CLocaleScope();
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

 private:
  locale_t previous_;
};

// Runs `work` in the "C" locale; any exception becomes `onFailure`. A failure (result 0, or an
// exception) shows its reason through the message hook and removes the targets the export
// wrote.
template <typename Work>
int32_t GuardedExport(int32_t onFailure, Work&& work) noexcept {
  OutcomeScope outcome;
  int32_t result = onFailure;
  bool failed = false;
  try {
    CLocaleScope cLocale;
    ExportSourcesScope sources;
    result = static_cast<int32_t>(std::forward<Work>(work)());
    failed = result == 0;
  } catch (...) {
    result = onFailure;
    failed = true;
  }
  try {
    outcome.Finish(failed);
  } catch (...) {
  }
  return result;
}

// The same for exports without a result: a reason recorded on the way is shown.
template <typename Work>
void GuardedExportVoid(Work&& work) noexcept {
  OutcomeScope outcome;
  bool failed = false;
  try {
    CLocaleScope cLocale;
    ExportSourcesScope sources;
    std::forward<Work>(work)();
  } catch (...) {
    failed = true;
  }
  try {
    outcome.Finish(failed || HasRecordedFailure());
  } catch (...) {
  }
}

// A path argument as a string; a null pointer reads as an empty path (which cannot be opened).
inline const char* PathArgument(const char* path) { return path != nullptr ? path : ""; }

}  // namespace common
