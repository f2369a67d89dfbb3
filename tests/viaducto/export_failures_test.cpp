// What the library's exports do with what they cannot convert: result 0, no target left
// behind, and the reason, in Spanish, through the message hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "viaducto.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::string> shown;

extern "C" void Collect(const char* caption, const char* text) {
  shown.push_back(std::string(caption != nullptr ? caption : "") + "|" + (text != nullptr ? text : ""));
}

using TwoPaths = int32_t (*)(const char*, const char*);

struct Export {
  const char* name;
  TwoPaths call;
  // What the source should be, and what one without records lacks.
  const char* source;
  const char* nothing;
  // A file of the right kind that holds nothing to convert.
  const char* empty;
};

// The exports that take a text listing or native file and write one target.
const std::vector<Export>& TextExports() {
  static const std::vector<Export> exports = {
      {"MyDll_azemta2gtsWCE", MyDll_azemta2gtsWCE, "un fichero de ejes", "ningún eje", "* sin datos\n"},
      {"MyDll_aistram2zemta", MyDll_aistram2zemta, "un listado de eje", "ningún eje", "TITULO\n"},
      {"MyDll_aclipplt2zemta", MyDll_aclipplt2zemta, "un listado de eje", "ningún eje", "*PLT1\n"},
      {"MyDll_ejecartomap2terrex", MyDll_ejecartomap2terrex, "un listado de eje", "ningún eje", "TITULO\n"},
      {"MyDll_aispol2LandXML", MyDll_aispol2LandXML, "un listado de eje", "ningún eje", "TITULO\n"},
      {"MyDll_rterrex2gts", MyDll_rterrex2gts, "un listado de rasante", "ninguna rasante", "TITULO\n"},
      {"MyDll_ristram2gts", MyDll_ristram2gts, "un listado de rasante", "ninguna rasante", "TITULO\n"},
      {"MyDll_raszemta2gts", MyDll_raszemta2gts, "un fichero de rasante GTS", "ninguna rasante", "TITULO\n"},
      {"MyDll_rascartomap2zemta", MyDll_rascartomap2zemta, "un listado de rasante", "ninguna rasante", "TITULO\n"},
      {"MyDll_rasantecartomap2terrex", MyDll_rasantecartomap2terrex, "un listado de rasante", "ninguna rasante",
       "TITULO\n"},
      {"MyDll_zemta2gts", MyDll_zemta2gts, "un fichero de perfiles transversales", "ningún perfil transversal",
       "1 2\n"},
      {"MyDll_trazemta2gts", MyDll_trazemta2gts, "un fichero de perfiles transversales GTS",
       "ningún perfil transversal", "1\n"},
      {"MyDll_htrazado2gts", MyDll_htrazado2gts, "un listado de perfiles transversales", "ningún perfil transversal",
       "PK 100\n"},
      {"MyDll_mxroad2gts", MyDll_mxroad2gts, "un listado de perfiles transversales", "ningún perfil transversal",
       "MXROAD\n"},
      {"MyDll_istram2gts", MyDll_istram2gts, "un listado de perfiles transversales", "ningún perfil transversal",
       "TITULO\n"},
      {"MyDll_clip2gts", MyDll_clip2gts, "un listado de perfiles transversales", "ningún perfil transversal",
       "TITULO\n"},
      {"MyDll_cliptrv2gts", MyDll_cliptrv2gts, "un listado de perfiles transversales", "ningún perfil transversal",
       "*TRV\nOBRA\n"},
      {"MyDll_traCartomap2zemta", MyDll_traCartomap2zemta, "un listado de perfiles transversales",
       "ningún perfil transversal", "\"PK\",100\n"},
      {"MyDll_puntos2gts", MyDll_puntos2gts, "una lista de puntos", "ningún punto", "1 2 3\n"},
      {"MyDll_puntos2nivel", MyDll_puntos2nivel, "una lista de puntos", "ningún punto", "1 2 3\n"},
      {"MyDll_topoLea2Topcal", MyDll_topoLea2Topcal, "un fichero de lecturas topográficas", "ninguna observación",
       "E 1 100 100 10 0\n"},
      {"MyDll_lectgts2topcal", MyDll_lectgts2topcal, "una lista de observaciones", "ninguna observación",
       "a b 1 2\n"},
      {"MyDll_peralteispol2gts", MyDll_peralteispol2gts, "una tabla de peraltes", "ningún peralte", "PERALTES\n"},
      {"MyDll_peralteClip2gts", MyDll_peralteClip2gts, "una tabla de peraltes", "ningún peralte", "100\n"},
  };
  return exports;
}

class ViaductoExportFailures : public ::testing::Test {
 protected:
  ViaductoExportFailures() { Viaducto_SetMessageHook(Collect); }
  ~ViaductoExportFailures() override { Viaducto_SetMessageHook(nullptr); }

  // The faults of one call: a result other than 0, a target left behind, a reason other than
  // `reason` (shown with the failure caption).
  std::string Faults(const char* name, int32_t result, const std::string& target, const std::string& reason) {
    std::string faults;
    if (result != 0) faults += std::string(name) + " gave " + std::to_string(result) + "\n";
    if (FileExists(target)) faults += std::string(name) + " left " + target + "\n";
    const std::string expected = std::string("Error en la conversión|") + reason;
    if (shown != std::vector<std::string>{expected}) {
      faults += std::string(name) + " said";
      for (const std::string& message : shown) faults += " [" + message + "]";
      faults += " instead of [" + expected + "]\n";
    }
    shown.clear();
    return faults;
  }

  TempDir dir_;
};

}  // namespace

TEST_F(ViaductoExportFailures, MissingSourceNamesTheFile) {
  const std::string missing = dir_.File("no-existe.txt");
  const std::string target = dir_.File("salida");
  std::string faults;
  for (const Export& e : TextExports()) {
    faults += Faults(e.name, e.call(missing.c_str(), target.c_str()), target, "No existe el fichero " + missing);
  }
  EXPECT_EQ(faults, "");
}

TEST_F(ViaductoExportFailures, SourceOfAnotherKindSaysWhatItLooksLike) {
  const std::string drawing = dir_.File("plano.dxf");
  WriteFile(drawing, "  0\nSECTION\n  2\nENTITIES\n  0\nPOINT\n  8\n0\n 10\n1.0\n 20\n2.0\n  0\nENDSEC\n  0\nEOF\n");
  const std::string document = dir_.File("datos.xml");
  WriteFile(document, "<?xml version=\"1.0\"?>\n<LandXML version=\"1.2\"><Units/></LandXML>\n");
  const std::string target = dir_.File("salida");
  std::string faults;
  for (const Export& e : TextExports()) {
    faults += Faults(e.name, e.call(drawing.c_str(), target.c_str()), target,
                     "El fichero " + drawing + " no es " + e.source + ": parece un dibujo DXF");
    faults += Faults(e.name, e.call(document.c_str(), target.c_str()), target,
                     "El fichero " + document + " no es " + e.source + ": parece un documento LandXML");
  }
  EXPECT_EQ(faults, "");
}

TEST_F(ViaductoExportFailures, SourceWithNothingToConvertSaysWhatIsMissing) {
  const std::string target = dir_.File("salida");
  std::string faults;
  for (const Export& e : TextExports()) {
    const std::string source = dir_.File(std::string(e.name) + ".txt");
    WriteFile(source, e.empty);
    faults += Faults(e.name, e.call(source.c_str(), target.c_str()), target,
                     "El fichero " + source + " no contiene " + e.nothing);
  }
  EXPECT_EQ(faults, "");
}

TEST_F(ViaductoExportFailures, TargetInAMissingFolderIsNotWritten) {
  const std::string source = dir_.File("variante.eje");
  WriteFile(source, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje"));
  const std::string target = dir_.File("no/existe/salida.gts");
  std::string faults = Faults("MyDll_azemta2gts", MyDll_azemta2gts(source.c_str(), target.c_str(), dir_.path().c_str()),
                              target, "No se puede escribir el fichero " + target + ": la carpeta no existe");
  faults += Faults("MyDll_azemta2gtsWCE", MyDll_azemta2gtsWCE(source.c_str(), target.c_str()), target,
                   "No se puede escribir el fichero " + target + ": la carpeta no existe");
  EXPECT_EQ(faults, "");
}

TEST_F(ViaductoExportFailures, LevelBookAndRoboticStationRefuseAMissingSource) {
  const std::string missing = dir_.File("no-existe.txt");
  const std::string target = dir_.File("libro.txt");
  std::string faults;
  faults += Faults("MyDll_anivel2ing", MyDll_anivel2ing(missing.c_str(), target.c_str(), "", "", "", "", ""), target,
                   "No existe el fichero " + missing);
  faults += Faults("MyDll_procesaCabecera", MyDll_procesaCabecera(missing.c_str(), target.c_str()), target,
                   "No existe el fichero " + missing);
  const std::string points = dir_.File("puntos.txt");
  WriteFile(points, "1 0 0 0\n");
  faults += Faults("MyDll_procesaRobotizada",
                   MyDll_procesaRobotizada(missing.c_str(), points.c_str(), target.c_str(), "", "", "", "", "", ""),
                   target, "No existe el fichero " + missing);
  const std::string report = dir_.File("informe.rtf");
  faults += Faults("MyDll_clipST2zemta", MyDll_clipST2zemta(missing.c_str(), target.c_str(), report.c_str()), target,
                   "No existe el fichero " + missing);
  EXPECT_FALSE(FileExists(report));
  EXPECT_EQ(faults, "");
}

TEST_F(ViaductoExportFailures, MissingSettingsFileIsNoReason) {
  // Without jalonex.ini the intersection form is written and nothing is said.
  const std::string source = dir_.File("variante.eje");
  WriteFile(source, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje"));
  const std::string target = dir_.File("variante.gts");
  EXPECT_EQ(MyDll_azemta2gts(source.c_str(), target.c_str(), dir_.File("sin-ajustes").c_str()), 1);
  EXPECT_TRUE(FileExists(target));
  EXPECT_EQ(shown, std::vector<std::string>{});
  shown.clear();
}

TEST_F(ViaductoExportFailures, RetiredPointPairSaysWhereTheConversionIs) {
  const std::string source = dir_.File("puntos.txt");
  WriteFile(source, "1 0 0 0\n");
  const std::string target = dir_.File("puntos.shp");
  const std::string reason =
      "No se ha convertido el fichero " + source + ": los puntos se intercambian con shapefiles en la biblioteca Shapeline";
  std::string faults = Faults("MyDll_terrex2shapeline", MyDll_terrex2shapeline(source.c_str(), target.c_str()),
                              target, reason);
  faults += Faults("MyDll_shapeline2terrex", MyDll_shapeline2terrex(source.c_str(), target.c_str()), target, reason);
  EXPECT_EQ(faults, "");
  EXPECT_EQ(ReadFile(source), "1 0 0 0\n");
}
