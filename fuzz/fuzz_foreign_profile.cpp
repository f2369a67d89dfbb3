// Profile listings of other programs, through both libraries' readers.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(foreign_profile,
                     {"Viaducto:MyDll_ristram2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_rispol2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_rascartomap2zemta", {"IN", "OUT"}},
                     {"Viaducto:MyDll_rasantecartomap2terrex", {"IN", "OUT"}},
                     {"Viaducto:MyDll_ristram2landxml", {"IN", "OUT"}},
                     {"Viaducto:MyDll_rispol2landxml", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_Inroads", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_Clip", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_ClipTanSimple", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_Ispol", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_Mxroad", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_DragadosMDW", {"IN", "OUT"}},
                     {"Calzada:Calzada_Rasante_Importa_Wtrazado", {"IN", "OUT"}})
