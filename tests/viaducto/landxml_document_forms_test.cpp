// LandXML documents as road design and survey programs write them: slope-distance points that
// say their format each, documents cut short, and lengths in feet. Each document is written
// here in the form found.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "formats/landxml/landxml_alignment.h"
#include "formats/landxml/landxml_cross_sections.h"
#include "formats/landxml/landxml_profile.h"
#include "formats/landxml/landxml_summary.h"
#include "support/test_support.h"
#include "viaducto.h"

namespace {

using testing_support::FileExists;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> g_said;
void Keep(const char* caption, const char* text) { g_said.push_back(std::string(caption) + "|" + text); }

std::string Document(const std::string& units, const std::string& body) {
  return "<?xml version=\"1.0\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\">\n<Units>" + units +
         "</Units>\n" + body + "</LandXML>\n";
}

// Design sections whose every point says it is a grade and a distance, as one program writes
// them: a surface per side, named by its side only.
const char kSlopeDistance[] =
    "<Alignments><Alignment name=\"202cl\" length=\"100\" staStart=\"1000\"><CoordGeom><Line><Start>0 0</Start>"
    "<End>0 100</End></Line></CoordGeom><CrossSects><CrossSect sta=\"1000\">"
    "<DesignCrossSectSurf side=\"left\">"
    "<CrossSectPnt dataFormat=\"Slope Distance\" code=\"ARCEN\">-2 3.5</CrossSectPnt>"
    "<CrossSectPnt dataFormat=\"Slope Distance\" code=\"TALUD\">-50 1.207</CrossSectPnt>"
    "</DesignCrossSectSurf><DesignCrossSectSurf side=\"right\">"
    "<CrossSectPnt dataFormat=\"Slope Distance\">-2 3.5</CrossSectPnt>"
    "</DesignCrossSectSurf></CrossSect></CrossSects></Alignment></Alignments>\n";

TEST(LandXmlDocumentForms, SlopeDistancePointsAreGradesAndDistancesWhereverTheFormatIsSaid) {
  TempDir dir;
  WriteFile(dir.File("s.xml"), Document("<Metric linearUnit=\"meter\"/>", kSlopeDistance));
  viaducto::CrossSectionSet left;
  ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("s.xml"), "202cl", "left", left));
  ASSERT_EQ(left.points.size(), 2u);
  // From the centreline: 3.5 m at -2 %, then 1.207 m at -50 %, to the left (in offset order).
  EXPECT_NEAR(left.points[1].offset, -3.5, 1e-9);
  EXPECT_NEAR(left.points[1].elevation, -0.07, 1e-9);
  EXPECT_NEAR(left.points[0].offset, -4.707, 1e-9);
  EXPECT_NEAR(left.points[0].elevation, -0.07 - 0.6035, 1e-9);
  EXPECT_EQ(left.points[0].code, "TALUD");

  // info names the entries the import lists, with their points.
  const std::vector<std::string> listed = viaducto::ListLandXmlCrossSectionSurfaces(dir.File("s.xml"));
  EXPECT_EQ(listed, (std::vector<std::string>{"202cl: left", "202cl: right"}));
  const viaducto::LandXmlSummary summary = viaducto::SummarizeLandXml(dir.File("s.xml"));
  ASSERT_EQ(summary.crossSections.size(), 2u);
  EXPECT_EQ(summary.crossSections[0].name, "202cl: left");
  EXPECT_EQ(summary.crossSections[0].points, 2);
  EXPECT_EQ(summary.crossSections[1].name, "202cl: right");
}

TEST(LandXmlDocumentForms, ADocumentCutShortIsRefusedNamingTheLine) {
  TempDir dir;
  const std::string whole = Document(
      "<Metric linearUnit=\"meter\"/>",
      "<Alignments><Alignment name=\"A\" length=\"100\" staStart=\"0\"><CoordGeom>\n<Line><Start>0 0</Start>"
      "<End>0 100</End></Line>\n<Line><Start>0 100</Start><End>0 200</End></Line>\n</CoordGeom>"
      "<Profile><ProfAlign name=\"R\"><PVI>0 10</PVI><PVI>200 12</PVI></ProfAlign></Profile>"
      "</Alignment></Alignments>\n");
  const std::string cut = whole.substr(0, whole.find("<Line><Start>0 100"));
  WriteFile(dir.File("cut.xml"), cut);
  const std::string expected = "Error en la conversión|El documento LandXML " + dir.File("cut.xml") +
                               " está incompleto o mal formado (línea 5)";
  g_said.clear();
  Viaducto_SetMessageHook(Keep);
  const char* temp = std::getenv("TEMP");
  const std::string oldTemp = temp != nullptr ? temp : "";
  setenv("TEMP", dir.path().c_str(), 1);
  EXPECT_EQ(MyDll_seleccionaEjeLandXML(dir.File("cut.xml").c_str()), 0);
  EXPECT_EQ(MyDll_alandxml2gtsWCE(0, dir.File("cut.xml").c_str(), dir.File("a.eje").c_str(), ""), 0);
  EXPECT_EQ(MyDll_rlandxml2gtsWCE("A: R", dir.File("cut.xml").c_str(), dir.File("r.ras").c_str()), 0);
  if (temp != nullptr) {
    setenv("TEMP", oldTemp.c_str(), 1);
  } else {
    unsetenv("TEMP");
  }
  Viaducto_SetMessageHook(nullptr);
  EXPECT_FALSE(FileExists(dir.File("a.eje")));
  EXPECT_FALSE(FileExists(dir.File("r.ras")));
  EXPECT_EQ(g_said, (std::vector<std::string>{expected, expected, expected}));
  // The whole document converts.
  WriteFile(dir.File("whole.xml"), whole);
  EXPECT_EQ(viaducto::ImportLandXmlAlignmentToNative(dir.File("whole.xml"), 0, dir.File("w.eje")), 1);
}

TEST(LandXmlDocumentForms, LengthsInFeetAreReadInMetres) {
  struct Case {
    const char* units;
    double foot;
    const char* note;
  };
  const Case cases[] = {
      {"<Imperial linearUnit=\"USSurveyFoot\"/>", 1200.0 / 3937.0,
       "el fichero está en pies US: las medidas se han convertido a metros"},
      {"<Imperial linearUnit=\"foot\"/>", 0.3048, "el fichero está en pies: las medidas se han convertido a metros"},
      {"<Metric linearUnit=\"meter\"/>", 1.0, nullptr},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteFile(dir.File("f.xml"),
              Document(c.units,
                       "<Alignments><Alignment name=\"A\" length=\"1000\" staStart=\"100\"><CoordGeom>"
                       "<Line><Start>1000 2000</Start><End>1000 2500</End></Line>"
                       "<Curve rot=\"cw\" radius=\"800\" length=\"500\"><Start>1000 2500</Start><Center>200 2500</Center>"
                       "<End>620.5 2974.9</End></Curve></CoordGeom>"
                       "<Profile><ProfAlign name=\"R\"><PVI>100 50</PVI><ParaCurve desc=\"\" length=\"200\">600 60"
                       "</ParaCurve><PVI>1100 55</PVI></ProfAlign></Profile>"
                       "<CrossSects><CrossSect sta=\"300\"><CrossSectSurf name=\"T\"><PntList2D>-10 51 10 52"
                       "</PntList2D></CrossSectSurf></CrossSect></CrossSects></Alignment></Alignments>\n"));
    const viaducto::LandXmlAlignmentImport alignment = viaducto::ImportLandXmlAlignment(dir.File("f.xml"), 0);
    ASSERT_GE(alignment.elements.size(), 2u) << c.units;
    EXPECT_NEAR(alignment.elements[0].station, 100 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(alignment.elements[0].x, 2000 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(alignment.elements[0].y, 1000 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(alignment.elements[0].length, 500 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(alignment.elements[1].radius, 800 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(alignment.elements[1].station, 600 * c.foot, 1e-6) << c.units;
    if (c.note == nullptr) {
      EXPECT_TRUE(alignment.notes.empty()) << c.units;
    } else {
      ASSERT_FALSE(alignment.notes.empty()) << c.units;
      EXPECT_EQ(alignment.notes[0], c.note);
    }

    const viaducto::LandXmlProfileImport profile = viaducto::ImportLandXmlProfile(dir.File("f.xml"), "A: R");
    ASSERT_EQ(profile.profile.size(), 3u) << c.units;
    EXPECT_NEAR(profile.profile[1].station, 600 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(profile.profile[1].elevation, 60 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(profile.profile[1].tangent, 100 * c.foot, 1e-6) << c.units;

    viaducto::CrossSectionSet sections;
    double feet = 0;
    ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("f.xml"), "A", "T", sections, &feet));
    EXPECT_EQ(feet, c.foot == 1.0 ? 0.0 : c.foot);
    ASSERT_EQ(sections.points.size(), 2u);
    EXPECT_NEAR(sections.points[0].station, 300 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(sections.points[0].offset, -10 * c.foot, 1e-6) << c.units;
    EXPECT_NEAR(sections.points[1].elevation, 52 * c.foot, 1e-6) << c.units;
  }
}

}  // namespace
