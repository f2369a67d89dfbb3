#include "frontend/core/conversions.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>

#include "frontend/detect/contents.h"

namespace frontend {
namespace {

using F = detect::Format;
using D = DataKind;

// Appends rows to the menu and submenu last opened, so the table reads in menu order.
class RegistryBuilder {
 public:
  void Menu(const char* control, const char* caption) {
    menu_ = {control, caption};
    submenu_ = {};
  }
  void Submenu(const char* control, const char* caption) { submenu_ = {control, caption}; }
  void EndSubmenu() { submenu_ = {}; }

  RegistryBuilder& Item(const char* control, const char* caption, const char* sourceFilter, const char* extension,
                        const char* targetFilter, const char* exportName, const char* library,
                        Variant variant = Variant::Standard) {
    MenuCommand command = Row(control, caption, sourceFilter, extension, targetFilter, exportName, library, variant);
    command.menu = menu_;
    command.submenu = submenu_;
    return Add(menuRows_, std::move(command));
  }

  // A conversion that only an export makes: no menu item; its control is the export's name.
  RegistryBuilder& WithoutMenu(const char* exportName, const char* caption, const char* sourceFilter,
                               const char* extension, const char* targetFilter, const char* library,
                               Variant variant = Variant::Standard) {
    MenuCommand command = Row(exportName, caption, sourceFilter, extension, targetFilter, exportName, library, variant);
    command.inMenu = false;
    return Add(otherRows_, std::move(command));
  }

  // What the row last added reads and writes. The sources that name an extension make the
  // menu command's choice of export by the source's extension, in their order.
  RegistryBuilder& Converts(std::initializer_list<SourceFormat> sources, DataKind reads, const char* target,
                            detect::Format targetFormat) {
    Last().sources = sources;
    Last().reads = reads;
    Last().target = target;
    Last().targetFormat = targetFormat;
    for (const SourceFormat& source : Last().sources) {
      if (!source.extension.empty()) Last().byExtension.push_back({source.extension, source.exportName});
    }
    return *this;
  }

  // The export that writes the list the command chooses from.
  RegistryBuilder& ChoosesFrom(const char* exportName, const char* library) {
    Last().selectionExport = exportName;
    Last().selectionLibrary = library;
    return *this;
  }

  RegistryBuilder& SecondSource(const char* filter) {
    Last().secondSourceFilter = filter;
    return *this;
  }

  void Separator(const char* control) {
    Item(control, "-", "", "", "", "", "");
    Last().kind = ItemKind::Separator;
  }

  std::vector<MenuCommand> TakeMenu() { return std::move(menuRows_); }
  std::vector<MenuCommand> TakeOthers() { return std::move(otherRows_); }

 private:
  static MenuCommand Row(const char* control, const char* caption, const char* sourceFilter, const char* extension,
                         const char* targetFilter, const char* exportName, const char* library, Variant variant) {
    MenuCommand command;
    command.control = control;
    command.caption = caption;
    command.sourceFilter = sourceFilter;
    command.extension = extension;
    command.targetFilter = targetFilter;
    command.exportName = exportName;
    command.library = library;
    command.variant = variant;
    return command;
  }

  RegistryBuilder& Add(std::vector<MenuCommand>& rows, MenuCommand command) {
    rows.push_back(std::move(command));
    lastRows_ = &rows;
    return *this;
  }

  MenuName menu_;
  MenuName submenu_;
  std::vector<MenuCommand> menuRows_;
  std::vector<MenuCommand> otherRows_;
  std::vector<MenuCommand>* lastRows_ = &menuRows_;

  MenuCommand& Last() { return lastRows_->back(); }
};

struct Registry {
  std::vector<MenuCommand> menu;
  std::vector<MenuCommand> withoutMenu;
  std::vector<const MenuCommand*> conversions;
};

Registry BuildRegistry() {
  RegistryBuilder m;

  m.Menu("ficheros", "Fichero");
  m.Item("salir", "&Salir", "", "", "", "", "", Variant::Quit);

  m.Menu("importar", "Importar");
  m.Submenu("puntos2", "Puntos");
  m.Item("importarTopsurv", "Importar Topsurv", "Archivo (*.tlsv)|*.tlsv", "pun", "Archivo de puntos (*.pun))|*.pun",
         "Calzada_Puntos_Importa_Topsurv", "Calzada")
      .Converts({F::kTopSurvJob}, D::Points, "pun", F::kNativePoints);
  m.Item("scannerSacyr", "Importar Scanner Sacyr", "Puntos Originales (*.txt)|*.txt", "", "Puntos Scanner (*.txt)|*.txt",
         "Calzada_SacyrScanner", "Calzada")
      .Converts({F::kScannerPoints}, D::Points, "escaner", F::kUnknown);
  m.Item("importarDXF", "Importar de DXF", "Fichero DXF (*.dxf)|*.dxf", "pun", "Fichero de Puntos (*.pun)|*.pun",
         "Calzada_Puntos_Importa_Dxf", "Planimetro")
      .Converts({F::kDxf}, D::Points, "pun", F::kNativePoints);
  m.Item("importarShapeline", "Importar de Shapeline", "Puntos Shapeline (*.shp)|*.shp", "pun",
         "Puntos Zemta (*.pun)|*.pun", "ImportarPuntosDeShapeline", "Shapeline", Variant::ResultNotChecked)
      .Converts({F::kShapefile}, D::Points, "pun", F::kNativePoints);
  m.Item("importarPuntosLandXML", "Importar de LandXML...", "Fichero LandXML (*.xml)|*.xml", "pun",
         "Fichero de Puntos (*.pun)|*.pun", "Planimetro_Puntos_Importa_LandXML", "Planimetro")
      .Converts({F::kLandXml}, D::Points, "pun", F::kNativePoints);

  m.Submenu("ejes2", "Ejes");
  const char* const eje = "Eje Zemta (*.eje)|*.eje";
  const auto toEje = [&](std::initializer_list<SourceFormat> sources) {
    m.Converts(sources, D::Alignments, "eje", F::kNativeAlignment);
  };
  m.Item("importarEjeInroads", "Importar de Inroads...", "Eje Inroads (*.asc;*.txt)|*.asc;*.txt", "eje", eje,
         "Calzada_Eje_Importa_Inroads", "Calzada");
  toEje({F::kInRoadsAlignment});
  m.Item("importarEjeClip", "Importar de Clip...", "Eje CLIP (*.plt)|*.plt|(*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_ClipPlt", "Calzada");
  toEje({F::kClipPlt});
  m.Item("importaEjeCartomap", "Importar de Cartomap...", "Eje Cartomap (*.txt)|*.txt", "eje", eje,
         "MyDll_ejecartomap2terrex", "Viaducto");
  toEje({F::kCartomapAlignment});
  m.Item("importarEjeIspol", "Importar de Ispol...", "Eje Ispol (*.ali)|*.ali", "eje", eje, "Calzada_Eje_Importa_Ispol",
         "Calzada");
  toEje({F::kIspolAlignment});
  m.Item("importarEjeLandXML", "Importar de LandXML...", "Eje LandXML (*.xml)|*.xml", "eje", eje,
         "MyDll_alandxml2gtsWCE", "Viaducto", Variant::LandXmlAlignment)
      .ChoosesFrom("MyDll_seleccionaEjeLandXML", "Viaducto");
  toEje({F::kLandXml});
  m.Item("importarEjeIstram", "Importar de Istram...", "Eje Istram (*.res)|*.res", "eje", eje, "MyDll_aistram2zemta",
         "Viaducto");
  toEje({F::kIstramAlignment});
  m.Item("importarEjeMxRoad", "Importar de MxRoad...", "Eje MxRoad (*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_Mxroad", "Calzada");
  toEje({F::kMxRoadAlignment});
  m.Item("importarEjeMDW", "Importar de Dragados(MDW)...", "Eje Dragados (MDW) (*.txt)|*.txt", "eje", eje,
         "Calzada_Eje_Importa_Dragados", "Calzada");
  toEje({F::kDragadosAlignment});
  m.Item("importarEjeWTrazado", "Importar de WTrazado...", "Eje WTrazado (*.sal)|*.sal", "eje", eje,
         "Calzada_Eje_Importa_WTrazado", "Calzada");
  toEje({F::kWTrazadoAlignment});
  m.Item("importarEjeIFC", "Importar de IFC...", "Eje IFC (*.ifc)|*.ifc", "eje", eje, "MyDll_aifc2terrex", "Viaducto",
         Variant::LandXmlAlignment)
      .ChoosesFrom("MyDll_seleccionaEjeIfc", "Viaducto");
  toEje({F::kIfc});

  m.Submenu("rasantes", "Rasantes");
  const char* const ras = "Rasante Zemta (*.ras)|*.ras";
  const auto toRas = [&](std::initializer_list<SourceFormat> sources) {
    m.Converts(sources, D::Profiles, "ras", F::kNativeProfile);
  };
  m.Item("importarRasanteInroads", "Importar de InRoads...", "Rasante Inroads (*.asc;*.txt)|*.asc;*.txt", "ras", ras,
         "Calzada_Rasante_Importa_Inroads", "Calzada");
  toRas({F::kInRoadsProfile});
  m.Item("importarRasanteClip", "Importar de Clip...", "Rasante de Clip (*.alz)|*.alz|(*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_ClipTanSimple", "Calzada");
  toRas({F::kClipAlz});
  m.Item("importaRasanteCartomap", "Importar de Cartomap...", "Rasante Cartomap (*.txt)|*.txt", "ras", ras,
         "MyDll_rasantecartomap2terrex", "Viaducto");
  toRas({F::kCartomapAlignment});
  m.Item("importarRasanteLandXML", "Importar de LandXML...", "Rasante LandXML (*.xml)|*.xml", "ras", ras,
         "MyDll_rlandxml2gtsWCE", "Viaducto", Variant::LandXmlProfile)
      .ChoosesFrom("MyDll_seleccionaRasanteLandXML", "Viaducto");
  toRas({F::kLandXml});
  m.Item("importarRasanteStSurvey", "Importar de St.Survey...", "Rasante GTS (*.gts)|*.gts", "ras", ras,
         "MyDll_raszemta2gts", "Viaducto");
  toRas({F::kGtsProfile});
  m.Item("importarRasanteMxRoad", "Importar de MxRoad...", "Rasante MxRoad (*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_Mxroad", "Calzada");
  toRas({F::kMxRoadProfile});
  m.Item("ImportarRasanteIspol", "Importar de Ispol...", "Rasante Ispol (*.res)|*.res", "ras", ras,
         "Calzada_Rasante_Importa_Ispol", "Calzada");
  toRas({F::kIspolProfile});
  m.Item("ImportarRasanteMDW", "Importar de Dragados(MDW)...", "Rasante Dragados (MDW) (*.txt)|*.txt", "ras", ras,
         "Calzada_Rasante_Importa_DragadosMDW", "Calzada");
  toRas({F::kDragadosProfile});
  m.Item("ImportarRasanteWTrazado", "Importar de WTrazado...", "Rasante WTrazado (*.sal)|*.sal", "ras", ras,
         "Calzada_Rasante_Importa_Wtrazado", "Calzada");
  toRas({F::kWTrazadoProfile});
  m.Item("importarRasanteIFC", "Importar de IFC...", "Rasante IFC (*.ifc)|*.ifc", "ras", ras, "MyDll_rifc2terrex",
         "Viaducto", Variant::LandXmlProfile)
      .ChoosesFrom("MyDll_seleccionaRasanteIfc", "Viaducto");
  toRas({F::kIfc});

  m.Submenu("transversales", "Transversales");
  const char* const tra = "Transversales Zemta (*.tra)|*.tra";
  const char* const rasTra = "Rasante Zemta (*.tra)|*.tra";
  const auto toTra = [&](std::initializer_list<SourceFormat> sources, const char* target = "tra",
                         DataKind reads = D::CrossSections) {
    m.Converts(sources, reads, target, F::kNativeCrossSections);
  };
  m.Item("TraInRoads", "Importar de InRoads...", "Transversales Inroads (*.soe)|*.soe", "tra", rasTra,
         "Calzada_inroads2gts", "Calzada");
  toTra({F::kInRoadsSectionListing});
  m.Item("TraInRoadshtml", "Importar de InRoads (html)...", "Tranvesales de Inroads (HTML) (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_Importa_InRoadsTXT", "Calzada");
  toTra({F::kInRoadsSectionReport});
  m.Separator("sep2");
  m.Item("importarTransversalesClipTrv", "Importar de Clip (TRV)...", "Transversales Clip TRV (*.trv)|*.trv", "tra",
         tra, "Calzada_Transver_Importa_Cliptrv", "Calzada");
  toTra({F::kClipTrv});
  m.Item("ClipSeccionPlataforma", "Importar de Clip Plataforma...", "Transversales Clip (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_ClipSeccionPlat", "Calzada");
  toTra({F::kClipSectionListing});
  m.Item("ClipSeccionSubrasante", "Importar de Clip Subrasante...", "Transversales Clip (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_ClipSeccionSubras", "Calzada");
  toTra({F::kClipSectionListing}, "tra-subrasante");
  m.Separator("sep90");
  m.Item("importarTransversalesIspolRes", "Importar de Ispol (res) ...", "Transversales ISPOL (*.res)|*.res", "tra",
         "Transversales de Subrasante Terrex (*.tra)|*.tra", "Calzada_Transver_Importa_Ispol", "Calzada",
         Variant::SilentSuccess);
  toTra({F::kIspolCrossSections});
  m.Separator("sep91");
  m.Item("importarTransversalesLandXML", "Importar de LandXML...", "Transversales LandXML (*.xml)|*.xml", "tra", rasTra,
         "MyDll_tralandxml2gtsWCE", "Viaducto", Variant::LandXmlCrossSections)
      .ChoosesFrom("MyDll_seleccionaTransverLandXML", "Viaducto");
  toTra({F::kLandXml});
  m.Item("importarTransversalesInroadsLandXML", "Importar de LandXML (Inroads)...",
         "Transversales LandXML (*.xml)|*.xml", "tra", rasTra, "MyDll_tralandxmlinroads2gtsWCE", "Viaducto");
  toTra({F::kLandXml}, "tra-inroads", D::CrossSectionPoints);
  m.Item("importarTransversalesStSurvey", "Importar de St.Survey...", "Transversales GTS (*.gts)|*.gts", "tra", tra,
         "MyDll_trazemta2gts", "Viaducto");
  toTra({F::kGtsCrossSections});
  m.Item("importarTransverCartomap", "Importar de Cartomap...", "Transversales Cartomap (*.*)|*.*", "tra", tra,
         "MyDll_traCartomap2zemta", "Viaducto");
  toTra({F::kCartomapSections, F::kCartomapStationSections});
  m.Item("importarTransverMXRoad", "Importar de MxRoad...", "Transversales MxRoad (*.txt)|*.txt", "tra", tra,
         "Calzada_Transver_Importa_Mxroad", "Calzada");
  toTra({F::kMxRoadCrossSections, F::kMxRoadNumberedSections, F::kMxRoadSectionBlocks});
  m.Separator("sep9898");
  m.Item("interpolaTransver", "Interpola cota de eje...", tra, "", tra, "Calzada_TransverInterpolaCota", "Calzada");
  toTra({F::kNativeCrossSections}, "tra-interpolado");

  m.Submenu("peraltes", "Peraltes");
  const char* const per = "Peralte Zemta (*.per)|*.per";
  m.Item("importarPeraltesClip", "Importar de Clip", "Peralte Clip (*.*)|*.*", "per", per, "MyDll_peralteClip2gts",
         "Viaducto")
      .Converts({F::kClipSuperelevation}, D::Superelevation, "per", F::kNativeSuperelevation);
  m.Item("importarPeraltesIspol", "Importar de Ispol", "Peralte Ispol (*.*)|*.*", "per", per, "MyDll_peralteispol2gts",
         "Viaducto")
      .Converts({F::kIspolSuperelevation}, D::Superelevation, "per", F::kNativeSuperelevation);

  m.Submenu("importarSuperficie", "Superficies");
  const char* const sup = "Superficie Terrex v4(*.sup)|*.sup";
  m.Item("importarSuperficieLandXML", "Importar de LandXML...", "Fichero LandXML (*.xml)|*.xml", "sup", sup,
         "Calzada_Sup_Importa_LandXML", "Planimetro", Variant::LandXmlSurface)
      .ChoosesFrom("Calzada_SupSel_LandXML", "Planimetro")
      .Converts({F::kLandXml}, D::Surfaces, "sup", F::kNativeSurface);
  m.Item("importarSuperficieCaras3D", "Importar de DXF (Caras 3D)...", "Fichero DXF (*.dxf)|*.dxf", "sup", sup,
         "Calzada_Sup_Importa_Dxf", "Planimetro", Variant::DxfFacesSurface)
      .ChoosesFrom("Calzada_getCapasDxf", "Planimetro")
      .Converts({F::kDxf}, D::Surfaces, "sup", F::kNativeSurface);

  m.Menu("Exportar", "Exportar");
  m.Submenu("puntos", "Puntos");
  m.Item("importarPuntos", "Exportar Espacios/Tab a GTS", "Puntos espacios/tab. (*.*)|*.*", "gts",
         "Puntos GTS (*.gts)|*.gts", "MyDll_puntos2gts", "Viaducto")
      .Converts({F::kNativePoints}, D::Points, "gts", F::kUnknown);
  // Planimetro's export of this name (layers by code), not Calzada's.
  m.Item("exportarPuntosDXF", "Exportar a DXF...", "Puntos (*.pun)|*.pun", "dxf", "Fichero DXF (*.dxf)|*.dxf",
         "Calzada_Puntos_Exporta_Dxf", "Planimetro")
      .Converts({F::kNativePoints}, D::Points, "dxf", F::kDxf);
  m.Item("ExportarShapeline", "Exportar a Shapeline", "Puntos Zemta (*.pun)|*.pun", "shp",
         "Puntos Shapeline (*.shp)|*.shp", "ExportarPuntosToShapeline", "Shapeline", Variant::ResultNotChecked)
      .Converts({F::kNativePoints}, D::Points, "shp", F::kShapefile);
  m.Item("exportarPuntosLandXML", "Exportar a LandXML...", "Puntos (*.pun)|*.pun", "xml",
         "Fichero LandXML (*.xml)|*.xml", "Planimetro_Puntos_Exporta_LandXML", "Planimetro")
      .Converts({F::kNativePoints}, D::Points, "landxml", F::kLandXml);

  m.Submenu("ejes", "Ejes");
  m.Item("ejeclip", "Exportar a Clip...", eje, "txt", "Eje Clip (*.txt)|*.txt", "Calzada_Eje_Exporta_ClipPlt",
         "Calzada")
      .Converts({F::kNativeAlignment}, D::Alignments, "clip-plt", F::kClipPlt);
  // The menu's HTRAZADO(*.res) pattern reaches the Ispol reader by its extension; a source
  // detected as an HTrazado alignment gets its own reader.
  m.Item("ejeLandXML", "Exportar a LandXML...",
         "Formato Terrex (*.eje)|*.eje|Formato de CLIP (*.plt)|*.plt|Formato de ISTRAM(*.asc)|*.asc|"
         "Formato de MXROAD(*.txt)|*.txt|Formato de HTRAZADO(*.res)|*.res",
         "xml", "Eje LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .Converts({{F::kNativeAlignment, "EJE", "MyDll_aTerrex2LandXML"},
                 {F::kClipPlt, "PLT", "MyDll_aclipplt2LandXML"},
                 {F::kIstramAlignment, "ASC", "MyDll_aistram2LandXML"},
                 {F::kIstramElementList, "TXT", "MyDll_aistramList2LandXML"},
                 {F::kIspolAlignment, "RES", "MyDll_aispol2LandXML"},
                 {F::kHTrazadoAlignment, "", "MyDll_ahtrazado2LandXML"}},
                D::Alignments, "landxml", F::kLandXml);
  m.Item("ejeGTS", "Exportar a St.Survey...", eje, "gts", "Eje GTS (*.gts)|*.gts", "MyDll_azemta2gtsWCE", "Viaducto")
      .Converts({F::kNativeAlignment}, D::Alignments, "gts", F::kGtsAlignment);
  // Every alignment the suite reads, to IFC; the profile and coordinate system are options.
  m.Item("ejeIFC", "Exportar a IFC...",
         "Formato Terrex (*.eje)|*.eje|Eje LandXML (*.xml)|*.xml|Formato de CLIP (*.plt)|*.plt|"
         "Formato de ISTRAM(*.asc)|*.asc|Formato de HTRAZADO(*.res)|*.res|Formato de WTRAZADO(*.sal)|*.sal",
         "ifc", "Eje IFC (*.ifc)|*.ifc", "", "Viaducto", Variant::ExportIfcBySource)
      .Converts({{F::kNativeAlignment, "EJE", "MyDll_aterrex2ifc"},
                 {F::kLandXml, "XML", "MyDll_alandxml2ifc"},
                 {F::kClipPlt, "PLT", "MyDll_aclipplt2ifc"},
                 {F::kIstramAlignment, "ASC", "MyDll_aistram2ifc"},
                 {F::kIstramElementList, "", "MyDll_aistramList2ifc"},
                 {F::kIspolAlignment, "", "MyDll_aispol2ifc"},
                 {F::kHTrazadoAlignment, "RES", "MyDll_ahtrazado2ifc"},
                 {F::kMxRoadStringListing, "", "MyDll_amxroad2ifc"},
                 {F::kMxRoadAlignment, "", "MyDll_amxroadElementos2ifc"},
                 {F::kCartomapAlignment, "", "MyDll_acartomap2ifc"},
                 {F::kInRoadsAlignment, "", "MyDll_ainroads2ifc"},
                 {F::kDragadosAlignment, "", "MyDll_adragados2ifc"},
                 {F::kWTrazadoAlignment, "SAL", "MyDll_awtrazado2ifc"},
                 {F::kPlRoadAlignment, "", "MyDll_aplroad2ifc"},
                 {F::kAsotecAlignment, "", "MyDll_aasotec2ifc"}},
                D::Alignments, "ifc", F::kIfc);

  m.Submenu("rasantes2", "Rasantes");
  const char* const rasAsTra = "Transversales Zemta (*.ras)|*.ras";
  m.Item("rasClip", "Exportar a Clip...", rasAsTra, "txt", "Rasante CLIP (*.txt)|*.txt", "Calzada_Rasante_Exporta_Clip",
         "Calzada")
      .Converts({F::kNativeProfile}, D::Profiles, "clip-alz", F::kClipAlz);
  m.Item("rasIspol", "Exportar a Ispol...", rasAsTra, "res", "Rasante ISPOL (*.res)|*.res",
         "Calzada_Rasante_Exporta_Ispol", "Calzada")
      .Converts({F::kNativeProfile}, D::Profiles, "ispol-rasante", F::kIspolProfile);
  m.Item("rasLandXML", "Exportar a LandXML...", "Formato Terrex (*.ras)|*.ras|Formato de ISTRAM(*.txt)|*.txt", "xml",
         "Rasante LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .Converts({{F::kNativeProfile, "RAS", "MyDll_rterrex2landxml"}, {F::kIstramProfile, "TXT", "MyDll_ristram2landxml"}},
                D::Profiles, "landxml", F::kLandXml);
  m.Item("rasGTS", "Exportar a St.Survey...", rasAsTra, "gts", "Rasante GTS (*.gts)|*.gts", "MyDll_rterrex2gts",
         "Viaducto")
      .Converts({F::kNativeProfile}, D::Profiles, "gts", F::kGtsProfile);

  m.Submenu("transver2", "Transversales");
  m.Item("transverClipTRV", "Exportar a Clip (TRV)...", tra, "trv", "Rasante CLIP TRV (*.trv)|*.trv",
         "Calzada_Transver_Exporta_Cliptrv", "Calzada")
      .Converts({F::kNativeCrossSections}, D::CrossSections, "clip-trv", F::kClipTrv);
  m.Item("puntosTraClipTer", "Exportar  a Clip (TER)...", "Puntos de Transversales Zemta (*.pun)|*.pun", "ter",
         "Transversales Clip TER (*.ter)|*.ter", "Calzada_Transver_Libreta2ClipTer", "Calzada",
         Variant::FieldBookToClipTer)
      .SecondSource(eje)
      .Converts({F::kNativePoints}, D::Points, "clip-ter", F::kClipTer);
  m.Separator("sep98");
  // The Clip TRV and MxRoad listings have menu patterns of other extensions (.rep, .mxr): a
  // .trv or .txt source is told by its format.
  m.Item("transverLandXML", "Exportar a LandXML...",
         "Formato Terrex (*.tra)|*.tra|Formato de CLIP (*.rep)|*.rep|Formato de CLIP TER(*.ter)|*.ter|"
         "Formato de ISTRAM(*.trm)|*.trm|Formato de MXROAD(*.mxr)|*.mxr|Formato de HTRAZADO(*.per)|*.per",
         "xml", "Transversales LandXML (*.xml)|*.xml", "", "Viaducto", Variant::ExportLandXmlBySource)
      .Converts({{F::kClipTerListing, "TER", "MyDll_traclip2landxml"},
                 {F::kClipTrv, "REP", "MyDll_tracliptrv2landxml"},
                 {F::kNativeCrossSections, "TRA", "MyDll_traterrex2landxml"},
                 {F::kIstramCrossSections, "TRM", "MyDll_traistram2landxml"},
                 {F::kHTrazadoCrossSections, "PER", "MyDll_trahtrazado2lamdxml"},
                 {F::kMxRoadCrossSections, "MXR", "MyDll_tramxroad2landxml"}},
                D::CrossSections, "landxml", F::kLandXml);
  m.Item("traGTS", "Exportar a St.Survey...", tra, "gts", "Rasante GTS (*.gts)|*.gts", "MyDll_zemta2gts", "Viaducto")
      .Converts({F::kNativeCrossSections}, D::CrossSections, "gts", F::kGtsCrossSections);
  m.Item("traTopSurv", "Exportar a TopSurv...", "Transversales Terrex (*.tra)|*.tra", "xst",
         "Transversales TopSurv (*.xst)|*.xst", "Calzada_Trazemta2Topsurv", "Calzada")
      .Converts({F::kNativeCrossSections}, D::CrossSections, "topsurv", F::kTopSurvSections);
  m.EndSubmenu();
  m.Separator("sep");

  m.Submenu("levantamiento", "Levantamiento");
  const char* const lea = "Levantamento Zemta (*.lea)|*.lea";
  const char* const odb = "Levantamiento Topcal (*.odb)|*.odb";
  m.Item("exportarLevTopcal", "Exportar a Topcal...", lea, "odb", odb, "MyDll_topoLea2Topcal", "Viaducto")
      .Converts({F::kNativeSurvey}, D::Survey, "topcal", F::kUnknown);
  m.Item("exportarLevTopcalCod", "Exportar a Topcal con Códigos...", lea, "odb", odb, "MyDll_topoLea2TopcalCod",
         "Viaducto")
      .Converts({F::kNativeSurvey}, D::Survey, "topcal-codigos", F::kUnknown);

  m.Menu("ayuda", "Ayuda");
  m.Item("acercade", "Acerca de Conversor Formatos", "", "", "", "", "", Variant::About);

  // The alignment listings that detection recognises and only their exports convert.
  m.WithoutMenu("Calzada_Eje_Importa_Plroad", "Importar eje de PL-Road", "Eje PL-Road (*.txt)|*.txt", "eje", eje,
                "Calzada");
  toEje({F::kPlRoadAlignment});
  m.WithoutMenu("Calzada_Eje_Importa_Asotec", "Importar eje de Asotec", "Eje Asotec (*.txt)|*.txt", "eje", eje,
                "Calzada");
  toEje({F::kAsotecAlignment});
  // The MxRoad string listing: Viaducto reads it into the GTS road file (the form of the file,
  // elements or intersections, from the settings file in the program's directory).
  m.WithoutMenu("MyDll_amxroad2gts", "Convertir eje de MxRoad (cadena) a GTS", "Eje MxRoad (*.txt)|*.txt", "gts",
                "Eje GTS (*.gts)|*.gts", "Viaducto", Variant::WithProgramDirectory)
      .Converts({F::kMxRoadStringListing}, D::Alignments, "gts", F::kGtsAlignment);
  // Coordinate systems and maps (Georref): native points and surfaces moved between systems
  // (--s_srs, --t_srs), and points, surfaces and alignments written as maps.
  const char* const punFilter = "Puntos (*.pun)|*.pun";
  const char* const supFilter = "Superficie (*.sup)|*.sup";
  m.WithoutMenu("Georref_Puntos_Transforma", "Transformar puntos a otro sistema de coordenadas", punFilter, "pun", punFilter,
                "Georref")
      .Converts({F::kNativePoints}, D::Points, "pun", F::kNativePoints);
  m.WithoutMenu("Georref_Sup_Transforma", "Transformar superficie a otro sistema de coordenadas", supFilter, "sup", supFilter,
                "Georref")
      .Converts({F::kNativeSurface}, D::Surfaces, "sup", F::kNativeSurface);
  struct MapTarget {
    const char* key;
    const char* name;
    const char* filter;
  };
  const MapTarget mapTargets[] = {{"geojson", "GeoJSON", "GeoJSON (*.geojson)|*.geojson"},
                                  {"kml", "KML", "KML (*.kml)|*.kml"},
                                  {"kmz", "KMZ", "KMZ (*.kmz)|*.kmz"},
                                  {"gpkg", "GeoPackage", "GeoPackage (*.gpkg)|*.gpkg"}};
  for (const MapTarget& map : mapTargets) {
    const std::string to = std::string(" a mapa ") + map.name;
    m.WithoutMenu("Georref_Puntos_Mapa", ("Puntos" + to).c_str(), punFilter, map.key, map.filter, "Georref")
        .Converts({F::kNativePoints}, D::Points, map.key, F::kUnknown);
    m.WithoutMenu("Georref_Sup_Mapa", ("Superficie" + to).c_str(), supFilter, map.key, map.filter, "Georref")
        .Converts({F::kNativeSurface}, D::Surfaces, map.key, F::kUnknown);
    m.WithoutMenu("Georref_Eje_Mapa", ("Eje" + to).c_str(), eje, map.key, map.filter, "Georref")
        .Converts({F::kNativeAlignment}, D::Alignments, map.key, F::kUnknown);
  }
  const char* const gpkg = "GeoPackage (*.gpkg)|*.gpkg";
  m.WithoutMenu("Georref_Rasante_Mapa", "Rasante a tabla GeoPackage", "Rasante (*.ras)|*.ras", "gpkg", gpkg, "Georref")
      .Converts({F::kNativeProfile}, D::Profiles, "gpkg", F::kUnknown);
  m.WithoutMenu("Georref_Transver_Mapa", "Transversales a tabla GeoPackage", "Transversales (*.tra)|*.tra", "gpkg", gpkg,
                "Georref")
      .Converts({F::kNativeCrossSections}, D::CrossSections, "gpkg", F::kUnknown);

  // The alignments of an IFC model, each with its profile, to one LandXML document.
  m.WithoutMenu("MyDll_aifc2LandXML", "Convertir ejes de IFC a LandXML", "Eje IFC (*.ifc)|*.ifc", "xml",
                "Eje LandXML (*.xml)|*.xml", "Viaducto")
      .Converts({F::kIfc}, D::Alignments, "landxml", F::kLandXml);

  Registry registry{m.TakeMenu(), m.TakeOthers(), {}};
  for (const std::vector<MenuCommand>* rows : {&registry.menu, &registry.withoutMenu}) {
    for (const MenuCommand& row : *rows) {
      if (!row.sources.empty()) registry.conversions.push_back(&row);
    }
  }
  return registry;
}

const Registry& TheRegistry() {
  static const Registry registry = BuildRegistry();
  return registry;
}

bool AnyLayerHolds(const detect::Contents& contents, const char* entity) {
  for (const detect::LayerSummary& layer : contents.layers) {
    const auto found = layer.entities.find(entity);
    if (found != layer.entities.end() && found->second > 0) return true;
  }
  return false;
}

// The LandXML cross-section sets of the surface layout are named "alignment: surface" (the
// entries the command chooses from); those given point by point bear the alignment's name.
bool AnySectionSet(const detect::Contents& contents, bool bySurface) {
  for (const detect::CrossSectionSummary& set : contents.crossSections) {
    if (set.sections > 0 && (set.name.find(": ") != std::string::npos) == bySurface) return true;
  }
  return false;
}

}  // namespace

const std::vector<MenuCommand>& CommandTable() { return TheRegistry().menu; }

const std::vector<const MenuCommand*>& Conversions() { return TheRegistry().conversions; }

const MenuCommand* FindCommand(const std::string& control) {
  for (const MenuCommand& command : CommandTable()) {
    if (command.kind == ItemKind::Command && command.control == control) return &command;
  }
  return nullptr;
}

std::vector<const MenuCommand*> ConversionsReading(detect::Format source) {
  std::vector<const MenuCommand*> found;
  for (const MenuCommand* conversion : Conversions()) {
    for (const SourceFormat& format : conversion->sources) {
      if (format.format == source) {
        found.push_back(conversion);
        break;
      }
    }
  }
  return found;
}

bool FormatHoldsSeveralKinds(detect::Format format) {
  return format == F::kLandXml || format == F::kDxf || format == F::kIfc;
}

bool HoldsDataFor(const MenuCommand& conversion, const detect::Contents& contents) {
  if (!contents.read || !FormatHoldsSeveralKinds(contents.detection.format)) return true;
  if (contents.detection.format == F::kDxf) {
    switch (conversion.reads) {
      case D::Points: return AnyLayerHolds(contents, "POINT");
      case D::Surfaces: return AnyLayerHolds(contents, "3DFACE");
      default: return true;
    }
  }
  switch (conversion.reads) {
    case D::Points: return contents.points > 0;
    case D::Alignments:
      return std::any_of(contents.alignments.begin(), contents.alignments.end(),
                         [](const detect::AlignmentSummary& a) { return a.elements > 0; });
    case D::Profiles:
      return std::any_of(contents.profiles.begin(), contents.profiles.end(),
                         [](const detect::ProfileSummary& p) { return p.vertices > 0; });
    case D::CrossSections: return AnySectionSet(contents, true);
    case D::CrossSectionPoints: return AnySectionSet(contents, false);
    case D::Surfaces:
      return std::any_of(contents.surfaces.begin(), contents.surfaces.end(),
                         [](const detect::SurfaceSummary& s) { return s.faces > 0; });
    default: return true;
  }
}

std::vector<const MenuCommand*> ConversionsFor(const detect::Contents& contents) {
  std::vector<const MenuCommand*> found;
  for (const MenuCommand* conversion : ConversionsReading(contents.detection.format)) {
    if (HoldsDataFor(*conversion, contents)) found.push_back(conversion);
  }
  return found;
}

std::string ExportFor(const MenuCommand& conversion, detect::Format format) {
  for (const SourceFormat& source : conversion.sources) {
    if (source.format == format && !source.exportName.empty()) return source.exportName;
  }
  return conversion.exportName;
}

std::vector<std::string> TargetKeysOf(detect::Format format) {
  std::vector<std::string> keys;
  for (const MenuCommand* conversion : ConversionsReading(format)) {
    if (std::find(keys.begin(), keys.end(), conversion->target) == keys.end()) keys.push_back(conversion->target);
  }
  return keys;
}

std::string TargetExtension(const MenuCommand& conversion) {
  if (!conversion.extension.empty()) return conversion.extension;
  const std::size_t dot = conversion.targetFilter.rfind("*.");
  return dot == std::string::npos ? std::string() : conversion.targetFilter.substr(dot + 2);
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
