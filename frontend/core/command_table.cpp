#include "frontend/core/command_table.h"

#include <cstdio>

#include <utility>

namespace frontend {
namespace {

// Appends items to the menu and submenu last opened, so the table reads in menu order.
class MenuBuilder {
 public:
  void Menu(const char* control, const char* caption) {
    menu_ = {control, caption};
    submenu_ = {};
  }
  void Submenu(const char* control, const char* caption) { submenu_ = {control, caption}; }
  void EndSubmenu() { submenu_ = {}; }

  MenuCommand& Item(const char* control, const char* caption, const char* sourceFilter, const char* extension,
                    const char* targetFilter, const char* exportName, const char* library,
                    Variant variant = Variant::Standard) {
    MenuCommand command;
    command.control = control;
    command.caption = caption;
    command.menu = menu_;
    command.submenu = submenu_;
    command.sourceFilter = sourceFilter;
    command.extension = extension;
    command.targetFilter = targetFilter;
    command.exportName = exportName;
    command.library = library;
    command.variant = variant;
    items_.push_back(std::move(command));
    return items_.back();
  }

  void Separator(const char* control) {
    MenuCommand& separator = Item(control, "-", "", "", "", "", "");
    separator.kind = ItemKind::Separator;
  }

  std::vector<MenuCommand> Take() { return std::move(items_); }

 private:
  MenuName menu_;
  MenuName submenu_;
  std::vector<MenuCommand> items_;
};

void WithSelection(MenuCommand& command, const char* exportName, const char* library) {
  command.selectionExport = exportName;
  command.selectionLibrary = library;
}

std::vector<MenuCommand> BuildTable() {
  MenuBuilder m;

  m.Menu("ficheros", "Fichero");
  m.Item("salir", "&Salir", "", "", "", "", "", Variant::Quit);

  m.Menu("importar", "Importar");
  m.Submenu("puntos2", "Puntos");
  m.Item("importarTopsurv", "Importar Topsurv", "Archivo (*.tlsv)|*.tlsv", "pun",
         "Archivo de puntos (*.pun))|*.pun", "Calzada_Puntos_Importa_Topsurv", "Calzada");
  m.Item("scannerSacyr", "Importar Scanner Sacyr", "Puntos Originales (*.txt)|*.txt", "",
         "Puntos Scanner (*.txt)|*.txt", "Calzada_SacyrScanner", "Calzada");
  m.Item("importarDXF", "Importar de DXF", "Fichero DXF (*.dxf)|*.dxf", "pun", "Fichero de Puntos (*.pun)|*.pun",
         "Calzada_Puntos_Importa_Dxf", "Planimetro");
  m.Item("importarShapeline", "Importar de Shapeline", "Puntos Shapeline (*.shp)|*.shp", "pun",
         "Puntos Zemta (*.pun)|*.pun", "ImportarPuntosDeShapeline", "Shapeline", Variant::ResultNotChecked);

  m.Submenu("ejes2", "Ejes");
  const char* const eje = "Eje Zemta (*.eje)|*.eje";
  m.Item("importarEjeInroads", "Importar de Inroads...", "Eje Inroads (*.asc;*.txt)|*.asc;*.txt", "eje", eje,
         "Calzada_Eje_Importa_Inroads", "Calzada");
  m.Item("importarEjeClip", "Importar de Clip...", "Eje CLIP (*.plt)|*.plt|(*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_ClipPlt", "Calzada");
  m.Item("importaEjeCartomap", "Importar de Cartomap...", "Eje Cartomap (*.txt)|*.txt", "eje", eje,
         "MyDll_ejecartomap2terrex", "Viaducto");
  m.Item("importarEjeIspol", "Importar de Ispol...", "Eje Ispol (*.ali)|*.ali", "eje", eje,
         "Calzada_Eje_Importa_Ispol", "Calzada");
  WithSelection(m.Item("importarEjeLandXML", "Importar de LandXML...", "Eje LandXML (*.xml)|*.xml", "eje", eje,
                       "MyDll_alandxml2gtsWCE", "Viaducto", Variant::LandXmlAlignment),
                "MyDll_seleccionaEjeLandXML", "Viaducto");
  m.Item("importarEjeIstram", "Importar de Istram...", "Eje Istram (*.res)|*.res", "eje", eje,
         "MyDll_aistram2zemta", "Viaducto");
  m.Item("importarEjeMxRoad", "Importar de MxRoad...", "Eje MxRoad (*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_Mxroad", "Calzada");
  m.Item("importarEjeMDW", "Importar de Dragados(MDW)...", "Eje Dragados (MDW) (*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_Dragados", "Calzada");
  m.Item("importarEjeWTrazado", "Importar de WTrazado...", "Eje WTrazado (*.sal)|*.sal", "eje", eje,
         "Calzada_Eje_Importa_WTrazado", "Calzada");

  m.Submenu("rasantes", "Rasantes");
  const char* const ras = "Rasante Zemta (*.ras)|*.ras";
  m.Item("importarRasanteInroads", "Importar de InRoads...", "Rasante Inroads (*.asc;*.txt)|*.asc;*.txt", "ras", ras,
         "Calzada_Rasante_Importa_Inroads", "Calzada");
  m.Item("importarRasanteClip", "Importar de Clip...", "Rasante de Clip (*.alz)|*.alz|(*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_ClipTanSimple", "Calzada");
  m.Item("importaRasanteCartomap", "Importar de Cartomap...", "Rasante Cartomap (*.txt)|*.txt", "ras", ras,
         "MyDll_rasantecartomap2terrex", "Viaducto");
  WithSelection(m.Item("importarRasanteLandXML", "Importar de LandXML...", "Rasante LandXML (*.xml)|*.xml", "ras",
                       ras, "MyDll_rlandxml2gtsWCE", "Viaducto", Variant::LandXmlProfile),
                "MyDll_seleccionaRasanteLandXML", "Viaducto");
  m.Item("importarRasanteStSurvey", "Importar de St.Survey...", "Rasante GTS (*.gts)|*.gts", "ras", ras,
         "MyDll_raszemta2gts", "Viaducto");
  m.Item("importarRasanteMxRoad", "Importar de MxRoad...", "Rasante MxRoad (*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_Mxroad", "Calzada");
  m.Item("ImportarRasanteIspol", "Importar de Ispol...", "Rasante Ispol (*.res)|*.res", "ras", ras,
         "Calzada_Rasante_Importa_Ispol", "Calzada");
  m.Item("ImportarRasanteMDW", "Importar de Dragados(MDW)...", "Rasante Dragados (MDW) (*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_DragadosMDW", "Calzada");
  m.Item("ImportarRasanteWTrazado", "Importar de WTrazado...", "Rasante WTrazado (*.sal)|*.sal", "ras", ras,
         "Calzada_Rasante_Importa_Wtrazado", "Calzada");

  m.Submenu("transversales", "Transversales");
  const char* const tra = "Transversales Zemta (*.tra)|*.tra";
  const char* const rasTra = "Rasante Zemta (*.tra)|*.tra";
  m.Item("TraInRoads", "Importar de InRoads...", "Transversales Inroads (*.soe)|*.soe", "tra", rasTra,
         "Calzada_inroads2gts", "Calzada");
  m.Item("TraInRoadshtml", "Importar de InRoads (html)...", "Tranvesales de Inroads (HTML) (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_Importa_InRoadsTXT", "Calzada");
  m.Separator("sep2");
  m.Item("importarTransversalesClipTrv", "Importar de Clip (TRV)...", "Transversales Clip TRV (*.trv)|*.trv", "tra",
         tra, "Calzada_Transver_Importa_Cliptrv", "Calzada");
  m.Item("ClipSeccionPlataforma", "Importar de Clip Plataforma...", "Transversales Clip (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_ClipSeccionPlat", "Calzada");
  m.Item("ClipSeccionSubrasante", "Importar de Clip Subrasante...", "Transversales Clip (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_ClipSeccionSubras", "Calzada");
  m.Separator("sep90");
  m.Item("importarTransversalesIspolRes", "Importar de Ispol (res) ...", "Transversales ISPOL (*.res)|*.res", "tra",
         "Transversales de Subrasante Terrex (*.tra)|*.tra", "Calzada_Transver_Importa_Ispol", "Calzada",
         Variant::SilentSuccess);
  m.Separator("sep91");
  WithSelection(m.Item("importarTransversalesLandXML", "Importar de LandXML...", "Transversales LandXML (*.xml)|*.xml",
                       "tra", rasTra, "MyDll_tralandxml2gtsWCE", "Viaducto", Variant::LandXmlCrossSections),
                "MyDll_seleccionaTransverLandXML", "Viaducto");
  m.Item("importarTransversalesInroadsLandXML", "Importar de LandXML (Inroads)...",
         "Transversales LandXML (*.xml)|*.xml", "tra", rasTra, "MyDll_tralandxmlinroads2gtsWCE", "Viaducto");
  m.Item("importarTransversalesStSurvey", "Importar de St.Survey...", "Transversales GTS (*.gts)|*.gts", "tra", tra,
         "MyDll_trazemta2gts", "Viaducto");
  m.Item("importarTransverCartomap", "Importar de Cartomap...", "Transversales Cartomap (*.*)|*.*", "tra", tra,
         "MyDll_traCartomap2zemta", "Viaducto");
  m.Item("importarTransverMXRoad", "Importar de MxRoad...", "Transversales MxRoad (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_Importa_Mxroad", "Calzada");
  m.Separator("sep9898");
  m.Item("interpolaTransver", "Interpola cota de eje...", tra, "", tra, "Calzada_TransverInterpolaCota", "Calzada");

  m.Submenu("peraltes", "Peraltes");
  const char* const per = "Peralte Zemta (*.per)|*.per";
  m.Item("importarPeraltesClip", "Importar de Clip", "Peralte Clip (*.*)|*.*", "per", per, "MyDll_peralteClip2gts",
         "Viaducto");
  m.Item("importarPeraltesIspol", "Importar de Ispol", "Peralte Ispol (*.*)|*.*", "per", per,
         "MyDll_peralteispol2gts", "Viaducto");

  m.Submenu("importarSuperficie", "Superficies");
  const char* const sup = "Superficie Terrex v4(*.sup)|*.sup";
  WithSelection(m.Item("importarSuperficieLandXML", "Importar de LandXML...", "Fichero LandXML (*.xml)|*.xml", "sup",
                       sup, "Calzada_Sup_Importa_LandXML", "Planimetro", Variant::LandXmlSurface),
                "Calzada_SupSel_LandXML", "Planimetro");
  WithSelection(m.Item("importarSuperficieCaras3D", "Importar de DXF (Caras 3D)...", "Fichero DXF (*.dxf)|*.dxf", "sup",
                       sup, "Calzada_Sup_Importa_Dxf", "Planimetro", Variant::DxfFacesSurface),
                "Calzada_getCapasDxf", "Planimetro");

  m.Menu("Exportar", "Exportar");
  m.Submenu("puntos", "Puntos");
  m.Item("importarPuntos", "Exportar Espacios/Tab a GTS", "Puntos espacios/tab. (*.*)|*.*", "gts",
         "Puntos GTS (*.gts)|*.gts", "MyDll_puntos2gts", "Viaducto");
  // Planimetro's export of this name (layers by code), not Calzada's.
  m.Item("exportarPuntosDXF", "Exportar a DXF...", "Puntos (*.pun)|*.pun", "dxf", "Fichero DXF (*.dxf)|*.dxf",
         "Calzada_Puntos_Exporta_Dxf", "Planimetro");
  m.Item("ExportarShapeline", "Exportar a Shapeline", "Puntos Zemta (*.pun)|*.pun", "shp",
         "Puntos Shapeline (*.shp)|*.shp", "ExportarPuntosToShapeline", "Shapeline", Variant::ResultNotChecked);

  m.Submenu("ejes", "Ejes");
  m.Item("ejeclip", "Exportar a Clip...", eje, "txt", "Eje Clip (*.txt)|*.txt", "Calzada_Eje_Exporta_ClipPlt",
         "Calzada");
  m.Item("ejeLandXML", "Exportar a LandXML...",
         "Formato Terrex (*.eje)|*.eje|Formato de CLIP (*.plt)|*.plt|Formato de ISTRAM(*.asc)|*.asc|"
         "Formato de MXROAD(*.txt)|*.txt|Formato de HTRAZADO(*.res)|*.res",
         "xml", "Eje LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .byExtension = {{"EJE", "MyDll_aTerrex2LandXML"},
                      {"PLT", "MyDll_aclipplt2LandXML"},
                      {"ASC", "MyDll_aistram2LandXML"},
                      {"TXT", "MyDll_aistramList2LandXML"},
                      {"RES", "MyDll_aispol2LandXML"}};
  m.Item("ejeGTS", "Exportar a St.Survey...", eje, "gts", "Eje GTS (*.gts)|*.gts", "MyDll_azemta2gtsWCE", "Viaducto");

  m.Submenu("rasantes2", "Rasantes");
  const char* const rasAsTra = "Transversales Zemta (*.ras)|*.ras";
  m.Item("rasClip", "Exportar a Clip...", rasAsTra, "txt", "Rasante CLIP (*.txt)|*.txt", "Calzada_Rasante_Exporta_Clip",
         "Calzada");
  m.Item("rasIspol", "Exportar a Ispol...", rasAsTra, "res", "Rasante ISPOL (*.res)|*.res",
         "Calzada_Rasante_Exporta_Ispol", "Calzada");
  m.Item("rasLandXML", "Exportar a LandXML...", "Formato Terrex (*.ras)|*.ras|Formato de ISTRAM(*.txt)|*.txt", "xml",
         "Rasante LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .byExtension = {{"RAS", "MyDll_rterrex2landxml"}, {"TXT", "MyDll_ristram2landxml"}};
  m.Item("rasGTS", "Exportar a St.Survey...", rasAsTra, "gts", "Rasante GTS (*.gts)|*.gts", "MyDll_rterrex2gts",
         "Viaducto");

  m.Submenu("transver2", "Transversales");
  m.Item("transverClipTRV", "Exportar a Clip (TRV)...", tra, "trv", "Rasante CLIP TRV (*.trv)|*.trv",
         "Calzada_Transver_Exporta_Cliptrv", "Calzada");
  m.Item("puntosTraClipTer", "Exportar  a Clip (TER)...", "Puntos de Transversales Zemta (*.pun)|*.pun", "ter",
         "Transversales Clip TER (*.ter)|*.ter", "Calzada_Transver_Libreta2ClipTer", "Calzada",
         Variant::FieldBookToClipTer)
      .secondSourceFilter = eje;
  m.Separator("sep98");
  m.Item("transverLandXML", "Exportar a LandXML...",
         "Formato Terrex (*.tra)|*.tra|Formato de CLIP (*.rep)|*.rep|Formato de CLIP TER(*.ter)|*.ter|"
         "Formato de ISTRAM(*.trm)|*.trm|Formato de MXROAD(*.mxr)|*.mxr|Formato de HTRAZADO(*.per)|*.per",
         "xml", "Transversales LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .byExtension = {{"TER", "MyDll_traclip2landxml"},         {"REP", "MyDll_tracliptrv2landxml"},
                      {"TRA", "MyDll_traterrex2landxml"},       {"TRM", "MyDll_traistram2landxml"},
                      {"PER", "MyDll_trahtrazado2lamdxml"},     {"MXR", "MyDll_tramxroad2landxml"}};
  m.Item("traGTS", "Exportar a St.Survey...", tra, "gts", "Rasante GTS (*.gts)|*.gts", "MyDll_zemta2gts", "Viaducto");
  m.Item("traTopSurv", "Exportar a TopSurv...", "Transversales Terrex (*.tra)|*.tra", "xst",
         "Transversales TopSurv (*.xst)|*.xst", "Calzada_Trazemta2Topsurv", "Calzada");
  m.EndSubmenu();
  m.Separator("sep");

  m.Submenu("levantamiento", "Levantamiento");
  const char* const lea = "Levantamento Zemta (*.lea)|*.lea";
  const char* const odb = "Levantamiento Topcal (*.odb)|*.odb";
  m.Item("exportarLevTopcal", "Exportar a Topcal...", lea, "odb", odb, "MyDll_topoLea2Topcal", "Viaducto");
  m.Item("exportarLevTopcalCod", "Exportar a Topcal con Códigos...", lea, "odb", odb, "MyDll_topoLea2TopcalCod",
         "Viaducto");

  m.Menu("ayuda", "Ayuda");
  m.Item("acercade", "Acerca de Conversor Formatos", "", "", "", "", "", Variant::About);
  return m.Take();
}

}  // namespace

const std::vector<MenuCommand>& CommandTable() {
  static const std::vector<MenuCommand> table = BuildTable();
  return table;
}

const MenuCommand* FindCommand(const std::string& control) {
  for (const MenuCommand& command : CommandTable()) {
    if (command.kind == ItemKind::Command && command.control == control) return &command;
  }
  return nullptr;
}

std::string CaptionWithoutAccelerator(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

std::string CommandListLine(const MenuCommand& command) {
  std::string path = command.menu.caption;
  if (!command.submenu.control.empty()) path += " > " + command.submenu.caption;
  char line[512];
  std::snprintf(line, sizeof line, "%-36s %-28s %s", command.control.c_str(), path.c_str(),
                CaptionWithoutAccelerator(command.caption).c_str());
  return line;
}

}  // namespace frontend
