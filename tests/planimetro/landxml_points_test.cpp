// Survey points between LandXML CgPoints and the native point file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/native/point_file.h"
#include "planimetro.h"
#include "formats/landxml/landxml_points.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> g_told;
void Tell(const char* caption, const char* text) { g_told.push_back(std::string(caption) + "|" + text); }

class Told {
 public:
  Told() {
    g_told.clear();
    Planimetro_SetMessageHook(Tell);
  }
  ~Told() { Planimetro_SetMessageHook(nullptr); }
};

std::vector<common::NativePoint> PointsOf(const std::string& path) {
  std::vector<common::NativePoint> points;
  EXPECT_TRUE(common::ReadPointFile(path, common::PointCodeRule::kRestOfLine, points));
  for (common::NativePoint& point : points) {
    while (!point.code.empty() && (point.code.back() == '\n' || point.code.back() == '\r')) point.code.pop_back();
  }
  return points;
}

}  // namespace

TEST(LandXmlPoints, RealSurveysImportEveryPoint) {
  TempDir dir;
  Told told;
  ASSERT_EQ(Planimetro_Puntos_Importa_LandXML(DataFile("landxml/Partridge_Survey.xml").c_str(),
                                              dir.File("p.pun").c_str()),
            1);
  const std::string partridge = ReadFile(dir.File("p.pun"));
  EXPECT_EQ(partridge.substr(0, partridge.find('\n') + 1),
            "    1    9882.607   10140.153  245.538 BAR[245.538]\r\n");  // feet (32423.251 33268.219 805.571) in metres
  EXPECT_EQ(PointsOf(dir.File("p.pun")).size(), 2896u);
  ASSERT_EQ(g_told.size(), 1u);
  EXPECT_EQ(g_told[0], "Aviso|el fichero está en pies: las medidas se han convertido a metros");

  ASSERT_EQ(Planimetro_Puntos_Importa_LandXML(DataFile("landxml/subdivision.xml").c_str(), dir.File("s.pun").c_str()),
            1);
  const std::vector<common::NativePoint> subdivision = PointsOf(dir.File("s.pun"));
  ASSERT_EQ(subdivision.size(), 639u);
  EXPECT_EQ(subdivision[0].number, 1);
  EXPECT_EQ(subdivision[0].code, "PCOR");
  EXPECT_DOUBLE_EQ(subdivision[0].x, -190.889);  // -626.278 ft
  EXPECT_DOUBLE_EQ(subdivision[0].y, 349.300);    // 1145.998 ft
}

TEST(LandXmlPoints, NamesReferencesAndMissingElevations) {
  TempDir dir;
  Told told;
  WriteFile(dir.File("c.xml"),
            "<?xml version=\"1.0\"?><LandXML xmlns=\"http://www.landxml.org/schema/LandXML-2.0\"><CgPoints>"
            "<CgPoint name=\"12\" code=\"ARB\">100 200 30</CgPoint>"
            "<CgPoint name=\"base\" code=\"BASE\nNORTE\">150 250</CgPoint>"
            "<CgPoint name=\"7\" pntRef=\"BASE\"/>"
            "<CgPoint name=\"x\" pntRef=\"nadie\"/>"
            "<CgPoint>1 2 3</CgPoint></CgPoints></LandXML>");
  ASSERT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("c.xml").c_str(), dir.File("c.pun").c_str()), 1);
  // Numbers from numeric names, else one past the highest so far (a name that is no number is
  // kept as the code of a point without one: here the point has its own); the referring point
  // takes the coordinates of the one it names; a code keeps no line end.
  EXPECT_EQ(ReadFile(dir.File("c.pun")), CrLf("   12     200.000     100.000   30.000 ARB\n"
                                              "   13     250.000     150.000    0.000 BASE NORTE\n"
                                              "    7     250.000     150.000    0.000 \n"
                                              "   14       2.000       1.000    3.000 \n"));
  ASSERT_EQ(g_told.size(), 1u);
  EXPECT_EQ(g_told[0],
            "Aviso|1 punto cuyo nombre no es un número entero se ha renumerado; su nombre queda como código donde "
            "no tenían otro\n1 puntos sin coordenadas que remiten a un punto que no existe no se han importado");
}

TEST(LandXmlPoints, ExportReadsBackInOurImportAndInPython) {
  TempDir dir;
  WriteFile(dir.File("l.pun"), "    1     200.000     100.000   30.000 ARB\n"
                               "    2     250.500     150.250   -1.125 MURO & <VALLA>\n"
                               "    3     260.000     160.000    0.000 \n");
  ASSERT_EQ(Planimetro_Puntos_Exporta_LandXML(dir.File("l.pun").c_str(), dir.File("levantamiento.xml").c_str()), 1);
  const std::string document = ReadFile(dir.File("levantamiento.xml"));
  const std::string body = document.substr(document.find("<CgPoints"));
  EXPECT_EQ(body,
            "<CgPoints name=\"levantamiento\"><CgPoint name=\"1\" code=\"ARB\">100.000 200.000 30.000</CgPoint>"
            "<CgPoint name=\"2\" code=\"MURO &amp; &lt;VALLA&gt;\">150.250 250.500 -1.125</CgPoint>"
            "<CgPoint name=\"3\">160.000 260.000 0.000</CgPoint></CgPoints></LandXML>\r\n");

  ASSERT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("levantamiento.xml").c_str(), dir.File("vuelta.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("vuelta.pun")), CrLf(ReadFile(dir.File("l.pun"))));

  std::string output;
  ASSERT_EQ(RunCommand("python3 -c \"import xml.etree.ElementTree as E; r = E.parse('" + dir.File("levantamiento.xml") +
                           "').getroot(); print([(p.get('name'), p.get('code'), p.text) for p in r.iter('CgPoint')])\"",
                       output),
            0)
      << output;
  EXPECT_EQ(output,
            "[('1', 'ARB', '100.000 200.000 30.000'), ('2', 'MURO & <VALLA>', '150.250 250.500 -1.125'), "
            "('3', None, '160.000 260.000 0.000')]\n");
}

TEST(LandXmlPoints, RefusesWhatItCannotConvert) {
  TempDir dir;
  Told told;
  WriteFile(dir.File("d.dxf"), "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n  0\nENDSEC\n  0\nEOF\n");
  WriteFile(dir.File("n.xml"), "<LandXML><Surfaces/></LandXML>");
  WriteFile(dir.File("v.pun"), "\n1 2\n");
  EXPECT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("d.dxf").c_str(), dir.File("a.pun").c_str()), 0);
  EXPECT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("n.xml").c_str(), dir.File("a.pun").c_str()), 0);
  EXPECT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("no.xml").c_str(), dir.File("a.pun").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("a.pun")));
  EXPECT_EQ(Planimetro_Puntos_Exporta_LandXML(dir.File("v.pun").c_str(), dir.File("a.xml").c_str()), 0);
  EXPECT_EQ(Planimetro_Puntos_Exporta_LandXML(dir.File("d.dxf").c_str(), dir.File("a.xml").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("a.xml")));
  ASSERT_EQ(g_told.size(), 5u);
  EXPECT_EQ(g_told[0], "Error en la conversión|El fichero " + dir.File("d.dxf") +
                           " no es un documento LandXML: parece un dibujo DXF");
  EXPECT_EQ(g_told[1], "Error en la conversión|El fichero " + dir.File("n.xml") + " no contiene ningún punto");
  EXPECT_EQ(g_told[3], "Error en la conversión|El fichero " + dir.File("v.pun") + " no contiene ningún punto");
}

namespace {

// A cadastral survey names its points "LC-134": the name that is no number becomes the code of
// a point without one, and the import says how many were renumbered. A document cut short is
// refused, naming its line.
TEST(LandXmlPoints, NamesThatAreNoNumbersBecomeCodesAndACutDocumentIsRefused) {
  TempDir dir;
  Told told;
  const std::string document =
      "<?xml version=\"1.0\"?>\n<LandXML><CgPoints>\n<CgPoint name=\"LC-134\">4400000 500000 10</CgPoint>\n"
      "<CgPoint name=\"LC-135\" code=\"MOJON\">4400001 500001 11</CgPoint>\n<CgPoint name=\"7\">4400002 500002 12"
      "</CgPoint>\n</CgPoints></LandXML>\n";
  WriteFile(dir.File("c.xml"), document);
  ASSERT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("c.xml").c_str(), dir.File("c.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("c.pun")), CrLf("    1  500000.000 4400000.000   10.000 LC-134\n"
                                              "    2  500001.000 4400001.000   11.000 MOJON\n"
                                              "    7  500002.000 4400002.000   12.000 \n"));
  ASSERT_EQ(g_told.size(), 1u);
  EXPECT_EQ(g_told[0],
            "Aviso|2 puntos cuyo nombre no es un número entero se han renumerado; su nombre queda como código donde "
            "no tenían otro");

  g_told.clear();
  WriteFile(dir.File("cut.xml"), document.substr(0, document.find("<CgPoint name=\"7\"")));
  EXPECT_EQ(Planimetro_Puntos_Importa_LandXML(dir.File("cut.xml").c_str(), dir.File("cut.pun").c_str()), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("cut.pun")));
  ASSERT_EQ(g_told.size(), 1u);
  EXPECT_EQ(g_told[0], "Error en la conversión|El documento LandXML " + dir.File("cut.xml") +
                           " está incompleto o mal formado (línea 4)");
}

}  // namespace
