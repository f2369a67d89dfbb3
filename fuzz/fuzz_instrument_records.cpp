// Records of the digital level and of the robotic total station.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(instrument_records,
                     {"Viaducto:MyDll_anivel2ing", {"IN", "OUT", "Obras", "Operador", "M1", "M2", "123"}},
                     {"Viaducto:MyDll_procesaRobotizada",
                      {"IN", "IN2", "OUT", "Trabajo", "Operario", "Descripcion", "20", "01/01/2026", "10:00"}},
                     {"Viaducto:MyDll_procesaCabecera", {"IN", "OUT"}})
