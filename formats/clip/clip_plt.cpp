// Clip PLT alignments, read into native elements (clip_plt_reader.h: six scanned numbers a
// point, stations tidied) and written from the native file.
#include <vector>

#include "formats/clip/clip.h"
#include "formats/clip/clip_plt_reader.h"
#include "common/numbers.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace calzada {

Eje ParseClipPlt(std::string_view text) { return common::ParseClipPlt(text, common::kClipPltScannedAndTidied); }

int ImportClipPlt(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  const Eje records = ParseClipPlt(text);
  if (records.empty()) return 0;
  return EscribeEjeNativo(records, salida);
}

bool FormatClipPlt(std::string_view nativeText, std::string& plt) {
  const Eje records = ParseEjeNativo(nativeText);
  if (records.empty()) return false;
  common::TextWriter writer;
  writer.Write("*PLT1\n");
  for (std::size_t i = 0; i < records.size(); ++i) {
    // Each point closes the element that the previous record starts.
    const TramoEje& before = RecordOrZeros(records, static_cast<long>(i) - 1);
    writer.Printf("%12.4lf ,%13.4lf ,%13.4lf ,%11.5lf ,%12.4lf ,%12.4lf\n", records[i].station, records[i].x,
                  records[i].y, records[i].azimuth, before.radius, before.parameter);
  }
  plt = writer.Bytes();
  return true;
}

int ExportClipPlt(const std::string& entrada, const std::string& salida) {
  std::string text;
  if (!common::LoadTextFile(entrada, text)) return 0;
  std::string plt;
  if (!FormatClipPlt(text, plt)) return 0;
  return common::WriteFileBytes(salida, plt) ? 1 : 0;
}

}  // namespace calzada
