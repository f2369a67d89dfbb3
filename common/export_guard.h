// What every exported function does around its work: numbers in the "C" locale whatever the
// caller's locale is, and no exception ever crossing the C boundary.
#pragma once

#include <cstdint>
#include <locale.h>
#include <new>
#include <utility>

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

// Runs `work` in the "C" locale; any exception becomes `onFailure`.
template <typename Work>
int32_t GuardedExport(int32_t onFailure, Work&& work) noexcept {
  try {
    CLocaleScope cLocale;
    ExportSourcesScope sources;
    return static_cast<int32_t>(std::forward<Work>(work)());
  } catch (...) {
    return onFailure;
  }
}

// The same for exports without a result.
template <typename Work>
void GuardedExportVoid(Work&& work) noexcept {
  try {
    CLocaleScope cLocale;
    ExportSourcesScope sources;
    std::forward<Work>(work)();
  } catch (...) {
  }
}

// A path argument as a string; a null pointer reads as an empty path (which cannot be opened).
inline const char* PathArgument(const char* path) { return path != nullptr ? path : ""; }

}  // namespace common
