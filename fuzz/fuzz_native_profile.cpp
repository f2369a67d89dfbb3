// Native profile files (*.ras) into every conversion that reads them.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(native_profile,
                     {"Viaducto:MyDll_rterrex2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_rterrex2landxml", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Exporta_Clip", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Exporta_Ispol", {"IN", "OUT"}})
