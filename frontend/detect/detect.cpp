#include "frontend/detect/detect.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "common/export_guard.h"
#include "common/file_kind.h"
#include "common/file_stream.h"
#include "common/paths.h"
#include "common/text_case.h"

namespace detect {
namespace {

constexpr std::size_t kHeadBytes = 64 * 1024;
// Lines looked at by the detectors of line layouts: enough to see the layout, never the whole
// of a large file.
constexpr int kLinesLooked = 60;

const std::vector<FormatInfo> kFormats = {
    {Format::kLandXml, "landxml", "LandXML", "xml"},
    {Format::kDxf, "dxf", "Dibujo DXF", "dxf"},
    {Format::kBinaryDxf, "dxf-binario", "DXF binario", "dxf"},
    {Format::kShapefile, "shp", "Shapefile de puntos", "shp"},
    {Format::kShapefileIndex, "shx", "Índice de shapefile (.shx)", "shx"},
    {Format::kDbase, "dbf", "Tabla dBASE", "dbf"},
    {Format::kRtf, "rtf", "Informe RTF de secciones Clip", "rtf rep"},
    {Format::kTopSurvJob, "topsurv", "Base de datos de trabajo TopSurv (Jet)", "mdb"},
    {Format::kNativeAlignment, "eje", "Eje nativo", "eje"},
    {Format::kNativeProfile, "ras", "Rasante nativa", "ras"},
    {Format::kNativeCrossSections, "tra", "Transversales nativas", "tra"},
    {Format::kNativePoints, "pun", "Puntos nativos", "pun"},
    {Format::kNativeSuperelevation, "per", "Peraltes nativos", "per"},
    {Format::kNativeSurvey, "lea", "Levantamiento nativo", "lea"},
    {Format::kNativeSurface, "sup", "Superficie nativa", "sup"},
    {Format::kGtsAlignment, "gts-eje", "Eje GTS", "gts"},
    {Format::kGtsProfile, "gts-rasante", "Rasante GTS", "gts"},
    {Format::kGtsCrossSections, "gts-transversales", "Transversales GTS", "gts"},
    {Format::kClipPlt, "clip-plt", "Eje Clip PLT", "plt txt"},
    {Format::kClipAlz, "clip-alz", "Rasante Clip ALZ", "alz txt"},
    {Format::kClipTrv, "clip-trv", "Transversales Clip TRV", "trv"},
    {Format::kClipTer, "clip-ter", "Transversales Clip TER", "ter"},
    {Format::kClipSectionListing, "clip-listado", "Listado de secciones Clip (plataforma, subrasante)", "txt"},
    {Format::kClipTerListing, "clip-ter-listado", "Listado de secciones transversales Clip", "ter"},
    {Format::kIspolAlignment, "ispol-eje", "Eje Ispol", "txt res"},
    {Format::kIspolProfile, "ispol-rasante", "Rasante Ispol", "txt res"},
    {Format::kIspolCrossSections, "ispol-transversales", "Transversales Ispol", "res"},
    {Format::kIspolSuperelevation, "ispol-peraltes", "Peraltes Ispol", "txt"},
    {Format::kClipSuperelevation, "clip-peraltes", "Peraltes Clip", "txt"},
    {Format::kDragadosAlignment, "dragados-eje", "Eje Dragados (MDW)", "txt"},
    {Format::kDragadosProfile, "dragados-rasante", "Rasante Dragados (MDW)", "txt"},
    {Format::kDragadosSections, "dragados-transversales", "Transversales Dragados (MDW)", "txt"},
    {Format::kPlRoadAlignment, "plroad-eje", "Eje PL-Road", "txt"},
    {Format::kTopcalReadings, "topcal-lecturas", "Lecturas de observación para Topcal", "txt"},
    {Format::kIstramAlignment, "istram-eje", "Eje Istram", "asc"},
    {Format::kIstramElementList, "istram-listado", "Listado de elementos de eje Istram", "txt"},
    {Format::kIstramProfile, "istram-rasante", "Rasante Istram", "txt"},
    {Format::kIstramCrossSections, "istram-transversales", "Transversales Istram", "trm txt"},
    {Format::kMxRoadAlignment, "mxroad-eje", "Eje MxRoad", "txt"},
    {Format::kMxRoadStringListing, "mxroad-cadena", "Eje MxRoad (listado de cadena)", "txt"},
    {Format::kMxRoadProfile, "mxroad-rasante", "Rasante MxRoad", "txt"},
    {Format::kMxRoadCrossSections, "mxroad-transversales", "Transversales MxRoad", "mxr txt"},
    {Format::kMxRoadNumberedSections, "mxroad-secciones", "Transversales MxRoad (puntos numerados)", "txt"},
    {Format::kMxRoadSectionBlocks, "mxroad-bloques", "Transversales MxRoad por bloques", "txt"},
    {Format::kInRoadsAlignment, "inroads-eje", "Eje InRoads", "txt"},
    {Format::kInRoadsProfile, "inroads-rasante", "Rasante InRoads", "txt"},
    {Format::kInRoadsSectionReport, "inroads-informe", "Informe de secciones InRoads", "txt"},
    {Format::kInRoadsSectionListing, "inroads-transversales", "Listado de secciones InRoads", "soe"},
    {Format::kWTrazadoAlignment, "wtrazado-eje", "Eje WTrazado", "txt"},
    {Format::kWTrazadoProfile, "wtrazado-rasante", "Rasante WTrazado", "txt"},
    {Format::kHTrazadoAlignment, "htrazado-eje", "Eje HTrazado", "res"},
    {Format::kHTrazadoCrossSections, "htrazado-transversales", "Transversales HTrazado", "per txt"},
    {Format::kCartomapAlignment, "cartomap-eje", "Eje Cartomap", "txt"},
    {Format::kCartomapSections, "cartomap-transversales", "Transversales Cartomap (distancias)", "txt"},
    {Format::kCartomapStationSections, "cartomap-pk", "Transversales Cartomap (PK)", "txt"},
    {Format::kTopSurvSections, "topsurv-transversales", "Transversales TopSurv", "xst"},
    {Format::kRoboticReadings, "gts800-lecturas", "Lecturas de estación robotizada GTS-800", "txt"},
    {Format::kRoboticPoints, "gts800-puntos", "Puntos conocidos de estación robotizada GTS-800", "txt"},
    {Format::kLevelRecords, "dl100", "Registros de nivel digital DL-100", "txt"},
    {Format::kAsotecAlignment, "asotec-eje", "Eje Asotec", "txt"},
    {Format::kScannerPoints, "escaner", "Puntos de escáner Sacyr", "txt"},
    {Format::kIfc, "ifc", "Modelo IFC", "ifc"},
    {Format::kXml, "xml", "Documento XML (no LandXML)", "xml"},
    {Format::kHtml, "html", "Página HTML", "html htm"},
    {Format::kBinary, "binario", "Fichero binario", ""},
    {Format::kEmpty, "vacio", "Fichero vacío", ""},
    {Format::kMissing, "ilegible", "Fichero que no se puede leer", ""},
    {Format::kUnknown, "desconocido", "Formato desconocido", ""},
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && common::EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  return common::LowerAscii(text).find(common::LowerAscii(word)) != std::string::npos;
}

// The first lines of the head that hold something (the last one dropped when the head cut it).
std::vector<std::string_view> FirstLines(std::string_view head, bool headIsWhole, int limit = kLinesLooked) {
  std::vector<std::string_view> lines;
  std::size_t position = 0;
  while (position < head.size() && static_cast<int>(lines.size()) < limit) {
    std::size_t end = head.find('\n', position);
    if (end == std::string_view::npos) {
      if (!headIsWhole) break;
      end = head.size();
    }
    const std::string_view line = Trim(head.substr(position, end - position));
    if (!line.empty()) lines.push_back(line);
    position = end + 1;
  }
  return lines;
}

std::vector<std::string_view> Fields(std::string_view line, std::string_view separators) {
  std::vector<std::string_view> fields;
  std::size_t position = 0;
  while (position < line.size()) {
    const std::size_t start = line.find_first_not_of(separators, position);
    if (start == std::string_view::npos) break;
    std::size_t end = line.find_first_of(separators, start);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(start, end - start));
    position = end;
  }
  return fields;
}

bool IsNumber(std::string_view field) {
  if (field.empty() || field.size() > 40) return false;
  char text[41];
  std::memcpy(text, field.data(), field.size());
  text[field.size()] = '\0';
  char* end = nullptr;
  std::strtod(text, &end);
  return end != text && *end == '\0' &&
         (std::isdigit(static_cast<unsigned char>(field.back())) != 0 || field.back() == '.');
}

bool IsInteger(std::string_view field) {
  if (field.empty()) return false;
  std::size_t i = field[0] == '-' || field[0] == '+' ? 1 : 0;
  if (i == field.size()) return false;
  for (; i < field.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(field[i]))) return false;
  }
  return true;
}

// Every line of `lines` (at least one) is accepted by `fits`.
template <typename Fits>
bool AllLinesFit(const std::vector<std::string_view>& lines, Fits&& fits) {
  if (lines.empty()) return false;
  for (std::string_view line : lines) {
    if (!fits(line)) return false;
  }
  return true;
}

// Lines of `count` numbers separated by blanks or tabs.
bool NumberColumns(std::string_view line, std::size_t count) {
  std::size_t fields = 0;
  for (std::size_t position = line.find_first_not_of(" \t"); position != std::string_view::npos;
       position = line.find_first_not_of(" \t", position)) {
    std::size_t end = line.find_first_of(" \t", position);
    if (end == std::string_view::npos) end = line.size();
    if (++fields > count || !IsNumber(line.substr(position, end - position))) return false;
    position = end;
  }
  return fields == count;
}

// The keyword listings: what their first line (or the lines near the top) say.
struct Signature {
  Format format;
  bool (*fits)(const std::vector<std::string_view>& lines);
};

bool FirstLineStarts(const std::vector<std::string_view>& lines, std::string_view prefix) {
  return !lines.empty() && StartsWithNoCase(lines[0], prefix);
}

bool FirstLineHolds(const std::vector<std::string_view>& lines, std::string_view a, std::string_view b = {}) {
  return !lines.empty() && ContainsNoCase(lines[0], a) && (b.empty() || ContainsNoCase(lines[0], b));
}

bool SecondLineStarts(const std::vector<std::string_view>& lines, std::string_view prefix) {
  return lines.size() > 1 && StartsWithNoCase(lines[1], prefix);
}

const Signature kSignatures[] = {
    {Format::kClipPlt, [](const auto& l) { return FirstLineStarts(l, "*PLT"); }},
    {Format::kClipAlz, [](const auto& l) { return FirstLineStarts(l, "*ALZ"); }},
    {Format::kClipTrv, [](const auto& l) { return FirstLineStarts(l, "*TRV"); }},
    {Format::kClipTer, [](const auto& l) { return FirstLineStarts(l, "*TER"); }},
    {Format::kClipTerListing,
     [](const auto& l) { return FirstLineHolds(l, "CLIP", "LISTADO DE SECCIONES TRANSVERSALES"); }},
    {Format::kClipSectionListing,
     [](const auto& l) { return FirstLineHolds(l, "CLIP", "LISTADO DE SECCIONES"); }},
    {Format::kIspolCrossSections, [](const auto& l) { return FirstLineHolds(l, "ISPOL", "PERFILES TRANSVERSALES"); }},
    {Format::kIspolAlignment, [](const auto& l) { return FirstLineHolds(l, "ISPOL", "EJE EN PLANTA"); }},
    {Format::kIspolProfile, [](const auto& l) { return FirstLineHolds(l, "ISPOL", "RASANTE"); }},
    {Format::kIspolSuperelevation, [](const auto& l) { return FirstLineStarts(l, "PERALTES"); }},
    {Format::kIstramAlignment, [](const auto& l) { return FirstLineStarts(l, "LISTADO DE EJE EN PLANTA"); }},
    {Format::kIstramElementList, [](const auto& l) { return FirstLineStarts(l, "LISTADO DE ELEMENTOS"); }},
    {Format::kIstramProfile, [](const auto& l) { return FirstLineHolds(l, "ISTRAM", "RASANTE"); }},
    // Two alignment listings: the element table Calzada imports, and the string listing of
    // points Viaducto reads.
    {Format::kMxRoadAlignment, [](const auto& l) { return FirstLineHolds(l, "MXROAD", "ELEMENTOS DEL EJE"); }},
    {Format::kMxRoadStringListing, [](const auto& l) { return FirstLineHolds(l, "MXROAD", "ALIGNMENT"); }},
    {Format::kMxRoadProfile, [](const auto& l) { return FirstLineHolds(l, "MXROAD", "RASANTE"); }},
    // Two section listings: station and count followed by pairs (both libraries read it), and
    // numbered points under "P.K." lines (Calzada's import only).
    {Format::kMxRoadCrossSections, [](const auto& l) { return FirstLineHolds(l, "MXROAD", "CROSS SECTIONS"); }},
    {Format::kMxRoadNumberedSections, [](const auto& l) { return FirstLineHolds(l, "MXROAD", "SECCIONES"); }},
    {Format::kMxRoadSectionBlocks, [](const auto& l) { return FirstLineStarts(l, "SECCIONES "); }},
    {Format::kInRoadsAlignment, [](const auto& l) { return SecondLineStarts(l, "{ TYPE STATION RADIUS"); }},
    {Format::kInRoadsProfile, [](const auto& l) { return SecondLineStarts(l, "{ TYPE STATION ELEVATION"); }},
    {Format::kInRoadsSectionReport, [](const auto& l) { return FirstLineHolds(l, "Estacion", "Desplaz"); }},
    {Format::kInRoadsSectionListing,
     [](const auto& l) {
       return !l.empty() && l[0].size() > 2 && l[0][0] == '*' && std::isdigit(static_cast<unsigned char>(l[0][1])) &&
              l[0].find('+') != std::string_view::npos;
     }},
    {Format::kWTrazadoAlignment, [](const auto& l) { return FirstLineHolds(l, "WTRAZADO", "ALINEACIONES"); }},
    {Format::kWTrazadoProfile, [](const auto& l) { return FirstLineHolds(l, "WTRAZADO", "RASANTE"); }},
    {Format::kCartomapAlignment,
     [](const auto& l) { return FirstLineStarts(l, "EJE ") && SecondLineStarts(l, "PK\tX\tY"); }},
    {Format::kCartomapSections, [](const auto& l) { return FirstLineHolds(l, "Perfiles transversales", "Distancia"); }},
    {Format::kCartomapStationSections, [](const auto& l) { return FirstLineStarts(l, "\"PK\","); }},
    {Format::kHTrazadoCrossSections,
     [](const auto& l) { return FirstLineStarts(l, "PK ") && l.size() > 1 && l[1].find(',') != std::string_view::npos; }},
    {Format::kRoboticReadings, [](const auto& l) { return FirstLineStarts(l, "JOB ") && SecondLineStarts(l, "DATE "); }},
    {Format::kLevelRecords, [](const auto& l) { return FirstLineStarts(l, "c,") && ContainsNoCase(l[0], "DL"); }},
    {Format::kGtsAlignment, [](const auto& l) { return FirstLineStarts(l, "START "); }},
    {Format::kIstramCrossSections,
     [](const auto& l) {
       // A section header of six numbers (count, number, ..., station, ...) then five integers.
       if (l.size() < 3 || !NumberColumns(l[0], 6) || !NumberColumns(l[1], 5)) return false;
       const std::vector<std::string_view> head = Fields(l[0], " \t");
       const std::vector<std::string_view> codes = Fields(l[1], " \t");
       for (std::string_view code : codes) {
         if (!IsInteger(code)) return false;
       }
       return IsInteger(head[0]) && IsInteger(head[1]);
     }},
};

// The layouts of plain number lines, which only their columns tell apart.
struct ColumnLayout {
  Format format;
  bool (*fits)(std::string_view line);
  bool (*firstLineFits)(std::string_view line);  // a header line the layout allows; null: none
};

bool NativePointLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, " \t");
  return f.size() >= 4 && IsInteger(f[0]) && IsNumber(f[1]) && IsNumber(f[2]) && IsNumber(f[3]);
}

bool NativeSectionLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, " \t");
  return (f.size() == 3 || f.size() == 4) && IsNumber(f[0]) && IsNumber(f[1]) && IsNumber(f[2]);
}

bool NativeSurveyLine(std::string_view line) {
  return line.size() > 2 && (line[0] == 'S' || line[0] == 'E' || line[0] == 'P') && line[1] == ' ';
}

bool CommaNumbers(std::string_view line, std::size_t count, bool codeAfter) {
  const std::vector<std::string_view> f = Fields(line, ",");
  if (f.size() != count + (codeAfter ? 1 : 0)) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsNumber(Trim(f[i]))) return false;
  }
  return true;
}

bool TopSurvSectionLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, ",");
  if (f.size() != 4) return false;
  const std::string_view station = f[0];
  const std::size_t dash = station.rfind('-');
  return dash != std::string_view::npos && dash > 0 && IsNumber(station.substr(0, dash)) && IsNumber(f[2]) &&
         IsNumber(f[3]);
}

bool RoboticPointLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, ",");
  return f.size() == 4 && !IsNumber(f[0]) && IsNumber(f[1]) && IsNumber(f[2]) && IsNumber(f[3]);
}

bool HTrazadoAlignmentHeader(std::string_view line) { return NumberColumns(line, 2); }

// Tab-separated numbers, the first one an integer (the record number of the Dragados listings).
bool NumberedTabColumns(std::string_view line, std::size_t count) {
  if (line.find('\t') == std::string_view::npos) return false;
  const std::vector<std::string_view> f = Fields(line, " \t");
  return f.size() == count && IsInteger(f[0]) && NumberColumns(line, count);
}

// A station alone on its line, then offset and elevation pairs.
bool StationOrPairLine(std::string_view line) { return NumberColumns(line, 1) || NumberColumns(line, 2); }

bool TabSixNumbers(std::string_view line) { return line.find('\t') != std::string_view::npos && NumberColumns(line, 6); }

bool ClipSuperelevationLine(std::string_view line) { return CommaNumbers(line, 2, false) || CommaNumbers(line, 3, false); }

// Set-up, point, then five readings and heights and an optional code; separated by commas or
// blanks; the set-up is a name.
bool TopcalReadingLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, ", \t");
  if (f.size() != 7 && f.size() != 8) return false;
  if (IsNumber(f[0])) return false;
  for (std::size_t i = 2; i < 7; ++i) {
    if (!IsNumber(f[i])) return false;
  }
  return true;
}

bool AsotecLine(std::string_view line) {
  const std::vector<std::string_view> f = Fields(line, " \t");
  return f.size() >= 5 && IsNumber(f[0]) && (f[1] == "LIN" || f[1] == "SPI" || f[1] == "CIR" || f[1] == "ARC") &&
         IsNumber(f[2]) && IsNumber(f[3]);
}

// The listing opens with a comma-separated reading (a blank-separated table of seven columns
// is also what the Topcal report looks like).
bool CommaTopcalReadingLine(std::string_view line) {
  return line.find(',') != std::string_view::npos && TopcalReadingLine(line);
}

const ColumnLayout kColumnLayouts[] = {
    {Format::kDragadosAlignment, [](std::string_view l) { return NumberedTabColumns(l, 7); }, nullptr},
    {Format::kDragadosProfile, [](std::string_view l) { return NumberedTabColumns(l, 5); }, nullptr},
    {Format::kDragadosSections, StationOrPairLine, nullptr},
    {Format::kPlRoadAlignment, TabSixNumbers, HTrazadoAlignmentHeader},
    {Format::kTopcalReadings, TopcalReadingLine, CommaTopcalReadingLine},
    {Format::kNativeAlignment, [](std::string_view l) { return NumberColumns(l, 6); }, nullptr},
    {Format::kScannerPoints, [](std::string_view l) { return NumberColumns(l, 6); }, nullptr},
    {Format::kNativeProfile, [](std::string_view l) { return NumberColumns(l, 5); }, nullptr},
    {Format::kNativePoints, NativePointLine, nullptr},
    {Format::kNativeCrossSections, NativeSectionLine, nullptr},
    {Format::kNativeSuperelevation, [](std::string_view l) { return NumberColumns(l, 3); }, nullptr},
    {Format::kNativeSurvey, NativeSurveyLine, nullptr},
    {Format::kGtsProfile, [](std::string_view l) { return CommaNumbers(l, 3, false); }, nullptr},
    {Format::kGtsCrossSections,
     [](std::string_view l) { return CommaNumbers(l, 3, true) || CommaNumbers(l, 3, false); }, nullptr},
    {Format::kClipSuperelevation, ClipSuperelevationLine, nullptr},
    {Format::kTopSurvSections, TopSurvSectionLine, nullptr},
    {Format::kRoboticPoints, RoboticPointLine, nullptr},
    {Format::kHTrazadoAlignment, [](std::string_view l) { return CommaNumbers(l, 6, false); }, HTrazadoAlignmentHeader},
    {Format::kAsotecAlignment, AsotecLine, nullptr},
};

bool ExtensionFits(Format format, const std::string& extension) {
  if (extension.empty()) return false;
  const std::vector<std::string_view> extensions = Fields(InfoOf(format).extensions, " ");
  for (std::string_view candidate : extensions) {
    if (candidate == extension) return true;
  }
  return false;
}

// The layouts the text fits; the one whose usual extension is the file's comes first.
Detection DetectText(std::string_view head, bool headIsWhole, const std::string& extension) {
  Detection detection;
  const std::vector<std::string_view> lines = FirstLines(head, headIsWhole);
  for (const Signature& signature : kSignatures) {
    if (signature.fits(lines)) {
      detection.format = signature.format;
      return detection;
    }
  }
  std::vector<Format> fitting;
  for (const ColumnLayout& layout : kColumnLayouts) {
    std::vector<std::string_view> body = lines;
    if (layout.firstLineFits != nullptr) {
      if (body.empty() || !layout.firstLineFits(body.front())) continue;
      body.erase(body.begin());
    }
    if (AllLinesFit(body, layout.fits)) fitting.push_back(layout.format);
  }
  const auto drop = [&fitting](Format format) {
    for (std::size_t i = 0; i < fitting.size(); ++i) {
      if (fitting[i] == format) {
        fitting.erase(fitting.begin() + static_cast<std::ptrdiff_t>(i));
        return;
      }
    }
  };
  // A profile has one line per station, a cross section many points at one station.
  bool stationRepeats = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string_view> previous = Fields(lines[i - 1], ", \t");
    const std::vector<std::string_view> current = Fields(lines[i], ", \t");
    stationRepeats = stationRepeats || (!previous.empty() && !current.empty() && current.front() == previous.front());
  }
  drop(stationRepeats ? Format::kGtsProfile : Format::kGtsCrossSections);
  if (stationRepeats) drop(Format::kClipSuperelevation);
  // The Dragados sections alternate stations alone and pairs; lines of one kind are not them.
  bool single = false;
  bool pair = false;
  for (std::string_view line : lines) {
    single = single || NumberColumns(line, 1);
    pair = pair || NumberColumns(line, 2);
  }
  if (!single || !pair) drop(Format::kDragadosSections);
  if (fitting.empty()) return detection;
  detection.format = fitting.front();
  for (Format format : fitting) {
    if (ExtensionFits(format, extension)) {
      detection.format = format;
      break;
    }
  }
  if (fitting.size() > 1) detection.possible = fitting;
  return detection;
}

bool IsNativeSurface(std::string_view head) {
  return head.size() >= 208 && head.substr(4, 4) == std::string_view("SUP\0", 4) &&
         static_cast<unsigned char>(head[0]) == 208 && head[1] == 0 && head[2] == 0 && head[3] == 0;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A shapefile is the .shp with its .shx and .dbf beside it.
std::string MissingShapefileParts(const std::string& path) {
  std::string missing;
  for (const char* part : {"shx", "dbf"}) {
    const std::string lower = common::ChangeExtension(path, part);
    std::string upper = part;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!FileExists(lower) && !FileExists(common::ChangeExtension(path, upper))) {
      missing += missing.empty() ? "" : " y ";
      missing += std::string(".") + part;
    }
  }
  return missing;
}

// An IFC model: the STEP physical file's first keyword, then an IFC schema in its header.
bool IsIfc(std::string_view head) {
  std::size_t start = 0;
  if (head.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
  while (start < head.size() && (head[start] == ' ' || head[start] == '\r' || head[start] == '\n' || head[start] == '\t')) ++start;
  if (head.compare(start, 13, "ISO-10303-21;") != 0) return false;
  const std::size_t schema = head.find("FILE_SCHEMA");
  if (schema == std::string_view::npos) return false;
  const std::size_t end = head.find(';', schema);
  return ContainsNoCase(head.substr(schema, end == std::string_view::npos ? std::string_view::npos : end - schema), "'IFC");
}

}  // namespace

const std::vector<FormatInfo>& Formats() { return kFormats; }

const FormatInfo& InfoOf(Format format) {
  for (const FormatInfo& info : kFormats) {
    if (info.format == format) return info;
  }
  return kFormats.back();
}

const FormatInfo* FindFormat(std::string_view key) {
  for (const FormatInfo& info : kFormats) {
    if (common::EqualsIgnoringCase(info.key, key)) return &info;
  }
  return nullptr;
}

Detection DetectContent(std::string_view head, const std::string& path) {
  // Numbers are read in the "C" locale, whatever the program's locale is (the desktop runs under es_ES).
  const common::CLocaleScope cLocale;
  // Bytes past the head are not looked at, whoever holds them (a whole file in memory).
  head = head.substr(0, kHeadBytes);
  const bool headIsWhole = head.size() < kHeadBytes;
  std::string extension = common::SplitPath(path).extension;
  if (!extension.empty()) extension = common::LowerAscii(extension.substr(1));
  Detection detection;
  switch (common::SniffFileKind(head)) {
    case common::FileKind::kEmpty: detection.format = Format::kEmpty; break;
    case common::FileKind::kLandXml: detection.format = Format::kLandXml; break;
    case common::FileKind::kXml: detection.format = Format::kXml; break;
    case common::FileKind::kHtml: detection.format = Format::kHtml; break;
    case common::FileKind::kDxf: detection.format = Format::kDxf; break;
    case common::FileKind::kBinaryDxf:
      detection.format = Format::kBinaryDxf;
      detection.note = "los dibujos DXF binarios no se leen: guárdelo como DXF de texto (ASCII)";
      break;
    case common::FileKind::kRtf: detection.format = Format::kRtf; break;
    case common::FileKind::kShapefile: {
      if (extension == "shx") {
        detection.format = Format::kShapefileIndex;
        break;
      }
      detection.format = Format::kShapefile;
      const std::string missing = MissingShapefileParts(path);
      if (!missing.empty()) detection.note = "falta " + missing + " junto al .shp";
      break;
    }
    case common::FileKind::kDbase: detection.format = Format::kDbase; break;
    case common::FileKind::kJet: detection.format = Format::kTopSurvJob; break;
    case common::FileKind::kBinary:
      detection.format = IsNativeSurface(head) ? Format::kNativeSurface : Format::kBinary;
      break;
    case common::FileKind::kText:
      detection = IsIfc(head) ? Detection{Format::kIfc, {}, {}} : DetectText(head, headIsWhole, extension);
      break;
  }
  return detection;
}

Detection DetectFile(const std::string& path) {
  // Numbers are read in the "C" locale, whatever the program's locale is (the desktop runs under es_ES).
  const common::CLocaleScope cLocale;
  Detection detection;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    detection.format = Format::kMissing;
    detection.note = errno == ENOENT ? "No existe el fichero " + path : "No se puede leer el fichero " + path;
    return detection;
  }
  if (!S_ISREG(info.st_mode)) {
    detection.format = Format::kMissing;
    detection.note = "No es un fichero normal: " + path;
    return detection;
  }
  // A file held open by its reading (see ReadContents) is read through that opening.
  const int held = common::DuplicateHeldSource(path);
  if (held >= 0) {
    std::string head(kHeadBytes, '\0');
    std::size_t got = 0;
    while (got < head.size()) {
      const ssize_t more = ::pread(held, &head[got], head.size() - got, static_cast<off_t>(got));
      if (more < 0 && errno == EINTR) continue;
      if (more <= 0) break;
      got += static_cast<std::size_t>(more);
    }
    ::close(held);
    head.resize(got);
    return DetectContent(head, path);
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    detection.format = Format::kMissing;
    detection.note = "No se puede leer el fichero " + path + ": " + std::strerror(errno);
    return detection;
  }
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  return DetectContent(head, path);
}

std::string DescribeDetection(const Detection& detection) {
  if (detection.possible.size() < 2) return InfoOf(detection.format).name;
  std::string text = InfoOf(detection.format).name;
  text += " (también podría ser: ";
  bool first = true;
  for (Format format : detection.possible) {
    if (format == detection.format) continue;
    if (!first) text += ", ";
    text += InfoOf(format).name;
    first = false;
  }
  return text + ")";
}

}  // namespace detect
