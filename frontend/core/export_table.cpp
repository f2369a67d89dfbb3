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
      PASARELA_EXPORT("Viaducto", MyDll_terrex2shapeline, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_shapeline2terrex, "entrada,salida"),
      // Calzada
      // Planimetro
      // Shapeline
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
