// What the views draw and check, for every kind of file the suite reads or writes: the
// alignment evaluated along its elements, the long section with its vertical curves, the cross
// sections, the points, the superelevation table and the surface triangles. No drawing here:
// the Qt renderer and the checks work on this model.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "common/profile_curves.h"
#include "common/records.h"

namespace view {

enum class DataKind { kNone, kAlignment, kProfile, kCrossSections, kPoints, kSuperelevation, kSurface };

// Spanish name of the kind, as the summary shows it ("eje", "rasante"...).
const char* KindName(DataKind kind);

using Extents = common::Extents;

// A point of the alignment evaluated at a station.
struct StationPoint {
  double station = 0;
  common::Point2 point;
  double azimuth = 0;    // grads
  double curvature = 0;  // 1/m, + turning clockwise
};

struct StationTick {
  StationPoint at;
  std::string label;  // "0+100"
};

struct AlignmentView {
  std::vector<common::AlignmentElement> elements;  // as read; the last is the end point
  std::vector<StationPoint> path;                  // every element evaluated, in order
  std::vector<std::size_t> elementFirstPoint;      // index into `path` where element i starts
  std::vector<StationTick> ticks;                  // every 100 m of station
  Extents extents;
};

// The curve the long section draws: the grade line with its vertical curves in place.
struct SectionPoint {
  double station = 0;
  double elevation = 0;
};

struct ProfileView {
  common::Profile vertices;
  std::vector<SectionPoint> line;  // grade line with parabolas or arcs, every metre or finer
  Extents extents;                 // x station, y elevation
  // The ground along the alignment, where the source holds it (a LandXML ProfSurf); empty
  // otherwise. Its elevations are part of the extents.
  std::vector<SectionPoint> terrain;
};

struct CrossSection {
  double station = 0;
  std::vector<common::CrossSectionPoint> points;  // in file order
};

struct CrossSectionsView {
  std::vector<common::CrossSectionPoint> points;  // as read
  std::vector<CrossSection> sections;             // runs of points with one station
  Extents extents;                                // x offset, y elevation, over all sections
};

struct PointsView {
  std::vector<common::NativePoint> points;
  Extents extents;
};

struct SuperelevationRow {
  double station = 0;
  double first = 0;
  double second = 0;
};

struct SuperelevationView {
  std::vector<SuperelevationRow> rows;
  Extents extents;  // x station, y value
};

struct SurfacePoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

struct SurfaceView {
  std::vector<SurfacePoint> points;
  std::vector<std::array<int32_t, 3>> triangles;
  double minZ = 0;
  double maxZ = 0;
  long brokenSides = 0;     // triangle sides of the file whose links do not close a triangle
  long collapsedFaces = 0;  // faces of a drawing with fewer than three distinct corners
  long fourCornerFaces = 0;  // faces of a drawing of four corners whose sides cross: no triangle
  long facesWithoutPoints = 0;  // faces of a document naming a point it does not hold
  Extents extents;
};

// One thing of a file that holds several, shown on its own: an alignment, a profile, a surface
// or the survey points of a LandXML document.
struct FileEntry {
  DataKind kind = DataKind::kNone;
  std::string name;  // as the file names it; a profile as "alignment: profile"
};

struct ViewModel {
  std::string path;
  DataKind kind = DataKind::kNone;
  // What a file of several entries holds, in the order a selector offers them, and the one
  // shown; empty for a file of one kind of data.
  std::vector<FileEntry> entries;
  std::size_t entry = 0;
  // What the reading approximated or left out, in Spanish (a document in feet...).
  std::vector<std::string> notes;
  AlignmentView alignment;
  ProfileView profile;
  CrossSectionsView sections;
  PointsView points;
  SuperelevationView superelevation;
  SurfaceView surface;
  // The extents of what the main drawing shows (plan, long section...).
  Extents Drawing() const;
};

// Reads the file at `path` into `model`, its kind from the extension (.eje, .ras, .tra, .pun,
// .per, .sup) or, for a drawing (.dxf), its points and 3D faces, and for a point shapefile
// (.shp, with its .shx and .dbf) its points. False with a Spanish reason in
// `error` when the file cannot be read or is of no kind the views know.
// A LandXML document shows its first entry.
bool LoadViewFile(const std::string& path, ViewModel& model, std::string& error);

// As above, showing the entry `choice` of a file that holds several (see FindEntry); an empty
// choice is the first entry. False with the reason when the file holds no such entry.
bool LoadViewFile(const std::string& path, const std::string& choice, ViewModel& model, std::string& error);

// The same for the bytes of a file called `name` held in memory, read by the same readers. A
// point shapefile cannot be shown this way (its .shx and .dbf are other files).
bool LoadViewBytes(std::string_view bytes, const std::string& name, const std::string& choice, ViewModel& model,
                   std::string& error);

// Draws the profile of the file at `terrainPath` (any profile the views read: a native .ras, a
// LandXML document's first profile...) as the ground under the profile `model` shows: its grade
// line, straight between its vertices and with its vertical curves, kept where it overlaps the
// profile's stations, replaces `model.profile.terrain` and widens the extents. False with a
// Spanish reason, and `model` unchanged, when `model` shows no profile, the file holds none, or
// the two do not share a stretch of stations.
bool AddTerrainProfile(const std::string& terrainPath, ViewModel& model, std::string& error);

// The index of the entry `choice` names: an entry of that name (letter case ignored), else its
// number counted from 1; -1 when it names none.
int FindEntry(const std::vector<FileEntry>& entries, const std::string& choice);

// "Eje 1 (eje)": an entry as a selector lists it.
std::string EntryLabel(const FileEntry& entry);

// The kind the extension of `path` names; kNone when it names none.
DataKind KindOfPath(const std::string& path);

// Building the model from records already in memory.
void BuildAlignmentView(std::vector<common::AlignmentElement> elements, AlignmentView& view);
void BuildProfileView(common::Profile vertices, ProfileView& view);
void BuildCrossSectionsView(std::vector<common::CrossSectionPoint> points, CrossSectionsView& view);
void BuildPointsView(std::vector<common::NativePoint> points, PointsView& view);
void BuildSurfaceView(std::vector<SurfacePoint> points, std::vector<std::array<int32_t, 3>> triangles,
                      SurfaceView& view);

// The alignment at `distance` metres from the start of element `index` (0 .. size-2), along
// its line, arc or clothoid.
StationPoint PointOnElement(const std::vector<common::AlignmentElement>& elements, std::size_t index,
                            double distance);

// Radius of the curved end of a clothoid element (the next arc's for an entry clothoid, the
// previous arc's for an exit one); 0 when it has none.
double ClothoidEndRadius(const std::vector<common::AlignmentElement>& elements, std::size_t index);

// Elevation of the grade line at `station`, with the vertical curves.
double ProfileElevation(const common::Profile& profile, double station);

// "1+234.567" style station label with `decimals` decimals.
std::string StationLabel(double station, int decimals);

// Lines of the summary beside a view: what the file holds ("Elementos: 9", "Longitud: ...").
std::vector<std::string> Summary(const ViewModel& model);

}  // namespace view
