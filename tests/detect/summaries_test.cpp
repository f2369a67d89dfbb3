// What `info` says a file holds is what the conversions read from it: the summaries come from
// the records the formats' readers return, and a conversion reads its source and its target
// no more often than it must.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/detect/contents.h"
#include "formats/shapefile/shapefile_points.h"
#include "support/test_support.h"
#include "formats/landxml/landxml_alignment.h"

namespace {

using testing_support::DataFile;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;

bool HasLine(const std::vector<std::string>& lines, const std::string& line) {
  for (const std::string& one : lines) {
    if (one == line) return true;
  }
  return false;
}

// Each alignment of the document, as info tells it, is the native file its import writes.
TEST(Summaries, LandXmlAlignmentsAreWhatTheImportWrites) {
  const std::string document = DataFile("landxml/subdivision-2.0.xml");
  const detect::Contents contents = detect::ReadContents(document);
  ASSERT_TRUE(contents.read) << contents.error;
  ASSERT_EQ(contents.alignments.size(), 6u);
  TempDir dir;
  for (std::size_t i = 0; i < contents.alignments.size(); ++i) {
    const std::string target = dir.File("eje" + std::to_string(i) + ".eje");
    ASSERT_NE(viaducto::ImportLandXmlAlignmentToNative(document, static_cast<int>(i), target), 0);
    const detect::Contents written = detect::ReadContents(target);
    ASSERT_EQ(written.alignments.size(), 1u);
    const detect::AlignmentSummary& a = contents.alignments[i];
    const detect::AlignmentSummary& b = written.alignments[0];
    EXPECT_EQ(a.elements, b.elements) << a.name;
    EXPECT_EQ(a.elementsByKind, b.elementsByKind) << a.name;
    EXPECT_NEAR(a.length, b.length, 1e-6) << a.name;
    EXPECT_NEAR(a.startStation, b.startStation, 1e-6) << a.name;
    EXPECT_NEAR(a.endStation, b.endStation, 1e-6) << a.name;
  }
  const std::vector<std::string> lines = detect::DescriptionLines(contents);
  // The document is in feet: 773.580 ft and 7 494.174 ft are shown in metres.
  EXPECT_TRUE(HasLine(lines, "Eje \"1stave\": 1 elemento (1 recta), longitud 235,787 m, PK 0,000 a 235,787"));
  EXPECT_TRUE(HasLine(lines, "Eje \"loop\": 24 elementos (11 curvas, 13 rectas), longitud 2\u202F284,224 m, PK 0,000 a "
                             "2\u202F284,224"));
}

// A profile of a document, as info tells it, is the native file `convert` writes of it.
TEST(Summaries, LandXmlProfilesAreWhatTheImportWrites) {
  const std::string document = std::string(PASARELA_SOURCE_DIR) + "/samples/rasantes/variante-landxml.xml";
  const detect::Contents contents = detect::ReadContents(document);
  ASSERT_EQ(contents.profiles.size(), 1u);
  TempDir dir;
  std::string output;
  ASSERT_EQ(RunCommand(Quoted(testing_support::CliPath()) + " convert " + Quoted(document) + " -o " +
                           Quoted(dir.File("r.ras")) + " 2>&1",
                       output),
            0)
      << output;
  const detect::Contents written = detect::ReadContents(dir.File("r.ras"));
  ASSERT_EQ(written.profiles.size(), 1u);
  EXPECT_EQ(contents.profiles[0].name, "variante: variante");
  EXPECT_EQ(contents.profiles[0].vertices, written.profiles[0].vertices);
  EXPECT_NEAR(contents.profiles[0].startStation, written.profiles[0].startStation, 1e-6);
  EXPECT_NEAR(contents.profiles[0].endStation, written.profiles[0].endStation, 1e-6);
}

// A multipoint with its own elevations: every vertex is a point, z from the vertices, as the
// import writes them; not the one shape and the range its header gives.
TEST(Summaries, ShapefilePointsAreTheVerticesTheImportReads) {
  TempDir dir;
  const std::string path = dir.File("multi.shp");
  const std::vector<double> x = {440000, 440010, 440020};
  const std::vector<double> y = {4470000, 4470005, 4470010};
  const std::vector<double> z = {1200, 2400, 3600};
  SHPHandle shapes = SHPCreate(path.c_str(), SHPT_MULTIPOINTZ);
  SHPObject* shape = SHPCreateSimpleObject(SHPT_MULTIPOINTZ, 3, x.data(), y.data(), z.data());
  SHPWriteObject(shapes, -1, shape);
  SHPDestroyObject(shape);
  SHPClose(shapes);
  DBFHandle table = DBFCreate(path.c_str());
  DBFAddField(table, "NUMERO", FTDouble, 10, 0);
  DBFWriteDoubleAttribute(table, 0, 0, 7);
  DBFClose(table);

  const detect::Contents contents = detect::ReadContents(path);
  ASSERT_TRUE(contents.read) << contents.error;
  EXPECT_EQ(contents.points, 3);
  EXPECT_EQ(contents.extents.minZ, 1200);
  EXPECT_EQ(contents.extents.maxZ, 3600);
  EXPECT_EQ(contents.extents.minX, 440000);
  EXPECT_EQ(contents.extents.maxY, 4470010);

  ASSERT_EQ(shapeline::ImportShapefilePoints(path, dir.File("multi.pun")), 1);
  const detect::Contents written = detect::ReadContents(dir.File("multi.pun"));
  EXPECT_EQ(written.points, contents.points);
  EXPECT_EQ(written.extents.minZ, contents.extents.minZ);
  EXPECT_EQ(written.extents.maxZ, contents.extents.maxZ);

  // Without its table the import cannot read the shapefile, and info says so.
  std::remove(dir.File("multi.dbf").c_str());
  const detect::Contents noTable = detect::ReadContents(path);
  EXPECT_FALSE(noTable.read);
  EXPECT_NE(noTable.error.find(".dbf"), std::string::npos) << noTable.error;
}

// How often `strace` saw `path` opened: every opening, and those for reading only.
struct Opens {
  int all = 0;
  int readOnly = 0;
};

Opens CountOpens(const std::string& trace, const std::string& path) {
  Opens opens;
  const std::string quoted = "\"" + path + "\"";
  std::size_t start = 0;
  while (start < trace.size()) {
    std::size_t end = trace.find('\n', start);
    if (end == std::string::npos) end = trace.size();
    const std::string line = trace.substr(start, end - start);
    start = end + 1;
    if (line.find("openat(") == std::string::npos || line.find(quoted) == std::string::npos) continue;
    if (line.find("= -1") != std::string::npos) continue;
    ++opens.all;
    if (line.find("O_RDONLY") != std::string::npos) ++opens.readOnly;
  }
  return opens;
}

// One alignment of a LandXML document to the native file: the source is opened for its
// detection and once by the conversion, and the target read back once for the report.
TEST(Summaries, AConversionOpensItsSourceTwiceAndReadsItsTargetOnce) {
  std::string output;
  if (RunCommand("strace -V > /dev/null 2>&1", output) != 0) GTEST_SKIP() << "strace is not installed";
  if (RunCommand("strace -f -e trace=openat -o /dev/null true > /dev/null 2>&1", output) != 0) {
    GTEST_SKIP() << "strace cannot trace here (no permission to trace processes)";
  }
  TempDir dir;
  const std::string source = dir.File("variante.xml");
  testing_support::WriteFile(source, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/ejes/variante.xml"));
  const std::string target = dir.File("variante.eje");
  const std::string trace = dir.File("trace.txt");
  // LeakSanitizer cannot run under a tracer: the sanitized build's program is traced without it.
  ASSERT_EQ(RunCommand("ASAN_OPTIONS=detect_leaks=0 strace -f -e trace=openat -o " + Quoted(trace) + " " +
                           Quoted(testing_support::CliPath()) +
                           " convert " + Quoted(source) + " -o " + Quoted(target) + " 2>&1",
                       output),
            0)
      << output;
  const std::string opened = ReadFile(trace);
  const Opens sourceOpens = CountOpens(opened, source);
  const Opens targetOpens = CountOpens(opened, target);
  EXPECT_GE(sourceOpens.all, 1);
  EXPECT_LE(sourceOpens.all, 2) << opened;
  EXPECT_LE(targetOpens.readOnly, 1) << opened;
  EXPECT_EQ(targetOpens.all - targetOpens.readOnly, 1) << opened;  // written once
}

}  // namespace
