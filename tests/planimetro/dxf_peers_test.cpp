// Drawings exchanged with programs of other makers: what we write opens in ezdxf and GDAL with
// every entity on its layer, and what ezdxf writes gives its layers and points here.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "planimetro.h"
#include "support/peer_tools.h"
#include "support/test_support.h"

namespace {

using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

std::string Python(const TempDir& dir, const std::string& script, const std::string& arguments) {
  WriteFile(dir.File("script.py"), script);
  std::string output;
  EXPECT_EQ(RunCommand(std::string(testing_support::kSystemPython) + " " + dir.File("script.py") + " " + arguments +
                           " 2>&1",
                       output),
            0)
      << output;
  return output;
}

const char kPoints[] = "1 100.5 200.25 30.125 ARBOL\n2 101 201 31\n";

// Entity, layer and text or position of every entity, as both peers should see them.
const char kExpectedEntities[] =
    "POINT ARBOL-PUNTOS 100.500 200.250 30.125\n"
    "TEXT ARBOL-Z 30.12\n"
    "TEXT ARBOL-N 1\n"
    "TEXT ARBOL-CODIGOS ARBOL\n"
    "POINT PUNTOS-P 101.000 201.000 31.000\n"
    "TEXT PUNTOS-Z 31.00\n"
    "TEXT PUNTOS-N 2\n";

TEST(DxfPeers, EzdxfReadsTheExportedDrawing) {
  REQUIRE_EZDXF();
  TempDir dir;
  WriteFile(dir.File("p.pun"), kPoints);
  ASSERT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("p.dxf").c_str()), 1);
  const std::string output = Python(dir,
                                    "import sys, ezdxf\n"
                                    "doc = ezdxf.readfile(sys.argv[1])\n"
                                    "for e in doc.modelspace():\n"
                                    "    if e.dxftype() == 'POINT':\n"
                                    "        x, y, z = e.dxf.location\n"
                                    "        print('POINT %s %.3f %.3f %.3f' % (e.dxf.layer, x, y, z))\n"
                                    "    else:\n"
                                    "        print('%s %s %s' % (e.dxftype(), e.dxf.layer, e.dxf.text))\n",
                                    dir.File("p.dxf"));
  EXPECT_EQ(output, kExpectedEntities);
}

TEST(DxfPeers, GdalReadsTheExportedDrawing) {
  REQUIRE_GDAL();
  TempDir dir;
  WriteFile(dir.File("p.pun"), kPoints);
  ASSERT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("p.dxf").c_str()), 1);
  std::string output;
  ASSERT_EQ(RunCommand("ogrinfo -ro -al -q " + dir.File("p.dxf") + " 2>&1", output), 0) << output;
  // Layer, then text (for labels) and geometry of each feature, in file order.
  std::istringstream lines(output);
  std::string line;
  std::string seen;
  while (std::getline(lines, line)) {
    const auto start = line.find_first_not_of(' ');
    if (start == std::string::npos) continue;
    line = line.substr(start);
    if (line.rfind("Layer (String) = ", 0) == 0 || line.rfind("Text (String) = ", 0) == 0 ||
        line.rfind("POINT", 0) == 0) {
      seen += line + "\n";
    }
  }
  EXPECT_EQ(seen,
            "Layer (String) = ARBOL-PUNTOS\nPOINT Z (100.5 200.25 30.125)\n"
            "Layer (String) = ARBOL-Z\nText (String) = 30.12\nPOINT (101.5 199.25)\n"
            "Layer (String) = ARBOL-N\nText (String) = 1\nPOINT (101.5 201.25)\n"
            "Layer (String) = ARBOL-CODIGOS\nText (String) = ARBOL\nPOINT (101.5 197.75)\n"
            "Layer (String) = PUNTOS-P\nPOINT Z (101 201 31)\n"
            "Layer (String) = PUNTOS-Z\nText (String) = 31.00\nPOINT (102 200)\n"
            "Layer (String) = PUNTOS-N\nText (String) = 2\nPOINT (102 202)\n");
}

// ezdxf draws layers, points, faces and polylines; it prints the layer table and the points
// as this library's layer list and point file must show them.
const char kEzdxfDrawing[] =
    "import sys, ezdxf\n"
    "version, path = sys.argv[1], sys.argv[2]\n"
    "doc = ezdxf.new(version)\n"
    "for name in ('TERRENO', 'EJE', 'Bordes'):\n"
    "    doc.layers.add(name)\n"
    "msp = doc.modelspace()\n"
    "msp.add_3dface([(0, 0, 1), (1, 0, 2), (1, 1, 3)], dxfattribs={'layer': 'TERRENO'})\n"
    "points = [(10.25, 20.5, 30.125), (-1, -2, 0), (400123.456, 4400123.789, 712.3)]\n"
    "for p in points[:2]:\n"
    "    msp.add_point(p, dxfattribs={'layer': 'EJE'})\n"
    "msp.add_polyline3d([(0, 0, 0), (5, 5, 5)], dxfattribs={'layer': 'Bordes'})\n"
    "if version != 'R12':\n"
    "    msp.add_lwpolyline([(0, 0), (3, 4)], dxfattribs={'layer': 'EJE'})\n"
    "msp.add_point(points[2], dxfattribs={'layer': 'Bordes'})\n"
    "doc.saveas(path)\n"
    "print(''.join(layer.dxf.name + '\\r\\n' for layer in doc.layers), end='')\n"
    "print('=')\n"
    "print(''.join('\\r\\n%d %.3f %.3f %.3f' % (i + 1, x, y, z) for i, (x, y, z) in enumerate(points)))\n";

TEST(DxfPeers, DrawingsWrittenByEzdxfGiveTheirLayersAndPoints) {
  REQUIRE_EZDXF();
  for (const char* version : {"R12", "R2000"}) {
    SCOPED_TRACE(version);
    TempDir dir;
    const std::string drawing = dir.File("ezdxf.dxf");
    const std::string expected = Python(dir, kEzdxfDrawing, std::string(version) + " " + drawing);
    const std::size_t separator = expected.find("=\n");
    ASSERT_NE(separator, std::string::npos) << expected;
    const std::string layers = expected.substr(0, separator);
    const std::string points = expected.substr(separator + 2, expected.size() - separator - 3);

    int count = 0;
    for (std::size_t at = layers.find('\n'); at != std::string::npos; at = layers.find('\n', at + 1)) ++count;
    EXPECT_EQ(Calzada_getCapasDxf(dir.File("ezdxf.cap").c_str(), drawing.c_str()), count);
    EXPECT_EQ(ReadFile(dir.File("ezdxf.cap")), layers);
    EXPECT_NE(layers.find("TERRENO\r\nEJE\r\nBordes\r\n"), std::string::npos);

    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(drawing.c_str(), dir.File("ezdxf.pun").c_str()), 1);
    EXPECT_EQ(ReadFile(dir.File("ezdxf.pun")), points);
  }
}

}  // namespace
