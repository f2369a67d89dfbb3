// The IFC exports of the library: every alignment listing it and its sibling read, written to
// IFC files that pass the suite's own checks and that an independent reader (web-ifc) opens
// with the right number of alignments and segments; the round trips through the imports.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "formats/ifc/ifc_alignment.h"
#include "formats/ifc/ifc_check.h"
#include "formats/ifc/step.h"
#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_profile.h"
#include "support/peer_tools.h"
#include "support/test_support.h"
#include "viaducto.h"

using namespace testing_support;

namespace {

std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

using IfcExport = int32_t (*)(const char*, const char*, const char*, const char*);

struct Source {
  const char* name;
  IfcExport convert;
  const char* sample;
  const char* profile;  // native profile for the vertical layout, or ""
};

const Source kSources[] = {
    {"native", MyDll_aterrex2ifc, "ejes/variante.eje", "rasantes/variante.ras"},
    {"landxml", MyDll_alandxml2ifc, "ejes/variante.xml", ""},
    {"istram", MyDll_aistram2ifc, "ejes/variante-istram.asc", ""},
    {"istram-list", MyDll_aistramList2ifc, "ejes/variante-istram-listado.txt", ""},
    {"ispol", MyDll_aispol2ifc, "ejes/variante-ispol.txt", "rasantes/variante.ras"},
    {"clip", MyDll_aclipplt2ifc, "ejes/variante.plt", ""},
    {"mxroad", MyDll_amxroad2ifc, "ejes/variante-mxroad.txt", ""},
    {"htrazado", MyDll_ahtrazado2ifc, "ejes/variante-htrazado.res", ""},
    {"cartomap", MyDll_acartomap2ifc, "ejes/variante-cartomap.txt", ""},
    {"mxroad-elements", MyDll_amxroadElementos2ifc, "calzada/variante-mxroad.txt", ""},
    {"inroads", MyDll_ainroads2ifc, "calzada/variante-inroads.txt", ""},
    {"dragados", MyDll_adragados2ifc, "calzada/variante-dragados.txt", ""},
    {"wtrazado", MyDll_awtrazado2ifc, "calzada/variante-wtrazado.txt", ""},
    {"plroad", MyDll_aplroad2ifc, "calzada/variante-plroad.txt", ""},
    {"asotec", MyDll_aasotec2ifc, "calzada/variante-asotec.txt", ""},
};

struct Counts {
  std::size_t alignments = 0;
  std::size_t segments = 0;  // IfcAlignmentSegment instances, every layout's
  std::size_t horizontal = 0;  // segments of the horizontal layout
};

Counts CountsOf(const std::string& path) {
  ifc::StepFile file;
  EXPECT_TRUE(ifc::ParseStep(ReadFile(path), file).ok) << path;
  return {file.OfType("IFCALIGNMENT").size(), file.OfType("IFCALIGNMENTSEGMENT").size(), 0};
}

}  // namespace

TEST(IfcExport, EveryAlignmentListingGivesAFileThatPassesTheChecks) {
  TempDir dir;
  std::string written;
  std::vector<Counts> expected;
  for (const Source& source : kSources) {
    SCOPED_TRACE(source.name);
    const std::string target = dir.File(std::string(source.name) + ".ifc");
    const std::string profile = *source.profile ? Sample(source.profile) : std::string();
    ASSERT_EQ(source.convert(Sample(source.sample).c_str(), target.c_str(), profile.c_str(), "EPSG:25830"), 1);
    ifc::StepFile file;
    ASSERT_TRUE(ifc::ParseStep(ReadFile(target), file).ok);
    for (const ifc::RuleFinding& f : ifc::CheckAlignmentRules(file)) ADD_FAILURE() << f.rule << ": " << f.message;
    EXPECT_EQ(ifc::ProjectedCrsName(file), "EPSG:25830");
    const ifc::AlignmentsRead read = ifc::ReadAlignments(file);
    ASSERT_EQ(read.alignments.size(), 1u);
    EXPECT_GE(read.alignments[0].horizontal.size(), 2u);
    EXPECT_EQ(read.alignments[0].vertical.empty(), *source.profile == '\0');
    written += " '" + target + "'";
    expected.push_back(CountsOf(target));
    expected.back().horizontal = read.alignments[0].horizontal.size();
  }
  // A coordinate system that is no EPSG code is refused before anything is written.
  EXPECT_EQ(MyDll_aterrex2ifc(Sample("ejes/variante.eje").c_str(), dir.File("mal.ifc").c_str(), "", "UTM30"), 0);
  EXPECT_FALSE(FileExists(dir.File("mal.ifc")));

  // An independent reader opens every file with the alignments and segments written.
  const std::string peer = std::string(PASARELA_SOURCE_DIR) + "/tests/ifc_peer";
  REQUIRE_PEER_TOOL("node --version", "nodejs");
  REQUIRE_PEER_TOOL("test -d '" + peer + "/node_modules/web-ifc'", "web-ifc (scripts/install-deps.sh)");
  std::string output;
  ASSERT_EQ(RunCommand("node '" + peer + "/count_alignments.js'" + written + " 2>&1", output), 0) << output;
  std::istringstream lines(output);
  std::size_t i = 0;
  std::string name;
  std::size_t alignments = 0, segments = 0, sampled = 0, curves = 0;
  while (lines >> name >> alignments >> segments >> sampled >> curves) {
    ASSERT_LT(i, expected.size());
    EXPECT_EQ(alignments, expected[i].alignments) << name;
    EXPECT_EQ(segments, expected[i].segments) << name;
    EXPECT_EQ(sampled, 1u) << name;
    EXPECT_EQ(curves, expected[i].horizontal) << name;  // the final segment of no length included
    ++i;
  }
  EXPECT_EQ(i, expected.size()) << output;
}

TEST(IfcExport, NativeFilesComeBackThroughTheImports) {
  TempDir dir;
  const std::string ifc = dir.File("v.ifc");
  ASSERT_EQ(MyDll_aterrex2ifc(Sample("ejes/variante.eje").c_str(), ifc.c_str(), Sample("rasantes/variante.ras").c_str(), ""),
            1);
  ASSERT_EQ(MyDll_seleccionaEjeIfc(ifc.c_str()), 1);
  ASSERT_EQ(MyDll_aifc2terrex(0, ifc.c_str(), dir.File("v.eje").c_str(), ""), 1);
  EXPECT_EQ(ReadFile(dir.File("v.eje")), ReadFile(Sample("ejes/variante.eje")));
  ASSERT_EQ(MyDll_rifc2terrex("VARIANTE", ifc.c_str(), dir.File("v.ras").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("v.ras")), ReadFile(Sample("rasantes/variante.ras")));
  // An alignment the file does not have, and a file with no vertical layout.
  EXPECT_EQ(MyDll_rifc2terrex("otro", ifc.c_str(), dir.File("x.ras").c_str()), 0);
  ASSERT_EQ(MyDll_aterrex2ifc(Sample("ejes/variante.eje").c_str(), dir.File("h.ifc").c_str(), "", ""), 1);
  EXPECT_EQ(MyDll_rifc2terrex("variante", dir.File("h.ifc").c_str(), dir.File("x.ras").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("x.ras")));
}

TEST(IfcExport, LandXmlComesBackWithItsProfilesWithinAMillimetre) {
  // A document of two alignments, the second with a profile of parabolic curves.
  TempDir dir;
  const std::string source = dir.File("dos.xml");
  std::string xml = ReadFile(Sample("ejes/variante.xml"));
  const std::string alignment = xml.substr(xml.find("<Alignment "), xml.find("</Alignments>") - xml.find("<Alignment "));
  std::string second = alignment;
  second.replace(second.find("name=\"variante\""), 15, "name=\"ramal\"");
  second.insert(second.find("</Alignment>"),
                "<Profile name=\"r\"><ProfAlign name=\"rasante\"><PVI>0 612.5</PVI><ParaCurve length=\"120\">420 618.3"
                "</ParaCurve><ParaCurve length=\"160\">980 603.9</ParaCurve><PVI>1660 611.2</PVI></ProfAlign></Profile>");
  xml.insert(xml.find("</Alignments>"), second);
  WriteFile(source, xml);
  const std::string ifc = dir.File("dos.ifc");
  ASSERT_EQ(MyDll_alandxml2ifc(source.c_str(), ifc.c_str(), "", ""), 1);
  ASSERT_EQ(MyDll_aifc2LandXML(ifc.c_str(), dir.File("vuelta.xml").c_str()), 1);

  const std::vector<viaducto::LandXmlAlignmentImport> before = viaducto::ImportLandXmlAlignments(source);
  const std::vector<viaducto::LandXmlAlignmentImport> after = viaducto::ImportLandXmlAlignments(dir.File("vuelta.xml"));
  ASSERT_EQ(before.size(), 2u);
  ASSERT_EQ(after.size(), 2u);
  for (std::size_t a = 0; a < 2; ++a) {
    ASSERT_EQ(before[a].elements.size(), after[a].elements.size());
    for (std::size_t i = 0; i < before[a].elements.size(); ++i) {
      const common::AlignmentElement& x = before[a].elements[i];
      const common::AlignmentElement& y = after[a].elements[i];
      EXPECT_NEAR(x.x, y.x, 1e-3);
      EXPECT_NEAR(x.y, y.y, 1e-3);
      EXPECT_NEAR(x.radius, y.radius, 1e-3);
      EXPECT_NEAR(x.parameter, y.parameter, 1e-3);
      EXPECT_NEAR(x.length, y.length, 1e-3);
    }
  }
  EXPECT_EQ(viaducto::ListLandXmlAlignments(dir.File("vuelta.xml")), (std::vector<std::string>{"variante", "ramal"}));
  const std::vector<std::string> profiles = viaducto::ListLandXmlProfiles(dir.File("vuelta.xml"));
  ASSERT_EQ(profiles, std::vector<std::string>{"ramal: ramal"});
  const common::Profile p0 = viaducto::ImportLandXmlProfile(source, "ramal: rasante").profile;
  const common::Profile p1 = viaducto::ImportLandXmlProfile(dir.File("vuelta.xml"), profiles[0]).profile;
  ASSERT_EQ(p0.size(), p1.size());
  for (std::size_t i = 0; i < p0.size(); ++i) {
    EXPECT_NEAR(p0[i].station, p1[i].station, 1e-3);
    EXPECT_NEAR(p0[i].elevation, p1[i].elevation, 1e-3);
    EXPECT_NEAR(p0[i].tangent, p1[i].tangent, 1e-3);
  }
}

TEST(IfcExport, ALandXmlDocumentKeepsItsCoordinateSystem) {
  // A document of another program naming EPSG:3875, with its alignment and profile in a
  // coordinate system of its own: the file keeps it, unless another is asked for.
  TempDir dir;
  const std::string source = DataFile("landxml/M3_RS-CL.tg.xml");
  ASSERT_EQ(MyDll_alandxml2ifc(source.c_str(), dir.File("m3.ifc").c_str(), "", ""), 1);
  ifc::StepFile file;
  ASSERT_TRUE(ifc::ParseStep(ReadFile(dir.File("m3.ifc")), file).ok);
  EXPECT_EQ(ifc::ProjectedCrsName(file), "EPSG:3875");
  for (const ifc::RuleFinding& f : ifc::CheckAlignmentRules(file)) ADD_FAILURE() << f.rule << ": " << f.message;
  ASSERT_EQ(MyDll_alandxml2ifc(source.c_str(), dir.File("otro.ifc").c_str(), "", "EPSG:25830"), 1);
  ifc::StepFile other;
  ASSERT_TRUE(ifc::ParseStep(ReadFile(dir.File("otro.ifc")), other).ok);
  EXPECT_EQ(ifc::ProjectedCrsName(other), "EPSG:25830");
}

TEST(IfcExport, StationEquationsComeBackThroughAReferentEach) {
  // Two equations on an alignment that starts at 0: one with its station coming in at the end
  // of a curve, one without it in the middle of a straight (the station the previous ones reach
  // there stands in for it).
  TempDir dir;
  const std::string source = dir.File("ecuaciones.xml");
  std::string xml = ReadFile(Sample("ejes/variante.xml"));
  xml.insert(xml.find("</CoordGeom>") + 12,
             "<StaEquation staInternal=\"1000\" staAhead=\"1100\"/>"
             "<StaEquation staInternal=\"775\" staBack=\"780.5\" staAhead=\"800\"/>");
  WriteFile(source, xml);
  const std::string ifc = dir.File("ecuaciones.ifc");
  ASSERT_EQ(MyDll_alandxml2ifc(source.c_str(), ifc.c_str(), "", ""), 1);
  ifc::StepFile file;
  ASSERT_TRUE(ifc::ParseStep(ReadFile(ifc), file).ok);
  for (const ifc::RuleFinding& f : ifc::CheckAlignmentRules(file)) ADD_FAILURE() << f.rule << ": " << f.message;
  EXPECT_EQ(file.OfType("IFCREFERENT").size(), 3u);

  const ifc::AlignmentsRead read = ifc::ReadAlignments(file);
  ASSERT_EQ(read.alignments.size(), 1u);
  const ifc::AlignmentLayouts& a = read.alignments[0];
  EXPECT_EQ(a.startStation, 0.0);  // the equations' stations leave the start's alone
  ASSERT_EQ(a.equations.size(), 2u);
  EXPECT_NEAR(a.equations[0].distAlong, 775, 1e-6);
  EXPECT_NEAR(a.equations[0].station, 800, 1e-6);
  EXPECT_NEAR(a.equations[0].incoming, 780.5, 1e-6);
  EXPECT_NEAR(a.equations[1].distAlong, 1000, 1e-6);
  EXPECT_NEAR(a.equations[1].station, 1100, 1e-6);
  EXPECT_NEAR(a.equations[1].incoming, 1025, 1e-6);
  // The first equation's point is where the curve ends and the exit clothoid starts.
  const std::vector<const ifc::StepEntity*> placements = file.OfType("IFCLINEARPLACEMENT");
  ASSERT_EQ(placements.size(), 2u);
  const ifc::StepEntity* position = file.Resolve(placements[0]->Arg(2));
  ASSERT_NE(position, nullptr);
  const ifc::StepEntity* point = file.Resolve(position->Arg(0));
  ASSERT_TRUE(point != nullptr && point->Arg(0) != nullptr && point->Arg(0)->items.size() == 3);
  double x = 0, y = 0;
  ASSERT_TRUE(point->Arg(0)->items[0].AsNumber(x) && point->Arg(0)->items[1].AsNumber(y));
  ASSERT_GE(a.horizontal.size(), 4u);
  EXPECT_NEAR(x, a.horizontal[3].x, 1e-3);
  EXPECT_NEAR(y, a.horizontal[3].y, 1e-3);

  // Back to LandXML with the equations and the geometry as they were.
  const std::string back = dir.File("vuelta.xml");
  ASSERT_EQ(MyDll_aifc2LandXML(ifc.c_str(), back.c_str()), 1);
  const std::vector<viaducto::LandXmlStationEquation> equations = viaducto::ReadLandXmlStationEquations(back, 0);
  ASSERT_EQ(equations.size(), 2u);
  const double expected[2][3] = {{775, 800, 780.5}, {1000, 1100, 1025}};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(equations[i].internal, expected[i][0], 1e-3);
    EXPECT_NEAR(equations[i].ahead, expected[i][1], 1e-3);
    ASSERT_TRUE(equations[i].back.has_value());
    EXPECT_NEAR(*equations[i].back, expected[i][2], 1e-3);
  }
  const std::vector<viaducto::LandXmlAlignmentImport> before = viaducto::ImportLandXmlAlignments(source);
  const std::vector<viaducto::LandXmlAlignmentImport> after = viaducto::ImportLandXmlAlignments(back);
  ASSERT_EQ(after.size(), 1u);
  ASSERT_EQ(before[0].elements.size(), after[0].elements.size());
  for (std::size_t i = 0; i < before[0].elements.size(); ++i) {
    EXPECT_NEAR(before[0].elements[i].station, after[0].elements[i].station, 1e-3);
    EXPECT_NEAR(before[0].elements[i].x, after[0].elements[i].x, 1e-3);
    EXPECT_NEAR(before[0].elements[i].y, after[0].elements[i].y, 1e-3);
  }
  // Without equations the file has the start's referent only.
  ASSERT_EQ(MyDll_alandxml2ifc(Sample("ejes/variante.xml").c_str(), dir.File("sin.ifc").c_str(), "", ""), 1);
  ifc::StepFile plain;
  ASSERT_TRUE(ifc::ParseStep(ReadFile(dir.File("sin.ifc")), plain).ok);
  EXPECT_EQ(plain.OfType("IFCREFERENT").size(), 1u);
  EXPECT_TRUE(viaducto::ReadLandXmlStationEquations(Sample("ejes/variante.xml"), 0).empty());
}
