// pasarela-cli check, view and report on the samples and on files with a planted fault.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string kCli = testing_support::CliPath();
std::string Sample(const std::string& name) { return std::string(PASARELA_SOURCE_DIR) + "/samples/" + name; }

int RunCli(const std::string& arguments, std::string& output) {
  return RunCommand(kCli + " " + arguments + " 2>&1", output);
}

TEST(CheckCommand, ExitStatusTellsSoundFromFaultyFromUnreadable) {
  std::string output;
  EXPECT_EQ(RunCli("check " + Sample("ejes/variante.eje"), output), 0) << output;
  EXPECT_NE(output.find("Comprobaciones: 0 errores, 0 avisos"), std::string::npos) << output;
  EXPECT_NE(output.find("Elementos: 8 (3 rectas, 3 curvas, 2 clotoides)"), std::string::npos) << output;

  TempDir dir;
  WriteFile(dir.File("roto.eje"), "0 0 0 100 0 0\n100 100.5 0 100 0 0\n200 200 0 100 0 0\n");
  EXPECT_EQ(RunCli("check " + dir.File("roto.eje"), output), 1) << output;
  EXPECT_NE(output.find("error  P.K. 0+100,000  Salto de posición de 0,5000 m"), std::string::npos) << output;

  // Warnings alone do not fail.
  WriteFile(dir.File("p.pun"), "1 0 0 0\n1 1 1 1\n");
  EXPECT_EQ(RunCli("check " + dir.File("p.pun"), output), 0) << output;
  EXPECT_NE(output.find("aviso  punto 1"), std::string::npos) << output;

  EXPECT_EQ(RunCli("check " + dir.File("falta.eje"), output), 2) << output;
  EXPECT_NE(output.find("No se puede leer el fichero"), std::string::npos) << output;
  EXPECT_EQ(RunCli("check", output), 2) << output;
}

// A LandXML document holds several entries: --entry picks one by name or number, the first
// without it, and a name the document does not hold is refused with the count.
TEST(CheckCommand, EntryPicksTheAlignmentOfALandXmlDocument) {
  const std::string document = testing_support::Quoted(testing_support::DataFile("landxml/subdivision-2.0.xml"));
  std::string output;
  EXPECT_EQ(RunCli("check " + document, output), 0) << output;
  EXPECT_NE(output.find("Entrada: 1stave (1 de 8)"), std::string::npos) << output;
  EXPECT_EQ(RunCli("check " + document + " --entry 2", output), 0) << output;
  EXPECT_NE(output.find("Entrada: 2ndave (2 de 8)"), std::string::npos) << output;
  EXPECT_EQ(RunCli("check " + document + " --entry 2NDAVE", output), 0) << output;
  EXPECT_NE(output.find("Entrada: 2ndave (2 de 8)"), std::string::npos) << output;
  EXPECT_EQ(RunCli("check " + document + " --entry nada", output), 2) << output;
  EXPECT_NE(output.find("no contiene \"nada\" (hay 8 entradas)"), std::string::npos) << output;
  EXPECT_EQ(RunCli("check " + document + " --entry", output), 2) << output;
}

const std::string kDrawingProgram = std::string(PASARELA_BINARY_DIR) + "/bin/pasarela-view";

TEST(DrawingCommands, WritePicturesAndReportsOrSayWhyNot) {
  TempDir dir;
  std::string output;
  const int status = RunCli("view " + Sample("rasantes/variante.ras") + " -o " + dir.File("r.png") + " --size 640x400", output);
  if (!FileExists(kDrawingProgram)) {
    // A build without Qt's GUI: the commands say so and fail, nothing is written.
    EXPECT_EQ(status, 2);
    EXPECT_NE(output.find("no está el programa de dibujo"), std::string::npos) << output;
    EXPECT_FALSE(FileExists(dir.File("r.png")));
    GTEST_SKIP() << "built without Qt: no pasarela-view";
  }
  ASSERT_EQ(status, 0) << output;
  EXPECT_EQ(ReadFile(dir.File("r.png")).substr(1, 3), "PNG");
  ASSERT_EQ(RunCli("view " + Sample("transversales/tramo.tra") + " -o " + dir.File("t.svg") + " --section 2", output),
            0)
      << output;
  EXPECT_NE(ReadFile(dir.File("t.svg")).find("<svg"), std::string::npos);
  // The third alignment of a LandXML document, and a name it does not hold (nothing written).
  const std::string document = testing_support::Quoted(testing_support::DataFile("landxml/subdivision-2.0.xml"));
  ASSERT_EQ(RunCli("view " + document + " --entry 3 -o " + dir.File("x.png"), output), 0) << output;
  EXPECT_EQ(ReadFile(dir.File("x.png")).substr(1, 3), "PNG");
  EXPECT_EQ(RunCli("view " + document + " --entry nada -o " + dir.File("y.png"), output), 2) << output;
  EXPECT_FALSE(FileExists(dir.File("y.png")));
  ASSERT_EQ(RunCli("report " + Sample("puntos/levantamiento.pun") + " -o " + dir.File("p.pdf"), output), 0) << output;
  EXPECT_EQ(ReadFile(dir.File("p.pdf")).substr(0, 5), "%PDF-");

  // A second profile as the ground: drawn where it shares stations, refused where it shares none.
  WriteFile(dir.File("terreno.ras"), "100 600 0 0 0\n1500 605 0 0 0\n");
  WriteFile(dir.File("lejos.ras"), "3000 600 0 0 0\n3500 605 0 0 0\n");
  ASSERT_EQ(RunCli("view " + Sample("rasantes/variante.ras") + " --terrain " + dir.File("terreno.ras") + " -o " +
                       dir.File("g.png") + " --size 640x400",
                   output),
            0)
      << output;
  EXPECT_NE(ReadFile(dir.File("g.png")), ReadFile(dir.File("r.png")));
  for (const char* verb : {"view", "report"}) {
    EXPECT_EQ(RunCli(std::string(verb) + " " + Sample("rasantes/variante.ras") + " --terrain " + dir.File("lejos.ras") +
                         " -o " + dir.File("l.pdf"),
                     output),
              2)
        << verb;
    EXPECT_NE(output.find("no se solapa con los P.K. de la rasante (0+000,000 a 1+660,000)"), std::string::npos) << output;
    EXPECT_FALSE(FileExists(dir.File("l.pdf")));
  }

  EXPECT_EQ(RunCli("view " + Sample("ejes/variante.eje") + " -o " + dir.File("e.png") + " --size 10x10", output), 2);
  EXPECT_NE(output.find("tamaño no válido"), std::string::npos) << output;
  EXPECT_EQ(RunCli("view " + Sample("ejes/variante.eje"), output), 2);
  EXPECT_NE(output.find("falta el fichero destino"), std::string::npos) << output;
  EXPECT_EQ(RunCli("view " + Sample("ejes/variante.eje") + " -o " + dir.File("falta/e.png"), output), 2);
  EXPECT_NE(output.find("No se puede escribir"), std::string::npos) << output;
}

// pasarela-cli runs where Qt's GUI libraries are not installed: it links none, checks files
// itself and leaves the drawings to pasarela-view, which it finds beside itself.
TEST(DrawingCommands, TheCliLinksNoQtAndSaysWhenTheDrawingProgramIsMissing) {
  std::string needed;
  ASSERT_EQ(RunCommand("readelf -d " + kCli, needed), 0);
  EXPECT_NE(needed.find("NEEDED"), std::string::npos) << needed;
  EXPECT_EQ(needed.find("libQt"), std::string::npos) << needed;

  // A copy of the program alone in a folder has no drawing program beside it.
  TempDir dir;
  const std::string alone = dir.File("pasarela-cli");
  ASSERT_EQ(RunCommand("cp " + kCli + " " + alone, needed), 0);
  std::string output;
  for (const char* verb : {"view", "report"}) {
    EXPECT_EQ(RunCommand(alone + " " + verb + " " + Sample("ejes/variante.eje") + " -o " + dir.File("e.pdf") + " 2>&1", output),
              2);
    EXPECT_EQ(output, std::string("pasarela-cli: ") + verb + ": no está el programa de dibujo " + dir.File("pasarela-view") +
                          " (se construye con la interfaz de Qt): los dibujos y los informes no están disponibles\n");
    EXPECT_FALSE(FileExists(dir.File("e.pdf")));
  }
  EXPECT_EQ(RunCommand(alone + " check " + Sample("ejes/variante.eje") + " 2>&1", output), 0) << output;
  EXPECT_NE(output.find("Comprobaciones: 0 errores"), std::string::npos) << output;

  if (!FileExists(kDrawingProgram)) GTEST_SKIP() << "built without Qt: no pasarela-view";
  ASSERT_EQ(RunCommand("readelf -d " + kDrawingProgram, needed), 0);
  EXPECT_NE(needed.find("libQt6Gui"), std::string::npos) << needed;
  EXPECT_EQ(needed.find("libQt6Widgets"), std::string::npos) << needed;
  // Called on its own without a verb it says how it is used.
  EXPECT_EQ(RunCommand(kDrawingProgram + " 2>&1", output), 2);
  EXPECT_NE(output.find("uso: pasarela-view view|report"), std::string::npos) << output;
  // Through pasarela-cli, a file that cannot be read: the status and message of the drawing.
  EXPECT_EQ(RunCli("report " + dir.File("falta.eje") + " -o " + dir.File("f.pdf"), output), 2);
  EXPECT_NE(output.find("pasarela-cli: No se puede leer el fichero"), std::string::npos) << output;
}

}  // namespace
