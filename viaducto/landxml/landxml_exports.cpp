// Every LandXML export of the library: alignments, profiles and cross sections. Each checks
// its source and target first, says why when it fails, and leaves no target behind then.
#include <cstdio>
#include <string>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/file_stream.h"
#include "formats/native/native_profile.h"
#include "common/outcome.h"
#include "common/text_input.h"
#include "viaducto.h"
#include "formats/native/section_listings.h"
#include "formats/htrazado/htrazado.h"
#include "formats/mxroad/mxroad.h"
#include "formats/istram/istram.h"
#include "formats/clip/clip.h"
#include "formats/cartomap/cartomap.h"
#include "formats/gts/gts_alignment.h"
#include "formats/gts/gts_cross_sections.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_cross_sections.h"
#include "formats/landxml/landxml_profile.h"
#include "formats/gts/gts_profile.h"
#include "formats/istram/istram.h"
#include "formats/ispol/ispol.h"
#include "formats/cartomap/cartomap.h"

namespace viaducto {
namespace {

// Runs the reading of a LandXML export: a document that is not well formed (cut short,
// broken) fails it, whatever was read before the error; the reader has recorded the reason
// with the line where the document breaks.
template <typename Work>
int RefusingMalformed(Work&& work) {
  common::ForgetMalformedDocuments();
  const int result = work();
  return common::MalformedDocumentSeen() ? 0 : result;
}

// A selection list of a file that cannot be read, is not LandXML, is not well formed or holds
// nothing to list is written empty (the front end reads it), and the reason is recorded.
bool ListFromLandXml(const std::string& entrada, std::vector<std::string> (*list)(const common::LandXmlSource&),
                     const char* nothing) {
  // The document is opened once for the check and the listing, and the conversion that
  // follows takes that opening over while the file stays unchanged.
  const common::HeldSource held(entrada);
  std::vector<std::string> entries;
  if (common::CheckLandXmlSource(entrada)) {
    common::ForgetMalformedDocuments();
    entries = list(entrada);
    if (common::MalformedDocumentSeen()) entries.clear();
    if (entries.empty()) common::RecordNothingToWrite(entrada, nothing);
  }
  WriteSelectionList(entries);
  return !entries.empty();
}

// The checks every LandXML import makes before it reads: a target that can be written and is
// not the source, a source that is a LandXML document.
bool CheckLandXmlImport(const std::string& entrada, const std::string& salida) {
  return common::CheckConversionTarget(entrada, salida) && common::CheckLandXmlSource(entrada);
}

void RecordMalformed(const std::string& entrada) {
  common::RecordFailure(common::MalformedDocumentText(entrada, common::LastMalformedLine()));
}

// Whether an import leaves the joined copy of its document behind ($$$.xml), as the imports of
// the handheld front end do.
enum class JoinedCopy { kNone, kLeft };

// A LandXML import under the export guard: source and target checked, the joined copy left
// when asked, then `convert(source, target)`.
template <typename Convert>
int32_t GuardedLandXmlImport(const char* entrada, const char* salida, JoinedCopy copy, Convert convert) {
  return common::GuardedExport(0, [&] {
    const std::string source = common::PathArgument(entrada);
    const std::string target = common::PathArgument(salida);
    const common::HeldSource held(source);  // one opening for the check, the copy and the reading
    if (!CheckLandXmlImport(source, target)) return 0;
    if (copy == JoinedCopy::kLeft) LeaveJoinedCopy(source);
    return RefusingMalformed([&] { return convert(source, target); });
  });
}

// ---- Profiles ----------------------------------------------------------------------------------

using ProfileParser = Profile (*)(std::string_view);

// A "#" line of the native profile file is a comment, for the LandXML export too.
Profile ParseNativeProfileSkippingComments(std::string_view text) {
  common::NativeProfileRule rule = common::kLandXmlProfileReader;
  rule.skipHashComments = true;
  return common::ParseNativeProfile(text, rule);
}

// A listing converted to LandXML with the values its temporary native file would hold.
int ListingToLandXml(const char* entrada, const char* salida, ProfileParser parse) {
  common::ConversionRule rule;
  rule.source = "un fichero de rasante";
  rule.nothing = "ninguna rasante";
  const std::string source = common::PathArgument(entrada);
  const std::string target = common::PathArgument(salida);
  if (!common::CheckConversionTarget(source, target)) return 0;
  std::string text;
  if (!common::LoadConversionSource(source, rule, text)) return 0;
  const Profile profile = common::AsStoredInNativeProfile(parse(text));
  if (!common::RequireSomething(profile.empty(), source, rule)) return 0;
  return ExportProfileToLandXml(profile, target);
}

// The profile named `nombreRas` of `path` (the document or its joined copy), with what was
// approximated said; none when the source cannot be read.
bool ImportProfile(const std::string& path, const std::string& nombreRas, LandXmlProfileImport& imported) {
  imported = ImportLandXmlProfile(path, nombreRas);
  return imported.parse != ParseResult::kCannotOpen;
}

// What was approximated is said once the target is written (a failure's reason must not be
// hidden behind it).
int SayNotesOnSuccess(int result, const std::vector<std::string>& notes) {
  // A document cut short fails the import: nothing of it is said to be approximated.
  if (common::MalformedDocumentSeen()) return 0;
  if (result != 0) ShowImportNotes(notes);
  return result;
}

// The profile named `nombreRas` written by `write` (1 when written), then what was approximated.
int ImportProfileTo(const std::string& source, const std::string& nombreRas, const std::string& target,
                    int (*write)(const Profile&, const std::string&)) {
  LandXmlProfileImport imported;
  if (!ImportProfile(source, nombreRas, imported)) return 0;
  return SayNotesOnSuccess(write(imported.profile, target), imported.notes);
}

int WriteGtsProfileColumns(const Profile& profile, const std::string& target) {
  common::TextWriter writer;
  FormatGtsProfileColumns(profile, writer);
  return writer.SaveTo(target) ? 1 : 0;
}

int WriteFixedWidthNativeProfile(const Profile& profile, const std::string& target) {
  return common::WriteNativeProfile(profile, common::NativeProfileLayout::kFixedWidth, target);
}

// ---- Cross sections ----------------------------------------------------------------------------

// The chosen pair's sections, or the reason there are none.
bool ReadChosenSections(const std::string& path, const std::string& entrada, const std::string& transver,
                        const std::string& capa, CrossSectionSet& set, std::vector<std::string>& notes) {
  double feet = 0;
  if (!ReadLandXmlCrossSections(path, transver, capa, set, &feet)) {
    RecordMalformed(entrada);
    return false;
  }
  if (set.points.empty()) {
    common::RecordFailure("El fichero " + entrada + " no contiene secciones transversales de \"" + transver + ": " +
                          capa + "\"");
    return false;
  }
  if (feet != 0) notes.emplace_back(common::FeetMessage(feet));
  return true;
}

// The chosen pair's sections written by `write` (1 when written), then what was approximated.
int ImportChosenSectionsTo(const std::string& source, const std::string& transver, const std::string& capa,
                           const std::string& target, int (*write)(const CrossSectionSet&, const std::string&)) {
  CrossSectionSet set;
  std::vector<std::string> notes;
  if (!ReadChosenSections(source, source, transver, capa, set, notes)) return 0;
  return SayNotesOnSuccess(write(set, target), notes);
}

// The GTS file of the sections as the GTS conversion reads them back from their native file.
int WriteGtsOfSections(const CrossSectionSet& set, const std::string& target) {
  return WriteGtsCrossSections(common::AsStoredInNativeCrossSections(
                                   set.points, common::kNativeSectionsEightWideStation, kGtsSectionsReader),
                               target);
}

int WriteNativeOfSections(const CrossSectionSet& set, const std::string& target) { return set.Write(target) ? 1 : 0; }

// A foreign listing to LandXML with the points as its reader's native file would hold them.
int ForeignToLandXml(const char* entrada, const char* salida, CrossSectionReader reader) {
  return common::GuardedExport(0, [&] {
    const std::string source = common::PathArgument(entrada);
    const std::string target = common::PathArgument(salida);
    if (!common::CheckConversionTarget(source, target)) return 0;
    CrossSectionSet set;
    if (!ReadForeignSections(source, reader, set.points)) return 0;
    return WriteLandXmlCrossSections(set, target) ? 1 : 0;
  });
}

}  // namespace
}  // namespace viaducto

// ---- Alignments ----------------------------------------------------------------------------------

int32_t MyDll_seleccionaEjeLandXML(const char* entrada) {
  return common::GuardedExport(0, [&] {
    return viaducto::ListFromLandXml(common::PathArgument(entrada), viaducto::ListLandXmlAlignments, "ningún eje")
               ? 1
               : 0;
  });
}

int32_t MyDll_alandxml2gtsWCE(int32_t selec, const char* entrada, const char* salida, const char* /*pathAp*/) {
  return common::GuardedExport(0, [&] {
    if (selec < 0) return 0;
    const std::string source = common::PathArgument(entrada);
    const std::string target = common::PathArgument(salida);
    const common::HeldSource held(source);  // one opening for the check, the copy and the reading
    if (!viaducto::CheckLandXmlImport(source, target)) return 0;
    viaducto::LeaveJoinedCopy(source);
    return viaducto::RefusingMalformed([&] { return viaducto::ImportLandXmlAlignmentToNative(source, selec, target); });
  });
}

int32_t MyDll_alandxml2gts(int32_t selec, const char* entrada, const char* salida, const char* pathAp) {
  return common::GuardedExport(0, [&] {
    if (selec < 0) return 0;
    const std::string source = common::PathArgument(entrada);
    const std::string target = common::PathArgument(salida);
    const common::HeldSource held(source);  // one opening for the check, the copy and the reading
    if (!viaducto::CheckLandXmlImport(source, target)) return 0;
    // The native file of the import, carried on to GTS in memory as its reader gets it.
    viaducto::LandXmlAlignmentImport imported;
    common::TextWriter native;
    common::ForgetMalformedDocuments();
    if (!viaducto::FormatLandXmlAlignmentAsNative(source, selec, imported, native)) return 0;
    if (common::MalformedDocumentSeen()) return 0;
    if (common::MalformedDocumentSeen()) return 0;
    if (!imported.clothoidsSound) {
      viaducto::ShowImportNotes(imported.notes);
      return 0;
    }
    std::string text = native.Bytes();
    common::NormalizeLineEnds(text);
    const int written = viaducto::WriteGtsOfNativeText(text, source, target, common::PathArgument(pathAp), true);
    return viaducto::SayNotesOnSuccess(written != 0 ? 1 : 0, imported.notes);
  });
}

int32_t MyDll_aTerrex2LandXML(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ExportNativeToLandXml(common::PathArgument(entrada), common::PathArgument(salida));
  });
}

// ---- Profiles ------------------------------------------------------------------------------------

int32_t MyDll_rterrex2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    return viaducto::ListingToLandXml(entrada, salida, viaducto::ParseNativeProfileSkippingComments);
  });
}

int32_t MyDll_ristram2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ListingToLandXml(entrada, salida, viaducto::ParseIstramProfile); });
}

int32_t MyDll_rispol2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(
      0, [&] { return viaducto::ListingToLandXml(entrada, salida, viaducto::ParseIspolProfile); });
}

void MyDll_seleccionaRasanteLandXML(const char* entrada) {
  common::GuardedExportVoid([&] {
    viaducto::ListFromLandXml(common::PathArgument(entrada), viaducto::ListLandXmlProfiles, "ninguna rasante");
  });
}

// A name that matches no profile gives an output without vertices, as callers expect.
int32_t MyDll_rlandxml2gts(const char* nombreRas, const char* entrada, const char* salida) {
  return viaducto::GuardedLandXmlImport(
      entrada, salida, viaducto::JoinedCopy::kNone, [&](const std::string& source, const std::string& target) {
        return viaducto::ImportProfileTo(source, common::PathArgument(nombreRas), target,
                                         viaducto::WriteGtsProfileColumns);
      });
}

int32_t MyDll_rlandxml2gtsWCE(const char* nombreRas, const char* entrada, const char* salida) {
  return viaducto::GuardedLandXmlImport(
      entrada, salida, viaducto::JoinedCopy::kLeft, [&](const std::string& source, const std::string& target) {
        return viaducto::ImportProfileTo(source, common::PathArgument(nombreRas), target,
                                         viaducto::WriteFixedWidthNativeProfile);
      });
}

// ---- Cross sections ------------------------------------------------------------------------------

void MyDll_seleccionaTransverLandXML(const char* entrada) {
  common::GuardedExportVoid([&] {
    const std::string path = common::PathArgument(entrada);
    if (common::CheckLandXmlSource(path)) viaducto::LeaveJoinedCopy(path);
    viaducto::ListFromLandXml(path, viaducto::ListLandXmlCrossSectionSurfaces, "ninguna sección transversal");
  });
}

int32_t MyDll_tralandxml2gts(const char* transver, const char* capa, const char* entrada, const char* salida) {
  return viaducto::GuardedLandXmlImport(
      entrada, salida, viaducto::JoinedCopy::kNone, [&](const std::string& source, const std::string& target) {
        return viaducto::ImportChosenSectionsTo(source, common::PathArgument(transver), common::PathArgument(capa),
                                                target, viaducto::WriteGtsOfSections);
      });
}

int32_t MyDll_tralandxml2gtsWCE(const char* transver, const char* capa, const char* entrada, const char* salida) {
  return viaducto::GuardedLandXmlImport(
      entrada, salida, viaducto::JoinedCopy::kLeft, [&](const std::string& source, const std::string& target) {
        return viaducto::ImportChosenSectionsTo(source, common::PathArgument(transver), common::PathArgument(capa),
                                                target, viaducto::WriteNativeOfSections);
      });
}

int32_t MyDll_tralandxmlinroads2gtsWCE(const char* entrada, const char* salida) {
  return viaducto::GuardedLandXmlImport(
      entrada, salida, viaducto::JoinedCopy::kLeft, [&](const std::string& source, const std::string& target) {
        viaducto::CrossSectionSet set;
        if (!viaducto::ReadInroadsCrossSections(source, set)) {
          viaducto::RecordMalformed(source);
          return 0;
        }
        if (set.points.empty()) {
          common::RecordNothingToWrite(source, "ningún punto de sección transversal");
          return 0;
        }
        return viaducto::WriteNativeOfSections(set, target);
      });
}

int32_t MyDll_traterrex2landxml(const char* entrada, const char* salida) {
  return common::GuardedExport(0, [&] {
    const std::string source = common::PathArgument(entrada);
    const std::string target = common::PathArgument(salida);
    common::ConversionRule rule;
    rule.source = "un fichero de secciones transversales";
    rule.nothing = "ninguna sección transversal";
    if (!common::CheckConversionTarget(source, target)) return 0;
    std::string text;
    if (!common::LoadConversionSource(source, rule, text)) return 0;
    viaducto::CrossSectionSet set;
    set.Parse(text);
    if (!common::RequireSomething(set.points.empty(), source, rule)) return 0;
    return viaducto::WriteLandXmlCrossSections(set, target) ? 1 : 0;
  });
}

int32_t MyDll_tracliptrv2landxml(const char* entrada, const char* salida) {
  return viaducto::ForeignToLandXml(entrada, salida, viaducto::ParseClipTrvSections);
}

int32_t MyDll_traclip2landxml(const char* entrada, const char* salida) {
  return viaducto::ForeignToLandXml(entrada, salida, viaducto::ParseClipListingSections);
}

int32_t MyDll_traistram2landxml(const char* entrada, const char* salida) {
  return viaducto::ForeignToLandXml(entrada, salida, viaducto::ParseIstramSections);
}

int32_t MyDll_tramxroad2landxml(const char* entrada, const char* salida) {
  return viaducto::ForeignToLandXml(entrada, salida, viaducto::ParseMxroadSections);
}

int32_t MyDll_trahtrazado2lamdxml(const char* entrada, const char* salida) {
  return viaducto::ForeignToLandXml(entrada, salida, viaducto::ParseHtrazadoSections);
}
