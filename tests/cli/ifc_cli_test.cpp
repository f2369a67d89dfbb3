// IFC files through pasarela-cli: convert with the options of the IFC export, check naming the
// code of each rule broken (exit 1), and an alignment chosen by name on import.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_outcome.h"
#include "support/test_support.h"

namespace {

using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::DataFile;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::TempDir;

const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

}  // namespace

TEST(IfcCli, ConvertWithProfileAndCoordinateSystemThenBack) {
  TempDir dir;
  const std::string ifc = dir.File("v.ifc");
  const Outcome out = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -o " + Quoted(ifc) +
                                   " --with-profile " + Quoted(kSamples + "rasantes/variante.ras") + " --crs EPSG:25830");
  ASSERT_EQ(out.status, 0) << out.err;
  EXPECT_EQ(out.out, ifc + ": 8 elementos, 1\u202F660,000 m; 4 vértices\n");
  EXPECT_NE(ReadFile(ifc).find("IFCPROJECTEDCRS('EPSG:25830'"), std::string::npos);
  // Back to the native files, the alignment chosen by its name.
  const Outcome eje = Cli(dir, "convert " + Quoted(ifc) + " -o " + Quoted(dir.File("v.eje")) + " --alignment VARIANTE");
  ASSERT_EQ(eje.status, 0) << eje.err;
  EXPECT_EQ(ReadFile(dir.File("v.eje")), ReadFile(kSamples + "ejes/variante.eje"));
  const Outcome ras = Cli(dir, "convert " + Quoted(ifc) + " -o " + Quoted(dir.File("v.ras")) + " --profile variante");
  ASSERT_EQ(ras.status, 0) << ras.err;
  EXPECT_EQ(ReadFile(dir.File("v.ras")), ReadFile(kSamples + "rasantes/variante.ras"));
  // The options belong to the IFC export only, and a coordinate system is an EPSG code.
  const Outcome misplaced = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -o " +
                                         Quoted(dir.File("v.xml")) + " --crs EPSG:25830");
  EXPECT_EQ(misplaced.status, 1);
  EXPECT_NE(misplaced.err.find("sobran --with-profile y --crs"), std::string::npos) << misplaced.err;
  const Outcome badCrs = Cli(dir, "convert " + Quoted(kSamples + "ejes/variante.eje") + " -o " + Quoted(dir.File("m.ifc")) +
                                      " --crs UTM30");
  EXPECT_EQ(badCrs.status, 1);
  EXPECT_NE(badCrs.err.find("Sistema de coordenadas no válido"), std::string::npos) << badCrs.err;
  EXPECT_FALSE(testing_support::FileExists(dir.File("m.ifc")));
}

TEST(IfcCli, CheckNamesTheRulesAFileBreaks) {
  TempDir dir;
  const Outcome good = Cli(dir, "check " + Quoted(kSamples + "ejes/variante.ifc"));
  EXPECT_EQ(good.status, 0) << good.out << good.err;
  EXPECT_NE(good.out.find("Comprobaciones: 0 errores"), std::string::npos) << good.out;
  const Outcome bad = Cli(dir, "check " + Quoted(DataFile("ifc/rules/fail-alb015-scenario01-long_length_last_segment.ifc")));
  EXPECT_EQ(bad.status, 1) << bad.out;
  EXPECT_NE(bad.out.find("error  ALB015  el último tramo"), std::string::npos) << bad.out;
  // The profile of the file is an entry of its own.
  const Outcome profile = Cli(dir, "check " + Quoted(kSamples + "ejes/variante.ifc") + " --entry 2");
  EXPECT_EQ(profile.status, 0) << profile.out << profile.err;
  EXPECT_NE(profile.out.find("Tipo: rasante"), std::string::npos) << profile.out;
}
