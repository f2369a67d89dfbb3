// LandXML documents: alignments, profiles, cross sections and surfaces.
#include "fuzz/driver.h"

PASARELA_FUZZ_FAMILY(landxml,
                     {"Viaducto:MyDll_seleccionaEjeLandXML", {"IN"}},
                     {"Viaducto:MyDll_alandxml2gtsWCE", {"SEL", "IN", "OUT", "DIR"}},
                     {"Viaducto:MyDll_alandxml2gts", {"SEL", "IN", "OUT", "DIR"}},
                     {"Viaducto:MyDll_seleccionaRasanteLandXML", {"IN"}},
                     {"Viaducto:MyDll_rlandxml2gts", {"NAME", "IN", "OUT"}},
                     {"Viaducto:MyDll_rlandxml2gtsWCE", {"NAME", "IN", "OUT"}},
                     {"Viaducto:MyDll_seleccionaTransverLandXML", {"IN"}},
                     {"Viaducto:MyDll_tralandxml2gts", {"NAME", "NAME", "IN", "OUT"}},
                     {"Viaducto:MyDll_tralandxml2gtsWCE", {"NAME", "NAME", "IN", "OUT"}},
                     {"Viaducto:MyDll_tralandxmlinroads2gtsWCE", {"IN", "OUT"}},
                     {"Planimetro:Calzada_SupSel_LandXML", {"IN", "OUT"}},
                     {"Planimetro:Calzada_Sup_Importa_LandXML", {"IN", "NAME", "OUT"}})
