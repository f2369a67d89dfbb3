// Dragados MDW and Asotec alignments: each element line is copied into a tab-separated native
// line (station, x, y, azimuth, parameter, radius), values as read.
#include <vector>

#include "calzada/alignment/alignment_importers.h"
#include "calzada/frame/conversion_rules.h"
#include "common/numbers.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {
namespace {

// The fields of one element line, as TramoEje values; false when the line lacks one.
using LineReading = bool (*)(const std::vector<std::string_view>& fields, TramoEje& element);

Eje ParseLines(std::string_view text, LineReading read) {
  Eje elements;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields);
    TramoEje element;
    if (read(fields, element)) elements.push_back(element);
  }
  return elements;
}

// Field 1 unused, then station, x, y, azimuth, radius, parameter.
bool ReadDragadosLine(const std::vector<std::string_view>& f, TramoEje& e) {
  if (f.size() < 7) return false;
  e.station = common::LenientDouble(f[1]);
  e.x = common::LenientDouble(f[2]);
  e.y = common::LenientDouble(f[3]);
  e.azimuth = common::LenientDouble(f[4]);
  e.radius = common::LenientDouble(f[5]);
  e.parameter = common::LenientDouble(f[6]);
  return true;
}

// Station, one unused field, x, y, azimuth and radius ("-" on a straight); no parameter.
bool ReadAsotecLine(const std::vector<std::string_view>& f, TramoEje& e) {
  if (f.size() < 6) return false;
  e.station = common::LenientDouble(f[0]);
  e.x = common::LenientDouble(f[2]);
  e.y = common::LenientDouble(f[3]);
  e.azimuth = common::LenientDouble(f[4]);
  e.radius = f[5] == "-" ? 0.0 : common::LenientDouble(f[5]);
  return true;
}

}  // namespace

Eje ParseDragadosAlignment(std::string_view text) { return ParseLines(text, ReadDragadosLine); }

Eje ParseAsotecAlignment(std::string_view text) { return ParseLines(text, ReadAsotecLine); }

void FormatTabAlignment(const Eje& elements, common::TextWriter& writer) {
  for (const TramoEje& e : elements) {
    writer.Printf("%6.3lf\t%8.3lf\t%8.3lf\t%8.3lf\t%6.3lf\t%6.3lf\n", e.station, e.x, e.y, e.azimuth, e.parameter,
                  e.radius);
  }
}

int ImportDragadosAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseDragadosAlignment, FormatTabAlignment);
}

int ImportAsotecAlignment(const std::string& entrada, const std::string& salida) {
  return common::ConvertFile(entrada, salida, kListadoEjes, ParseAsotecAlignment, FormatTabAlignment);
}

}  // namespace calzada
