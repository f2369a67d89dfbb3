// The view model: alignments evaluated along their elements, long sections with their curves,
// sections, points and surfaces read through the suite's readers.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "common/file_kind.h"
#include "frontend/view/plan_index.h"
#include "frontend/view/view_model.h"
#include "formats/dxf/dxf_surface.h"
#include "formats/native/surface_file_reader.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

view::ViewModel Load(const std::string& path) {
  view::ViewModel model;
  std::string error;
  EXPECT_TRUE(view::LoadViewFile(path, model, error)) << error;
  return model;
}

TEST(AlignmentView, FollowsEveryElementOfTheSampleEveryMetreOrFiner) {
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  ASSERT_EQ(model.kind, view::DataKind::kAlignment);
  const view::AlignmentView& a = model.alignment;
  ASSERT_EQ(a.elements.size(), 9u);
  ASSERT_EQ(a.elementFirstPoint.size(), 9u);
  for (std::size_t k = 1; k < a.path.size(); ++k) {
    EXPECT_LE(std::hypot(a.path[k].point.x - a.path[k - 1].point.x, a.path[k].point.y - a.path[k - 1].point.y), 1.0 + 1e-9)
        << "at station " << a.path[k].station;
  }
  // Each element starts at its record and its last sample is where the next record starts.
  for (std::size_t i = 0; i + 1 < a.elements.size(); ++i) {
    const view::StationPoint& first = a.path[a.elementFirstPoint[i]];
    EXPECT_NEAR(first.point.x, a.elements[i].x, 1e-9);
    const view::StationPoint& last = a.path[a.elementFirstPoint[i + 1] - 1];
    EXPECT_NEAR(last.point.x, a.elements[i + 1].x, 0.001) << "element " << i;
    EXPECT_NEAR(last.point.y, a.elements[i + 1].y, 0.001) << "element " << i;
  }
}

TEST(AlignmentView, ArcPointsLieOnTheirCircleAndClothoidCurvatureGrowsLinearly) {
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  const view::AlignmentView& a = model.alignment;
  // The left-hand arc of radius 400 from station 1100: its centre lies 400 m to its left.
  const common::AlignmentElement& arc = a.elements[5];
  ASSERT_EQ(arc.kind, common::kArc);
  const common::Point2 centre = common::PointAlong({arc.x, arc.y}, arc.radius, arc.azimuth + 100);
  for (std::size_t k = a.elementFirstPoint[5]; k < a.elementFirstPoint[6]; ++k) {
    EXPECT_NEAR(std::hypot(a.path[k].point.x - centre.x, a.path[k].point.y - centre.y), 400.0, 1e-6);
  }
  // The entry clothoid A 250 into R 500 is 125 m long: curvature d / A².
  for (std::size_t k = a.elementFirstPoint[1]; k < a.elementFirstPoint[2]; ++k) {
    const double d = a.path[k].station - 350.0;
    EXPECT_NEAR(a.path[k].curvature, d / (250.0 * 250.0), 1e-12);
  }
}

TEST(AlignmentView, TicksEveryHundredMetresWithLabels) {
  const view::ViewModel model = Load(Sample("ejes/variante.eje"));
  const auto& ticks = model.alignment.ticks;
  ASSERT_EQ(ticks.size(), 17u);
  EXPECT_EQ(ticks.front().label, "0+000");
  EXPECT_EQ(ticks[4].label, "0+400");
  EXPECT_EQ(ticks.back().label, "1+600");
  EXPECT_NEAR(ticks[4].at.station, 400.0, 1e-9);
}

TEST(AlignmentView, HostileStationsStayBounded) {
  std::vector<common::AlignmentElement> elements(3);
  elements[1].station = 1e12;
  elements[2].station = NAN;
  view::AlignmentView a;
  view::BuildAlignmentView(elements, a);
  EXPECT_LT(a.path.size(), 30000u);
  EXPECT_LE(a.ticks.size(), 100000u);
}

TEST(StationLabels, KilometresPlusMetres) {
  EXPECT_EQ(view::StationLabel(1234.5678, 3), "1+234,568");
  EXPECT_EQ(view::StationLabel(50, 0), "0+050");
  EXPECT_EQ(view::StationLabel(999.9996, 3), "1+000,000");
  EXPECT_EQ(view::StationLabel(-20, 0), "-0+020");
}

TEST(ProfileView, HostileCurvesStayBoundedAndOnTheirParabolas) {
  // Curves whose lengths add up to far more than the budget share it, still on their parabolas.
  common::Profile vertices;
  for (int i = 0; i <= 401; ++i) {
    common::ProfileVertex v;
    v.station = i * 30000.0;
    v.elevation = i % 2 == 0 ? 600 : 650;
    v.tangent = i == 0 || i == 401 ? 0 : 10000;
    vertices.push_back(v);
  }
  view::ProfileView profile;
  view::BuildProfileView(vertices, profile);
  EXPECT_LE(profile.line.size(), 2000000u + 51u * vertices.size());
  for (std::size_t k = 0; k < profile.line.size(); k += 9973) {
    const view::SectionPoint& point = profile.line[k];
    EXPECT_NEAR(point.elevation, view::ProfileElevation(profile.vertices, point.station), 1e-6) << point.station;
  }
  // A tangent whose curve length overflows gets the fewest pieces.
  vertices.resize(3);
  vertices[1].tangent = 1e308;
  view::BuildProfileView(vertices, profile);
  EXPECT_LE(profile.line.size(), 60u);
}

TEST(ProfileView, CurvesPassAtTheirExternalOrdinateBelowACrest) {
  const view::ViewModel model = Load(Sample("rasantes/variante.ras"));
  ASSERT_EQ(model.kind, view::DataKind::kProfile);
  const common::Profile& p = model.profile.vertices;
  ASSERT_EQ(p.size(), 4u);
  // At a vertex the curve stands off by the external ordinate the file gives.
  EXPECT_NEAR(view::ProfileElevation(p, 420.0), 618.300 - 0.593, 0.001);
  EXPECT_NEAR(view::ProfileElevation(p, 980.0), 603.900 + 0.729, 0.001);
  // Outside the curves the grade line is straight; the curve meets it at its ends.
  EXPECT_NEAR(view::ProfileElevation(p, 200.0), 612.5 + (618.3 - 612.5) * 200.0 / 420.0, 1e-9);
  EXPECT_NEAR(view::ProfileElevation(p, 360.0), 612.5 + (618.3 - 612.5) * 360.0 / 420.0, 1e-9);
  // Every piece of the drawn line stays within a millimetre of the curve at its middle, and
  // pieces on a curve are a metre long at most.
  const auto& line = model.profile.line;
  for (std::size_t k = 1; k < line.size(); ++k) {
    const double middle = 0.5 * (line[k].station + line[k - 1].station);
    EXPECT_NEAR(0.5 * (line[k].elevation + line[k - 1].elevation), view::ProfileElevation(p, middle), 0.001) << middle;
    if (std::fabs(middle - 420) < 60 || std::fabs(middle - 980) < 80) {
      EXPECT_LE(line[k].station - line[k - 1].station, 1.0 + 1e-9);
    }
  }
}

// A second profile drawn as the ground: its grade line with its curve, clipped to the stations
// of the profile shown (its ends on the straight that crosses them); one that shares no stretch
// of stations, or a file that shows no profile, is refused and the model keeps what it had.
TEST(ProfileView, ASecondProfileIsTheGroundWhereTheyShareStations) {
  TempDir dir;
  // The sample runs from 0 to 1660; this ground from -100 to 2000, with a 100 m sag at 800.
  WriteFile(dir.File("terreno.ras"),
            "  -100.000  600.000     0.000    0.000    0.000\n"
            "   800.000  590.000  2769.231   50.000    0.451\n"
            "  2000.000  620.000     0.000    0.000    0.000\n");
  view::ViewModel model = Load(Sample("rasantes/variante.ras"));
  std::string error;
  ASSERT_TRUE(view::AddTerrainProfile(dir.File("terreno.ras"), model, error)) << error;
  const std::vector<view::SectionPoint>& ground = model.profile.terrain;
  ASSERT_GT(ground.size(), 50u);
  const common::Profile terrain = Load(dir.File("terreno.ras")).profile.vertices;
  EXPECT_DOUBLE_EQ(ground.front().station, 0.0);
  EXPECT_NEAR(ground.front().elevation, 600.0 - 10.0 * 100.0 / 900.0, 1e-9);
  EXPECT_DOUBLE_EQ(ground.back().station, 1660.0);
  EXPECT_NEAR(ground.back().elevation, 590.0 + 30.0 * 860.0 / 1200.0, 1e-9);
  for (std::size_t k = 0; k < ground.size(); ++k) {
    EXPECT_NEAR(ground[k].elevation, view::ProfileElevation(terrain, ground[k].station), 1e-6) << ground[k].station;
    if (k > 0) {
      EXPECT_LE(ground[k - 1].station, ground[k].station);
    }
  }
  // The sag is drawn as its curve, above the vertex by its external ordinate, and is in the extents.
  EXPECT_NEAR(view::ProfileElevation(terrain, 800.0), 590.451, 0.001);
  EXPECT_LE(model.profile.extents.minY, view::ProfileElevation(terrain, 800.0));
  EXPECT_GT(model.profile.extents.minY, 590.0);
  EXPECT_DOUBLE_EQ(model.profile.extents.minX, 0.0);
  EXPECT_DOUBLE_EQ(model.profile.extents.maxX, 1660.0);

  WriteFile(dir.File("lejos.ras"), "2000 600 0 0 0\n2500 610 0 0 0\n");
  WriteFile(dir.File("toca.ras"), "1660 600 0 0 0\n2500 610 0 0 0\n");
  for (const char* far : {"lejos.ras", "toca.ras"}) {
    view::ViewModel kept = Load(Sample("rasantes/variante.ras"));
    EXPECT_FALSE(view::AddTerrainProfile(dir.File(far), kept, error)) << far;
    EXPECT_EQ(error, "El terreno " + dir.File(far) + " no se solapa con los P.K. de la rasante (0+000,000 a 1+660,000)");
    EXPECT_TRUE(kept.profile.terrain.empty());
  }
  view::ViewModel alignment = Load(Sample("ejes/variante.eje"));
  EXPECT_FALSE(view::AddTerrainProfile(dir.File("terreno.ras"), alignment, error));
  EXPECT_NE(error.find("no muestra ninguna"), std::string::npos) << error;
  WriteFile(dir.File("vacio.ras"), "\n");
  for (const std::string& none : {Sample("ejes/variante.eje"), dir.File("vacio.ras")}) {
    EXPECT_FALSE(view::AddTerrainProfile(none, model, error)) << none;
    EXPECT_NE(error.find("no contiene ninguna rasante"), std::string::npos) << error;
  }
  EXPECT_FALSE(view::AddTerrainProfile(dir.File("falta.ras"), model, error));
  EXPECT_EQ(model.profile.terrain.size(), ground.size());
}

TEST(SectionsView, GroupsRunsOfOneStation) {
  const view::ViewModel model = Load(Sample("transversales/tramo.tra"));
  ASSERT_EQ(model.kind, view::DataKind::kCrossSections);
  ASSERT_FALSE(model.sections.sections.empty());
  std::size_t total = 0;
  for (const view::CrossSection& section : model.sections.sections) {
    for (const auto& point : section.points) EXPECT_EQ(point.station, section.station);
    total += section.points.size();
  }
  EXPECT_EQ(total, model.sections.points.size());
  EXPECT_EQ(model.sections.sections.front().station, 1200.0);
}

TEST(PointsView, ReadsNumbersAndWholeCodes) {
  const view::ViewModel model = Load(Sample("puntos/levantamiento.pun"));
  ASSERT_EQ(model.kind, view::DataKind::kPoints);
  ASSERT_EQ(model.points.points.size(), 12u);
  EXPECT_EQ(model.points.points[0].number, 101);
  EXPECT_EQ(model.points.points[0].code, "BC");
  EXPECT_NEAR(model.points.extents.minX, 442350.125, 1e-9);
}

TEST(SurfaceView, ReadsBackTheSurfaceFileTheDxfImportWrites) {
  TempDir dir;
  const std::string target = dir.File("terreno.sup");
  const long written = planimetro::surface::ImportDxfSurface(Sample("superficies/terreno-caras.dxf"), "TERRENO", target);
  ASSERT_GT(written, 0);
  const view::ViewModel model = Load(target);
  ASSERT_EQ(model.kind, view::DataKind::kSurface);
  EXPECT_EQ(static_cast<long>(model.surface.triangles.size()), written);
  EXPECT_EQ(model.surface.brokenSides, 0);
  EXPECT_LT(model.surface.minZ, model.surface.maxZ);
  // Every triangle appears once, with three distinct points.
  std::set<std::array<int32_t, 3>> seen;
  for (auto triangle : model.surface.triangles) {
    std::sort(triangle.begin(), triangle.end());
    EXPECT_TRUE(triangle[0] != triangle[1] && triangle[1] != triangle[2]);
    EXPECT_TRUE(seen.insert(triangle).second);
  }
}

TEST(SurfaceFileReader, RefusesWhatIsNotAWholeSurfaceFile) {
  TempDir dir;
  const std::string target = dir.File("terreno.sup");
  ASSERT_GT(planimetro::surface::ImportDxfSurface(Sample("superficies/terreno-caras.dxf"), "TERRENO", target), 0);
  const std::string bytes = testing_support::ReadFile(target);
  planimetro::surface::SurfaceFileContents contents;
  std::string problem;
  ASSERT_TRUE(planimetro::surface::LeerSup(bytes, contents, problem)) << problem;
  // Cut anywhere before its last section, the file is refused, never read past its end.
  for (std::size_t size : {std::size_t{0}, std::size_t{100}, std::size_t{208}, bytes.size() / 2, bytes.size() - 13}) {
    EXPECT_FALSE(planimetro::surface::LeerSup(std::string_view(bytes).substr(0, size), contents, problem)) << size;
    EXPECT_FALSE(problem.empty());
  }
  std::string wrongSignature = bytes;
  wrongSignature[4] = 'X';
  EXPECT_FALSE(planimetro::surface::LeerSup(wrongSignature, contents, problem));
  // A point count far beyond the bytes is refused before anything is allocated.
  std::string hugeCount = bytes;
  const std::size_t countAt = 208;  // the lists are empty: the point count follows the header
  hugeCount[countAt + 3] = 0x7f;
  EXPECT_FALSE(planimetro::surface::LeerSup(hugeCount, contents, problem));
}

TEST(DrawingView, FacesMakeASurfaceAndPointsAreNumbered) {
  const view::ViewModel faces = Load(Sample("superficies/terreno-caras.dxf"));
  ASSERT_EQ(faces.kind, view::DataKind::kSurface);
  EXPECT_FALSE(faces.surface.triangles.empty());
  const view::ViewModel drawing = Load(Sample("dxf/levantamiento.dxf"));
  // This drawing holds one 3D face beside its points: the face wins.
  EXPECT_EQ(drawing.kind, view::DataKind::kSurface);
  TempDir dir;
  WriteFile(dir.File("puntos.dxf"),
            "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\nA\n 10\n1.0\n 20\n2.0\n 30\n3.0\n"
            "  0\nPOINT\n  8\nA\n 10\n4.0\n 20\n5.0\n 30\n6.0\n  0\nENDSEC\n  0\nEOF\n");
  const view::ViewModel points = Load(dir.File("puntos.dxf"));
  ASSERT_EQ(points.kind, view::DataKind::kPoints);
  ASSERT_EQ(points.points.points.size(), 2u);
  EXPECT_EQ(points.points.points[1].number, 2);
  EXPECT_EQ(points.points.points[1].z, 6.0);
}

TEST(LoadViewFile, SaysWhyItCannotShowAFile) {
  TempDir dir;
  view::ViewModel model;
  std::string error;
  EXPECT_FALSE(view::LoadViewFile(dir.File("falta.eje"), model, error));
  EXPECT_NE(error.find("No se puede leer"), std::string::npos);
  WriteFile(dir.File("notas.txt"), "hola\n");
  EXPECT_FALSE(view::LoadViewFile(dir.File("notas.txt"), model, error));
  EXPECT_NE(error.find("No se sabe mostrar"), std::string::npos);
  WriteFile(dir.File("roto.sup"), "SUP");
  EXPECT_FALSE(view::LoadViewFile(dir.File("roto.sup"), model, error));
  EXPECT_NE(error.find("superficie"), std::string::npos);
}

void ListFiles(const std::string& directory, std::vector<std::string>& files) {
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    struct stat info {};
    const std::string path = directory + "/" + name;
    if (name == "." || name == ".." || ::stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      ListFiles(path, files);
    } else {
      files.push_back(path);
    }
  }
  ::closedir(dir);
}

// A file's bytes held in memory give the view of the file itself (a point shapefile aside,
// whose other parts are other files): every sample, each entry of a LandXML document, a
// surface file, CR LF line ends.
TEST(LoadViewBytes, ShowsWhatTheFileShows) {
  TempDir dir;
  std::vector<std::string> files;
  ListFiles(std::string(PASARELA_SOURCE_DIR) + "/samples", files);
  ASSERT_GT(planimetro::surface::ImportDxfSurface(Sample("superficies/terreno-caras.dxf"), "TERRENO",
                                                  dir.File("terreno.sup")),
            0);
  files.push_back(dir.File("terreno.sup"));
  WriteFile(dir.File("crlf.ras"), "0 600 0 0 0\r\n500 610 2000 40 0.4\r\n1000 605 0 0 0\r\n");
  files.push_back(dir.File("crlf.ras"));
  std::size_t shown = 0;
  for (const std::string& path : files) {
    const std::string bytes = testing_support::ReadFile(path);
    for (const std::string choice : {"", "2", "3"}) {
      SCOPED_TRACE(path + " [" + choice + "]");
      view::ViewModel onDisk, inMemory;
      std::string diskError, memoryError;
      const bool fromFile = view::LoadViewFile(path, choice, onDisk, diskError);
      const bool fromBytes = view::LoadViewBytes(bytes, path, choice, inMemory, memoryError);
      if (common::SniffFileKind(std::string_view(bytes).substr(0, 4096)) == common::FileKind::kShapefile) {
        EXPECT_TRUE(fromFile) << diskError;
        EXPECT_FALSE(fromBytes);
        EXPECT_NE(memoryError.find("shapefile"), std::string::npos) << memoryError;
        continue;
      }
      ASSERT_EQ(fromBytes, fromFile) << memoryError << " / " << diskError;
      EXPECT_EQ(memoryError, diskError);
      if (!fromFile) continue;
      ++shown;
      EXPECT_EQ(inMemory.kind, onDisk.kind);
      EXPECT_EQ(view::Summary(inMemory), view::Summary(onDisk));
      ASSERT_EQ(inMemory.entries.size(), onDisk.entries.size());
      for (std::size_t i = 0; i < onDisk.entries.size(); ++i) {
        EXPECT_EQ(view::EntryLabel(inMemory.entries[i]), view::EntryLabel(onDisk.entries[i]));
      }
      EXPECT_EQ(inMemory.alignment.path.size(), onDisk.alignment.path.size());
      EXPECT_EQ(inMemory.profile.line.size(), onDisk.profile.line.size());
      EXPECT_EQ(inMemory.surface.triangles, onDisk.surface.triangles);
    }
  }
  EXPECT_GT(shown, 20u);
}

}  // namespace

// The elevation under the cursor of a surface: the plane of the triangle holding the place,
// nothing outside the triangles or in a hole, and faces naming points that do not exist
// skipped.
TEST(SurfaceLocator, ElevationFromTheTriangleHoldingThePlace) {
  view::SurfaceView surface;
  // A square of two triangles, z = x + 2y, and a triangle far away with a bad corner.
  surface.points = {{0, 0, 0}, {10, 0, 10}, {10, 10, 30}, {0, 10, 20}, {100, 100, 5}};
  surface.triangles = {{0, 1, 2}, {0, 2, 3}, {4, 7, 1}};
  view::SurfaceLocator locator;
  locator.Build(surface);
  double z = 0;
  for (const auto& [x, y] : std::vector<std::pair<double, double>>{{1, 1}, {9, 2}, {2, 9}, {5, 5}, {10, 10}, {0, 0}}) {
    ASSERT_TRUE(locator.ElevationAt(x, y, z)) << x << " " << y;
    EXPECT_NEAR(z, x + 2 * y, 1e-9) << x << " " << y;
  }
  EXPECT_FALSE(locator.ElevationAt(-1, 5, z));
  EXPECT_FALSE(locator.ElevationAt(11, 5, z));
  EXPECT_FALSE(locator.ElevationAt(100, 100.5, z));
  view::SurfaceLocator empty;
  EXPECT_FALSE(empty.ElevationAt(0, 0, z));
}
