// Native cross-section files (*.tra) into every conversion that reads them.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(native_cross_section,
                     {"Viaducto:MyDll_zemta2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_trazemta2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_traterrex2landxml", {"IN", "OUT"}},
                     {"Calzada:Calzada_Transver_Exporta_Cliptrv", {"IN", "OUT"}},
                     {"Calzada:Calzada_Trazemta2Topsurv", {"IN", "OUT"}},
                     {"Calzada:Calzada_TransverInterpolaCota", {"IN", "OUT"}})
