#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/temp_files.h"
#include "support/test_support.h"
#include "viaducto.h"
#include "formats/landxml/landxml_cross_sections.h"

using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;
using viaducto::CrossSectionSet;

namespace {

// Points the temporary directory of the library at `dir` for the length of a test.
class TempDirectoryScope {
 public:
  explicit TempDirectoryScope(const std::string& dir) {
    const char* old = std::getenv("TEMP");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    setenv("TEMP", dir.c_str(), 1);
  }
  ~TempDirectoryScope() {
    if (hadOld_) {
      setenv("TEMP", old_.c_str(), 1);
    } else {
      unsetenv("TEMP");
    }
  }

 private:
  bool hadOld_ = false;
  std::string old_;
};

const char kTwoAlignments[] =
    "<?xml version=\"1.0\"?>\n"
    "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n"
    " <Alignments>\n"
    "  <Alignment name=\"Eje 1\" length=\"100\">\n"
    "   <CrossSects>\n"
    "    <CrossSect sta=\"120\">\n"
    "     <CrossSectSurf name=\"Terreno\"><PntList2D>-5 10 0 11 5 10.5</PntList2D></CrossSectSurf>\n"
    "     <CrossSectSurf name=\"Terreno\" desc=\"LeFt\"><PntList2D>\n7 9.5\n 8 9.4\n</PntList2D></CrossSectSurf>\n"
    "     <CrossSectSurf name=\"Proyecto\"><PntList2D>-4 10.2 4 10.2</PntList2D></CrossSectSurf>\n"
    "    </CrossSect>\n"
    "    <crosssect STA=\"100\">\n"
    "     <crosssectsurf NAME=\"terreno\" desc=\"talud\"><pntlist2d>2 8 2 8 3 7 3 7.5 1</pntlist2d></crosssectsurf>\n"
    "    </crosssect>\n"
    "    <CrossSect sta=\"140\">\n"
    "     <DesignCrossSectSurf name=\"Rasante\" desc=\"left\">\n"
    "      <CrossSectPnt code=\"BORDE\">-3.5 12</CrossSectPnt>\n"
    "      <CrossSectPnt code=\"EJE\">0 12.1</CrossSectPnt>\n"
    "     </DesignCrossSectSurf>\n"
    "    </CrossSect>\n"
    "   </CrossSects>\n"
    "  </Alignment>\n"
    "  <Alignment>\n"
    "   <CrossSects><CrossSect sta=\"10\"><CrossSectSurf name=\"Terreno\"><PntList2D>1 1</PntList2D>"
    "</CrossSectSurf></CrossSect></CrossSects>\n"
    "  </Alignment>\n"
    " </Alignments>\n"
    "</LandXML>\n";

std::string NativeOf(const CrossSectionSet& set) {
  common::TextWriter writer;
  set.Format(writer);
  return writer.Bytes();
}

}  // namespace

TEST(LandXmlCrossSections, ListsEachAlignmentSurfacePairOnce) {
  TempDir dir;
  WriteFile(dir.File("s.xml"), kTwoAlignments);
  EXPECT_EQ(viaducto::ListLandXmlCrossSectionSurfaces(dir.File("s.xml")),
            (std::vector<std::string>{"Eje 1: Terreno", "Eje 1: Proyecto", "Eje 1: terreno", "Eje 1: Rasante",
                                      "*: Terreno"}));

  TempDirectoryScope temp(dir.path());
  MyDll_seleccionaTransverLandXML(dir.File("s.xml").c_str());
  EXPECT_EQ(ReadFile(dir.File("$$$$.EJE")),
            CrLf("Eje 1: Terreno\nEje 1: Proyecto\nEje 1: terreno\nEje 1: Rasante\n*: Terreno\n"));
  EXPECT_TRUE(FileExists(dir.File("$$$.xml")));
}

TEST(LandXmlCrossSections, ReadsOnePairCleanedInSectionOrder) {
  TempDir dir;
  WriteFile(dir.File("s.xml"), kTwoAlignments);
  CrossSectionSet set;
  ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("s.xml"), "EJE 1", "terreno", set));
  // Station 100: a repeated point goes, a vertical step keeps two offsets; the lone last
  // number is left out. A "left" surface has its offsets negated.
  EXPECT_EQ(NativeOf(set), CrLf(" 100.000    2.000    8.000 talud\n"
                                " 100.000    2.999    7.500 talud\n"
                                " 100.000    3.000    7.000 talud\n"
                                " 120.000   -8.000    9.400 LeFt\n"
                                " 120.000   -7.000    9.500 LeFt\n"
                                " 120.000   -5.000   10.000 \n"
                                " 120.000    0.000   11.000 \n"
                                " 120.000    5.000   10.500 \n"));

  ASSERT_TRUE(viaducto::ReadLandXmlCrossSections(dir.File("s.xml"), "Eje 1", "Rasante", set));
  EXPECT_EQ(NativeOf(set), CrLf(" 140.000   -3.500   12.000 BORDE\n 140.000    0.000   12.100 EJE\n"));
}

TEST(LandXmlCrossSections, ExportsToNativeAndGts) {
  TempDir dir;
  TempDirectoryScope temp(dir.path());
  WriteFile(dir.File("s.xml"), kTwoAlignments);
  EXPECT_EQ(MyDll_tralandxml2gtsWCE("Eje 1", "Proyecto", dir.File("s.xml").c_str(), dir.File("p.tra").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("p.tra")), CrLf(" 120.000   -4.000   10.200 \n 120.000    4.000   10.200 \n"));
  EXPECT_EQ(MyDll_tralandxml2gts("Eje 1", "Proyecto", dir.File("s.xml").c_str(), dir.File("p.gts").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("p.gts")), CrLf("120.000,-4.000,10.200\n120.000,4.000,10.200\n"));

  // A pair that is not there, a broken document or a missing one: a failure, and no file.
  EXPECT_EQ(MyDll_tralandxml2gtsWCE("Otro", "Terreno", dir.File("s.xml").c_str(), dir.File("o.tra").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("o.tra")));
  WriteFile(dir.File("roto.xml"), std::string(kTwoAlignments).substr(0, 500));
  EXPECT_EQ(MyDll_tralandxml2gtsWCE("Eje 1", "Terreno", dir.File("roto.xml").c_str(), dir.File("r.tra").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("r.tra")));
  EXPECT_EQ(MyDll_tralandxml2gts("Eje 1", "Terreno", dir.File("no.xml").c_str(), dir.File("n.gts").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("n.gts")));
}

TEST(LandXmlCrossSections, InroadsStationOffsetPoints) {
  TempDir dir;
  TempDirectoryScope temp(dir.path());
  WriteFile(dir.File("i.xml"),
            "<LandXML><Points>"
            "<StationOffsetPoint offsetAlignmentName=\"BORDE\" firstOffset=\"3.5\"><offsetpoint elevation=\"101.2\"/>"
            "<station internalStation=\"1220\"/></StationOffsetPoint>"
            "<StationOffsetPoint firstOffset=\"-3.5\"><offsetpoint elevation=\"0\"/><station internalStation=\"1220\"/>"
            "</StationOffsetPoint>"
            "<StationOffsetPoint firstOffset=\"-2\"><offsetpoint elevation=\"100.9\"/><station internalStation=\"1200\"/>"
            "</StationOffsetPoint>"
            "</Points></LandXML>\n");
  EXPECT_EQ(MyDll_tralandxmlinroads2gtsWCE(dir.File("i.xml").c_str(), dir.File("i.tra").c_str()), 1);
  // The point with elevation 0 is dropped; the code stays until another replaces it.
  EXPECT_EQ(ReadFile(dir.File("i.tra")), CrLf("1200.000   -2.000  100.900 BORDE\n1220.000    3.500  101.200 BORDE\n"));
}

TEST(LandXmlCrossSections, WritesOneCrossSectPerStation) {
  CrossSectionSet set;
  set.Parse("100 -5 10 A\n100 0 11\n100 5 10\n120 -2 12\n120 2 12.5\n130 0 13\n110 1 9\n100 7 8\n");
  viaducto::LandXmlWriter writer;
  std::tm when{};
  when.tm_year = 114;
  when.tm_mon = 2;
  when.tm_mday = 7;
  writer.SetTimestamp(when);
  viaducto::FormatLandXmlCrossSections(set, "tramo", writer);
  const std::string document = writer.EndDocumentBytes();
  const std::size_t begin = document.find("<CrossSects");
  const std::size_t end = document.find("</LandXML>");
  ASSERT_NE(begin, std::string::npos);
  // A station of one point keeps its pair; points of a station given apart stay with it.
  EXPECT_EQ(document.substr(begin, end - begin),
            "<CrossSects name=\"tramo\">"
            "<CrossSect sta=\"100.000\"><CrossSectSurf name=\"tramo\"><PntList2D> -5.000 10.000 0.000 11.000 "
            "5.000 10.000 7.000 8.000</PntList2D></CrossSectSurf></CrossSect>"
            "<CrossSect sta=\"110.000\"><CrossSectSurf name=\"tramo\"><PntList2D> 1.000 9.000</PntList2D>"
            "</CrossSectSurf></CrossSect>"
            "<CrossSect sta=\"120.000\"><CrossSectSurf name=\"tramo\"><PntList2D> -2.000 12.000 2.000 12.500"
            "</PntList2D></CrossSectSurf></CrossSect>"
            "<CrossSect sta=\"130.000\"><CrossSectSurf name=\"tramo\"><PntList2D> 0.000 13.000</PntList2D>"
            "</CrossSectSurf></CrossSect>"
            "</CrossSects>");
  EXPECT_NE(document.find("date=\"2014-03-07\""), std::string::npos);
}

TEST(LandXmlCrossSections, NativeAndForeignExports) {
  TempDir dir;
  EXPECT_EQ(MyDll_traterrex2landxml(dir.File("no.tra").c_str(), dir.File("no.xml").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("no.xml")));

  WriteFile(dir.File("tramo.tra"), "1200 -1 10 A\n1200 1 10\n");
  ASSERT_EQ(MyDll_traterrex2landxml(dir.File("tramo.tra").c_str(), dir.File("tramo.xml").c_str()), 1);
  const std::string document = ReadFile(dir.File("tramo.xml"));
  EXPECT_EQ(document.rfind("<?xml version=\"1.0\"?><LandXML", 0), 0u);
  EXPECT_EQ(document.find('\n'), document.size() - 1);  // one line end, at the very end
  EXPECT_NE(document.find("<CrossSect sta=\"1200.000\"><CrossSectSurf name=\"tramo\"><PntList2D> -1.000 10.000 "
                          "1.000 10.000</PntList2D>"),
            std::string::npos);

  WriteFile(dir.File("s.trv"), "*TRV\nOBRA\n1200,2\n-1,10,A\n1,10\n");
  EXPECT_EQ(MyDll_tracliptrv2landxml(dir.File("s.trv").c_str(), dir.File("trv.xml").c_str()), 1);
  EXPECT_NE(ReadFile(dir.File("trv.xml")).find("<PntList2D> -1.000 10.000 1.000 10.000</PntList2D>"), std::string::npos);
  WriteFile(dir.File("bad.trv"), "*X\n");
  EXPECT_EQ(MyDll_tracliptrv2landxml(dir.File("bad.trv").c_str(), dir.File("bad.xml").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("bad.xml")));
}
