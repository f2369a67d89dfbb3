#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <sstream>
#include <string>

#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"
#include "support/test_support.h"

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const std::string kCli = testing_support::CliPath();
const char* const kLibraries[] = {"Viaducto", "Calzada", "Planimetro", "Shapeline", "Georref"};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The functions a public header declares with its library's export macro.
std::set<std::string> HeaderExports(const std::string& library) {
  const std::string header = ReadFile(std::string(PASARELA_SOURCE_DIR) + "/include/" + Lower(library) + ".h");
  std::string upper = library;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string macro = upper + "_API";
  std::set<std::string> names;
  std::istringstream lines(header);
  std::string line;
  while (std::getline(lines, line)) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, macro.size(), macro) != 0) continue;
    const std::size_t open = line.find('(');
    if (open == std::string::npos) continue;
    std::size_t end = open;
    while (end > 0 && line[end - 1] == ' ') --end;
    std::size_t begin = end;
    while (begin > 0 && (std::isalnum(static_cast<unsigned char>(line[begin - 1])) || line[begin - 1] == '_')) --begin;
    names.insert(line.substr(begin, end - begin));
  }
  return names;
}

std::set<std::string> DynamicSymbols(const std::string& library) {
  std::string output;
  const std::string command = "nm -D --defined-only " + std::string(PASARELA_BINARY_DIR) + "/lib/lib" + library + ".so";
  EXPECT_EQ(RunCommand(command, output), 0);
  std::set<std::string> names;
  std::istringstream lines(output);
  std::string address, type, name;
  while (lines >> address >> type >> name) names.insert(name);
  return names;
}

}  // namespace

TEST(Libraries, ShowExactlyTheirDeclaredExports) {
  for (const char* library : kLibraries) {
    const std::set<std::string> declared = HeaderExports(library);
    EXPECT_FALSE(declared.empty()) << library;
    EXPECT_EQ(DynamicSymbols(library), declared) << library;
  }
}

TEST(ExportTable, CoversEveryDeclaredExportWithMatchingParameters) {
  std::set<std::string> tabled[std::size(kLibraries)];
  frontend::LibraryLoader loader(std::string(PASARELA_BINARY_DIR) + "/lib");
  for (const frontend::ExportEntry& entry : frontend::ExportTable()) {
    int index = -1;
    for (int i = 0; i < static_cast<int>(std::size(kLibraries)); ++i) {
      if (std::string(entry.library) == kLibraries[i]) index = i;
    }
    ASSERT_GE(index, 0) << entry.library;
    EXPECT_TRUE(tabled[index].insert(entry.name).second) << "twice: " << entry.name;
    const std::string parameters = entry.parameters;
    const int commas = static_cast<int>(std::count(parameters.begin(), parameters.end(), ','));
    EXPECT_EQ(parameters.empty() ? 0 : commas + 1, entry.parameterCount) << entry.name;
    std::string error;
    EXPECT_NE(loader.Resolve(entry.library, entry.name, error), nullptr) << error;
  }
  for (std::size_t i = 0; i < std::size(kLibraries); ++i) {
    std::set<std::string> declared = HeaderExports(kLibraries[i]);
    declared.erase(std::string(kLibraries[i]) + "_SetMessageHook");  // set by programs, not a conversion
    EXPECT_EQ(tabled[i], declared) << kLibraries[i];
  }
}

TEST(Cli, ListsExportsWithLibraryAndParameters) {
  std::string output;
  ASSERT_EQ(RunCommand(kCli + " exports", output), 0);
  EXPECT_NE(output.find("Viaducto    MyDll_azemta2gts(entrada, salida, pathAp)\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Viaducto    MyDll_ReverseString(sMyString)\n"), std::string::npos);
}

TEST(Cli, CallsAnExportAndReportsItsResult) {
  TempDir dir;
  WriteFile(dir.File("eje.eje"), "0 1 2 0 0 0\n");
  std::string output;
  EXPECT_EQ(RunCommand(kCli + " call MyDll_azemta2gtsWCE " + dir.File("eje.eje") + " " + dir.File("eje.gts"), output), 0);
  EXPECT_EQ(output, "1\n");
  EXPECT_EQ(ReadFile(dir.File("eje.gts")), CrLf("START 0.000, 1.0000, 2.0000\n"));

  EXPECT_EQ(RunCommand(kCli + " call Viaducto:MyDll_terrex2shapeline a b", output), 1);
  EXPECT_EQ(output, "0\n");
  EXPECT_EQ(RunCommand("TEMP=" + dir.path() + " " + kCli + " call MyDll_ReverseString xyz", output), 0);
  EXPECT_EQ(output, "marca\n");
}

TEST(Cli, RefusesUnknownExportsAndWrongArgumentCounts) {
  std::string output;
  EXPECT_EQ(RunCommand(kCli + " call MyDll_noExiste a b 2>&1", output), 2);
  EXPECT_NE(output.find("desconocida"), std::string::npos);
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1);
  EXPECT_EQ(RunCommand(kCli + " call MyDll_azemta2gts a b 2>&1", output), 2);
  EXPECT_NE(output.find("espera 3 argumentos"), std::string::npos);
  EXPECT_EQ(RunCommand(kCli + " call Calzada:MyDll_azemta2gts a b c 2>&1", output), 2);
  EXPECT_EQ(RunCommand(kCli + " 2>&1", output), 2);
  EXPECT_EQ(RunCommand(kCli + " exports extra 2>&1", output), 2);
}
