// Vertical profiles between the native profile file and the listings of other road-design
// programs. Each conversion returns 1 when it wrote the target, 0 when not.
#pragma once

#include <string>
#include <string_view>

#include "calzada/frame/conversion_rules.h"
#include "calzada/frame/shared_routines.h"
#include "common/profile_curves.h"
#include "common/text_output.h"

namespace calzada {

using Rasante = common::Profile;

// Grade from a to b; two vertices at one station give 100 000 000 with SignoTolerante of the
// rise.
inline double Pendiente(const VerticeRasante& a, const VerticeRasante& b) {
  return common::GradeBetween(a, b, SignoTolerante);
}

// Change of grade at vertex i, a missing side counting as level.
inline double CambioPendiente(const Rasante& rasante, std::size_t i) {
  return common::GradeChange(rasante, i, SignoTolerante);
}

// Tangent length and external ordinate of every inner vertex from its kv.
inline void CompletaCurvasInteriores(Rasante& rasante) {
  if (rasante.size() > 2) common::CompleteCurvesFromKv(rasante, 1, rasante.size() - 1, SignoTolerante);
}

// Clip ALZ: "*ALZ..." then station, elevation (letter C) or grade, and kv, curve length (T)
// or external ordinate (F). `tangentIsHalf`: the T value is already the tangent length.
bool ParseClipAlz(std::string_view text, bool tangentIsHalf, Rasante& rasante);
int ImportClipAlz(const std::string& entrada, const std::string& salida);
int ImportClipAlzTanSimple(const std::string& entrada, const std::string& salida);
int ExportClipAlz(const std::string& entrada, const std::string& salida);

// InRoads vertical listing: "{" header, then TYPE STATION ELEVATION SLOPE VC_LENGTH lines.
bool ParseInroadsProfile(std::string_view text, Rasante& rasante);
int ImportInroadsProfile(const std::string& entrada, const std::string& salida);

int ImportMxroadProfile(const std::string& entrada, const std::string& salida);

// Ispol profile listing, and the Ispol report of the state of the grade lines.
Rasante ParseIspolProfile(std::string_view text);
int ImportIspolProfile(const std::string& entrada, const std::string& salida);
void FormatIspolReport(const Rasante& rasante, const std::string& project, common::TextWriter& writer);
int ExportIspolProfile(const std::string& entrada, const std::string& salida);

// Dragados MDW and WTrazado profile listings.
Rasante ParseDragadosProfile(std::string_view text);
int ImportDragadosProfile(const std::string& entrada, const std::string& salida);
Rasante ParseWtrazadoProfile(std::string_view text);
int ImportWtrazadoProfile(const std::string& entrada, const std::string& salida);

// The native profile lines "%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf", no value ever infinite or
// undefined; WriteNativeRasante gives 1 when written.
void FormatNativeRasante(const Rasante& rasante, common::TextWriter& writer);
int WriteNativeRasante(const Rasante& rasante, const std::string& path);

// The native profile read back from its text (fields split at blanks, tabs and commas).
Rasante ParseNativeRasante(std::string_view text);

// The Clip ALZ file of a native profile; `title` is its second line.
void FormatClipAlz(const Rasante& rasante, const std::string& title, common::TextWriter& writer);

// The InRoads vertical listing's vertices as tab-separated native lines.
void FormatInroadsRasante(const Rasante& rasante, common::TextWriter& writer);

// MxRoad vertical listing of ten fields per numbered vertex.
Rasante ParseMxroadProfile(std::string_view text);

}  // namespace calzada
