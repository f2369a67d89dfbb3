// What a file is: told from its content first and its extension second. Each format has a
// small detector; where two layouts cannot be told apart by their content, every possible one
// is named and the extension chooses between them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace detect {

enum class Format {
  kUnknown,
  kMissing,            // the file cannot be read
  kEmpty,
  kLandXml,
  kXml,                // an XML document that is not LandXML
  kHtml,
  kDxf,
  kBinaryDxf,
  kShapefile,
  kShapefileIndex,     // the .shx beside a shapefile
  kDbase,
  kRtf,
  kTopSurvJob,         // Jet job database
  kBinary,
  kNativeAlignment,    // .eje
  kNativeProfile,      // .ras
  kNativeCrossSections,  // .tra
  kNativePoints,       // .pun
  kNativeSuperelevation,  // .per
  kNativeSurvey,       // .lea
  kNativeSurface,      // .sup
  kGtsAlignment,
  kGtsProfile,
  kGtsCrossSections,
  kClipPlt,
  kClipAlz,
  kClipTrv,
  kClipTer,
  kClipSectionListing,  // the platform and subgrade listings
  kClipTerListing,      // the cross-section listing of .ter files
  kIspolAlignment,
  kIspolProfile,
  kIspolCrossSections,
  kIspolSuperelevation,
  kClipSuperelevation,
  kDragadosAlignment,
  kDragadosProfile,
  kDragadosSections,
  kPlRoadAlignment,
  kTopcalReadings,
  kIstramAlignment,
  kIstramElementList,
  kIstramProfile,
  kIstramCrossSections,
  kMxRoadAlignment,
  kMxRoadStringListing,
  kMxRoadProfile,
  kMxRoadCrossSections,
  kMxRoadNumberedSections,
  kMxRoadSectionBlocks,
  kInRoadsAlignment,
  kInRoadsProfile,
  kInRoadsSectionReport,
  kInRoadsSectionListing,
  kWTrazadoAlignment,
  kWTrazadoProfile,
  kHTrazadoAlignment,
  kHTrazadoCrossSections,
  kCartomapAlignment,
  kCartomapSections,
  kCartomapStationSections,
  kTopSurvSections,
  kRoboticReadings,    // GTS-800 readings
  kRoboticPoints,      // GTS-800 known points
  kLevelRecords,       // DL-100 records
  kAsotecAlignment,
  kScannerPoints,
  kIfc,                // IFC model (STEP physical file)
};

struct FormatInfo {
  Format format;
  const char* key;          // short name for the command line: "eje", "landxml", "clip-trv"
  const char* name;         // Spanish: "Eje nativo (.eje)"
  const char* extensions;   // the usual extensions, blank-separated, lower case
};

// Every format, in a fixed order (the table of `formats`).
const std::vector<FormatInfo>& Formats();
const FormatInfo& InfoOf(Format format);
// The format whose key is `key` (any case); null when none.
const FormatInfo* FindFormat(std::string_view key);

struct Detection {
  Format format = Format::kUnknown;
  // Every layout the content fits, when more than one does (the chosen one included).
  std::vector<Format> possible;
  // Why a file cannot be read ("No existe el fichero X") or a remark on it ("falta el .shx").
  std::string note;
};

// Detects the file at `path` from its first bytes and its extension.
Detection DetectFile(const std::string& path);

// The same from the first bytes of a file (up to 64 KB are looked at, any more are left) and
// its name.
Detection DetectContent(std::string_view head, const std::string& path);

// "Eje nativo (.eje)", or "Rasante GTS o peraltes Clip (posibles)" when ambiguous.
std::string DescribeDetection(const Detection& detection);

}  // namespace detect
