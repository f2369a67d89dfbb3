// DXF drawings: the layer table, POINT entities, 3D faces and polylines, read from the fuzzer's
// bytes in memory by the same readers the exports use (no file is written, so the readers run
// thousands of times a second).
//
// The first byte picks the reading, the second a layer name; the rest is the drawing, then, for
// the lines file, the layer list and the alignment, each after "\n@@@@\n".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/message_hook.h"
#include "common/text_output.h"
#include "fuzz/driver.h"
#include "formats/dxf/dxf_conversions.h"
#include "formats/dxf/dxf_reader.h"
#include "formats/dxf/dxf_surface.h"
#include "planimetro/lines/lines_file.h"
#include "formats/native/surface_model.h"

namespace fuzzing {
namespace {

using Parts = std::vector<std::string_view>;

struct Reading {
  const char* name;
  void (*read)(const Parts& parts, uint8_t choice);
};

// Layer names of the seed drawings, and letter case that differs from them.
const char* const kLayers[] = {"TERRENO", "terreno", "0", "PUNTOS", "CARRETERA", "x", ""};
std::string LayerOf(uint8_t choice) { return kLayers[choice % (sizeof kLayers / sizeof kLayers[0])]; }

// The readings, in the order the first byte picks them (the seed script counts the entries).
const Reading kReadings[] = {
    {"Planimetro:ParseLayerTable",
     [](const Parts& parts, uint8_t) {
       planimetro::dxf::DxfFile file{std::string(parts[0])};
       planimetro::dxf::ParseLayerTable(file);
     }},
    {"Planimetro:ParseDxfPoints",
     [](const Parts& parts, uint8_t) {
       common::TextWriter out;
       planimetro::dxf::FormatShortPointFile(planimetro::dxf::ParseDxfPoints(parts[0]), out);
     }},
    {"Planimetro:BuildDxfSurface",
     [](const Parts& parts, uint8_t choice) {
       planimetro::dxf::DxfFile file{std::string(parts[0])};
       planimetro::surface::SuperficieTin model;
       if (planimetro::surface::BuildDxfSurface(file, LayerOf(choice), model)) planimetro::surface::SurfaceFileBytes(model);
     }},
    {"Planimetro:CollectLinePoints",
     [](const Parts& parts, uint8_t) {
       const std::unordered_set<std::string> layers = planimetro::lines::ParseLayerList(parts[1]);
       std::vector<planimetro::lines::TramoLineas> alignment;
       planimetro::lines::ParseLinesAlignment(parts[2], alignment);
       planimetro::dxf::DxfFile file{std::string(parts[0])};
       std::vector<planimetro::lines::PuntoLinea> points = planimetro::lines::CollectLinePoints(file, layers, alignment);
       planimetro::lines::GatherAndSort(points);
       common::TextWriter out;
       planimetro::lines::FormatLinesFile(points, out);
     }},
};

}  // namespace

int Run_dxf(const uint8_t* data, std::size_t size) {
  static const bool silenced = (common::SilenceMessagesByDefault(), true);
  (void)silenced;
  if (size < 2) return 0;
  const Reading& reading = kReadings[data[0] % (sizeof kReadings / sizeof kReadings[0])];
  const Parts parts = SplitParts(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));
  reading.read(parts, data[1]);
  return 0;
}

}  // namespace fuzzing

PASARELA_FUZZ_ENTRY_POINT(dxf)
