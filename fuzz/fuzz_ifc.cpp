// IFC models read from the fuzzer's bytes in memory by the readers the IFC imports and checks
// use (no file is written, so thousands run a second): the STEP file itself, the alignments
// with their records, profile and LandXML document, the rule checks, and a model written back.
//
// The first byte picks the reading, the second is not used; the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/message_hook.h"
#include "formats/ifc/ifc_alignment.h"
#include "formats/ifc/ifc_check.h"
#include "formats/ifc/ifc_conversions.h"
#include "formats/ifc/step.h"
#include "fuzz/driver.h"

namespace fuzzing {
namespace {

struct Reading {
  const char* name;
  void (*read)(std::string_view text);
};

const Reading kReadings[] = {
    {"Viaducto:ReadIfcAlignments",
     [](std::string_view text) {
       // What was read before a fault is read on: the fuzzer's cut models still reach the reader.
       ifc::StepFile file;
       ifc::ParseStep(text, file);
       const ifc::AlignmentsRead read = ifc::ReadAlignments(file);
       for (const ifc::AlignmentLayouts& a : read.alignments) {
         ifc::RecordsFromLayouts(a);
         ifc::ProfileFromLayouts(a);
       }
       if (!read.alignments.empty() && read.alignments.size() < 50) ifc::FormatLandXmlOfAlignments(read.alignments);
     }},
    {"Viaducto:CheckIfcRules",
     [](std::string_view text) {
       ifc::StepFile file;
       ifc::ParseStep(text, file);
       ifc::CheckAlignmentRules(file);
       ifc::ProjectedCrsName(file);
     }},
    {"Viaducto:WriteIfcAgain",
     [](std::string_view text) {
       const ifc::AlignmentsRead read = ifc::ReadAlignmentsText(text);
       if (read.alignments.empty() || read.alignments.size() > 20) return;
       std::vector<ifc::AlignmentLayouts> again;
       for (const ifc::AlignmentLayouts& a : read.alignments) {
         if (a.horizontal.size() > 2000) return;
         const common::Profile profile = ifc::ProfileFromLayouts(a);
         again.push_back(ifc::LayoutsFromRecords(a.name, ifc::RecordsFromLayouts(a), profile.size() >= 2 ? &profile : nullptr));
       }
       ifc::WriteAlignmentsFile(again, ifc::WriteOptions());
     }},
};

}  // namespace

int Run_ifc(const uint8_t* data, std::size_t size) {
  static const bool silenced = (common::SilenceMessagesByDefault(), true);
  (void)silenced;
  if (size < 2) return 0;
  const Reading& reading = kReadings[data[0] % (sizeof kReadings / sizeof kReadings[0])];
  reading.read(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(ifc)
