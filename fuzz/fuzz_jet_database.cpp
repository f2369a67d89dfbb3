// Job databases (Jet) of the field software, through the import. It keeps the file and the
// import's child process, which bound it to some 50 inputs a second under the sanitizers (the
// fork is most of the time): read in this process, libmdb crashes on damaged databases within
// seconds of fuzzing, and the child is what keeps that out of the program.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(jet_database,
                     {"Calzada:Calzada_Puntos_Importa_Topsurv", {"IN", "OUT"}})
