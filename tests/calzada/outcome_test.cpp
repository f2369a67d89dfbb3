// Every conversion of the library on sources it cannot convert: one that holds nothing of its
// kind and one that is a drawing. Each gives 0, leaves no target and says why, in words that
// name the file, through the library's message hook.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calzada.h"
#include "support/test_support.h"

namespace {

using testing_support::FileExists;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> shown;
void Show(const char* caption, const char* text) { shown.push_back(std::string(caption) + "|" + text); }

struct Conversion {
  const char* name;
  int32_t (*run)(const char*, const char*);
  const char* source;   // what the source must be
  const char* nothing;  // what a source of nothing lacks
};

constexpr const char* kEjes = "un listado de ejes";
constexpr const char* kRasantes = "un listado de rasantes";
constexpr const char* kTransversales = "un listado de perfiles transversales";
constexpr const char* kFicheroTransversales = "un fichero de perfiles transversales";
constexpr const char* kNingunEje = "no contiene ningún eje";
constexpr const char* kNingunaRasante = "no contiene ninguna rasante";
constexpr const char* kNingunPerfil = "no contiene ningún perfil transversal";

const Conversion kConversions[] = {
    {"Calzada_Eje_Importa_ClipPlt", Calzada_Eje_Importa_ClipPlt, kEjes, kNingunEje},
    {"Calzada_Eje_Exporta_ClipPlt", Calzada_Eje_Exporta_ClipPlt, "un fichero de ejes", kNingunEje},
    {"Calzada_Eje_Importa_Inroads", Calzada_Eje_Importa_Inroads, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_Ispol", Calzada_Eje_Importa_Ispol, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_Plroad", Calzada_Eje_Importa_Plroad, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_Mxroad", Calzada_Eje_Importa_Mxroad, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_Dragados", Calzada_Eje_Importa_Dragados, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_Asotec", Calzada_Eje_Importa_Asotec, kEjes, kNingunEje},
    {"Calzada_Eje_Importa_WTrazado", Calzada_Eje_Importa_WTrazado, kEjes, kNingunEje},
    {"Calzada_Rasante_Importa_Inroads", Calzada_Rasante_Importa_Inroads, kRasantes, kNingunaRasante},
    {"Calzada_Rasante_Importa_Clip", Calzada_Rasante_Importa_Clip, kRasantes,
     "no es una rasante Clip: no empieza por *ALZ"},
    {"Calzada_Rasante_Importa_ClipTanSimple", Calzada_Rasante_Importa_ClipTanSimple, kRasantes,
     "no es una rasante Clip: no empieza por *ALZ"},
    {"Calzada_Rasante_Exporta_Clip", Calzada_Rasante_Exporta_Clip, "un fichero de rasantes", kNingunaRasante},
    {"Calzada_Rasante_Importa_Ispol", Calzada_Rasante_Importa_Ispol, kRasantes, kNingunaRasante},
    {"Calzada_Rasante_Exporta_Ispol", Calzada_Rasante_Exporta_Ispol, "un fichero de rasantes", kNingunaRasante},
    {"Calzada_Rasante_Importa_Mxroad", Calzada_Rasante_Importa_Mxroad, kRasantes, kNingunaRasante},
    {"Calzada_Rasante_Importa_DragadosMDW", Calzada_Rasante_Importa_DragadosMDW, kRasantes, kNingunaRasante},
    {"Calzada_Rasante_Importa_Wtrazado", Calzada_Rasante_Importa_Wtrazado, kRasantes, kNingunaRasante},
    {"Calzada_Transver_Importa_Cliptrv", Calzada_Transver_Importa_Cliptrv, kTransversales, kNingunPerfil},
    {"Calzada_Transver_Exporta_Cliptrv", Calzada_Transver_Exporta_Cliptrv, kFicheroTransversales, kNingunPerfil},
    {"Calzada_Transver_Importa_Ispol", Calzada_Transver_Importa_Ispol, kTransversales, kNingunPerfil},
    {"Calzada_Transver_Importa_Mxroad", Calzada_Transver_Importa_Mxroad, kTransversales, kNingunPerfil},
    {"Calzada_Transver_Importa_InRoadsTXT", Calzada_Transver_Importa_InRoadsTXT, kTransversales, kNingunPerfil},
    {"Calzada_inroads2gts", Calzada_inroads2gts, kTransversales, kNingunPerfil},
    {"Calzada_Transver_Importa_DRAGADOSMDW", Calzada_Transver_Importa_DRAGADOSMDW, kTransversales, kNingunPerfil},
    {"Calzada_Transver_ClipSeccionPlat", Calzada_Transver_ClipSeccionPlat, kTransversales, kNingunPerfil},
    {"Calzada_Transver_ClipSeccionSubras", Calzada_Transver_ClipSeccionSubras, kTransversales, kNingunPerfil},
    {"Calzada_TransverInterpolaCota", Calzada_TransverInterpolaCota, kFicheroTransversales, kNingunPerfil},
    {"Calzada_Trazemta2Topsurv", Calzada_Trazemta2Topsurv, kFicheroTransversales, kNingunPerfil},
    {"Calzada_SacyrScanner", Calzada_SacyrScanner, "un listado de puntos", "no contiene ningún punto"},
    {"Calzada_Puntos_Exporta_Dxf", Calzada_Puntos_Exporta_Dxf, "un fichero de puntos", "no contiene ningún punto"},
};

// Runs the conversion on `contents`; the failures found, one line each.
std::string Faults(const Conversion& c, const std::string& contents, const std::string& expectedEnd) {
  TempDir dir;
  const std::string source = dir.File("origen.txt");
  const std::string target = dir.File("destino.txt");
  WriteFile(source, contents);
  shown.clear();
  Calzada_SetMessageHook(Show);
  const int32_t result = c.run(source.c_str(), target.c_str());
  Calzada_SetMessageHook(nullptr);
  std::string faults;
  if (result != 0) faults += std::string(c.name) + " returned " + std::to_string(result) + "\n";
  // The Ispol import writes two files named after the target.
  for (const char* name : {"destino.txt", "destinoSub.txt", "destinoFirme.txt"}) {
    if (FileExists(dir.File(name))) faults += std::string(c.name) + " left " + name + "\n";
  }
  const std::string expected = "Error en la conversión|El fichero " + source + " " + expectedEnd;
  if (shown != std::vector<std::string>{expected}) {
    faults += std::string(c.name) + " said";
    for (const std::string& message : shown) faults += " [" + message + "]";
    faults += " instead of [" + expected + "]\n";
  }
  return faults;
}

TEST(CalzadaOutcomes, ASourceOfNothingGivesZeroNoTargetAndSaysWhatItLacks) {
  std::string faults;
  for (const Conversion& c : kConversions) faults += Faults(c, "texto\n", c.nothing);
  EXPECT_EQ(faults, "");
}

TEST(CalzadaOutcomes, ADrawingGivesZeroNoTargetAndSaysWhatItIs) {
  std::string faults;
  for (const Conversion& c : kConversions) {
    faults += Faults(c, "  0\nSECTION\n  2\nENTITIES\n  0\nENDSEC\n  0\nEOF\n",
                     std::string("no es ") + c.source + ": parece un dibujo DXF");
  }
  EXPECT_EQ(faults, "");
}

TEST(CalzadaOutcomes, TheAxisPointPassInPlaceKeepsTheFileWhenItFails) {
  TempDir dir;
  const std::string file = dir.File("secciones.tra");
  WriteFile(file, "texto\n");
  shown.clear();
  Calzada_SetMessageHook(Show);
  EXPECT_EQ(Calzada_TransverInterpolaCota(file.c_str(), file.c_str()), 0);
  Calzada_SetMessageHook(nullptr);
  // The user's file is never removed, not even by a failed pass over it.
  EXPECT_EQ(testing_support::ReadFile(file), "texto\n");
  EXPECT_EQ(shown, std::vector<std::string>{"Error en la conversión|El fichero " + file + " " + kNingunPerfil});
  // In place and successful: the file gains its axis points.
  WriteFile(file, "10 -3 10 A\n10 2 11 B\n");
  EXPECT_EQ(Calzada_TransverInterpolaCota(file.c_str(), file.c_str()), 1);
  EXPECT_EQ(testing_support::ReadFile(file), testing_support::CrLf("   10.000   -3.000   10.000 A\n"
                                                                   "   10.000    0.000   10.600 0\n"
                                                                   "   10.000    2.000   11.000 B\n"));
}

TEST(CalzadaOutcomes, TheFieldBookSaysWhichFileHoldsNothing) {
  TempDir dir;
  WriteFile(dir.File("eje.eje"), "      0.000  1000.000   2000.000  0.0000   0.000   0.000\n"
                                 "    200.000  1000.000   2200.000  0.0000   0.000   0.000\n");
  WriteFile(dir.File("sin-estacion.pun"), "1 1003.5 2120 100 T\n");
  WriteFile(dir.File("vacio.eje"), "\n");
  shown.clear();
  Calzada_SetMessageHook(Show);
  EXPECT_EQ(Calzada_Transver_Libreta2ClipTer(dir.File("sin-estacion.pun").c_str(), dir.File("eje.eje").c_str(),
                                             dir.File("t.ter").c_str()),
            0);
  EXPECT_EQ(Calzada_Transver_Libreta2ClipTer(dir.File("sin-estacion.pun").c_str(), dir.File("vacio.eje").c_str(),
                                             dir.File("t.ter").c_str()),
            0);
  EXPECT_EQ(Calzada_Transver_Libreta2ClipTer(dir.File("no.pun").c_str(), dir.File("eje.eje").c_str(),
                                             dir.File("t.ter").c_str()),
            0);
  Calzada_SetMessageHook(nullptr);
  EXPECT_FALSE(FileExists(dir.File("t.ter")));
  const std::string failed = "Error en la conversión|";
  EXPECT_EQ(shown, (std::vector<std::string>{
                       failed + "El fichero " + dir.File("sin-estacion.pun") +
                           " no contiene ningún punto con la estación en su código que caiga sobre el eje",
                       failed + "El fichero " + dir.File("vacio.eje") + " no contiene ningún eje",
                       failed + "No existe el fichero " + dir.File("no.pun"),
                   }));
}

}  // namespace
