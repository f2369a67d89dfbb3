// LandXML documents in the views: every alignment, profile and surface and the survey points
// are entries, chosen by name or number and read with the imports that convert them; the
// documents of other programs give no error-level finding unless they really have one.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <string>
#include <vector>

#include "frontend/view/checks.h"
#include "support/test_support.h"

namespace {

using testing_support::TempDir;
using testing_support::WriteFile;

std::string Data(const std::string& name) { return std::string(PASARELA_TEST_DATA) + "/landxml/" + name; }
std::string Shared(const std::string& name) { return testing_support::SharedSample("landxml/" + name); }

view::ViewModel Load(const std::string& path, const std::string& choice = "") {
  view::ViewModel model;
  std::string error;
  EXPECT_TRUE(view::LoadViewFile(path, choice, model, error)) << error;
  return model;
}

std::vector<std::string> Labels(const view::ViewModel& model) {
  std::vector<std::string> labels;
  for (const view::FileEntry& entry : model.entries) labels.push_back(view::EntryLabel(entry));
  return labels;
}

std::string Describe(const std::vector<view::Finding>& findings) {
  std::string text;
  for (const auto& f : findings) text += view::FormatFinding(f) + "\n";
  return text;
}

std::string Surface(const std::string& points, const std::string& faces) {
  return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n"
         "<Surfaces><Surface name=\"Terreno\"><Definition surfType=\"TIN\"><Pnts>\n" +
         points + "</Pnts><Faces>\n" + faces + "</Faces></Definition></Surface></Surfaces>\n</LandXML>\n";
}

TEST(LandXmlEntries, EveryAlignmentProfileAndSurfaceIsAnEntryChosenByNameOrNumber) {
  const view::ViewModel first = Load(Data("subdivision-2.0.xml"));
  const std::vector<std::string> expected = {"1stave (eje)",     "2ndave (eje)",    "3rdave (eje)",
                                             "4thave (eje)",     "loop (eje)",      "mainst (eje)",
                                             "FG (superficie)",  "EG (superficie)"};
  EXPECT_EQ(Labels(first), expected);
  EXPECT_EQ(first.entry, 0u);
  EXPECT_EQ(first.kind, view::DataKind::kAlignment);
  EXPECT_GT(first.alignment.elements.size(), 1u);

  // By name, letter case ignored, and by number from 1: the same alignment.
  const view::ViewModel byName = Load(Data("subdivision-2.0.xml"), "LOOP");
  const view::ViewModel byNumber = Load(Data("subdivision-2.0.xml"), "5");
  EXPECT_EQ(byName.entry, 4u);
  EXPECT_EQ(byNumber.entry, 4u);
  ASSERT_EQ(byName.alignment.elements.size(), byNumber.alignment.elements.size());
  EXPECT_GT(byName.alignment.elements.size(), first.alignment.elements.size());
  EXPECT_EQ(byName.alignment.elements.back().station, byNumber.alignment.elements.back().station);

  const view::ViewModel surface = Load(Data("subdivision-2.0.xml"), "eg");
  EXPECT_EQ(surface.kind, view::DataKind::kSurface);
  EXPECT_GT(surface.surface.triangles.size(), 1000u);
  EXPECT_NE(view::Summary(surface)[1].find("Entrada: EG (8 de 8)"), std::string::npos) << view::Summary(surface)[1];

  view::ViewModel model;
  std::string error;
  for (const char* choice : {"9", "0", "calle", "-1"}) {
    EXPECT_FALSE(view::LoadViewFile(Data("subdivision-2.0.xml"), choice, model, error)) << choice;
    EXPECT_NE(error.find("no contiene \"" + std::string(choice) + "\""), std::string::npos) << error;
  }
}

TEST(LandXmlEntries, ProfilesAndSurveyPoints) {
  // The profile is listed as "alignment: profile" and drawn with its vertical curves.
  const view::ViewModel profile = Load(Data("M3_RS-CL.tg.xml"), "M3_RS - CL: M3_RS - CL");
  ASSERT_EQ(profile.kind, view::DataKind::kProfile);
  EXPECT_GT(profile.profile.vertices.size(), 2u);
  EXPECT_GT(profile.profile.line.size(), profile.profile.vertices.size());

  const view::ViewModel points = Load(Data("Partridge_Survey.xml"));
  ASSERT_EQ(points.entries.size(), 1u);
  EXPECT_EQ(view::EntryLabel(points.entries[0]), "Puntos (puntos)");
  EXPECT_EQ(points.kind, view::DataKind::kPoints);
  EXPECT_GT(points.points.points.size(), 100u);
}

// The points of a surface are placed by their ids; an id the document skips is no point of
// the view (it would stretch the extents to the origin and count as unused).
TEST(LandXmlEntries, IdsWithoutAPointAddNothingAndFacesNamingNoPointAreAnError) {
  TempDir dir;
  const std::string points =
      "<P id=\"1\">1000 2000 10</P><P id=\"2\">1000 2010 11</P><P id=\"5\">1010 2000 12</P>\n";
  WriteFile(dir.File("skipped.xml"), Surface(points, "<F>1 2 5</F>\n"));
  const view::ViewModel skipped = Load(dir.File("skipped.xml"));
  ASSERT_EQ(skipped.kind, view::DataKind::kSurface);
  ASSERT_EQ(skipped.surface.points.size(), 3u);
  ASSERT_EQ(skipped.surface.triangles.size(), 1u);
  for (const int32_t index : skipped.surface.triangles[0]) EXPECT_GE(skipped.surface.points[index].x, 2000.0);
  EXPECT_DOUBLE_EQ(skipped.surface.extents.minX, 2000.0);
  const auto sound = view::CheckModel(skipped);
  EXPECT_TRUE(sound.empty()) << Describe(sound);

  WriteFile(dir.File("missing.xml"), Surface(points, "<F>1 2 5</F>\n<F>1 2 9</F>\n"));
  const auto findings = view::CheckModel(Load(dir.File("missing.xml")));
  ASSERT_TRUE(view::HasError(findings)) << Describe(findings);
  EXPECT_EQ(findings.front().text, "1 caras del fichero nombran puntos que no existen");
}

// An alignment without a name is still an entry, counted in its place: the second one of
// the document is read for entry 2.
TEST(LandXmlEntries, AnAlignmentWithoutANameKeepsItsPlace) {
  TempDir dir;
  const std::string line = "<CoordGeom><Line><Start>0 0</Start><End>0 LENGTH</End></Line></CoordGeom>";
  std::string first = line;
  std::string second = line;
  first.replace(first.find("LENGTH"), 6, "100");
  second.replace(second.find("LENGTH"), 6, "250");
  WriteFile(dir.File("dos.xml"), "<?xml version=\"1.0\"?>\n<LandXML><Alignments><Alignment>" + first +
                                     "</Alignment><Alignment name=\"B\">" + second +
                                     "</Alignment></Alignments></LandXML>\n");
  const view::ViewModel model = Load(dir.File("dos.xml"), "2");
  EXPECT_EQ(Labels(model), (std::vector<std::string>{"sin nombre (eje)", "B (eje)"}));
  ASSERT_EQ(model.kind, view::DataKind::kAlignment);
  ASSERT_FALSE(model.alignment.elements.empty());
  EXPECT_NEAR(model.alignment.elements.back().station, 250.0, 1e-9);
}

TEST(LandXmlEntries, ADocumentWithNothingToShowSaysSo) {
  TempDir dir;
  WriteFile(dir.File("vacio.xml"), "<?xml version=\"1.0\"?>\n<LandXML><Units/></LandXML>\n");
  view::ViewModel model;
  std::string error;
  EXPECT_FALSE(view::LoadViewFile(dir.File("vacio.xml"), model, error));
  EXPECT_EQ(error, "El fichero " + dir.File("vacio.xml") + " no contiene ningún eje, rasante, superficie ni punto");
}

// Every entry of the documents of other programs, checked. They are sound but for the faults
// they really hold, each an error the checks must find:
// - subdivision (both versions), alignment "loop": two straights meet at 2+313,096 at an angle
//   of 1.42 g, with no curve between them;
// - subdivision.xml, profile "loop: FGCenter": the curves at 478.590 and 645.423 (150 m and
//   200 m long, 166.833 m apart) overlap, and so do those at 4012.461 and 4028.063 (250 m and
//   75 m, 15.602 m apart);
// - A Kolu Güzergah: its last straight, 0.15 mm long, leaves at 61.172207 degrees where the
//   arc before it ends at 61.159953 degrees (0.0136 g).
TEST(LandXmlChecks, TheDocumentsOfOtherProgramsGiveNoErrorsExceptWhereTheyHaveOne) {
  // The subdivisions are in feet, read in metres.
  const std::string angle = "P.K. 0+705,032|Salto de dirección de -1,424919 g";
  const std::vector<std::pair<std::string, std::vector<std::string>>> known = {
      {"subdivision-2.0.xml|loop (eje)", {angle}},
      {"subdivision.xml|loop (eje)", {angle}},
      {"subdivision.xml|loop: FGCenter (rasante)",
       {"P.K. 0+196,725|Los acuerdos se solapan: las tangentes suman 53,340 m y los vértices distan 50,851 m",
        "P.K. 1+227,753|Los acuerdos se solapan: las tangentes suman 49,530 m y los vértices distan 4,755 m"}},
      {"A Kolu Güzergah.xml|K1 A Kolu (eje)", {"P.K. 0+427,237|Salto de dirección de -0,013615 g"}},
  };
  std::vector<std::string> files;
  for (const char* name : {"subdivision-2.0.xml", "subdivision.xml", "Partridge_Survey.xml", "M3_RS-CL.tg.xml",
                           "M3_Terrain.mm.xml", "A Kolu Güzergah.xml"}) {
    files.push_back(Data(name));
    if (testing_support::FileExists(Shared(name))) files.push_back(Shared(name));
  }
  std::size_t entries = 0;
  for (const std::string& file : files) {
    const view::ViewModel listed = Load(file);
    for (std::size_t k = 0; k < listed.entries.size(); ++k, ++entries) {
      const std::string entry = file.substr(file.rfind('/') + 1) + "|" + view::EntryLabel(listed.entries[k]);
      std::vector<std::string> expected;
      for (const auto& fault : known) {
        if (fault.first == entry) expected = fault.second;
      }
      const auto findings = view::CheckModel(Load(file, std::to_string(k + 1)));
      std::vector<std::string> errors;
      for (const auto& f : findings) {
        if (f.level != view::Level::kError) continue;
        // A direction gap is named by its size; what follows is the same sentence for all.
        const std::string text = f.text.substr(0, f.text.find(" g ") == std::string::npos ? f.text.size()
                                                                                          : f.text.find(" g ") + 2);
        errors.push_back(f.where + "|" + text);
      }
      EXPECT_EQ(errors, expected) << file << " " << entry << "\n" << Describe(findings);
    }
  }
  EXPECT_GE(entries, 15u);
}

}  // namespace

// A profile's ground (ProfSurf) comes with it, in order of station; a profile without one has
// none.
TEST(LandXmlView, AProfileBringsTheGroundOfItsProfile) {
  const view::ViewModel profile = Load(Data("subdivision.xml"), "1stave: FGCenter");
  ASSERT_EQ(profile.kind, view::DataKind::kProfile);
  ASSERT_GT(profile.profile.terrain.size(), 10u);
  EXPECT_DOUBLE_EQ(profile.profile.terrain.front().station, 0.0);
  EXPECT_DOUBLE_EQ(profile.profile.terrain.front().elevation, 258.184472);
  for (std::size_t k = 1; k < profile.profile.terrain.size(); ++k) {
    EXPECT_LE(profile.profile.terrain[k - 1].station, profile.profile.terrain[k].station);
  }
  EXPECT_LE(profile.profile.extents.minY, 258.184472);
  const view::ViewModel other = Load(Data("M3_RS-CL.tg.xml"), "2");
  ASSERT_EQ(other.kind, view::DataKind::kProfile);
  EXPECT_TRUE(other.profile.terrain.empty());

  // Two grade lines and no ProfSurf: neither is taken for the ground of the other.
  TempDir dir;
  const auto grade = [](const char* name, const char* end) {
    return std::string("<ProfAlign name=\"") + name + "\"><PVI>0 100</PVI><PVI>" + end + "</PVI></ProfAlign>";
  };
  WriteFile(dir.File("dos.xml"),
            "<?xml version=\"1.0\"?>\n<LandXML><Alignments><Alignment name=\"A\"><CoordGeom><Line><Start>0 0</Start>"
            "<End>0 300</End></Line></CoordGeom><Profile>" +
                grade("rasante", "300 106") + grade("otra", "300 98") + "</Profile></Alignment></Alignments></LandXML>\n");
  for (const char* entry : {"A: rasante", "A: otra"}) {
    const view::ViewModel two = Load(dir.File("dos.xml"), entry);
    ASSERT_EQ(two.kind, view::DataKind::kProfile) << entry;
    EXPECT_EQ(two.profile.vertices.size(), 2u) << entry;
    EXPECT_TRUE(two.profile.terrain.empty()) << entry;
  }
}
