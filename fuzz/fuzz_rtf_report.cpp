// Cross-section reports in RTF.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(rtf_report,
                     {"Viaducto:MyDll_clipST2zemta", {"IN", "OUT", "OUT2"}})
