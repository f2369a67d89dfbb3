// pasarela-cli convert on several targets at once: every entry of a LandXML document (--all),
// several sources into one folder, and the alignment listings only an export converts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/cli_outcome.h"
#include "support/test_support.h"

namespace {

using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

using cli_testing::Cli;
using cli_testing::Outcome;

// The sample alignment document with its one alignment repeated under each of `names`, the
// later copies shortened so that each target can be told from the others.
std::string DocumentWithAlignments(const std::vector<std::string>& names) {
  const std::string sample = ReadFile(kSamples + "ejes/variante.xml");
  const std::size_t start = sample.find("<Alignment ");
  const std::size_t end = sample.find("</Alignment>") + std::string("</Alignment>").size();
  const std::string alignment = sample.substr(start, end - start);
  std::string alignments;
  for (std::size_t i = 0; i < names.size(); ++i) {
    std::string copy = alignment;
    copy.replace(copy.find("name=\"variante\""), 15, "name=\"" + names[i] + "\"");
    // Drop the last i elements of the geometry.
    for (std::size_t k = 0; k < i; ++k) {
      const std::size_t last = copy.rfind("</CoordGeom>");
      std::size_t from = copy.rfind("<Line ", last);
      const std::size_t spiral = copy.rfind("<Spiral ", last);
      const std::size_t curve = copy.rfind("<Curve ", last);
      for (std::size_t candidate : {spiral, curve}) {
        if (candidate != std::string::npos && (from == std::string::npos || candidate > from)) from = candidate;
      }
      copy.erase(from, last - from);
    }
    copy.replace(copy.find(" length=\"1660.000\""), 18, "");
    alignments += copy;
  }
  return sample.substr(0, start) + alignments + sample.substr(end);
}

TEST(ConvertAll, EveryAlignmentToItsOwnTargetWithNamesMadeSafeAndApart) {
  TempDir dir;
  // "Eje 1" and "Eje/1" both become "Eje_1", "EJE_1" the same name in another letter case;
  // ":", "*" and a path climbing out of the folder are not kept; a name of letters outside
  // ASCII keeps what it can; a name too long for a file name is cut.
  const std::vector<std::string> names = {"Eje 1", "Eje/1", "EJE_1", "../fuera:*?", "Vía", std::string(300, 'L')};
  WriteFile(dir.File("ejes.xml"), DocumentWithAlignments(names));
  const Outcome all = Cli(dir, "convert " + Quoted(dir.File("ejes.xml")) + " -d " + Quoted(dir.path()) + " --to eje --all");
  ASSERT_EQ(all.status, 0) << all.out << all.err;
  const std::vector<std::string> expected = {"ejes_Eje_1.eje", "ejes_Eje_1_2.eje", "ejes_EJE_1_3.eje",
                                             "ejes_.._fuera.eje", "ejes_V_a.eje", "ejes_" + std::string(100, 'L') + ".eje"};
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const std::string target = dir.File(expected[i]);
    ASSERT_TRUE(FileExists(target)) << expected[i] << "\n" << all.out << all.err;
    EXPECT_NE(all.out.find(target + ": "), std::string::npos) << all.out;  // one line per target
    // What `run` writes for the same entry, by its number.
    TempDir runDir;
    const Outcome run = Cli(runDir, "run importarEjeLandXML " + Quoted(dir.File("ejes.xml")) + " " +
                                        Quoted(runDir.File("uno.eje")) + " " + std::to_string(i + 1));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(target), ReadFile(runDir.File("uno.eje"))) << expected[i];
  }
  EXPECT_NE(ReadFile(dir.File("ejes_Eje_1.eje")), ReadFile(dir.File("ejes_Eje_1_2.eje")));
  EXPECT_FALSE(FileExists(dir.File("fuera.eje")));

  // A second run finds its targets there: each refused without --overwrite, replaced with it.
  const Outcome again = Cli(dir, "convert " + Quoted(dir.File("ejes.xml")) + " -d " + Quoted(dir.path()) + " --to eje --all");
  EXPECT_EQ(again.status, 1);
  EXPECT_NE(again.err.find("ya existe"), std::string::npos) << again.err;
  const Outcome replaced =
      Cli(dir, "convert " + Quoted(dir.File("ejes.xml")) + " -d " + Quoted(dir.path()) + " --to eje --all --overwrite");
  EXPECT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_FALSE(FileExists(dir.File("ejes_Eje_1_4.eje")));

  // -o names the targets after the target given.
  const Outcome named = Cli(dir, "convert " + Quoted(dir.File("ejes.xml")) + " -o " + Quoted(dir.File("r.eje")) + " --all");
  EXPECT_EQ(named.status, 0) << named.err;
  EXPECT_TRUE(FileExists(dir.File("r_Eje_1_2.eje")));
}

TEST(ConvertAll, EverySurfaceAndProfileOfADocument) {
  TempDir dir;
  std::string surfaces = ReadFile(kSamples + "superficies/terreno.xml");
  const std::size_t start = surfaces.find("<Surface ");
  const std::size_t end = surfaces.find("</Surface>") + std::string("</Surface>").size();
  std::string second = surfaces.substr(start, end - start);
  // The library picks a surface by its name without regard to case: the second one differs
  // in a character a file name does not keep.
  second.replace(second.find("name=\"Terreno\""), 14, "name=\"Terreno?\"");
  second.erase(second.find("<F>7 12 11</F>"), 14);
  surfaces.insert(end, second);
  WriteFile(dir.File("terreno.xml"), surfaces);
  const Outcome all = Cli(dir, "convert " + Quoted(dir.File("terreno.xml")) + " -d " + Quoted(dir.path()) + " --to sup --all");
  ASSERT_EQ(all.status, 0) << all.out << all.err;
  EXPECT_NE(all.out.find(dir.File("terreno_Terreno.sup") + ": 12 triángulos"), std::string::npos) << all.out;
  EXPECT_NE(all.out.find(dir.File("terreno_Terreno_2.sup") + ": 11 triángulos"), std::string::npos) << all.out;

  WriteFile(dir.File("rasante.xml"), ReadFile(kSamples + "rasantes/variante-landxml.xml"));
  const Outcome profiles = Cli(dir, "convert " + Quoted(dir.File("rasante.xml")) + " -d " + Quoted(dir.path()) + " --to ras --all");
  ASSERT_EQ(profiles.status, 0) << profiles.err;
  EXPECT_NE(profiles.out.find(dir.File("rasante_variante_variante.ras") + ": 4 vértices"), std::string::npos)
      << profiles.out;
}

TEST(ConvertFolder, SeveralSourcesOneFailingTheOthersWritten) {
  TempDir dir;
  TempDir out;
  WriteFile(dir.File("a.eje"), ReadFile(kSamples + "ejes/variante.eje"));
  WriteFile(dir.File("b.eje"), "no es un eje\n");
  WriteFile(dir.File("c.ras"), ReadFile(kSamples + "rasantes/variante.ras"));
  const Outcome batch = Cli(dir, "convert " + Quoted(dir.File("a.eje")) + " " + Quoted(dir.File("b.eje")) + " " +
                                     Quoted(dir.File("c.ras")) + " -d " + Quoted(out.path()) + " --to gts");
  EXPECT_EQ(batch.status, 1) << batch.out << batch.err;
  EXPECT_TRUE(FileExists(out.File("a.gts")));
  EXPECT_TRUE(FileExists(out.File("c.gts")));
  EXPECT_FALSE(FileExists(out.File("b.gts")));
  EXPECT_NE(batch.err.find(dir.File("b.eje")), std::string::npos) << batch.err;  // the reason names the source
  EXPECT_EQ(batch.out.find(dir.File("b.eje")), std::string::npos) << batch.out;
  EXPECT_NE(batch.out.find(out.File("a.gts") + ": "), std::string::npos) << batch.out;
  EXPECT_NE(batch.out.find(out.File("c.gts") + ": "), std::string::npos) << batch.out;
  // No progress lines when standard error is not a terminal.
  EXPECT_EQ(batch.err.find("[1/3]"), std::string::npos);

  // Two sources of one name from two folders: the second target is kept apart, even when
  // told to overwrite (it would replace what this run has just written).
  TempDir other;
  WriteFile(other.File("a.eje"), "0 0 0 0 0 0\n100 0 100 0 0 0\n");
  const Outcome twins = Cli(dir, "convert " + Quoted(dir.File("a.eje")) + " " + Quoted(other.File("a.eje")) + " -d " +
                                     Quoted(out.path()) + " --to gts --overwrite");
  EXPECT_EQ(twins.status, 0) << twins.err;
  EXPECT_NE(ReadFile(out.File("a.gts")), ReadFile(out.File("a_2.gts")));

  // A folder stands for its files.
  TempDir folderOut;
  const Outcome folder = Cli(folderOut, "convert " + Quoted(dir.path()) + " -d " + Quoted(folderOut.path()) + " --to gts");
  EXPECT_EQ(folder.status, 1);
  EXPECT_TRUE(FileExists(folderOut.File("a.gts")));
  EXPECT_TRUE(FileExists(folderOut.File("c.gts")));
}

TEST(ConvertListings, PlRoadAndAsotecAlignmentsThroughTheirExports) {
  TempDir dir;
  struct Listing {
    const char* sample;
    const char* expected;
    const char* exportName;
  };
  for (const Listing& listing : {Listing{"variante-plroad.txt", "native/variante.eje", "Calzada_Eje_Importa_Plroad"},
                                 Listing{"variante-asotec.txt", "asotec/variante-asotec.eje", "Calzada_Eje_Importa_Asotec"}}) {
    const std::string source = dir.File(listing.sample);
    WriteFile(source, ReadFile(kSamples + "calzada/" + listing.sample));
    const Outcome info = Cli(dir, "info " + Quoted(source));
    EXPECT_NE(info.out.find(std::string("Se convierte con: ") + listing.exportName + " (a eje)"), std::string::npos)
        << info.out;
    const Outcome converted = Cli(dir, "convert " + Quoted(source) + " -d " + Quoted(dir.path()) + " --to eje");
    ASSERT_EQ(converted.status, 0) << converted.err;
    const std::string target = dir.File(std::string(listing.sample).substr(0, std::string(listing.sample).size() - 4) + ".eje");
    EXPECT_NE(converted.out.find(target + ": 8 elementos"), std::string::npos) << converted.out;
    EXPECT_EQ(ReadFile(target), ReadFile(DataFile(listing.expected))) << listing.sample;
    // The target is there now: kept unless --overwrite.
    const Outcome again = Cli(dir, "convert " + Quoted(source) + " -o " + Quoted(target));
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("ya existe"), std::string::npos) << again.err;
  }
  const Outcome formats = Cli(dir, "formats");
  EXPECT_NE(formats.out.find("plroad-eje"), std::string::npos);
  const std::size_t row = formats.out.find("asotec-eje");
  ASSERT_NE(row, std::string::npos);
  EXPECT_EQ(formats.out.substr(formats.out.find('\n', row) - 4, 4), " eje") << formats.out.substr(row, 100);
}

}  // namespace
