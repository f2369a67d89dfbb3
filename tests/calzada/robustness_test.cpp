#include <gtest/gtest.h>

#include <string>

#include "calzada.h"
#include "support/test_support.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

TEST(CalzadaRobustness, HostileInputNeverCrashesOrWritesNonNumbers) {
  using Conversion = int32_t (*)(const char*, const char*);
  const Conversion all[] = {
      Calzada_Eje_Importa_ClipPlt,         Calzada_Eje_Exporta_ClipPlt,          Calzada_Eje_Importa_Inroads,
      Calzada_Eje_Importa_Ispol,           Calzada_Eje_Importa_Plroad,           Calzada_Eje_Importa_Mxroad,
      Calzada_Eje_Importa_Dragados,        Calzada_Eje_Importa_Asotec,           Calzada_Eje_Importa_WTrazado,
      Calzada_Rasante_Importa_Inroads,     Calzada_Rasante_Importa_Clip,         Calzada_Rasante_Importa_ClipTanSimple,
      Calzada_Rasante_Exporta_Clip,        Calzada_Rasante_Importa_Ispol,        Calzada_Rasante_Exporta_Ispol,
      Calzada_Rasante_Importa_Mxroad,      Calzada_Rasante_Importa_DragadosMDW,  Calzada_Rasante_Importa_Wtrazado,
      Calzada_Transver_Importa_Cliptrv,    Calzada_Transver_Exporta_Cliptrv,     Calzada_Transver_Importa_Ispol,
      Calzada_Transver_Importa_Mxroad,     Calzada_Transver_Importa_InRoadsTXT,  Calzada_inroads2gts,
      Calzada_Transver_Importa_DRAGADOSMDW, Calzada_Transver_ClipSeccionPlat,    Calzada_Transver_ClipSeccionSubras,
      Calzada_TransverInterpolaCota};
  std::string binary;
  for (int i = 0; i < 2000; ++i) binary.push_back(static_cast<char>((i * 37) % 256));
  const std::string inputs[] = {
      binary,
      std::string(5000, '7') + "\n" + std::string(3000, ','),
      "*ALZ1\n*PLT1\n{ TYPE STATION ELEVATION SLOPE VC_LENGTH\nINICIO x 0 0\n"
      "0 , 0 , 0 , 0 , 0 , 0\n0 , 0 , 0 , 0 , 0 , 0\n0 0C 0T\n0 0C 0F\n0 0C 5F\n0 0C 5T\n0 0C 0T\n"
      "PAR 0+0 0 0 10\nCIR 0+0 0 0 10\nLIN 0+0 0 0 0\n1 x x 0 0 x 1 x x x\n2 x x 0 0 x 1 x x x\n"
      "3 x x 0 0 x 1 x x x\nFINAL 0 0\n",
      "1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308 1e308\n"
      "-1e308 1e308 -1e308 1e308 -1e308 1e308 -1e308 1e308 -1e308 1e308 x\n"
      "CIR 0+0 1e-300 1 1 1e308 1e308\nSPI 1+0 0 1 1 1 1e308\nCIR 2+0 -1e-300 1 1 1e308 1\n"
      "4 1e308 0 0 0 0 1e308 1e308\n7 1e308 0 0 0 0 nan inf\n",
      "0 0 0 0 0\n1e308 1e308 1 1e308 0\n-1e308 -1e308 0 0 0\n-1e308 1e308 0 0 0\n",
      "*TRV\nx\n1e308,2\n-1e308,1e308,A\n1e308,-1e308,A\n*1e308+1e308 -1e308 1e308 A\n1e308+0 A -1e308 0 0 1e308\n"
      "1e308+0 A 1e308 0 0 -1e308\nP.K. 1e308\n1 0 0 1e308 -1e308 A\n2 0 0 -1e308 1e308 A\n",
  };
  TempDir dir;
  for (const std::string& input : inputs) {
    WriteFile(dir.File("entrada"), input);
    for (Conversion conversion : all) {
      conversion(dir.File("entrada").c_str(), dir.File("salida").c_str());
      if (!testing_support::FileExists(dir.File("salida"))) continue;
      const std::string output = ReadFile(dir.File("salida"));
      EXPECT_EQ(output.find("nan"), std::string::npos) << output.substr(0, 200);
      EXPECT_EQ(output.find("inf"), std::string::npos) << output.substr(0, 200);
      std::remove(dir.File("salida").c_str());
    }
  }
}
