// DXF drawings: layers, points, 3D faces and polylines.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(dxf,
                     {"Planimetro:Calzada_getCapasDxf", {"OUT", "IN"}},
                     {"Planimetro:Calzada_Puntos_Importa_Dxf", {"IN", "OUT"}},
                     {"Planimetro:Calzada_Sup_Importa_Dxf", {"IN", "NAME", "OUT"}},
                     {"Planimetro:Calzada_creaFicheroLineas", {"OUT", "IN", "IN2", "IN3"}})
