// Native alignment files (*.eje) into every conversion that reads them.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(native_alignment,
                     {"Viaducto:MyDll_azemta2gts", {"IN", "OUT", "DIR"}},
                     {"Viaducto:MyDll_azemta2gtsWCE", {"IN", "OUT"}},
                     {"Viaducto:MyDll_aTerrex2LandXML", {"IN", "OUT"}},
                     {"Calzada:Calzada_Eje_Exporta_ClipPlt", {"IN", "OUT"}})
