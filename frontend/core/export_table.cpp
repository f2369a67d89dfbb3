#include "frontend/core/export_table.h"

#include "calzada.h"
#include "frontend/core/export_invoker.h"
#include "planimetro.h"
#include "shapeline.h"
#include "viaducto.h"

namespace frontend {

const std::vector<ExportEntry>& ExportTable() {
  static const std::vector<ExportEntry> table = {
      // Viaducto
      PASARELA_EXPORT("Viaducto", MyDll_ReverseString, "sMyString"),
      PASARELA_EXPORT("Viaducto", MyDll_azemta2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_azemta2gtsWCE, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rterrex2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_ristram2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rispol2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_raszemta2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rascartomap2zemta, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_terrex2shapeline, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_shapeline2terrex, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_peralteispol2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_peralteClip2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_procesaRobotizada, "lecturas,puntos,salida,trabajo,operario,descripcion,temperatura,fecha,hora"),
      PASARELA_EXPORT("Viaducto", MyDll_procesaCabecera, "lecturas,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_topoLea2Topcal, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_topoLea2TopcalCod, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_lectgts2topcal, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_anivel2ing, "entrada,salida,empresa,operador,mira1,mira2,nserie"),
      PASARELA_EXPORT("Viaducto", MyDll_puntos2nivel, "entrada,salida"),
      // Planimetro (above Calzada: an unqualified Calzada_Puntos_Exporta_Dxf is Planimetro's)
      PASARELA_EXPORT("Planimetro", Calzada_getCapasDxf, "ficheroCapas,ficheroDXF"),
      PASARELA_EXPORT("Planimetro", Calzada_Puntos_Importa_Dxf, "entrada,salida"),
      PASARELA_EXPORT("Planimetro", Calzada_Puntos_Exporta_Dxf, "entrada,salida"),
      // Calzada
      // Shapeline
      PASARELA_EXPORT("Shapeline", ImportarPuntosDeShapeline, "entrada,salida"),
      PASARELA_EXPORT("Shapeline", ExportarPuntosToShapeline, "entrada,salida"),
  };
  return table;
}

const ExportEntry* FindExport(const std::string& name, const std::string& library) {
  for (const ExportEntry& entry : ExportTable()) {
    if (name == entry.name && (library.empty() || library == entry.library)) return &entry;
  }
  return nullptr;
}

}  // namespace frontend
