// What the georeferencing library's exports do: native points and surfaces transformed between
// coordinate systems, and points, surfaces and alignments written as maps.
#pragma once

#include <string>

namespace georref {

// The systems the following conversions use (see Georref_Sistemas). False, with the reason
// recorded, when a system given is not one PROJ knows.
bool SetSystems(const std::string& source, const std::string& target, bool allowBallpark);

// "ED50 to ETRS89 (7), 1,5 m" of the last transformation; empty when none.
const std::string& LastOperation();

// The target system set by SetSystems, as given; empty when none.
const std::string& TargetSystem();

int TransformPointFile(const std::string& entrada, const std::string& salida);
int TransformSurfaceFile(const std::string& entrada, const std::string& salida);
int PointsToMap(const std::string& entrada, const std::string& salida);
int SurfaceToMap(const std::string& entrada, const std::string& salida);
int AlignmentToMap(const std::string& entrada, const std::string& salida);
// The same map with heights: every vertex and station mark at the elevation of the native
// profile `rasante` at its station. Refused, with the reason recorded, when the profile does
// not cover the alignment's stations (no height is made up beyond its ends).
int AlignmentWithProfileToMap(const std::string& entrada, const std::string& rasante, const std::string& salida);
// The .prj beside the shapefile `salida` with the target system; 1 when written.
int WriteProjection(const std::string& salida);

// A native profile or native cross sections as a table of a GeoPackage.
int ProfileToMap(const std::string& entrada, const std::string& salida);
int CrossSectionsToMap(const std::string& entrada, const std::string& salida);

// The caption of the message that names the operation used.
inline constexpr const char* kSystemCaption = "Sistema de coordenadas";

}  // namespace georref
