// Calzada's view of a vertical profile: the grade rules its listings use, and the native profile
// file as this library writes and reads it.
#pragma once

#include <string>
#include <string_view>

#include "common/conversion_rules.h"
#include "common/profile_curves.h"
#include "common/text_output.h"
#include "formats/native/eje_nativo.h"

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

// The native profile lines "%10.3lf %8.3lf %9.3lf %8.3lf %8.3lf", no value ever infinite or
// undefined; WriteNativeRasante gives 1 when written.
void FormatNativeRasante(const Rasante& rasante, common::TextWriter& writer);
int WriteNativeRasante(const Rasante& rasante, const std::string& path);

// The native profile read back from its text (fields split at blanks, tabs and commas).
Rasante ParseNativeRasante(std::string_view text);

}  // namespace calzada
