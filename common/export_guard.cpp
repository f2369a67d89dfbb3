#include "common/export_guard.h"

namespace common {
locale_t CLocaleHandle() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

CLocaleScope::CLocaleScope() : previous_(uselocale(CLocaleHandle())) {}

CLocaleScope::~CLocaleScope() { uselocale(previous_); }

}  // namespace common
