// Files in the GTS road and point layouts read back, and native files written to them.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(gts,
                     {"Viaducto:MyDll_raszemta2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_zemta2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_trazemta2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_puntos2gts", {"IN", "OUT"}})
