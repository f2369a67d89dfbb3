// What `info` counts in native files it reads as a stream, chunk by chunk: the same as the
// readers find in the whole text, whatever falls on a chunk's edge (a CR LF cut in two, a line
// longer than a read piece, a last line without its line end).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "formats/native/native_cross_section.h"
#include "formats/native/native_profile.h"
#include "formats/native/point_file.h"
#include "common/text_input.h"
#include "frontend/detect/contents.h"
#include "support/test_support.h"
#include "formats/native/native_alignment_file.h"

namespace {

using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

// `count` lines made by `line(i)`, CR LF line ends, every 997th line padded past a read piece
// with blanks (past the lines detection looks at), and the last line without its line end. Far larger than one read chunk, so
// chunk edges fall inside lines and between the CR and the LF of a line end.
template <typename Line>
std::string LargeText(int count, Line&& line) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    std::string one = line(i);
    if (i % 997 == 996) one += std::string(300, ' ') + "9";
    text += one + (i + 1 < count ? "\r\n" : "");
  }
  return text;
}

std::string Whole(const std::string& path) {
  std::string text;
  EXPECT_TRUE(common::LoadTextFile(path, text));
  return text;
}

TEST(StreamedContents, CountsAgreeWithTheWholeFileReaders) {
  TempDir dir;
  const auto number = [](double value) { return std::to_string(value); };

  const std::string points = dir.File("p.pun");
  WriteFile(points, LargeText(20000, [&](int i) {
              return std::to_string(i + 1) + " " + number(440000 + i * 0.5) + " " + number(4470000 - i * 0.25) + " " +
                     number(600 + i % 50) + " C" + std::to_string(i % 7);
            }));
  const detect::Contents pointContents = detect::ReadContents(points);
  ASSERT_TRUE(pointContents.read) << pointContents.error;
  long expectedPoints = 0;
  detect::Extents expectedExtents;
  common::ForEachPointLine(Whole(points), common::PointCodeRule::kFirstWord, [&](const common::PointLine& point) {
    ++expectedPoints;
    expectedExtents.Add(point.x, point.y, point.z);
  });
  EXPECT_EQ(pointContents.points, expectedPoints);
  EXPECT_DOUBLE_EQ(pointContents.extents.maxX, expectedExtents.maxX);
  EXPECT_DOUBLE_EQ(pointContents.extents.minY, expectedExtents.minY);

  const std::string alignment = dir.File("a.eje");
  WriteFile(alignment, LargeText(15000, [&](int i) {
              const double radius = i % 3 == 0 ? 0 : 450;
              const double parameter = i % 3 == 1 ? 150 : 0;
              return number(i * 100.0) + " " + number(440000 + i) + " " + number(4470000 + i) + " 50.000000 " +
                     number(parameter) + " " + number(radius);
            }));
  const detect::Contents alignmentContents = detect::ReadContents(alignment);
  ASSERT_EQ(alignmentContents.alignments.size(), 1u) << detect::DescribeDetection(alignmentContents.detection);
  const viaducto::NativeAlignment whole = viaducto::ParseNativeAlignment(Whole(alignment), viaducto::kElementReader);
  const detect::AlignmentSummary& summary = alignmentContents.alignments[0];
  EXPECT_EQ(summary.elements, static_cast<long>(whole.elements.size()) - 1);
  long kinds = 0;
  for (const auto& [kind, count] : summary.elementsByKind) kinds += count;
  EXPECT_EQ(kinds, summary.elements);
  EXPECT_DOUBLE_EQ(summary.startStation, whole.elements.front().station);
  EXPECT_DOUBLE_EQ(summary.endStation, whole.elements.back().station);

  const std::string sections = dir.File("s.tra");
  WriteFile(sections, LargeText(30000, [&](int i) {
              return number(20.0 * (i / 25)) + " " + number(-12.0 + i % 25) + " " + number(600 + i % 25 * 0.1) + " T";
            }));
  const detect::Contents sectionContents = detect::ReadContents(sections);
  ASSERT_EQ(sectionContents.crossSections.size(), 1u) << sectionContents.error;
  std::vector<common::CrossSectionPoint> wholePoints;
  common::ParseNativeCrossSections(Whole(sections), common::kNativeSectionsReadUnendedLine, wholePoints);
  long wholeSections = 0;
  for (std::size_t i = 0; i < wholePoints.size(); ++i) {
    if (i == 0 || wholePoints[i].station != wholePoints[i - 1].station) ++wholeSections;
  }
  EXPECT_EQ(sectionContents.crossSections[0].points, static_cast<long>(wholePoints.size()));
  EXPECT_EQ(sectionContents.crossSections[0].sections, wholeSections);

  const std::string profile = dir.File("r.ras");
  WriteFile(profile, LargeText(12000, [&](int i) {
              return number(i * 50.0) + " " + number(600 + i % 9) + " 1000.000 20.000 0.200";
            }));
  const detect::Contents profileContents = detect::ReadContents(profile);
  ASSERT_EQ(profileContents.profiles.size(), 1u) << profileContents.error;
  const common::Profile wholeProfile = common::ParseNativeProfile(Whole(profile));
  EXPECT_EQ(profileContents.profiles[0].vertices, static_cast<long>(wholeProfile.size()));
  EXPECT_DOUBLE_EQ(profileContents.profiles[0].endStation, wholeProfile.back().station);
}

// A drawing read as a stream: entities by layer and type, and the extents of their
// coordinates, the elevations only from the entities that carry one.
TEST(StreamedContents, DrawingExtentsTakeTheElevationsTheEntitiesCarry) {
  TempDir dir;
  std::string drawing = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
  for (int i = 0; i < 5000; ++i) {
    drawing += "  0\r\nPOINT\r\n  8\r\nPUNTOS\r\n 10\r\n" + std::to_string(440000 + i) + "\r\n 20\r\n4470000\r\n 30\r\n" +
               std::to_string(600 + i % 151) + "\r\n";
  }
  drawing += "  0\r\nLINE\r\n  8\r\nEJE\r\n 10\r\n439000\r\n 20\r\n4469000\r\n 11\r\n439500\r\n 21\r\n4469500\r\n";
  drawing += "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  WriteFile(dir.File("d.dxf"), drawing);
  const detect::Contents contents = detect::ReadContents(dir.File("d.dxf"));
  ASSERT_TRUE(contents.read) << contents.error;
  std::map<std::string, std::map<std::string, long>> layers;
  for (const detect::LayerSummary& layer : contents.layers) layers[layer.name] = layer.entities;
  EXPECT_EQ(layers["PUNTOS"], (std::map<std::string, long>{{"POINT", 5000}}));
  EXPECT_EQ(layers["EJE"], (std::map<std::string, long>{{"LINE", 1}}));
  EXPECT_DOUBLE_EQ(contents.extents.minX, 439000);
  EXPECT_DOUBLE_EQ(contents.extents.maxX, 444999);
  EXPECT_DOUBLE_EQ(contents.extents.minZ, 600);
  EXPECT_DOUBLE_EQ(contents.extents.maxZ, 750);

  WriteFile(dir.File("plano.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nLINE\n  8\nEJE\n 10\n5\n 20\n6\n 11\n7\n 21\n8\n  0\nENDSEC\n  0\nEOF\n");
  const detect::Contents flat = detect::ReadContents(dir.File("plano.dxf"));
  EXPECT_DOUBLE_EQ(flat.extents.minZ, 0);
  EXPECT_DOUBLE_EQ(flat.extents.maxZ, 0);
}

// The surface file is counted by the suite's surface reader: the triangles its edge table
// holds, and a file cut short is said to be broken, not summarised from its header.
TEST(StreamedContents, SurfaceCountsComeFromTheSurfaceReader) {
  TempDir dir;
  std::string output;
  ASSERT_EQ(RunCommand("TEMP=" + Quoted(dir.path()) + " " + testing_support::CliPath() + " convert " +
                           Quoted(std::string(PASARELA_SOURCE_DIR) + "/samples/superficies/terreno.xml") + " -d " +
                           Quoted(dir.path()) + " --to sup 2>&1",
                       output),
            0)
      << output;
  const detect::Contents surface = detect::ReadContents(dir.File("terreno.sup"));
  ASSERT_EQ(surface.surfaces.size(), 1u) << surface.error;
  EXPECT_EQ(surface.surfaces[0].points, 12);
  EXPECT_EQ(surface.surfaces[0].faces, 12);
  EXPECT_EQ(detect::SummaryLine(surface), "12 triángulos");
  EXPECT_DOUBLE_EQ(surface.extents.maxZ, 613.1);

  const std::string bytes = ReadFile(dir.File("terreno.sup"));
  WriteFile(dir.File("cortada.sup"), bytes.substr(0, bytes.size() / 2));
  const detect::Contents cut = detect::ReadContents(dir.File("cortada.sup"));
  EXPECT_EQ(cut.detection.format, detect::Format::kNativeSurface);
  EXPECT_FALSE(cut.read);
  EXPECT_TRUE(cut.surfaces.empty());
  EXPECT_NE(cut.error.find("la superficie"), std::string::npos) << cut.error;
}

}  // namespace
