// Superelevation tables and survey files.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(survey,
                     {"Viaducto:MyDll_peralteispol2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_peralteClip2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_topoLea2Topcal", {"IN", "OUT"}},
                     {"Viaducto:MyDll_topoLea2TopcalCod", {"IN", "OUT"}},
                     {"Viaducto:MyDll_lectgts2topcal", {"IN", "OUT"}})
