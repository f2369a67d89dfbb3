// Clip reports written by a real word processor: a report table made as HTML is saved as RTF by
// LibreOffice in headless mode, then read. Skipped when LibreOffice cannot be installed.
#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "viaducto.h"

using testing_support::CrLf;
using testing_support::ReadFile;
using testing_support::RunCommand;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

bool OfficeAvailable(std::string& why) {
  std::string output;
  if (RunCommand("command -v soffice", output) == 0) return true;
  why = "LibreOffice (soffice) no está instalado: sin él no se comprueba el informe";
  return false;
}

std::string Row(std::initializer_list<const char*> cells) {
  std::string row = "<tr>";
  for (const char* cell : cells) row += std::string("<td>") + cell + "</td>";
  return row + "</tr>\n";
}

}  // namespace

TEST(ClipReportOffice, ReportSavedAsRtfByAWordProcessor) {
  std::string why;
  if (!OfficeAvailable(why)) GTEST_SKIP() << why;
  TempDir dir;
  std::string html = "<html><head><meta charset=\"utf-8\"></head><body><p>Listado de secciones</p>\n";
  const char* stations[] = {"0+100.000", "0+120.500"};
  for (const char* station : stations) {
    html += "<table border=\"1\">\n";
    html += Row({"Estación", station, "", "", "", "", "", "", "", ""});
    html += Row({"T.Dis", "Cota", "Pte", "Dist", "", "", "", "", "T.Dis", "Cota"});
    html += Row({"-8.000", "3.000", "0.00", "x", "", "", "", "", "-6.000", "3.500"});
    html += Row({"-6.000", "3.500", "0.00", "x", "", "", "", "", "0.000", "4.100"});
    html += Row({"0.000", "3.000", "0.00", "x", "", "", "", "", "6.000", "3.500"});
    html += Row({"6.000", "3.500", "0.00", "x", "", "", "", "", "", ""});
    html += Row({"8.000", "3.000", "0.00", "x", "", "", "", "", "", ""});
    html += "</table><p>Seccion terminada</p>\n";
  }
  html += "</body></html>\n";
  WriteFile(dir.File("informe.html"), html);
  std::string output;
  const std::string convert = "cd '" + dir.path() + "' && HOME='" + dir.path() +
                              "' soffice --headless --infilter='HTML (StarWriter)' --convert-to rtf informe.html";
  ASSERT_EQ(RunCommand(convert + " 2>&1", output), 0) << output;
  ASSERT_NE(ReadFile(dir.File("informe.rtf")).find("\\intbl"), std::string::npos);

  EXPECT_EQ(MyDll_clipST2zemta(dir.File("informe.rtf").c_str(), dir.File("t.tra").c_str(), dir.File("p.tra").c_str()), 10);
  const std::string terrain =
      "-8.000       3.000 79\n%s      -6.000       3.500 40\n%s       0.000       3.000 \n"
      "%s       6.000       3.500 40\n%s       8.000       3.000 79\n";
  std::string expectedFirst, expectedSecond;
  for (const char* station : {"    100.000", "    120.500"}) {
    std::string section = std::string(station) + "      " + terrain;
    for (std::size_t at; (at = section.find("%s")) != std::string::npos;) section.replace(at, 2, station);
    expectedFirst += section;
    std::string design = section;
    design.replace(design.find("3.000 \n"), 7, "4.100 \n");
    expectedSecond += design;
  }
  EXPECT_EQ(ReadFile(dir.File("t.tra")), CrLf(expectedFirst));
  EXPECT_EQ(ReadFile(dir.File("p.tra")), CrLf(expectedSecond));
}
