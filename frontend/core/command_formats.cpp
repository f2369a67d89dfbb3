#include "frontend/core/command_formats.h"

namespace frontend {

using detect::Format;

const std::vector<CommandFormats>& CommandFormatTable() {
  static const std::vector<CommandFormats> table = {
      {"importarTopsurv", {Format::kTopSurvJob}, "pun"},
      {"scannerSacyr", {Format::kScannerPoints}, "escaner"},
      {"importarDXF", {Format::kDxf}, "pun"},
      {"importarShapeline", {Format::kShapefile}, "pun"},
      {"importarPuntosLandXML", {Format::kLandXml}, "pun"},
      {"importarEjeInroads", {Format::kInRoadsAlignment}, "eje"},
      {"importarEjeClip", {Format::kClipPlt}, "eje"},
      {"importaEjeCartomap", {Format::kCartomapAlignment}, "eje"},
      {"importarEjeIspol", {Format::kIspolAlignment}, "eje"},
      {"importarEjeLandXML", {Format::kLandXml}, "eje"},
      {"importarEjeIstram", {Format::kIstramAlignment}, "eje"},
      {"importarEjeMxRoad", {Format::kMxRoadAlignment}, "eje"},
      {"importarEjeMDW", {Format::kDragadosAlignment}, "eje"},
      {"importarEjeWTrazado", {Format::kWTrazadoAlignment}, "eje"},
      {"importarRasanteInroads", {Format::kInRoadsProfile}, "ras"},
      {"importarRasanteClip", {Format::kClipAlz}, "ras"},
      {"importaRasanteCartomap", {Format::kCartomapAlignment}, "ras"},
      {"importarRasanteLandXML", {Format::kLandXml}, "ras"},
      {"importarRasanteStSurvey", {Format::kGtsProfile}, "ras"},
      {"importarRasanteMxRoad", {Format::kMxRoadProfile}, "ras"},
      {"ImportarRasanteIspol", {Format::kIspolProfile}, "ras"},
      {"ImportarRasanteMDW", {Format::kDragadosProfile}, "ras"},
      {"ImportarRasanteWTrazado", {Format::kWTrazadoProfile}, "ras"},
      {"TraInRoads", {Format::kInRoadsSectionListing}, "tra"},
      {"TraInRoadshtml", {Format::kInRoadsSectionReport}, "tra"},
      {"importarTransversalesClipTrv", {Format::kClipTrv}, "tra"},
      {"ClipSeccionPlataforma", {Format::kClipSectionListing}, "tra"},
      {"ClipSeccionSubrasante", {Format::kClipSectionListing}, "tra-subrasante"},
      {"importarTransversalesIspolRes", {Format::kIspolCrossSections}, "tra"},
      {"importarTransversalesLandXML", {Format::kLandXml}, "tra"},
      {"importarTransversalesInroadsLandXML", {Format::kLandXml}, "tra-inroads"},
      {"importarTransversalesStSurvey", {Format::kGtsCrossSections}, "tra"},
      {"importarTransverCartomap", {Format::kCartomapSections, Format::kCartomapStationSections}, "tra"},
      {"importarTransverMXRoad", {Format::kMxRoadCrossSections, Format::kMxRoadSectionBlocks}, "tra"},
      {"interpolaTransver", {Format::kNativeCrossSections}, "tra-interpolado"},
      {"importarPeraltesClip", {Format::kClipSuperelevation}, "per"},
      {"importarPeraltesIspol", {Format::kIspolSuperelevation}, "per"},
      {"importarSuperficieLandXML", {Format::kLandXml}, "sup"},
      {"importarSuperficieCaras3D", {Format::kDxf}, "sup"},
      {"importarPuntos", {Format::kNativePoints}, "gts"},
      {"exportarPuntosDXF", {Format::kNativePoints}, "dxf"},
      {"ExportarShapeline", {Format::kNativePoints}, "shp"},
      {"exportarPuntosLandXML", {Format::kNativePoints}, "landxml"},
      {"ejeclip", {Format::kNativeAlignment}, "clip-plt"},
      {"ejeLandXML", {Format::kNativeAlignment, Format::kClipPlt, Format::kIstramAlignment, Format::kIstramElementList,
                      Format::kIspolAlignment, Format::kHTrazadoAlignment},
       "landxml"},
      {"ejeGTS", {Format::kNativeAlignment}, "gts"},
      {"rasClip", {Format::kNativeProfile}, "clip-alz"},
      {"rasIspol", {Format::kNativeProfile}, "ispol-rasante"},
      {"rasLandXML", {Format::kNativeProfile, Format::kIstramProfile}, "landxml"},
      {"rasGTS", {Format::kNativeProfile}, "gts"},
      {"transverClipTRV", {Format::kNativeCrossSections}, "clip-trv"},
      {"puntosTraClipTer", {Format::kNativePoints}, "clip-ter"},
      {"transverLandXML", {Format::kNativeCrossSections, Format::kClipTrv, Format::kClipTerListing,
                           Format::kIstramCrossSections, Format::kMxRoadCrossSections, Format::kHTrazadoCrossSections},
       "landxml"},
      {"traGTS", {Format::kNativeCrossSections}, "gts"},
      {"traTopSurv", {Format::kNativeCrossSections}, "topsurv"},
      {"exportarLevTopcal", {Format::kNativeSurvey}, "topcal"},
      {"exportarLevTopcalCod", {Format::kNativeSurvey}, "topcal-codigos"},
  };
  return table;
}

const CommandFormats* FormatsOfCommand(const std::string& control) {
  for (const CommandFormats& row : CommandFormatTable()) {
    if (control == row.control) return &row;
  }
  return nullptr;
}

std::vector<const MenuCommand*> CommandsReading(detect::Format source) {
  std::vector<const MenuCommand*> commands;
  for (const MenuCommand& command : CommandTable()) {
    const CommandFormats* row = FormatsOfCommand(command.control);
    if (row == nullptr) continue;
    for (detect::Format format : row->sources) {
      if (format == source) {
        commands.push_back(&command);
        break;
      }
    }
  }
  return commands;
}

std::vector<std::string> TargetKeys() {
  std::vector<std::string> keys;
  for (const CommandFormats& row : CommandFormatTable()) {
    bool seen = false;
    for (const std::string& key : keys) seen = seen || key == row.target;
    if (!seen) keys.emplace_back(row.target);
  }
  return keys;
}

}  // namespace frontend
