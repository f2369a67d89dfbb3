// Dragados MDW and Asotec alignments: each element line is copied into a tab-separated native
// line (station, x, y, azimuth, parameter, radius) as it is read.
#include <vector>

#include "calzada/alignment/alignment_importers.h"
#include "common/numbers.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {
namespace {

void WriteTabLine(common::TextWriter& writer, double station, double x, double y, double azimuth, double parameter,
                  double radius) {
  writer.Printf("%6.3lf\t%8.3lf\t%8.3lf\t%8.3lf\t%6.3lf\t%6.3lf\n", station, x, y, azimuth, parameter, radius);
}

using LineCopier = void (*)(const std::vector<std::string_view>& fields, common::TextWriter& writer);

int CopyLines(const std::string& entrada, const std::string& salida, LineCopier copy) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  common::TextWriter writer;
  common::LineReader reader(text);
  std::string_view piece;
  std::vector<std::string_view> fields;
  while (reader.Next(piece)) {
    common::SplitTokens(common::WithoutLineFeed(piece), " \t", fields);
    copy(fields, writer);
  }
  return writer.SaveTo(salida) ? 1 : 0;
}

// Field 1 unused, then station, x, y, azimuth, radius, parameter.
void CopyDragadosLine(const std::vector<std::string_view>& f, common::TextWriter& writer) {
  if (f.size() < 7) return;
  WriteTabLine(writer, common::LenientDouble(f[1]), common::LenientDouble(f[2]), common::LenientDouble(f[3]),
               common::LenientDouble(f[4]), common::LenientDouble(f[6]), common::LenientDouble(f[5]));
}

// Station, one unused field, x, y, azimuth and radius ("-" on a straight); no parameter.
void CopyAsotecLine(const std::vector<std::string_view>& f, common::TextWriter& writer) {
  if (f.size() < 6) return;
  const double radius = f[5] == "-" ? 0.0 : common::LenientDouble(f[5]);
  WriteTabLine(writer, common::LenientDouble(f[0]), common::LenientDouble(f[2]), common::LenientDouble(f[3]),
               common::LenientDouble(f[4]), 0.0, radius);
}

}  // namespace

int ImportDragadosAlignment(const std::string& entrada, const std::string& salida) {
  return CopyLines(entrada, salida, CopyDragadosLine);
}

int ImportAsotecAlignment(const std::string& entrada, const std::string& salida) {
  return CopyLines(entrada, salida, CopyAsotecLine);
}

}  // namespace calzada
