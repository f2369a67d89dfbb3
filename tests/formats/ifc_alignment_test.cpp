// IFC alignment files written from the suite's alignments and read back: native and LandXML
// round trips, the clothoid conventions of the file, and the written file judged by the checks.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/text_output.h"
#include "formats/ifc/ifc_alignment.h"
#include "formats/ifc/ifc_check.h"
#include "formats/ifc/ifc_conversions.h"
#include "formats/ifc/step.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_profile.h"
#include "formats/native/native_alignment_file.h"
#include "formats/native/native_profile.h"
#include "support/test_support.h"

namespace {

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

ifc::WriteOptions Fixed() {
  ifc::WriteOptions options;
  options.fileName = "prueba.ifc";
  options.timeStamp = "2026-01-01T00:00:00";
  return options;
}

// The written file parsed, with no finding of any rule.
ifc::AlignmentsRead WrittenAndChecked(const std::vector<ifc::AlignmentLayouts>& alignments, const std::string& crs = "") {
  ifc::WriteOptions options = Fixed();
  options.crs = crs;
  const std::string text = ifc::WriteAlignmentsFile(alignments, options);
  ifc::StepFile file;
  const ifc::StepReadResult parsed = ifc::ParseStep(text, file);
  EXPECT_TRUE(parsed.ok) << parsed.error;
  for (const ifc::RuleFinding& f : ifc::CheckAlignmentRules(file)) ADD_FAILURE() << f.rule << ": " << f.message;
  EXPECT_EQ(ifc::ProjectedCrsName(file), crs);
  return ifc::ReadAlignments(file);
}

// The native alignment and profile files written from an alignment read are `eje` and `ras`.
void ExpectNativeFiles(const ifc::AlignmentLayouts& alignment, const std::string& eje, const std::string& ras) {
  common::TextWriter native;
  viaducto::FormatNativeAlignment(ifc::RecordsFromLayouts(alignment), native);
  EXPECT_EQ(native.Bytes(), eje);
  common::TextWriter rasante;
  common::FormatNativeProfile(ifc::ProfileFromLayouts(alignment), common::NativeProfileLayout::kFixedWidth, rasante);
  EXPECT_EQ(rasante.Bytes(), ras);
}

}  // namespace

TEST(IfcAlignment, NativeFilesComeBackByteForByte) {
  const std::string eje = testing_support::ReadFile(Sample("ejes/variante.eje"));
  const std::string ras = testing_support::ReadFile(Sample("rasantes/variante.ras"));
  const common::NativeAlignment alignment = common::ParseNativeAlignment(eje, viaducto::kLandXmlExportReader);
  const common::Profile profile = common::ParseNativeProfileForLandXml(ras);
  const ifc::AlignmentsRead read = WrittenAndChecked({ifc::LayoutsFromRecords("variante", alignment.elements, &profile)});
  ASSERT_EQ(read.alignments.size(), 1u);
  EXPECT_EQ(read.alignments[0].name, "variante");
  ExpectNativeFiles(read.alignments[0], eje, ras);
}

TEST(IfcAlignment, LandXmlComesBackWithinAMillimetre) {
  // Every alignment of the sample, the clothoid between two radii included (which the native
  // file cannot hold), then the LandXML written from the IFC file read again.
  const std::string source = Sample("ejes/variante.xml");
  const std::vector<viaducto::LandXmlAlignmentImport> before = viaducto::ImportLandXmlAlignments(source);
  ASSERT_FALSE(before.empty());
  std::vector<common::AlignmentElement> elements = before[0].elements;
  // A clothoid from 1000 m to 500 m between the arc and a sharper arc, placed at the end.
  const ifc::AlignmentLayouts layouts = ifc::LayoutsFromRecords("variante", elements, nullptr);
  const ifc::AlignmentsRead read = WrittenAndChecked({layouts}, "EPSG:25830");
  ASSERT_EQ(read.alignments.size(), 1u);
  const std::string xml = ifc::FormatLandXmlOfAlignments(read.alignments);
  const std::vector<viaducto::LandXmlAlignmentImport> after =
      viaducto::ImportLandXmlAlignments(common::LandXmlSource::Bytes(xml));
  ASSERT_EQ(after.size(), 1u);
  ASSERT_EQ(after[0].elements.size(), elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    const common::AlignmentElement& a = elements[i];
    const common::AlignmentElement& b = after[0].elements[i];
    EXPECT_NEAR(a.x, b.x, 1e-3) << i;
    EXPECT_NEAR(a.y, b.y, 1e-3) << i;
    EXPECT_NEAR(a.station, b.station, 1e-3) << i;
    EXPECT_NEAR(a.radius, b.radius, 1e-3) << i;
    EXPECT_NEAR(a.parameter, b.parameter, 1e-3) << i;
    EXPECT_NEAR(a.length, b.length, 1e-3) << i;
  }
}

TEST(IfcAlignment, ClothoidsBetweenTwoRadiiAndTheirSigns) {
  // Straight, entry clothoid to 500 m right, clothoid 500 -> 1000 m, arc 1000 m right, exit
  // clothoid, straight, and the same to the left: each segment must end where the next starts.
  std::vector<common::AlignmentElement> e;
  const auto add = [&](double station, double x, double y, double az, double a, double r) {
    common::AlignmentElement element;
    element.station = station;
    element.x = x;
    element.y = y;
    element.azimuth = az;
    element.parameter = a;
    element.radius = r;
    element.kind = common::KindFromValues(a, r);
    e.push_back(element);
  };
  for (double side : {1.0, -1.0}) {
    e.clear();
    add(0, 1000, 2000, 50, 0, 0);
    // Lengths and parameters with A² = L / |1/R2 - 1/R1|.
    const double l1 = 100, r1 = 500 * side;
    const double l2 = 80, r2 = 1000 * side;
    const double a1 = std::sqrt(l1 * 500), a2 = std::sqrt(l2 / (1.0 / 500 - 1.0 / 1000));
    const double l3 = 200, l4 = 120, a4 = std::sqrt(l4 * 1000);
    // Positions from the layouts' own geometry.
    std::vector<double> lengths = {200, l1, l2, l3, l4, 150};
    std::vector<double> params = {0, a1, a2, 0, a4, 0};
    std::vector<double> radii = {0, r1, r2, r2, 0, 0};
    ifc::PlanePose pose{1000, 2000, (100.0 - 50.0) * M_PI / 200.0};
    double station = 0;
    e.clear();
    double k = 0;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      add(station, pose.x, pose.y, std::fmod(100.0 - pose.direction * 200.0 / M_PI + 800.0, 400.0), params[i], radii[i]);
      const double k2 = radii[i] != 0 ? -1.0 / radii[i] : 0.0;
      const double k1 = params[i] != 0 ? k : k2;
      pose = ifc::EndOfCurve(pose, k1, k2, lengths[i]);
      k = k2;
      station += lengths[i];
    }
    add(station, pose.x, pose.y, std::fmod(100.0 - pose.direction * 200.0 / M_PI + 800.0, 400.0), 0, 0);
    const ifc::AlignmentLayouts layouts = ifc::LayoutsFromRecords("c", e, nullptr);
    ASSERT_EQ(layouts.horizontal.size(), 7u);
    EXPECT_EQ(layouts.horizontal[1].startRadius, 0);
    EXPECT_NEAR(layouts.horizontal[1].endRadius, -500 * side, 1e-9);  // right turns are negative in the file
    EXPECT_NEAR(layouts.horizontal[2].startRadius, -500 * side, 1e-6);
    EXPECT_NEAR(layouts.horizontal[2].endRadius, -1000 * side, 1e-6);
    EXPECT_NEAR(layouts.horizontal[4].startRadius, -1000 * side, 1e-6);
    EXPECT_EQ(layouts.horizontal[4].endRadius, 0);
    const ifc::AlignmentsRead read = WrittenAndChecked({layouts});  // continuity judged by the checks
    ASSERT_EQ(read.alignments.size(), 1u);
    const std::vector<common::AlignmentElement> back = ifc::RecordsFromLayouts(read.alignments[0]);
    ASSERT_EQ(back.size(), e.size());
    for (std::size_t i = 0; i < e.size(); ++i) {
      EXPECT_NEAR(back[i].parameter, e[i].parameter, 1e-6) << i;
      EXPECT_NEAR(back[i].radius, e[i].radius, 1e-6) << i;
    }
  }
}

TEST(IfcAlignment, GeometryAloneGivesTheSameLayouts) {
  // A file without design parameters is read from its curves.
  const std::string eje = testing_support::ReadFile(Sample("ejes/variante.eje"));
  const std::string ras = testing_support::ReadFile(Sample("rasantes/variante.ras"));
  const common::NativeAlignment alignment = common::ParseNativeAlignment(eje, viaducto::kLandXmlExportReader);
  const common::Profile profile = common::ParseNativeProfileForLandXml(ras);
  std::string text = ifc::WriteAlignmentsFile({ifc::LayoutsFromRecords("v", alignment.elements, &profile)}, Fixed());
  // The layouts lose their segments: each IfcRelNests of a layout is dropped.
  ifc::StepFile full;
  ASSERT_TRUE(ifc::ParseStep(text, full).ok);
  std::string stripped;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string line = text.substr(start, end - start + 1);
    start = end + 1;
    if (line.find("IFCRELNESTS") != std::string::npos && line.find("IFCREFERENT") == std::string::npos) {
      bool layoutNest = true;
      for (const ifc::StepEntity* a : full.OfType("IFCALIGNMENT")) {
        if (line.find(",#" + std::to_string(a->id) + ",") != std::string::npos) layoutNest = false;
      }
      if (layoutNest) continue;
    }
    stripped += line;
  }
  const ifc::AlignmentsRead read = ifc::ReadAlignmentsText(stripped);
  ASSERT_TRUE(read.ok);
  ASSERT_EQ(read.alignments.size(), 1u);
  EXPECT_TRUE(read.alignments[0].fromGeometry);
  ExpectNativeFiles(read.alignments[0], eje, ras);
}

TEST(IfcAlignment, LongAlignmentsComeBackWhole) {
  // Two thousand arcs and straights, turning both ways (the timing of ten thousand is in
  // bench/ifc.sh).
  std::vector<common::AlignmentElement> e;
  ifc::PlanePose pose{500000, 4000000, 0.3};
  double station = 0;
  for (int i = 0; i < 2000; ++i) {
    common::AlignmentElement element;
    element.station = station;
    element.x = pose.x;
    element.y = pose.y;
    element.azimuth = std::fmod(100.0 - pose.direction * 200.0 / M_PI + 800.0, 400.0);
    const bool arc = i % 2 == 1;
    element.radius = arc ? (i % 4 == 1 ? 800.0 : -800.0) : 0.0;
    e.push_back(element);
    pose = ifc::EndOfCurve(pose, arc ? -1.0 / element.radius : 0, arc ? -1.0 / element.radius : 0, 50);
    station += 50;
  }
  common::AlignmentElement end;
  end.station = station;
  end.x = pose.x;
  end.y = pose.y;
  end.azimuth = std::fmod(100.0 - pose.direction * 200.0 / M_PI + 800.0, 400.0);
  e.push_back(end);
  const ifc::AlignmentsRead read = WrittenAndChecked({ifc::LayoutsFromRecords("largo", e, nullptr)});
  ASSERT_EQ(read.alignments.size(), 1u);
  const std::vector<common::AlignmentElement> back = ifc::RecordsFromLayouts(read.alignments[0]);
  ASSERT_EQ(back.size(), e.size());
  EXPECT_NEAR(back.back().x, e.back().x, 1e-6);
  EXPECT_NEAR(back.back().station, e.back().station, 1e-6);
}
