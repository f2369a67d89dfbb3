// Checks of what a file holds, on the view model: each finding has a level, where it is (a
// station, a point number or a triangle) and a Spanish text.
#pragma once

#include <string>
#include <vector>

#include "frontend/view/view_model.h"

namespace view {

enum class Level { kWarning, kError };

// "aviso" or "error".
const char* LevelName(Level level);

struct Finding {
  Level level = Level::kWarning;
  std::string where;  // "P.K. 0+350.000", "punto 12", "triángulo 5"; empty for the whole file
  std::string text;
};

// Tolerances of the alignment checks.
inline constexpr double kPositionGap = 0.001;      // m between one element's end and the next start
inline constexpr double kDirectionGap = 0.0001;    // grads between the tangents there
inline constexpr double kParameterTolerance = 0.001;  // relative difference of A² and L·R

std::vector<Finding> CheckAlignment(const AlignmentView& view);
std::vector<Finding> CheckProfile(const ProfileView& view);
std::vector<Finding> CheckCrossSections(const CrossSectionsView& view);
std::vector<Finding> CheckPoints(const PointsView& view);
std::vector<Finding> CheckSuperelevation(const SuperelevationView& view);
std::vector<Finding> CheckSurface(const SurfaceView& view);

// The checks of the kind the model holds.
std::vector<Finding> CheckModel(const ViewModel& model);

bool HasError(const std::vector<Finding>& findings);

// "error  P.K. 0+350.000  texto" as one line.
std::string FormatFinding(const Finding& finding);

}  // namespace view
