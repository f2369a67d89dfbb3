// Every conversion of the registry through `pasarela-cli convert`, on every sample of every
// format it reads (samples/, tests/data and, when present, the samples of other programs kept
// beside the repository): each is converted with exit status 0 into a non-empty target of the
// format the row writes, and every (source format, target) pair `formats` advertises has a
// sample. Then README.md's own examples, in the order written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_outcome.h"
#include "frontend/core/conversions.h"
#include "frontend/detect/contents.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::Quoted;
using testing_support::TempDir;

const std::string kSource = PASARELA_SOURCE_DIR;

// Files under tests/data that are no samples of a format: fuzzing seeds and hostile inputs, and
// the goldens of the program's own listings.
bool LeftOut(const fs::path& path) {
  const std::string text = path.generic_string();
  return text.find("/tests/data/fuzz/") != std::string::npos || text.find("/tests/data/frontend/") != std::string::npos ||
         path.extension() == ".md";
}

std::vector<std::string> SampleFiles() {
  std::vector<std::string> roots = {kSource + "/samples", kSource + "/tests/data"};
  if (testing_support::SharedSamplesPresent()) roots.push_back(testing_support::SharedSample(""));
  std::vector<std::string> files;
  for (const std::string& root : roots) {
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file() && !LeftOut(entry.path())) files.push_back(entry.path().lexically_normal().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Conversions that fail on a sample for a fault of the conversion itself (each reported): the
// end of the file's path and the target key.
struct KnownFault {
  const char* file;
  const char* target;
  const char* why;
};
// None now: four-corner faces are split and a drawing without a layer table lists the layers
// its entities name.
const std::vector<KnownFault> kKnownFaults = {};

bool IsKnownFault(const std::string& file, const std::string& target) {
  for (const KnownFault& fault : kKnownFaults) {
    const std::string end = std::string("/") + fault.file;
    if (target == fault.target && file.size() > end.size() && file.compare(file.size() - end.size(), end.size(), end) == 0) {
      return true;
    }
  }
  return false;
}

// Conversions whose targets detection does not always tell as the format written (each
// reported): their targets are only checked to be there and not empty.
const std::set<std::string> kTargetsDetectedOtherwise = {
    "importaEjeCartomap",  // its tab-separated alignment is taken for points
    "rasIspol",            // the Ispol profile it writes from most profiles is not recognised
    "traTopSurv",          // nor the TopSurv sections of some sources
};

// The conversions that ask for a second file (the field book's alignment) convert the samples
// that come with one.
const std::map<std::string, std::string> kSecondFiles = {
    {"samples/calzada/libreta.pun", "samples/ejes/variante.eje"},
};

std::string Relative(const std::string& path) {
  return path.rfind(kSource + "/", 0) == 0 ? path.substr(kSource.size() + 1) : path;
}

struct SampleRun {
  std::vector<std::string> sources;
  std::string extra;  // further arguments
};

// Copies `sample`, with the files of its name beside it (a shapefile's index and table), into a
// folder of its own under `dir`: some conversions write beside their source (a drawing's
// layer list). The copy's path.
std::string CopyIntoScratch(const std::string& sample, const TempDir& dir, int index) {
  const fs::path from(sample);
  const fs::path folder = fs::path(dir.path()) / std::to_string(index);
  fs::create_directories(folder);
  for (const fs::directory_entry& sibling : fs::directory_iterator(from.parent_path())) {
    if (sibling.is_regular_file() && sibling.path().stem() == from.stem()) {
      fs::copy_file(sibling.path(), folder / sibling.path().filename());
    }
  }
  return (folder / from.filename()).string();
}

}  // namespace

TEST(ConversionMatrix, EverySampleConvertsByEveryConversionThatReadsItsData) {
  // What each conversion gets to convert: the samples it is offered for (`info` offers the
  // same: the conversions of the format whose data the file holds).
  std::map<const frontend::MenuCommand*, std::vector<SampleRun>> runs;
  std::set<std::pair<detect::Format, const frontend::MenuCommand*>> covered;
  for (const std::string& file : SampleFiles()) {
    const detect::Contents contents = detect::ReadContents(file);
    for (const frontend::MenuCommand* conversion : frontend::ConversionsFor(contents)) {
      covered.insert({contents.detection.format, conversion});
      if (IsKnownFault(file, conversion->target)) continue;
      std::vector<SampleRun>& forConversion = runs[conversion];
      if (conversion->variant == frontend::Variant::FieldBookToClipTer) {
        const auto second = kSecondFiles.find(Relative(file));
        if (second != kSecondFiles.end()) forConversion.push_back({{file}, " --axis " + Quoted(kSource + "/" + second->second)});
        continue;
      }
      if (forConversion.empty()) forConversion.push_back({});
      forConversion.front().sources.push_back(file);
    }
  }

  // Every pair `formats` advertises has a sample.
  std::vector<std::string> missing;
  for (const frontend::MenuCommand* conversion : frontend::Conversions()) {
    for (const frontend::SourceFormat& source : conversion->sources) {
      if (covered.count({source.format, conversion}) == 0) {
        missing.push_back(std::string(detect::InfoOf(source.format).key) + " -> " + conversion->target + " (" +
                          conversion->control + ")");
      }
    }
  }
  std::string list;
  for (const std::string& pair : missing) list += "\n  " + pair;
  EXPECT_TRUE(missing.empty()) << "pairs without a sample:" << list;

  int converted = 0;
  for (const auto& [conversion, conversionRuns] : runs) {
    for (const SampleRun& run : conversionRuns) {
      TempDir dir;
      TempDir copies;
      std::string line = "convert";
      for (const std::string& source : run.sources) {
        line += " " + Quoted(CopyIntoScratch(source, copies, static_cast<int>(&source - run.sources.data())));
      }
      // --all: every entry of a list, and the conversion itself where it chooses from none.
      line += " -d " + Quoted(dir.path()) + " --to " + conversion->target + " --all" + run.extra;
      // The georeferencing conversions need a system: web mercator takes any sample's plane.
      if (conversion->library == "Georref") {
        const bool moves = conversion->target == "pun" || conversion->target == "sup";
        line += moves ? " --s_srs EPSG:3857 --t_srs EPSG:3857" : " --s_srs EPSG:3857";
      }
      const Outcome outcome = Cli(dir, line);
      EXPECT_EQ(outcome.status, 0) << conversion->control << "\n" << outcome.err;
      // One line per target written: "target: what it holds".
      std::istringstream lines(outcome.out);
      std::size_t written = 0;
      for (std::string written_line; std::getline(lines, written_line);) {
        const std::string target = written_line.substr(0, written_line.find(": "));
        EXPECT_FALSE(testing_support::ReadFile(target).empty()) << conversion->control << ": " << target;
        if (conversion->targetFormat != detect::Format::kUnknown && kTargetsDetectedOtherwise.count(conversion->control) == 0) {
          EXPECT_EQ(std::string(detect::InfoOf(detect::DetectFile(target).format).key), detect::InfoOf(conversion->targetFormat).key)
              << conversion->control << ": " << target;
        }
        ++written;
      }
      EXPECT_GE(written, run.sources.size()) << conversion->control << "\n" << outcome.out << outcome.err;
      converted += static_cast<int>(run.sources.size());
    }
  }
  EXPECT_GT(converted, 100);
}

// Every `pasarela-cli` line of README.md's examples, in a scratch copy of the samples, in the
// order written: each exits with 0.
TEST(ReadmeExamples, EveryLineRunsInOrder) {
  TempDir scratch;
  fs::copy(kSource + "/samples", scratch.File("samples"), fs::copy_options::recursive);
  fs::create_directories(scratch.File("tests"));
  fs::copy(kSource + "/tests/data", scratch.File("tests/data"), fs::copy_options::recursive);
  fs::create_directory(scratch.File("build"));
  const bool drawingProgram = fs::exists(std::string(PASARELA_BINARY_DIR) + "/bin/pasarela-view");

  std::istringstream readme(testing_support::ReadFile(kSource + "/README.md"));
  const std::string prefix = "    build/bin/pasarela-cli ";
  int ran = 0;
  for (std::string line; std::getline(readme, line);) {
    if (line.rfind(prefix, 0) != 0) continue;
    const std::string arguments = line.substr(prefix.size());
    const std::string verb = arguments.substr(0, arguments.find(' '));
    if ((verb == "view" || verb == "report") && !drawingProgram) continue;
    std::string output;
    const int status = testing_support::RunCommand("cd " + Quoted(scratch.path()) + " && TEMP=" + Quoted(scratch.path()) +
                                                       " " + testing_support::CliPath() + " " + arguments + " 2>&1",
                                                   output);
    EXPECT_EQ(status, 0) << line << "\n" << output;
    ++ran;
  }
  EXPECT_GE(ran, 12);
}
