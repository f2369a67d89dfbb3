// Replays the inputs the fuzz targets once failed on (tests/data/fuzz/<family>/), and a
// smoke run of every call of every family on a short input, through the same driver.
#include <gtest/gtest.h>

#include <dirent.h>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fuzzing {
int Run_native_alignment(const uint8_t*, std::size_t);
int Run_foreign_alignment(const uint8_t*, std::size_t);
int Run_native_profile(const uint8_t*, std::size_t);
int Run_foreign_profile(const uint8_t*, std::size_t);
int Run_gts(const uint8_t*, std::size_t);
int Run_native_cross_section(const uint8_t*, std::size_t);
int Run_foreign_cross_section(const uint8_t*, std::size_t);
int Run_landxml(const uint8_t*, std::size_t);
int Run_ifc(const uint8_t*, std::size_t);
int Run_dxf(const uint8_t*, std::size_t);
int Run_points(const uint8_t*, std::size_t);
int Run_survey(const uint8_t*, std::size_t);
int Run_instrument_records(const uint8_t*, std::size_t);
int Run_rtf_report(const uint8_t*, std::size_t);
int Run_shapefile(const uint8_t*, std::size_t);
int Run_jet_database(const uint8_t*, std::size_t);
int Run_view_files(const uint8_t*, std::size_t);
int Run_detection(const uint8_t*, std::size_t);
int Run_named_system(const uint8_t*, std::size_t);
}  // namespace fuzzing

namespace {

struct Family {
  const char* name;
  int (*run)(const uint8_t*, std::size_t);
};

const Family kFamilies[] = {
    {"native_alignment", fuzzing::Run_native_alignment},
    {"foreign_alignment", fuzzing::Run_foreign_alignment},
    {"native_profile", fuzzing::Run_native_profile},
    {"foreign_profile", fuzzing::Run_foreign_profile},
    {"gts", fuzzing::Run_gts},
    {"native_cross_section", fuzzing::Run_native_cross_section},
    {"foreign_cross_section", fuzzing::Run_foreign_cross_section},
    {"landxml", fuzzing::Run_landxml},
    {"ifc", fuzzing::Run_ifc},
    {"dxf", fuzzing::Run_dxf},
    {"points", fuzzing::Run_points},
    {"survey", fuzzing::Run_survey},
    {"instrument_records", fuzzing::Run_instrument_records},
    {"rtf_report", fuzzing::Run_rtf_report},
    {"shapefile", fuzzing::Run_shapefile},
    {"jet_database", fuzzing::Run_jet_database},
    {"view_files", fuzzing::Run_view_files},
    {"detection", fuzzing::Run_detection},
    {"named_system", fuzzing::Run_named_system},
};

int RunFamily(const Family& family, const std::string& bytes) {
  return family.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

TEST(FuzzRegression, KeptInputsRunCleanly) {
  for (const Family& family : kFamilies) {
    const std::string directory = testing_support::DataFile("fuzz/" + std::string(family.name));
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) continue;
    while (const dirent* item = ::readdir(dir)) {
      if (item->d_name[0] == '.') continue;
      SCOPED_TRACE(directory + "/" + item->d_name);
      EXPECT_EQ(RunFamily(family, testing_support::ReadFile(directory + "/" + item->d_name)), 0);
    }
    ::closedir(dir);
  }
}

TEST(FuzzRegression, EveryCallRunsOnAShortInput) {
  // Selector byte, choice byte, then a few lines that look like numbers and keywords, with
  // the separator that makes the second and third input files.
  const std::string body = "0 100 200 0 0 0\n12,5\tRECTA 3 4\n# x\n@@@@\n1=2\n@@@@\n0\nSECTION\n";
  for (const Family& family : kFamilies) {
    for (int call = 0; call < 32; ++call) {
      SCOPED_TRACE(std::string(family.name) + " call " + std::to_string(call));
      std::string input(1, static_cast<char>(call));
      input += static_cast<char>(call * 7);
      input += body;
      EXPECT_EQ(RunFamily(family, input), 0);
    }
  }
}
