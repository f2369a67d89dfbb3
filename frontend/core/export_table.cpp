#include "frontend/core/export_table.h"

#include "calzada.h"
#include "frontend/core/export_invoker.h"
#include "georref.h"
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
      PASARELA_EXPORT("Viaducto", MyDll_seleccionaEjeLandXML, "entrada"),
      PASARELA_EXPORT("Viaducto", MyDll_alandxml2gtsWCE, "selec,entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_alandxml2gts, "selec,entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_aTerrex2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aistram2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_ahtrazado2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aclipplt2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aistramList2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aispol2LandXML, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aistram2zemta, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_aistram2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_aistramList2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_aispol2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_aclipplt2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_amxroad2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_ahtrazado2gts, "entrada,salida,pathAp"),
      PASARELA_EXPORT("Viaducto", MyDll_aclipplt2zemta, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_ejecartomap2terrex, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rterrex2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_ristram2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rispol2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_raszemta2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rascartomap2zemta, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rasantecartomap2terrex, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rterrex2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_ristram2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rispol2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_seleccionaRasanteLandXML, "entrada"),
      PASARELA_EXPORT("Viaducto", MyDll_rlandxml2gts, "nombreRas,entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_rlandxml2gtsWCE, "nombreRas,entrada,salida"),
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
      PASARELA_EXPORT("Planimetro", Calzada_Sup_Importa_Dxf, "entrada,entrada2,salida"),
      PASARELA_EXPORT("Planimetro", Calzada_SupSel_LandXML, "entrada,salida"),
      PASARELA_EXPORT("Planimetro", Calzada_Sup_Importa_LandXML, "entrada,entrada2,salida"),
      PASARELA_EXPORT("Planimetro", Planimetro_Puntos_Importa_LandXML, "entrada,salida"),
      PASARELA_EXPORT("Planimetro", Planimetro_Puntos_Exporta_LandXML, "entrada,salida"),
      PASARELA_EXPORT("Planimetro", Calzada_creaFicheroLineas, "ficheroLineas,ficheroDXF,ficheroCapas,ficheroEje"),
      PASARELA_EXPORT("Viaducto", MyDll_zemta2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_trazemta2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_htrazado2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_mxroad2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_istram2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_clip2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_cliptrv2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_traCartomap2zemta, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_puntos2gts, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_seleccionaTransverLandXML, "entrada"),
      PASARELA_EXPORT("Viaducto", MyDll_tralandxml2gts, "transver,capa,entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_tralandxml2gtsWCE, "transver,capa,entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_tralandxmlinroads2gtsWCE, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_traterrex2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_tracliptrv2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_traclip2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_traistram2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_tramxroad2landxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_trahtrazado2lamdxml, "entrada,salida"),
      PASARELA_EXPORT("Viaducto", MyDll_clipST2zemta, "lecturas,salida1,salida2"),
      // Calzada
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_ClipPlt, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Exporta_ClipPlt, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Inroads, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Ispol, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Plroad, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Mxroad, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Dragados, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_Asotec, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Eje_Importa_WTrazado, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_Inroads, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_Clip, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_ClipTanSimple, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Exporta_Clip, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_Ispol, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Exporta_Ispol, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_Mxroad, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_DragadosMDW, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Rasante_Importa_Wtrazado, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Importa_Cliptrv, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Exporta_Cliptrv, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Importa_Ispol, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Importa_Mxroad, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Importa_InRoadsTXT, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Importa_DRAGADOSMDW, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_ClipSeccionPlat, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_ClipSeccionSubras, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_inroads2gts, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_TransverInterpolaCota, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Transver_Libreta2ClipTer, "puntra,eje,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Puntos_Importa_Topsurv, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Trazemta2Topsurv, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_SacyrScanner, "entrada,salida"),
      PASARELA_EXPORT("Calzada", Calzada_Puntos_Exporta_Dxf, "entrada,salida"),
      // Shapeline
      PASARELA_EXPORT("Shapeline", ImportarPuntosDeShapeline, "entrada,salida"),
      PASARELA_EXPORT("Shapeline", ExportarPuntosToShapeline, "entrada,salida"),
      // Georref
      PASARELA_EXPORT("Georref", Georref_Sistemas, "origen,destino,aproximada"),
      PASARELA_EXPORT("Georref", Georref_Puntos_Transforma, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Sup_Transforma, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Puntos_Mapa, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Sup_Mapa, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Eje_Mapa, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Rasante_Mapa, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Transver_Mapa, "entrada,salida"),
      PASARELA_EXPORT("Georref", Georref_Prj, "salida"),
      PASARELA_EXPORT("Georref", Georref_Operacion, "texto"),
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
