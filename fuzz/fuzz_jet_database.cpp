// Job databases (Jet) of the field software.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(jet_database,
                     {"Calzada:Calzada_Puntos_Importa_Topsurv", {"IN", "OUT"}})
