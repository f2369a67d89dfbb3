#include "formats/topcal/topcal.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "viaducto.h"

using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const char kSurvey[] =
    "E 99 10.0 100.0 5.0 1.5 ANTES\n"  // before the first set-up: nothing
    "S EST1 1.562\n"
    "E 1 12.5 100.0 25.0 1.5 EJE\n"
    "P 2 300.25 50.0 10.0 1.8\n"  // slope = 10 / sin(pi/4) = 14.142; no code
    "P 3 1.0 2.0 3.0\n"           // a number missing: skipped
    "X 4 1 2 3 4\n"               // not an observation
    "S EST2 1.48\n"
    "E 5 0 0 7.0 0 CERO\r\n";  // sin(0) = 0: distance 0

}  // namespace

TEST(Topcal, NativeSurveyWithCodeFileBeside) {
  TempDir dir;
  WriteFile(dir.File("lev.lea"), kSurvey);
  const std::string target = dir.File("trabajo.odb");
  ASSERT_EQ(MyDll_topoLea2Topcal(dir.File("lev.lea").c_str(), target.c_str()), 1);
  EXPECT_EQ(ReadFile(target), CrLf(" EST1     1  12.5000 100.0000    25.000   1.500   1.562\n"
                                   " EST1     2 300.2500  50.0000    14.142   1.800   1.562\n"
                                   " EST2     5   0.0000   0.0000     0.000   0.000   1.480\n"));
  EXPECT_EQ(ReadFile(dir.File("trabajo.cod")), CrLf("     1      EJE\n     2         \n     5     CERO\n"));
}

TEST(Topcal, NativeSurveyWithCodesOnEachLine) {
  EXPECT_EQ(ConvertBytes(MyDll_topoLea2TopcalCod, kSurvey),
            CrLf(" EST1     1  12.5000 100.0000    25.000   1.500   1.562      EJE\n"
                 " EST1     2 300.2500  50.0000    14.142   1.800   1.562         \n"
                 " EST2     5   0.0000   0.0000     0.000   0.000   1.480     CERO\n"));
}

TEST(Topcal, LongNamesShiftTheColumnsAndAreKeptWhole) {
  const std::string name(200, 'p');
  EXPECT_EQ(ConvertBytes(MyDll_topoLea2TopcalCod, "S ESTACION-LARGA 1\nE " + name + " 1 100 2 0 C\n"),
            CrLf("ESTACION-LARGA" + name + "   1.0000 100.0000     2.000   0.000   1.000        C\n"));
}

TEST(Topcal, NothingToWriteGivesZeroAndNoFile) {
  EXPECT_EQ(ConvertBytes(MyDll_topoLea2Topcal, "E 1 1 1 1 1\nS EST1 1.5\n", 0), "<none>");
  EXPECT_EQ(ConvertBytes(MyDll_topoLea2TopcalCod, "", 0), "<none>");
  TempDir dir;
  EXPECT_EQ(MyDll_topoLea2Topcal(dir.File("no.lea").c_str(), dir.File("s.odb").c_str()), 0);
  EXPECT_EQ(MyDll_lectgts2topcal(dir.File("no.txt").c_str(), dir.File("s.odb").c_str()), 0);
  EXPECT_FALSE(FileExists(dir.File("s.odb")));
  EXPECT_FALSE(FileExists(dir.File("s.cod")));
}

TEST(Topcal, TargetEndingInCodIsNotOverwrittenByItsCodes) {
  TempDir dir;
  WriteFile(dir.File("lev.lea"), kSurvey);
  ASSERT_EQ(MyDll_topoLea2Topcal(dir.File("lev.lea").c_str(), dir.File("salida.cod").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("salida.cod")).substr(0, 6), " EST1 ");
  EXPECT_EQ(viaducto::TopcalCodePath("/a.b/trabajo.odb"), "/a.b/trabajo.cod");
  EXPECT_EQ(viaducto::TopcalCodePath("/a.b/trabajo"), "/a.b/trabajo.cod");
}

TEST(Topcal, ObservationListInWideColumns) {
  EXPECT_EQ(ConvertBytes(MyDll_lectgts2topcal,
                         "EST1,101,35.421,99.8765,45.321,1.5,1.562,BORDE\n"
                         "EST1 102 38.1175 99.9012 47.905 1.5 1.562 ZEMTA\r\n"
                         "EST1\t103,,52.663 101.245 39.118 1.5 1.562\n"
                         "EST1 104 1 2 3 4\n"  // six fields: skipped
                         "EST2,105,312.778,98.442,28.76,1.5,1.48,zemta"),
            CrLf("     EST1      101    35.4210   99.8765    45.321  1.500  1.562  BORDE\n"
                 "     EST1      102    38.1175   99.9012    47.905  1.500  1.562       \n"
                 "     EST1      103    52.6630  101.2450    39.118  1.500  1.562       \n"
                 "     EST2      105   312.7780   98.4420    28.760  1.500  1.480       \n"));
}

TEST(Topcal, SampleSurvey) {
  TempDir dir;
  ASSERT_EQ(MyDll_topoLea2Topcal(DataFile("native/levantamiento.lea").c_str(), dir.File("l.odb").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("l.odb")), ReadFile(DataFile("native/levantamiento.odb")));
  EXPECT_EQ(ReadFile(dir.File("l.cod")), ReadFile(DataFile("native/levantamiento.cod")));
}
