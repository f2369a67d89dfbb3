// Native point files (*.pun) into every conversion that reads them.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(points,
                     {"Planimetro:Calzada_Puntos_Exporta_Dxf", {"IN", "OUT"}},
                     {"Calzada:Calzada_Puntos_Exporta_Dxf", {"IN", "OUT"}},
                     {"Shapeline:ExportarPuntosToShapeline", {"IN", "OUT"}},
                     {"Viaducto:MyDll_puntos2gts", {"IN", "OUT"}},
                     {"Viaducto:MyDll_puntos2nivel", {"IN", "OUT"}})
