// Cross-section field book to a Clip TER file of measured sections: each surveyed point carries
// its section's station in its code ("T_120"); its offset is measured on the road axis.
#pragma once

#include <string>
#include <vector>

#include "formats/native/native_sections.h"
#include "formats/native/eje_nativo.h"
#include "common/alignment_projection.h"

namespace calzada {

// The elements of a native alignment ready for projection: each length is the next station
// minus its own (0 for the last record, the end point), each clothoid with its curve.
std::vector<common::ProjectionElement> EjeParaProyectar(std::vector<TramoEje> records);

// The foot of the perpendicular from (x, y) on the axis: on straights (0.001 of slack on the
// station), arcs and clothoids (halving down to 0.01 m), or the joint of two straights when the
// point lies outside their corner. The nearest foot wins. `pie` gets the station, x, y and
// azimuth at the foot; `distancia` the signed distance (negative on the left). False when no
// foot exists, or it lies before the first station or more than 0.001 past the end.
bool ProyectaPunto(double x, double y, const std::vector<common::ProjectionElement>& eje, TramoEje& pie,
                   double& distancia);

// The section points of a field book: the text of the point file (line ends normalised;
// fields split at blanks: name, x, y, elevation, code) projected on `eje`. A point whose code
// has no "_" followed by the station, or that does not project, is left out. In file order.
Transversales PuntosDeLibreta(std::string_view puntos, const std::vector<common::ProjectionElement>& eje);

// Sorts the section points: points of one station (within 0.001) and one code number (the
// code read as an integer) by offset, offsets within 0.001 counting as equal; otherwise by
// station. Points that compare equal keep their order.
void OrdenaPuntosLibreta(Transversales& puntos);

// The TER file of sorted section points: "*TER", then for each distinct station (in sorted
// order) "%0.3lf , %d , 0 , 0" and its points "%8.3lf , %8.3lf" (offset, elevation).
std::string FormatoClipTer(const Transversales& puntos);

// The export: 1 when the TER file was written; 0 when the point file or the alignment cannot
// be read or gives no record, when no point is placed on the axis, or when the target cannot
// be written.
int Libreta2ClipTer(const std::string& puntra, const std::string& eje, const std::string& salida);

}  // namespace calzada
