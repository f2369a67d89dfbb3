// pasarela-cli's help per verb and the options of convert that guard what it writes: every
// option a verb takes is listed by `help VERB` and `VERB --help`; --entry chooses like the
// named choices; -d makes its folder; a target named with another format's extension is refused.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_outcome.h"
#include "support/test_support.h"

using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::TempDir;

namespace {

const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

std::size_t Characters(const std::string& text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

}  // namespace

TEST(VerbHelp, EveryOptionOfEveryVerbListedTheSameWayByHelpAndByDashDashHelp) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::vector<std::string>>> verbs = {
      {"info", {"--json"}},
      {"convert",
       {"-o DESTINO", "-d CARPETA", "--to FORMATO", "--alignment", "--profile", "--surface", "--layer", "--entry",
        "--all", "--axis", "--overwrite, -f"}},
      {"run", {"--all", "--overwrite, -f"}},
      {"check", {"--entry"}},
      {"view", {"-o DIBUJO", "--size", "--section", "--entry", "--terrain"}},
      {"report", {"-o INFORME", "--entry", "--terrain"}},
      {"formats", {}},
  };
  for (const auto& [verb, options] : verbs) {
    const Outcome help = Cli(dir, "help " + verb);
    const Outcome dashed = Cli(dir, verb + " --help");
    EXPECT_EQ(help.status, 0) << verb;
    EXPECT_EQ(dashed.status, 0) << verb << dashed.err;
    EXPECT_EQ(help.out, dashed.out) << verb;
    EXPECT_EQ(help.out.rfind("uso: pasarela-cli " + verb, 0), 0u) << help.out;
    for (const std::string& option : options) {
      EXPECT_NE(help.out.find("\n  " + option), std::string::npos) << verb << ": " << option << "\n" << help.out;
    }
  }
  // The option texts start in one column, counted in characters.
  std::istringstream lines(Cli(dir, "help convert").out);
  std::string line;
  std::size_t column = 0;
  while (std::getline(lines, line)) {
    if (line.rfind("  -", 0) != 0) continue;
    const std::size_t gap = line.find("  ", 2);
    ASSERT_NE(gap, std::string::npos) << line;
    const std::size_t text = Characters(line.substr(0, line.find_first_not_of(' ', gap)));
    if (column == 0) column = text;
    EXPECT_EQ(text, column) << line;
  }
  EXPECT_GT(column, 0u);
}

TEST(Formats, ColumnsAlignedByCharactersAfterAccentedNames) {
  TempDir dir;
  const Outcome formats = Cli(dir, "formats");
  ASSERT_EQ(formats.status, 0);
  std::istringstream lines(formats.out);
  std::string line;
  bool accented = false;
  while (std::getline(lines, line)) {
    // The third column starts after 24 + 1 + 52 + 1 characters.
    ASSERT_GT(Characters(line), 78u) << line;
    std::size_t characters = 0;
    std::size_t byte = 0;
    for (; byte < line.size() && characters < 77; ++byte) {
      characters += (static_cast<unsigned char>(line[byte]) & 0xC0) != 0x80 ? 1 : 0;
    }
    EXPECT_EQ(line[byte], ' ') << line;
    EXPECT_NE(line[byte + 1], ' ') << line;
    accented = accented || Characters(line) != line.size();
  }
  EXPECT_TRUE(accented) << "no accented format name to try the padding on";
}

TEST(ConvertOptions, EntryFolderAndTheTargetsExtension) {
  TempDir dir;
  // --entry names the list's entry as --alignment does.
  const Outcome entry =
      Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.xml") + " -o " + Quoted(dir.File("e.eje")) + " --entry 1");
  EXPECT_EQ(entry.status, 0) << entry.err;
  EXPECT_TRUE(FileExists(dir.File("e.eje")));

  // -d makes the folder, and the ones above it, when they are missing.
  const std::string folder = dir.File("nueva/carpeta");
  const Outcome made = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -d " + Quoted(folder) + " --to gts");
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(FileExists(folder + "/variante.gts"));
  // A file where the folder should be is no folder.
  const Outcome file = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -d " +
                                    Quoted(folder + "/variante.gts") + " --to gts");
  EXPECT_EQ(file.status, 2);

  // A profile asked for into a file named as an alignment: refused with the reason, nothing written.
  const Outcome other = Cli(dir, "convert " + Quoted(kSamples + "calzada/variante.alz") + " -o " +
                                     Quoted(dir.File("perfil.eje")) + " --to ras");
  EXPECT_EQ(other.status, 2);
  EXPECT_NE(other.err.find("extensión .eje, que es de otro formato (eje)"), std::string::npos) << other.err;
  EXPECT_FALSE(FileExists(dir.File("perfil.eje")));
  // An extension that belongs to no format, or the format's own, is taken.
  const Outcome own = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -o " +
                                   Quoted(dir.File("salida.copia")) + " --to gts");
  EXPECT_EQ(own.status, 0) << own.err;
}
