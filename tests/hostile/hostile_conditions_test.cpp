// Every conversion under hostile conditions, through the command line and the built libraries:
// sources that are directories, FIFOs or unreadable, targets that cannot be written, the same
// file as source and target, planted links at the fixed temporary names, two processes at
// once, and long paths with blanks, accents and "$".
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "frontend/core/export_table.h"
#include "support/test_support.h"

using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const std::string kCli = testing_support::CliPath();

// The exports that take exactly a source and a target.
std::vector<const frontend::ExportEntry*> TwoPathExports() {
  std::vector<const frontend::ExportEntry*> entries;
  for (const frontend::ExportEntry& entry : frontend::ExportTable()) {
    if (std::string(entry.parameters) == "entrada,salida") entries.push_back(&entry);
  }
  return entries;
}

// Runs `library:export source target` with a time limit; the exit status (124 on time-out,
// above 128 when a signal ended it).
int CallTwoPaths(const frontend::ExportEntry& entry, const std::string& source, const std::string& target,
                 const std::string& environment = std::string()) {
  std::string output;
  const std::string command = environment + " timeout 20 " + kCli + " call " + entry.library + ":" + entry.name +
                              " " + Quoted(source) + " " + Quoted(target) + " >/dev/null 2>&1";
  return RunCommand(command, output);
}

bool EndedNormally(int status) { return status == 0 || status == 1; }

const std::string kAlignment = std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.eje";

}  // namespace

TEST(HostileSources, DirectoriesFifosAndUnreadableFilesNeverCrashOrBlock) {
  TempDir dir;
  const std::string fifo = dir.File("tuberia");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const frontend::ExportEntry* entry : TwoPathExports()) {
    SCOPED_TRACE(entry->name);
    for (const std::string& source : {dir.path(), fifo, std::string("/proc/self/mem"), dir.File("no-existe")}) {
      const std::string target = dir.File("salida.out");
      EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, source, target))) << source;
      ::unlink(target.c_str());
    }
  }
}

TEST(HostileTargets, UnwritableTargetsLeaveNothingBehind) {
  TempDir dir;
  WriteFile(dir.File("fichero"), "no es un directorio\n");
  const std::string fifo = dir.File("tuberia");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const frontend::ExportEntry* entry : TwoPathExports()) {
    SCOPED_TRACE(entry->name);
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, kAlignment, dir.File("no/existe/salida.out"))));
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, kAlignment, dir.File("fichero/salida.out"))));
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, kAlignment, fifo)));  // never waits for a reader
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, kAlignment, dir.path())));
  }
  EXPECT_EQ(ReadFile(dir.File("fichero")), "no es un directorio\n");
  EXPECT_FALSE(FileExists(dir.File("no")));
}

TEST(HostileTargets, AFailedWriteLeavesNoTargetThatLooksComplete) {
  // A file-size limit of 1 KiB makes every larger write fail half-way.
  TempDir dir;
  std::string big;
  for (int i = 0; i < 2000; ++i) big += std::to_string(i * 10) + ".000 440000.000 4470000.000 100.000000 0.000 0.000\n";
  WriteFile(dir.File("grande.eje"), big);
  for (const char* name : {"MyDll_azemta2gtsWCE", "MyDll_aTerrex2LandXML", "Calzada_Eje_Exporta_ClipPlt"}) {
    SCOPED_TRACE(name);
    const frontend::ExportEntry* entry = frontend::FindExport(name);
    ASSERT_NE(entry, nullptr);
    const std::string target = dir.File("salida.out");
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, dir.File("grande.eje"), target, "trap '' XFSZ; ulimit -f 1;")));
    EXPECT_FALSE(FileExists(target));
  }
}

TEST(HostileTargets, SameFileAsSourceAndTargetNeverLosesItsContent) {
  TempDir dir;
  const std::string original = ReadFile(kAlignment);
  for (const frontend::ExportEntry* entry : TwoPathExports()) {
    SCOPED_TRACE(entry->name);
    // The axis-point pass exists to rewrite a cross-section file in place.
    if (std::string(entry->name) == "Calzada_TransverInterpolaCota") continue;
    const std::string file = dir.File("mismo.eje");
    WriteFile(file, original);
    EXPECT_TRUE(EndedNormally(CallTwoPaths(*entry, file, file)));
    // A conversion never writes over a file it read.
    EXPECT_EQ(ReadFile(file), original);
  }
}

TEST(FixedTemporaryNames, PlantedLinksNeverReachTheUsersFiles) {
  TempDir dir;
  const std::string victim = dir.File("tesis.doc");
  WriteFile(victim, "datos del usuario");
  const std::string temp = dir.File("temp");
  ASSERT_EQ(::mkdir(temp.c_str(), 0700), 0);
  for (const char* name : {"$$$$.EJE", "$$$.xml", "$$$.TRI", "prueba.$$$"}) {
    ASSERT_EQ(::symlink(victim.c_str(), (temp + "/" + name).c_str()), 0);
  }
  const std::string landxml = std::string(PASARELA_TEST_DATA) + "/landxml/subdivision.xml";
  const std::string environment = "TEMP=" + Quoted(temp);
  std::string output;
  for (const std::string& call :
       {std::string("MyDll_seleccionaEjeLandXML ") + Quoted(landxml),
        std::string("MyDll_seleccionaRasanteLandXML ") + Quoted(landxml),
        std::string("MyDll_alandxml2gtsWCE 0 ") + Quoted(landxml) + " " + Quoted(dir.File("a.eje")) + " x",
        std::string("MyDll_rlandxml2gtsWCE 'loop: FGCenter' ") + Quoted(landxml) + " " + Quoted(dir.File("r.ras")),
        std::string("Calzada_Sup_Importa_LandXML ") + Quoted(landxml) + " EG " + Quoted(dir.File("s.sup")),
        std::string("MyDll_ReverseString xxxxxx")}) {
    SCOPED_TRACE(call);
    EXPECT_TRUE(EndedNormally(RunCommand(environment + " " + kCli + " call " + call + " >/dev/null 2>&1", output)));
  }
  EXPECT_EQ(ReadFile(victim), "datos del usuario");
  struct stat info {};
  ASSERT_EQ(::lstat((temp + "/$$$$.EJE").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
}

TEST(Concurrency, TwoProcessesKeepTheirOwnResults) {
  TempDir dir;
  const std::string landxml = std::string(PASARELA_TEST_DATA) + "/landxml/subdivision.xml";
  // The same import twenty times in each of two processes at once, sharing $TEMP: each run's
  // result must equal the result of a run alone.
  std::string output;
  const std::string single = kCli + " call MyDll_alandxml2gtsWCE 4 " + Quoted(landxml) + " " + Quoted(dir.File("solo.eje")) + " x";
  ASSERT_EQ(RunCommand("TEMP=" + Quoted(dir.path()) + " " + single + " >/dev/null", output), 0);
  const std::string expectedA = ReadFile(dir.File("solo.eje"));
  ASSERT_FALSE(expectedA.empty());
  const std::string other = std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.xml";
  ASSERT_EQ(RunCommand("TEMP=" + Quoted(dir.path()) + " " + kCli + " call MyDll_alandxml2gtsWCE 0 " + Quoted(other) + " " +
                           Quoted(dir.File("solo-b.eje")) + " x >/dev/null",
                       output),
            0);
  const std::string expectedB = ReadFile(dir.File("solo-b.eje"));
  const std::string loop =
      "for i in $(seq 20); do TEMP=" + Quoted(dir.path()) + " " + kCli + " call MyDll_alandxml2gtsWCE ";
  const std::string script = "(" + loop + "4 " + Quoted(landxml) + " " + Quoted(dir.File("a")) +
                             "$i.eje x >/dev/null; done) & (" + loop + "0 " + Quoted(other) + " " +
                             Quoted(dir.File("b")) + "$i.eje x >/dev/null; done) & wait";
  ASSERT_EQ(RunCommand("bash -c " + Quoted(script), output), 0);
  for (int i = 1; i <= 20; ++i) {
    EXPECT_EQ(ReadFile(dir.File("a" + std::to_string(i) + ".eje")), expectedA) << i;
    EXPECT_EQ(ReadFile(dir.File("b" + std::to_string(i) + ".eje")), expectedB) << i;
  }
}

TEST(Paths, LongPathsWithBlanksAccentsAndDollars) {
  TempDir dir;
  std::string path = dir.path();
  while (path.size() < 990) {
    path += "/carpeta con ñ, á y $HOME";
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
  }
  const std::string source = path + "/eje $1 «variante».eje";
  WriteFile(source, ReadFile(kAlignment));
  const std::string target = path + "/salida $$ ü.gts";
  ASSERT_GT(target.size(), 1000u);
  std::string output;
  EXPECT_EQ(RunCommand(kCli + " call MyDll_azemta2gtsWCE " + Quoted(source) + " " + Quoted(target), output), 0);
  EXPECT_EQ(ReadFile(target), ReadFile(std::string(PASARELA_TEST_DATA) + "/gts/variante-vertices.gts"));
}
