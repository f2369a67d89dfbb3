// pasarela-cli's conventions, run on the samples with the real libraries: help and version,
// results on standard output and messages on standard error, the refusal of targets that would
// be written over, and the answers a command's list takes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "cli/cli_outcome.h"
#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

using cli_testing::Cli;
using cli_testing::Outcome;

std::string Copy(const std::string& sample, const TempDir& dir, const std::string& name) {
  WriteFile(dir.File(name), ReadFile(kSamples + sample));
  return dir.File(name);
}

}  // namespace

TEST(CliConventions, HelpAndVersionOnStandardOutput) {
  TempDir dir;
  for (const char* option : {"--help", "-h"}) {
    const Outcome help = Cli(dir, option);
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("uso: pasarela-cli VERBO [ARGUMENTOS...]\n", 0), 0u) << help.out;
    for (const char* verb : {"info", "convert", "formats", "commands", "run", "exports", "call", "help"}) {
      EXPECT_NE(help.out.find(std::string("  pasarela-cli ") + verb), std::string::npos) << verb;
    }
    EXPECT_TRUE(help.err.empty());
  }
  const Outcome version = Cli(dir, "--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "pasarela-cli 1.0.0\n");

  // Nothing, or a verb that does not exist: the usage on standard error, status 2.
  for (const char* wrong : {"", "traduce"}) {
    const Outcome usage = Cli(dir, wrong);
    EXPECT_EQ(usage.status, 2) << wrong;
    EXPECT_TRUE(usage.out.empty());
    EXPECT_NE(usage.err.find("uso: pasarela-cli"), std::string::npos);
  }
  EXPECT_NE(Cli(dir, "traduce").err.find("pasarela-cli: verbo desconocido: traduce\n"), std::string::npos);
}

TEST(CliConventions, HelpTellsWhatACommandAsksForInOrder) {
  TempDir dir;
  const Outcome landXml = Cli(dir, "help importarEjeLandXML");
  EXPECT_EQ(landXml.status, 0);
  EXPECT_EQ(landXml.out,
            "importarEjeLandXML: Importar > Ejes > Importar de LandXML...\n"
            "Pide, en este orden:\n"
            "  1. ORIGEN: Eje LandXML (*.xml)|*.xml\n"
            "  2. LÍNEA: el eje del documento (su texto, su número desde 1, o --all para todas)\n"
            "  3. DESTINO: Eje Zemta (*.eje)|*.eje (\"-\" toma el origen con extensión eje)\n"
            "    pasarela-cli run importarEjeLandXML ORIGEN [DESTINO|-] [LÍNEA | --all] [--overwrite]\n");
  const Outcome fieldBook = Cli(dir, "help puntosTraClipTer");
  const std::size_t source = fieldBook.out.find("1. ORIGEN");
  const std::size_t alignment = fieldBook.out.find("2. EJE: Eje Zemta (*.eje)|*.eje");
  const std::size_t target = fieldBook.out.find("3. DESTINO");
  EXPECT_TRUE(source < alignment && alignment < target && target != std::string::npos) << fieldBook.out;
  EXPECT_NE(Cli(dir, "help interpolaTransver").out.find("(no se propone ninguno: hay que darlo)"), std::string::npos);
  EXPECT_NE(Cli(dir, "help run").out.find("pasarela-cli run ORDEN ORIGEN"), std::string::npos);

  const Outcome unknown = Cli(dir, "help noExiste");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err, "pasarela-cli: orden desconocida: noExiste (véase pasarela-cli commands)\n");
}

TEST(CliConventions, ResultOnStandardOutputFailureWithItsReasonOnStandardError) {
  TempDir dir;
  const std::string xml = Copy("ejes/variante.xml", dir, "variante.xml");
  const Outcome converted = Cli(dir, "run importarEjeLandXML '" + xml + "' -");
  EXPECT_EQ(converted.status, 0) << converted.err;
  EXPECT_EQ(converted.out, "Generado correctamente fichero \n" + dir.File("variante.eje") + "\n8 elementos, 1\u202F660,000 m\n");
  EXPECT_TRUE(converted.err.empty()) << converted.err;

  const Outcome missing = Cli(dir, "run ejeGTS " + dir.File("no-existe.eje") + " " + dir.File("x.gts"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_TRUE(missing.out.empty()) << missing.out;
  EXPECT_EQ(missing.err.rfind("Error en la conversión\n", 0), 0u) << missing.err;
  EXPECT_GT(missing.err.size(), std::string("Error en la conversión\n").size());  // and why
  EXPECT_FALSE(FileExists(dir.File("x.gts")));
}

TEST(CliConventions, TargetsThatWouldBeWrittenOverAreRefused) {
  TempDir dir;
  const std::string alignment = Copy("ejes/variante.eje", dir, "variante.eje");
  ASSERT_EQ(Cli(dir, "run ejeGTS '" + alignment + "' -").status, 0);
  const std::string gts = ReadFile(dir.File("variante.gts"));
  WriteFile(dir.File("variante.gts"), "anterior\n");

  const Outcome again = Cli(dir, "run ejeGTS '" + alignment + "' -");
  EXPECT_EQ(again.status, 1);
  EXPECT_EQ(again.err, "pasarela-cli: el fichero destino " + dir.File("variante.gts") +
                           " ya existe: use --overwrite (-f) para reemplazarlo\n");
  EXPECT_EQ(ReadFile(dir.File("variante.gts")), "anterior\n");
  for (const char* option : {"--overwrite", "-f"}) {
    WriteFile(dir.File("variante.gts"), "anterior\n");
    EXPECT_EQ(Cli(dir, "run ejeGTS '" + alignment + "' - " + option).status, 0) << option;
    EXPECT_EQ(ReadFile(dir.File("variante.gts")), gts) << option;
  }

  // A second alignment where the LandXML target is expected is a mistake, even with -f.
  const std::string other = Copy("ejes/variante.eje", dir, "otro.eje");
  const Outcome secondSource = Cli(dir, "run ejeLandXML '" + alignment + "' '" + other + "' -f");
  EXPECT_EQ(secondSource.status, 1);
  EXPECT_NE(secondSource.err.find("el destino " + other + " es un fichero de los que la orden lee"), std::string::npos)
      << secondSource.err;
  EXPECT_EQ(ReadFile(other), ReadFile(alignment));
}

TEST(CliConventions, ListAnswersByTextNumberOrAll) {
  TempDir dir;
  // A document with two alignments.
  std::string document = ReadFile(kSamples + "ejes/variante.xml");
  const std::size_t start = document.find("<Alignment ");
  const std::size_t end = document.find("</Alignment>") + std::string("</Alignment>").size();
  std::string second = document.substr(start, end - start);
  second.replace(second.find("name=\"variante\""), 15, "name=\"ramal 2\"");
  document.insert(end, second);
  WriteFile(dir.File("dos.xml"), document);
  const std::string xml = dir.File("dos.xml");

  // The entry's text in any letter case, or its number.
  EXPECT_EQ(Cli(dir, "run importarEjeLandXML " + xml + " " + dir.File("a.eje") + " VARIANTE").status, 0);
  EXPECT_EQ(Cli(dir, "run importarEjeLandXML " + xml + " " + dir.File("b.eje") + " 2").status, 0);
  EXPECT_EQ(ReadFile(dir.File("a.eje")), ReadFile(dir.File("b.eje")));  // the copy has the same geometry

  // A number past the list, or no answer with two entries: the numbered list, nothing written.
  const Outcome past = Cli(dir, "run importarEjeLandXML " + xml + " " + dir.File("c.eje") + " 3");
  EXPECT_EQ(past.status, 1);
  EXPECT_EQ(past.err, "Selección de tramos desde LandXML:\n  1. variante\n  2. ramal 2\n"
                      "pasarela-cli: \"3\" no está en la lista\n");
  const Outcome none = Cli(dir, "run importarEjeLandXML " + xml + " " + dir.File("c.eje"));
  EXPECT_NE(none.err.find("falta la línea elegida de la lista"), std::string::npos) << none.err;
  EXPECT_FALSE(FileExists(dir.File("c.eje")));

  // --all: one target per entry, named after the source and the entry.
  const Outcome all = Cli(dir, "run importarEjeLandXML " + xml + " - --all");
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_TRUE(FileExists(dir.File("dos_variante.eje")));
  EXPECT_TRUE(FileExists(dir.File("dos_ramal_2.eje")));
  EXPECT_NE(all.out.find(dir.File("dos_ramal_2.eje") + "\n8 elementos, 1\u202F660,000 m\n"), std::string::npos) << all.out;
  EXPECT_EQ(Cli(dir, "run ejeGTS " + dir.File("a.eje") + " - --all").status, 2);

  // A list of one entry is taken without asking.
  const std::string single = Copy("ejes/variante.xml", dir, "una.xml");
  EXPECT_EQ(Cli(dir, "run importarEjeLandXML " + single + " -").status, 0);
  EXPECT_TRUE(FileExists(dir.File("una.eje")));
}

TEST(CliConventions, ReadmeExamplesNeverWriteIntoSamples) {
  std::istringstream readme(ReadFile(std::string(PASARELA_SOURCE_DIR) + "/README.md"));
  int examples = 0;
  for (std::string line; std::getline(readme, line);) {
    const std::size_t run = line.find("pasarela-cli run ");
    if (run != std::string::npos) {
      // pasarela-cli run ORDEN ORIGEN [DESTINO]
      std::istringstream words(line.substr(run + std::string("pasarela-cli run ").size()));
      std::string command, source, target;
      words >> command >> source >> target;
      if (source.empty()) continue;
      ++examples;
      if (target.empty()) target = "-";
      if (source.rfind("samples/", 0) == 0) {
        EXPECT_TRUE(target != "-" && target.rfind("samples/", 0) != 0) << line;
      }
    } else if (line.find("pasarela-cli convert ") != std::string::npos) {
      ++examples;
      EXPECT_TRUE(line.find(" -o samples/") == std::string::npos && line.find(" -d samples") == std::string::npos &&
                  (line.find(" -o ") != std::string::npos || line.find(" -d ") != std::string::npos))
          << line;
    }
  }
  EXPECT_GT(examples, 0);
}
