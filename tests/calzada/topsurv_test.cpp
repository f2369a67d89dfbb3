#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "calzada.h"
#include "calzada/jet_writer.h"
#include "support/peer_tools.h"
#include "support/test_support.h"

using jet_test::JetCell;
using jet_test::JobPoint;
using testing_support::ConvertBytes;
using testing_support::CrLf;
using testing_support::FileExists;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::pair<std::string, std::string>> g_messages;
void RecordMessage(const char* caption, const char* text) { g_messages.emplace_back(caption, text); }

// Runs the import on `database` with the message hook recording; the result and the target.
std::pair<int, std::string> Import(const std::string& database) {
  TempDir dir;
  WriteFile(dir.File("trabajo.mdb"), database);
  g_messages.clear();
  Calzada_SetMessageHook(RecordMessage);
  const int result = Calzada_Puntos_Importa_Topsurv(dir.File("trabajo.mdb").c_str(), dir.File("p.pun").c_str());
  Calzada_SetMessageHook(nullptr);
  return {result, FileExists(dir.File("p.pun")) ? ReadFile(dir.File("p.pun")) : "<none>"};
}

JobPoint Point(int32_t dataset, JetCell name, double x, double y, double z) { return JobPoint{dataset, name, x, y, z}; }

}  // namespace

TEST(TopsurvPoints, LocalPointsInDatabaseOrderWithNumericNames) {
  const std::string job = jet_test::WriteTopsurvJob(
      {{1, "LOCAL"}, {2, "UTM30"}, {3, "local"}},
      {Point(1, std::string("101"), 442350.125, 4471820.5, 612.25), Point(2, std::string("500"), 1, 2, 3),
       Point(1, std::string("A7"), 1, 2, 3), Point(3, std::string("15abc"), -10.0005, 0.1, -2.5),
       Point(1, std::string("0"), 1, 2, 3), Point(1, JetCell{}, 1, 2, 3), Point(9, std::string("77"), 1, 2, 3),
       Point(1, std::string("8"), 100000.0, 200000.0, 5)});
  const auto [result, target] = Import(job);
  EXPECT_EQ(result, 3);
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(target, CrLf("  101  442350.125 4471820.500  612.250 \n"
                         "   15     -10.001       0.100   -2.500 \n"
                         "    8  100000.000  200000.000    5.000 \n"));
}

TEST(TopsurvPoints, RowsWithoutCoordinatesAndJobsOfLetterNamesGiveNoPoint) {
  JobPoint withoutZ = Point(1, std::string("4"), 1, 2, 0);
  withoutZ.c3 = JetCell{};
  auto [result, target] = Import(jet_test::WriteTopsurvJob(
      {{1, "LOCAL"}}, {Point(1, std::string("P1"), 1, 2, 3), Point(1, std::string("B"), 4, 5, 6), withoutZ}));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(target, "<none>");
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].first, "Error en la conversión");
  EXPECT_NE(g_messages[0].second.find("no contiene ningún punto"), std::string::npos) << g_messages[0].second;
}

TEST(TopsurvPoints, ManyPagesOfPointsKeepTheirOrder) {
  std::vector<JobPoint> points;
  std::string expected;
  for (int i = 1; i <= 3000; ++i) {
    points.push_back(Point(1, std::to_string(i), 1000 + i * 0.5, 2000 - i * 0.25, i % 100));
    char line[80];
    std::snprintf(line, sizeof line, "%5d %11.3lf %11.3lf %8.3lf \n", i, 1000 + i * 0.5, 2000 - i * 0.25,
                  static_cast<double>(i % 100));
    expected += line;
  }
  const auto [result, target] = Import(jet_test::WriteTopsurvJob({{1, "LOCAL"}}, points));
  EXPECT_EQ(result, 3000);
  EXPECT_EQ(target, CrLf(expected));
}

TEST(TopsurvPoints, UnreadableDatabasesAreReportedAndLeaveNoTarget) {
  struct Case {
    std::string bytes;
    std::string mentions;
  } cases[] = {
      {"1 100.0 200.0 30.0\n", "no es una base de datos"},
      {std::string(8192, '\0'), "no es una base de datos"},
      {jet_test::WriteJet4({{"tblDatasets", {{"keyDataset", jet_test::JetType::kLong}, {"CsName", jet_test::JetType::kText}}, {}}}),
       "tblSoPoints"},
      {jet_test::WriteJet4({{"tblDatasets", {{"keyDataset", jet_test::JetType::kLong}, {"CsName", jet_test::JetType::kText}}, {}},
                            {"tblSoPoints",
                             {{"fkeyDataset", jet_test::JetType::kLong},
                              {"Name", jet_test::JetType::kText},
                              {"C1", jet_test::JetType::kDouble},
                              {"C2", jet_test::JetType::kDouble}},
                             {}}}),
       "C3"},
      // A job on which libmdb itself crashes (the input the fuzzer kept, without its two
      // selector bytes): the child that reads it dies, the import goes on.
      {ReadFile(testing_support::DataFile("fuzz/jet_database/libmdb-crash")).substr(2), "dañada"},
  };
  for (const Case& c : cases) {
    const auto [result, target] = Import(c.bytes);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(target, "<none>");
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0].first, "Calzada::ADO");
    EXPECT_NE(g_messages[0].second.find(c.mentions), std::string::npos) << g_messages[0].second;
  }
  // A database that does not exist: reported the same way.
  TempDir dir;
  g_messages.clear();
  Calzada_SetMessageHook(RecordMessage);
  EXPECT_EQ(Calzada_Puntos_Importa_Topsurv(dir.File("no-existe.mdb").c_str(), dir.File("p.pun").c_str()), 0);
  Calzada_SetMessageHook(nullptr);
  EXPECT_FALSE(FileExists(dir.File("p.pun")));
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_EQ(g_messages[0].first, "Calzada::ADO");
  EXPECT_EQ(g_messages[0].second, "No existe el fichero " + dir.File("no-existe.mdb"));
}

// The child that reads a database dies of a crash of libmdb itself: a crash handler the
// program installed (which would say the program crashed) does not run in it.
static char g_handlerMarker[4096];
TEST(TopsurvPoints, ACrashOfTheReadingChildRunsNoHandlerOfTheProgram) {
  TempDir dir;
  std::snprintf(g_handlerMarker, sizeof g_handlerMarker, "%s", dir.File("manejador").c_str());
  struct sigaction handler {};
  struct sigaction previous {};
  handler.sa_handler = [](int) {
    ::close(::open(g_handlerMarker, O_WRONLY | O_CREAT, 0600));
    ::_exit(3);
  };
  ASSERT_EQ(::sigaction(SIGSEGV, &handler, &previous), 0);
  const auto [result, target] =
      Import(ReadFile(testing_support::DataFile("fuzz/jet_database/libmdb-crash")).substr(2));
  ::sigaction(SIGSEGV, &previous, nullptr);
  EXPECT_EQ(result, 0);
  ASSERT_EQ(g_messages.size(), 1u);
  EXPECT_NE(g_messages[0].second.find("dañada"), std::string::npos) << g_messages[0].second;
  EXPECT_FALSE(FileExists(g_handlerMarker));
}

TEST(TopsurvPoints, GeneratedDatabasesReadWithTheMdbtoolsPrograms) {
  REQUIRE_PEER_TOOL("command -v mdb-tables && command -v mdb-export", "mdbtools");
  TempDir dir;
  WriteFile(dir.File("t.mdb"),
            jet_test::WriteTopsurvJob({{1, "LOCAL"}, {2, "UTM30"}},
                                      {Point(1, std::string("101"), 442350.125, 4471820.5, 612.25),
                                       Point(2, std::string("Señal"), 1.5, -2, 3)}));
  std::string output;
  ASSERT_EQ(RunCommand("mdb-tables -1 " + dir.File("t.mdb"), output), 0);
  EXPECT_EQ(output, "tblDatasets\ntblSoPoints\n");
  ASSERT_EQ(RunCommand("mdb-export " + dir.File("t.mdb") + " tblSoPoints", output), 0);
  EXPECT_EQ(output,
            "keyPoint,fkeyDataset,Name,C1,C2,C3,Code\n"
            "1,1,\"101\",442350.125,4471820.5,612.25,\n"
            "2,2,\"Señal\",1.5,-2,3,\n");
  ASSERT_EQ(RunCommand("mdb-export " + dir.File("t.mdb") + " tblDatasets", output), 0);
  EXPECT_EQ(output, "keyDataset,CsName\n1,\"LOCAL\"\n2,\"UTM30\"\n");
}

TEST(TopsurvPoints, SampleJobIsTheGeneratorsOutput) {
  // samples/topsurv/trabajo.mdb is written by this generator; PASARELA_WRITE_SAMPLES=1 writes it
  // again after a change of the job below.
  const std::string job = jet_test::WriteTopsurvJob(
      {{1, "LOCAL"}, {2, "ETRS89 UTM 30N"}},
      {Point(1, std::string("1"), 442352.418, 4471821.236, 612.304), Point(1, std::string("2"), 442360.955, 4471826.112, 612.517),
       Point(1, std::string("3"), 442369.507, 4471831.052, 612.746), Point(2, std::string("4"), 442378.114, 4471836.040, 612.981),
       Point(1, std::string("BASE1"), 442340.000, 4471800.000, 610.000), Point(1, std::string("5"), 442386.642, 4471840.931, 613.208)});
  const std::string sample = std::string(PASARELA_SOURCE_DIR) + "/samples/topsurv/trabajo.mdb";
  if (std::getenv("PASARELA_WRITE_SAMPLES") != nullptr) WriteFile(sample, job);
  EXPECT_TRUE(ReadFile(sample) == job) << "the sample job differs from the generator's output";
  const auto [result, target] = Import(job);
  EXPECT_EQ(result, 4);
  EXPECT_EQ(target, ReadFile(std::string(PASARELA_SOURCE_DIR) + "/samples/topsurv/trabajo.pun"));
}

TEST(TopsurvSections, StepsFromTheAxisOutwardOnEachSide) {
  const std::string tra =
      "1200.000   -6.000   99.000 BORDE\n"
      "1200.000   -3.000  100.000 ARCEN\n"
      "1200.000    0.000  100.500 EJE\n"
      "1200.000    4.000  100.100 CUNETA\n"
      // No point at the axis: its elevation is interpolated between -2 and 2 (101).
      "1180.000   -2.000  100.000 A\n"
      "1180.000    2.000  102.000 B\n"
      // Points on one side only: no axis elevation, the section is left out.
      "1160.000    1.000  100.000 C\n"
      "1160.000    3.000  100.000 D\n";
  EXPECT_EQ(ConvertBytes(Calzada_Trazemta2Topsurv, tra),
            CrLf("1200.000-I,ARCEN,3.000,-0.500\n"
                 "1200.000-I,BORDE,3.000,-1.000\n"
                 "1200.000-D,EJE,0.000,0.000\n"
                 "1200.000-D,CUNETA,4.000,-0.400\n"
                 "1180.000-I,A,2.000,-1.000\n"
                 "1180.000-D,B,2.000,1.000\n"));
}

TEST(TopsurvSections, StationsInFileOrderAndStepsFromThePreviousPointOnTheSide) {
  // The points of a station are gathered wherever they stand in the file; a left side given out
  // of order still steps from the previous point taken on that side.
  const std::string tra =
      "20.000 -1.000 10.000 X\n"
      "10.000 0.000 5.000 E\n"
      "20.000 1.000 11.000 Y\n"
      "10.000 -5.000 4.000 F\n"
      "10.000 -2.000 4.500 G\n";
  EXPECT_EQ(ConvertBytes(Calzada_Trazemta2Topsurv, tra),
            CrLf("20.000-I,X,1.000,-0.500\n"
                 "20.000-D,Y,1.000,0.500\n"
                 "10.000-I,G,2.000,-0.500\n"
                 "10.000-I,F,3.000,-0.500\n"
                 "10.000-D,E,0.000,0.000\n"));
  EXPECT_EQ(ConvertBytes(Calzada_Trazemta2Topsurv, "solo texto\n\n", 0), "<none>");
}

TEST(TopsurvPoints, DamagedDatabasesNeverCrashTheImport) {
  // Bytes of the page headers, table definitions, usage maps and rows of a job, changed one at a
  // time, then truncated copies: the import reports the damage or reads what it can, and each
  // damaged database is read in a child process that may fail without harm.
  std::vector<JobPoint> points;
  for (int i = 1; i <= 40; ++i) points.push_back(Point(1, std::to_string(i), i, 2 * i, 3 * i));
  const std::string job = jet_test::WriteTopsurvJob({{1, "LOCAL"}, {2, "UTM"}}, points);
  TempDir dir;
  Calzada_SetMessageHook([](const char*, const char*) {});
#if defined(PASARELA_SANITIZED_BUILD)
  // Forking a sanitized process is slow; every eighth damaged copy still reaches each table.
  constexpr int kEvery = 8;
#else
  constexpr int kEvery = 1;
#endif
  int runs = 0;
  int candidates = 0;
  auto run = [&](const std::string& damaged) {
    if (candidates++ % kEvery != 0) return;
    WriteFile(dir.File("d.mdb"), damaged);
    const int result = Calzada_Puntos_Importa_Topsurv(dir.File("d.mdb").c_str(), dir.File("d.pun").c_str());
    EXPECT_GE(result, 0);
    EXPECT_LE(result, 40);
    ++runs;
  };
  for (std::size_t at = 2 * 4096; at < job.size();) {
    std::string damaged = job;
    damaged[at] = static_cast<char>(at % 2 == 0 ? 0xff : 0x00);
    run(damaged);
    const std::size_t inPage = at % 4096;
    at += inPage < 64 ? 1 : inPage < 700 ? 5 : inPage < 3300 ? 61 : 7;
  }
  for (std::size_t size = 4096; size < job.size(); size += 1024) run(job.substr(0, size));
  Calzada_SetMessageHook(nullptr);
  EXPECT_GT(runs, 1500 / kEvery);
}
