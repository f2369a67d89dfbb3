#include "formats/ifc/ifc_conversions.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string_view>

#include "common/conversion.h"
#include "common/outcome.h"
#include "common/paths.h"
#include "common/text_output.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_coordinate_system.h"
#include "formats/landxml/landxml_profile.h"
#include "formats/landxml/landxml_writer.h"
#include "formats/landxml/xml_reader.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_profile.h"

namespace ifc {
namespace {

constexpr common::ConversionRule kNativeSource{"un fichero de ejes", "ningún eje"};
constexpr common::ConversionRule kProfileSource{"un fichero de rasantes", "ninguna rasante"};
constexpr common::ConversionRule kIfcSource{"un fichero IFC", "ningún eje"};

WriteOptions OptionsFor(const std::string& salida, const std::string& crs) {
  WriteOptions options;
  options.fileName = common::SplitPath(salida).name;
  const std::time_t now = std::time(nullptr);
  std::tm when{};
  gmtime_r(&now, &when);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &when);
  options.timeStamp = stamp;
  options.unixTime = static_cast<long long>(now);
  options.crs = crs;
  return options;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

// The profile inside its alignment: the first and last vertex as PVI, the others as
// ParaCurve (or CircCurve for a circle) with the curve's length.
std::string ProfileElement(const std::string& name, const common::Profile& profile, const AlignmentLayouts& layouts) {
  std::string out = "<Profile name=\"" + XmlEscape(name) + "\"><ProfAlign name=\"" + XmlEscape(name) + "\">";
  std::vector<bool> circular;
  for (const VerticalSegment& s : layouts.vertical) {
    if (s.length > 0 && s.type != VerticalType::kConstantGradient) circular.push_back(s.type == VerticalType::kCircularArc);
  }
  std::size_t curve = 0;
  char text[160];
  for (std::size_t i = 0; i < profile.size(); ++i) {
    const common::ProfileVertex& v = profile[i];
    const bool end = i == 0 || i + 1 == profile.size() || v.tangent <= 0;
    if (end) {
      std::snprintf(text, sizeof text, "<PVI>%0.6lf %0.6lf</PVI>", v.station, v.elevation);
    } else {
      const bool circle = curve < circular.size() && circular[curve];
      ++curve;
      if (circle) {
        std::snprintf(text, sizeof text, "<CircCurve length=\"%0.6lf\" radius=\"%0.6lf\">%0.6lf %0.6lf</CircCurve>",
                      2 * v.tangent, std::fabs(v.kv), v.station, v.elevation);
      } else {
        std::snprintf(text, sizeof text, "<ParaCurve length=\"%0.6lf\">%0.6lf %0.6lf</ParaCurve>", 2 * v.tangent,
                      v.station, v.elevation);
      }
    }
    out += text;
  }
  return out + "</ProfAlign></Profile>";
}

// The station equations of the alignment, each at its running station.
std::string StationEquationElements(const AlignmentLayouts& layouts) {
  std::string out;
  char text[200];
  for (const StationEquation& q : layouts.equations) {
    if (q.hasIncoming) {
      std::snprintf(text, sizeof text, "<StaEquation staAhead=\"%0.6lf\" staBack=\"%0.6lf\" staInternal=\"%0.6lf\"/>",
                    q.station, q.incoming, layouts.startStation + q.distAlong);
    } else {
      std::snprintf(text, sizeof text, "<StaEquation staAhead=\"%0.6lf\" staInternal=\"%0.6lf\"/>", q.station,
                    layouts.startStation + q.distAlong);
    }
    out += text;
  }
  return out;
}

}  // namespace

std::string LandXmlCoordinateSystem(const std::string& entrada) {
  // The EPSG code the document names for its coordinates (`CoordinateSystem epsgCode`).
  const std::string code = viaducto::ReadLandXmlCoordinateSystem(entrada).epsgCode;
  if (code.empty()) return std::string();
  for (char c : code) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::string();
  }
  return "EPSG:" + code;
}

bool NormalizeCrs(const std::string& text, std::string& crs) {
  crs.clear();
  if (text.empty()) return true;
  if (text.size() < 6 || strncasecmp(text.c_str(), "EPSG:", 5) != 0) return false;
  for (std::size_t i = 5; i < text.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  crs = "EPSG:" + text.substr(5);
  return true;
}

int WriteIfcFile(const std::vector<AlignmentLayouts>& alignments, const std::string& salida, const std::string& crs) {
  std::string code;
  if (!NormalizeCrs(crs, code)) {
    common::RecordFailure("Sistema de coordenadas no válido: " + crs + " (se espera EPSG:número)");
    return 0;
  }
  common::TextWriter writer;
  writer.Write(WriteAlignmentsFile(alignments, OptionsFor(salida, code)));
  return writer.SaveTo(salida) ? 1 : 0;
}

int ExportRecordsToIfc(const std::vector<common::AlignmentElement>& elements, const std::string& name,
                       const std::string& salida, const std::string& crs) {
  if (elements.size() < 2) return 0;
  return WriteIfcFile({LayoutsFromRecords(name, elements, nullptr)}, salida, crs);
}

int ExportNativeToIfc(const std::string& entrada, const std::string& rasante, const std::string& salida,
                      const std::string& crs) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, kNativeSource, text)) return 0;
  const common::NativeAlignment alignment = common::ParseNativeAlignment(text, viaducto::kLandXmlExportReader);
  if (!common::RequireSomething(alignment.elements.size() < 2, entrada, kNativeSource)) return 0;
  common::Profile profile;
  if (!rasante.empty()) {
    std::string profileText;
    if (!common::LoadConversionSource(rasante, kProfileSource, profileText)) return 0;
    profile = common::ParseNativeProfileForLandXml(profileText);
    if (!common::RequireSomething(profile.size() < 2, rasante, kProfileSource)) return 0;
  }
  const AlignmentLayouts layouts =
      LayoutsFromRecords(common::SplitPath(entrada).name, alignment.elements, profile.empty() ? nullptr : &profile);
  return WriteIfcFile({layouts}, salida, crs);
}

int ExportLandXmlToIfc(const std::string& entrada, const std::string& salida, const std::string& crs) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  if (!common::CheckLandXmlSource(entrada)) return 0;
  const std::vector<std::string> names = viaducto::ListLandXmlAlignments(entrada);
  const std::vector<viaducto::LandXmlAlignmentImport> imported = viaducto::ImportLandXmlAlignments(entrada);
  const std::vector<std::string> profiles = viaducto::ListLandXmlProfiles(entrada);
  std::vector<AlignmentLayouts> alignments;
  for (std::size_t i = 0; i < imported.size(); ++i) {
    if (imported[i].elements.size() < 2) continue;
    const std::string name = i < names.size() ? names[i] : "Eje " + std::to_string(i + 1);
    common::Profile profile;
    for (const std::string& entry : profiles) {
      if (entry.compare(0, name.size() + 2, name + ": ") == 0) {
        profile = viaducto::ImportLandXmlProfile(entrada, entry).profile;
        break;
      }
    }
    alignments.push_back(LayoutsFromRecords(name, imported[i].elements, profile.size() >= 2 ? &profile : nullptr));
    // Station equations at their running station, measured from the alignment's start station,
    // in order along it. The station coming in, when the document leaves it out, is the one the
    // stations before reach there, so that the file tells every equation from the start referent.
    AlignmentLayouts& layouts = alignments.back();
    std::vector<viaducto::LandXmlStationEquation> equations =
        viaducto::ReadLandXmlStationEquations(entrada, static_cast<int>(i));
    std::stable_sort(equations.begin(), equations.end(),
                     [](const auto& a, const auto& b) { return a.internal < b.internal; });
    double along = 0, station = layouts.startStation;
    for (const viaducto::LandXmlStationEquation& q : equations) {
      const double distAlong = q.internal - layouts.startStation;
      const double incoming = q.back.value_or(station + distAlong - along);
      layouts.equations.push_back({distAlong, q.ahead, true, incoming});
      along = distAlong;
      station = q.ahead;
    }
  }
  if (!common::RequireSomething(alignments.empty(), entrada, kNativeSource)) return 0;
  // The document's own coordinate system, unless one is asked for.
  return WriteIfcFile(alignments, salida, crs.empty() ? LandXmlCoordinateSystem(entrada) : crs);
}

bool ReadIfcFile(const std::string& entrada, AlignmentsRead& read) {
  std::string text;
  if (!common::LoadConversionSource(entrada, kIfcSource, text, false)) return false;
  read = ReadAlignmentsText(text);
  if (!read.ok) {
    common::RecordFailure(read.error + ": " + entrada);
    return false;
  }
  return common::RequireSomething(read.alignments.empty(), entrada, kIfcSource);
}

std::string FormatLandXmlOfAlignments(const std::vector<AlignmentLayouts>& alignments) {
  common::LandXmlWriter writer;
  writer.BeginDocument();
  std::string document;
  std::vector<std::string> profiles;
  for (const AlignmentLayouts& a : alignments) {
    viaducto::WriteLandXmlAlignment(RecordsFromLayouts(a), a.name, writer);
    const common::Profile profile = ProfileFromLayouts(a);
    profiles.push_back(StationEquationElements(a) +
                       (profile.size() >= 2 ? ProfileElement(a.name, profile, a) : std::string()));
  }
  document = writer.EndDocumentBytes();
  // Each alignment's station equations and profile go inside it, after its geometry.
  std::size_t at = 0;
  for (const std::string& profile : profiles) {
    at = document.find("</Alignment>", at);
    if (at == std::string::npos) break;
    document.insert(at, profile);
    at += profile.size() + 12;
  }
  return document;
}

int ImportIfcToLandXml(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  AlignmentsRead read;
  if (!ReadIfcFile(entrada, read)) return 0;
  return common::WriteFileBytes(salida, FormatLandXmlOfAlignments(read.alignments)) ? 1 : 0;
}

std::vector<std::string> ListIfcAlignments(const std::string& entrada) {
  std::vector<std::string> names;
  AlignmentsRead read;
  if (!ReadIfcFile(entrada, read)) return names;
  for (const AlignmentLayouts& a : read.alignments) names.push_back(a.name);
  return names;
}

namespace {

const AlignmentLayouts* Chosen(const AlignmentsRead& read, const std::string& nombre, const std::string& entrada) {
  for (const AlignmentLayouts& a : read.alignments) {
    if (nombre.empty() || strcasecmp(a.name.c_str(), nombre.c_str()) == 0) return &a;
  }
  common::RecordFailure("El fichero IFC " + entrada + " no tiene ningún eje llamado " + nombre);
  return nullptr;
}

}  // namespace

int ImportIfcToNativeAlignment(const std::string& entrada, std::size_t index, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  AlignmentsRead read;
  if (!ReadIfcFile(entrada, read)) return 0;
  if (index >= read.alignments.size()) {
    common::RecordFailure("El fichero IFC " + entrada + " no tiene el eje número " + std::to_string(index + 1));
    return 0;
  }
  return viaducto::WriteNativeAlignment(RecordsFromLayouts(read.alignments[index]), salida);
}

int ImportIfcToNativeAlignment(const std::string& entrada, const std::string& nombre, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  AlignmentsRead read;
  if (!ReadIfcFile(entrada, read)) return 0;
  const AlignmentLayouts* a = Chosen(read, nombre, entrada);
  if (a == nullptr) return 0;
  return viaducto::WriteNativeAlignment(RecordsFromLayouts(*a), salida);
}

int ImportIfcToNativeProfile(const std::string& entrada, const std::string& nombre, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  AlignmentsRead read;
  if (!ReadIfcFile(entrada, read)) return 0;
  const AlignmentLayouts* a = Chosen(read, nombre, entrada);
  if (a == nullptr) return 0;
  const common::Profile profile = ProfileFromLayouts(*a);
  if (profile.size() < 2) {
    common::RecordFailure("El eje " + a->name + " del fichero IFC " + entrada + " no tiene rasante");
    return 0;
  }
  return common::WriteNativeProfile(profile, common::NativeProfileLayout::kFixedWidth, salida);
}

}  // namespace ifc
