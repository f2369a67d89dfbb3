// Every menu command run through pasarela-cli on a sample of samples/, with the real
// libraries: the target must be written. A command whose export is not built yet is skipped.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "frontend/core/conversions.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"
#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const std::string kCli = testing_support::CliPath();
const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

struct CommandSample {
  const char* control;
  const char* sample;  // under samples/; null while the command has none
  const char* answer;  // the list line, layer or second file the command asks for (or null)
  const char* written = nullptr;  // the files written, when not the target itself
};

// The sample each command converts. The field-book command's answer is its alignment file.
const CommandSample kSamplesByCommand[] = {
    {"importarTopsurv", "topsurv/trabajo.mdb", nullptr},
    {"scannerSacyr", "calzada/scanner.txt", nullptr},
    {"importarDXF", "dxf/levantamiento.dxf", nullptr},
    {"importarShapeline", "shapefile/levantamiento.shp", nullptr},
    {"importarPuntosLandXML", "puntos/levantamiento.xml", nullptr},
    {"importarEjeInroads", "calzada/variante-inroads.txt", nullptr},
    {"importarEjeClip", "calzada/variante.plt", nullptr},
    {"importaEjeCartomap", "ejes/variante-cartomap.txt", nullptr},
    {"importarEjeIspol", "calzada/variante-ispol.txt", nullptr},
    {"importarEjeLandXML", "ejes/variante.xml", "variante"},
    {"importarEjeIstram", "ejes/variante-istram.asc", nullptr},
    {"importarEjeMxRoad", "calzada/variante-mxroad.txt", nullptr},
    {"importarEjeMDW", "calzada/variante-dragados.txt", nullptr},
    {"importarEjeWTrazado", "calzada/variante-wtrazado.txt", nullptr},
    {"importarEjeIFC", "ejes/variante.ifc", "variante"},
    {"importarRasanteInroads", "calzada/variante-rasante-inroads.txt", nullptr},
    {"importarRasanteClip", "calzada/variante.alz", nullptr},
    {"importaRasanteCartomap", "ejes/variante-cartomap.txt", nullptr},
    {"importarRasanteLandXML", "rasantes/variante-landxml.xml", "variante: variante"},
    {"importarRasanteStSurvey", "rasantes/variante.gts", nullptr},
    {"importarRasanteMxRoad", "calzada/variante-rasante-mxroad.txt", nullptr},
    {"ImportarRasanteIspol", "calzada/variante-rasante-ispol.txt", nullptr},
    {"ImportarRasanteMDW", "calzada/variante-rasante-dragados.txt", nullptr},
    {"ImportarRasanteWTrazado", "calzada/variante-rasante-wtrazado.txt", nullptr},
    {"importarRasanteIFC", "ejes/variante.ifc", "variante"},
    {"TraInRoads", "calzada/tramo-inroads.soe", nullptr},
    {"TraInRoadshtml", "calzada/tramo-inroads.txt", nullptr},
    {"importarTransversalesClipTrv", "calzada/tramo.trv", nullptr},
    {"ClipSeccionPlataforma", "calzada/tramo-clip-plataforma.txt", nullptr},
    {"ClipSeccionSubrasante", "calzada/tramo-clip-subrasante.txt", nullptr},
    {"importarTransversalesIspolRes", "calzada/tramo-ispol.res", nullptr, "resultadoSub.tra resultadoFirme.tra"},
    {"importarTransversalesLandXML", "transversales/tramo-landxml.xml", "variante: terreno"},
    {"importarTransversalesInroadsLandXML", "transversales/tramo-inroads-landxml.xml", nullptr},
    {"importarTransversalesStSurvey", "transversales/tramo.gts", nullptr},
    {"importarTransverCartomap", "transversales/cartomap-distancias.txt", nullptr},
    {"importarTransverMXRoad", "calzada/tramo-mxroad.txt", nullptr},
    {"interpolaTransver", "calzada/tramo-sin-eje.tra", nullptr},
    {"importarPeraltesClip", "survey/peraltes_clip.txt", nullptr},
    {"importarPeraltesIspol", "survey/peraltes_ispol.txt", nullptr},
    {"importarSuperficieLandXML", "superficies/terreno.xml", "Terreno"},
    {"importarSuperficieCaras3D", "superficies/terreno-caras.dxf", "TERRENO"},
    {"importarPuntos", "transversales/puntos.txt", nullptr},
    {"exportarPuntosDXF", "puntos/levantamiento.pun", nullptr},
    {"ExportarShapeline", "puntos/levantamiento.pun", nullptr},
    {"exportarPuntosLandXML", "puntos/levantamiento.pun", nullptr},
    {"ejeclip", "ejes/variante.eje", nullptr},
    {"ejeLandXML", "ejes/variante.eje", nullptr},
    {"ejeIFC", "ejes/variante.eje", nullptr},
    {"ejeGTS", "ejes/variante.eje", nullptr},
    {"rasClip", "rasantes/variante.ras", nullptr},
    {"rasIspol", "rasantes/variante.ras", nullptr},
    {"rasLandXML", "rasantes/variante.ras", nullptr},
    {"rasGTS", "rasantes/variante.ras", nullptr},
    {"transverClipTRV", "transversales/tramo.tra", nullptr},
    {"puntosTraClipTer", "calzada/libreta.pun", "ejes/variante.eje"},
    {"transverLandXML", "transversales/tramo.tra", nullptr},
    {"traGTS", "transversales/tramo.tra", nullptr},
    {"traTopSurv", "transversales/tramo.tra", nullptr},
    {"exportarLevTopcal", "survey/levantamiento.lea", nullptr},
    {"exportarLevTopcalCod", "survey/levantamiento.lea", nullptr},
};

const CommandSample* SampleOf(const std::string& control) {
  for (const CommandSample& sample : kSamplesByCommand) {
    if (control == sample.control) return &sample;
  }
  return nullptr;
}

std::vector<std::string> ConversionCommands() {
  std::vector<std::string> controls;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    if (command.kind == frontend::ItemKind::Command && command.variant != frontend::Variant::Quit &&
        command.variant != frontend::Variant::About) {
      controls.push_back(command.control);
    }
  }
  return controls;
}

// The exports a command calls that cannot be had yet, as "Library Name" lines.
std::string MissingExports(const frontend::MenuCommand& command) {
  frontend::LibraryLoader loader(std::string(PASARELA_BINARY_DIR) + "/lib");
  std::vector<std::pair<std::string, std::string>> exports;
  if (!command.exportName.empty()) exports.emplace_back(command.library, command.exportName);
  if (!command.selectionExport.empty()) exports.emplace_back(command.selectionLibrary, command.selectionExport);
  for (const frontend::ExportByExtension& byExtension : command.byExtension) {
    exports.emplace_back(command.library, byExtension.exportName);
  }
  std::string missing;
  for (const auto& [library, name] : exports) {
    std::string error;
    if (frontend::FindExport(name, library) == nullptr || loader.Resolve(library, name, error) == nullptr) {
      missing += " " + library + ":" + name;
    }
  }
  return missing;
}

// Copies a sample (a shapefile with its index and table) into `dir`; the copy's path.
std::string CopySample(const std::string& relative, const TempDir& dir) {
  const std::string name = relative.substr(relative.find_last_of('/') + 1);
  const std::string source = kSamples + relative;
  WriteFile(dir.File(name), ReadFile(source));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".shp") == 0) {
    for (const char* sibling : {".shx", ".dbf"}) {
      const std::string base = name.substr(0, name.size() - 4);
      WriteFile(dir.File(base + sibling), ReadFile(source.substr(0, source.size() - 4) + sibling));
    }
  }
  return dir.File(name);
}

class EveryCommand : public testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(EveryCommand, WritesItsTargetFromItsSample) {
  const frontend::MenuCommand* command = frontend::FindCommand(GetParam());
  ASSERT_NE(command, nullptr);
  const CommandSample* sample = SampleOf(command->control);
  ASSERT_NE(sample, nullptr) << "no row for " << command->control << " in the sample table of this test";
  const std::string missing = MissingExports(*command);
  if (!missing.empty()) GTEST_SKIP() << command->control << ": export not built yet:" << missing;
  ASSERT_NE(sample->sample, nullptr) << command->control << " has its export now: add a sample to the table";

  TempDir dir;
  const std::string source = CopySample(sample->sample, dir);
  const std::string extension = command->extension.empty() ? "salida" : command->extension;
  const std::string target = dir.File("resultado." + extension);
  std::string commandLine = "TEMP=" + Quoted(dir.path()) + " " + kCli + " run " + command->control + " " +
                            Quoted(source) + " " + Quoted(target);
  if (sample->answer != nullptr) {
    const bool isFile = command->variant == frontend::Variant::FieldBookToClipTer;
    commandLine += " " + Quoted(isFile ? CopySample(sample->answer, dir) : sample->answer);
  }
  std::string output;
  const int status = RunCommand(commandLine + " 2>&1", output);
  EXPECT_EQ(status, 0) << commandLine << "\n" << output;
  std::vector<std::string> written{target};
  if (sample->written != nullptr) {
    written.clear();
    std::istringstream names(sample->written);
    for (std::string name; names >> name;) written.push_back(dir.File(name));
  }
  for (const std::string& file : written) {
    ASSERT_TRUE(FileExists(file)) << file << "\n" << commandLine << "\n" << output;
    EXPECT_FALSE(ReadFile(file).empty()) << file;
  }
  if (command->variant != frontend::Variant::SilentSuccess) {
    EXPECT_NE(output.find("correctamente"), std::string::npos) << output;
  }
}

INSTANTIATE_TEST_SUITE_P(Menu, EveryCommand, testing::ValuesIn(ConversionCommands()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

namespace {

// The key `convert --to` takes for a command's target.
std::string TargetKey(const std::string& control) {
  const frontend::MenuCommand* command = frontend::FindCommand(control);
  return command == nullptr ? std::string() : command->target;
}

// A written file without the moment it was written (LandXML documents and IFC files carry it).
std::string WithoutTimestamps(std::string text) {
  // IFC: the second text of FILE_NAME and the creation date closing IFCOWNERHISTORY.
  const std::size_t fileName = text.find("FILE_NAME('");
  if (fileName != std::string::npos) {
    const std::size_t start = text.find("','", fileName) + 3;
    const std::size_t end = text.find('\'', start);
    if (end != std::string::npos) text.erase(start, end - start);
  }
  const std::size_t history = text.find("=IFCOWNERHISTORY(");
  if (history != std::string::npos) {
    const std::size_t end = text.find(");", history);
    const std::size_t start = text.rfind(',', end) + 1;
    if (end != std::string::npos) text.erase(start, end - start);
  }
  for (const char* attribute : {" date=\"", " time=\""}) {
    for (std::size_t at = text.find(attribute); at != std::string::npos; at = text.find(attribute, at + 1)) {
      const std::size_t start = at + std::string(attribute).size();
      const std::size_t end = text.find('"', start);
      if (end != std::string::npos) text.erase(start, end - start);
    }
  }
  return text;
}

class ConvertLikeRun : public testing::TestWithParam<std::string> {};

}  // namespace

// convert finds the command from the sample's format and the target asked for, and writes
// what run writes for the same choice.
TEST_P(ConvertLikeRun, WritesWhatRunWrites) {
  const frontend::MenuCommand* command = frontend::FindCommand(GetParam());
  ASSERT_NE(command, nullptr);
  const CommandSample* sample = SampleOf(command->control);
  ASSERT_NE(sample, nullptr);
  if (!MissingExports(*command).empty() || sample->sample == nullptr) GTEST_SKIP() << "export not built yet";
  ASSERT_FALSE(TargetKey(command->control).empty()) << command->control << " has no row in the command format table";

  TempDir runDir;
  TempDir convertDir;
  const std::string extension = command->extension.empty() ? "salida" : command->extension;
  const std::string name = "resultado." + extension;
  const bool fieldBook = command->variant == frontend::Variant::FieldBookToClipTer;
  std::string runLine = "TEMP=" + Quoted(runDir.path()) + " " + kCli + " run " + command->control + " " +
                        Quoted(CopySample(sample->sample, runDir)) + " " + Quoted(runDir.File(name));
  std::string convertLine = "TEMP=" + Quoted(convertDir.path()) + " " + kCli + " convert " +
                            Quoted(CopySample(sample->sample, convertDir)) + " -o " +
                            Quoted(convertDir.File(name)) + " --to " + TargetKey(command->control);
  if (sample->answer != nullptr) {
    runLine += " " + Quoted(fieldBook ? CopySample(sample->answer, runDir) : sample->answer);
    convertLine += (fieldBook ? " --axis " : " --alignment ") +
                   Quoted(fieldBook ? CopySample(sample->answer, convertDir) : sample->answer);
  }
  std::string output;
  ASSERT_EQ(RunCommand(runLine + " 2>&1", output), 0) << runLine << "\n" << output;
  ASSERT_EQ(RunCommand(convertLine + " 2>&1", output), 0) << convertLine << "\n" << output;
  EXPECT_NE(output.find(convertDir.path() + "/"), std::string::npos) << output;  // one line per target
  std::vector<std::string> written{name};
  if (sample->written != nullptr) {
    written.clear();
    std::istringstream names(sample->written);
    for (std::string file; names >> file;) written.push_back(file);
  }
  for (const std::string& file : written) {
    ASSERT_TRUE(FileExists(convertDir.File(file))) << file;
    // Some targets name themselves inside; the two runs wrote in two folders.
    std::string converted = WithoutTimestamps(ReadFile(convertDir.File(file)));
    for (std::size_t at = converted.find(convertDir.path()); at != std::string::npos;
         at = converted.find(convertDir.path(), at)) {
      converted.replace(at, convertDir.path().size(), runDir.path());
    }
    EXPECT_EQ(converted, WithoutTimestamps(ReadFile(runDir.File(file)))) << command->control << ": " << file;
  }
}

INSTANTIATE_TEST_SUITE_P(Menu, ConvertLikeRun, testing::ValuesIn(ConversionCommands()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(CommandsEndToEnd, ConvertRefusesWhatItCannotDecide) {
  TempDir dir;
  const std::string alignment = CopySample("ejes/variante.eje", dir);
  std::string output;
  // No target kind: a usage error.
  EXPECT_EQ(RunCommand(kCli + " convert " + Quoted(alignment) + " -d " + Quoted(dir.path()) + " 2>&1", output), 2);
  EXPECT_NE(output.find("falta --to FORMATO"), std::string::npos) << output;
  // A target no command makes from the source: the targets it can make.
  EXPECT_EQ(RunCommand(kCli + " convert " + Quoted(alignment) + " -d " + Quoted(dir.path()) + " --to sup 2>&1", output), 1);
  EXPECT_NE(output.find("no se convierte a sup; se puede convertir a: clip-plt landxml gts"), std::string::npos) << output;
  // A source that cannot be read, beside one that converts: status 1, the other still written.
  EXPECT_EQ(RunCommand(kCli + " convert " + Quoted(dir.File("no.eje")) + " " + Quoted(alignment) + " -d " +
                           Quoted(dir.path()) + " --to gts 2>&1",
                       output),
            1);
  EXPECT_NE(output.find("No existe el fichero " + dir.File("no.eje")), std::string::npos) << output;
  EXPECT_TRUE(FileExists(dir.File("variante.gts")));
  // A list entry chosen for a command without a list; --all, a batch option, is that command
  // itself (one target).
  EXPECT_EQ(RunCommand(kCli + " convert " + Quoted(alignment) + " -o " + Quoted(dir.File("v.xml")) +
                           " --alignment 1 2>&1",
                       output),
            1);
  EXPECT_NE(output.find("ejeLandXML no elige de una lista: sobra la elección"), std::string::npos) << output;
  EXPECT_FALSE(FileExists(dir.File("v.xml")));
  EXPECT_EQ(RunCommand(kCli + " convert " + Quoted(alignment) + " -o " + Quoted(dir.File("v.xml")) + " --all 2>&1", output), 0)
      << output;
  EXPECT_NE(output.find(dir.File("v.xml") + ": "), std::string::npos) << output;
}

TEST(CommandsEndToEnd, PointsToDxfRunsPlanimetroExportWithLayersByCode) {
  TempDir dir;
  const std::string source = CopySample("puntos/levantamiento.pun", dir);
  std::string output;
  ASSERT_EQ(RunCommand(kCli + " run exportarPuntosDXF " + Quoted(source) + " - 2>&1", output), 0) << output;
  const std::string dxf = ReadFile(dir.File("levantamiento.dxf"));
  // Planimetro puts each code on its own layers; Calzada's export of the same name writes
  // every point on the fixed layer PUNTOS.
  EXPECT_NE(dxf.find("\r\n 8\r\nBC-PUNTOS\r\n"), std::string::npos);
  EXPECT_EQ(dxf.find("\r\n 8\r\nPUNTOS\r\n"), std::string::npos);
}

TEST(CommandsEndToEnd, CliListsCommandsAndReportsRefusals) {
  std::string output;
  ASSERT_EQ(RunCommand(kCli + " commands", output), 0);
  EXPECT_NE(output.find("puntosTraClipTer                     Exportar > Transversales     Exportar  a Clip (TER)...\n"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("salir                                Fichero                      Salir\n"), std::string::npos);
  EXPECT_EQ(output.find("sep2"), std::string::npos);

  TempDir dir;
  const std::string source = CopySample("ejes/variante.eje", dir);
  EXPECT_EQ(RunCommand(kCli + " run noExiste a 2>&1", output), 2);
  EXPECT_EQ(RunCommand(kCli + " run ejeGTS 2>&1", output), 2);
  // The same file as target: the program's message, nothing written, failure status.
  EXPECT_EQ(RunCommand(kCli + " run ejeGTS " + Quoted(source) + " " + Quoted(source) + " 2>&1", output), 1);
  EXPECT_NE(output.find("El fichero destino debe ser diferente al origen"), std::string::npos);
  // A command that proposes no name needs a target.
  EXPECT_EQ(RunCommand(kCli + " run interpolaTransver " + Quoted(source) + " 2>&1", output), 1);
  EXPECT_NE(output.find("falta el fichero destino"), std::string::npos) << output;
  // A list line that is not offered ends the command and shows the list.
  TempDir landXmlDir;
  const std::string xml = CopySample("ejes/variante.xml", landXmlDir);
  EXPECT_EQ(RunCommand("TEMP=" + Quoted(landXmlDir.path()) + " " + kCli + " run importarEjeLandXML " + Quoted(xml) +
                           " - otro 2>&1",
                       output),
            1);
  EXPECT_NE(output.find("  1. variante\n"), std::string::npos) << output;
  EXPECT_NE(output.find("\"otro\" no está en la lista"), std::string::npos) << output;
  EXPECT_FALSE(FileExists(landXmlDir.File("variante.eje")));
  EXPECT_EQ(RunCommand(kCli + " run acercade", output), 0);
  EXPECT_NE(output.find("Acerca de Conversiones\nVersión 1.0.0\nZemta-I.T.\n"), std::string::npos) << output;
}
