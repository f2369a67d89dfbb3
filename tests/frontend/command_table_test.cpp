// The menu table: its items in menu order, its filters, and every export it names present in
// the export table and in the library the table names.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/core/conversions.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"
#include "support/test_support.h"

namespace {

std::string Path(const frontend::MenuCommand& command) {
  return command.menu.control + (command.submenu.control.empty() ? "" : "/" + command.submenu.control);
}

}  // namespace

// The commands, in menu order, are the lines of tests/data/frontend/commands.txt (what
// `pasarela-cli commands` prints; README's list is made from it by scripts/readme-commands.py).
TEST(CommandTable, ItemsInMenuOrder) {
  std::istringstream golden(testing_support::ReadFile(testing_support::DataFile("frontend/commands.txt")));
  std::vector<std::string> expected;
  for (std::string line; std::getline(golden, line);) expected.push_back(line);
  std::vector<std::string> actual;
  std::vector<std::string> menus;
  std::vector<std::string> separators;
  std::string previous;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    EXPECT_EQ(command.kind == frontend::ItemKind::Separator, command.caption == "-") << command.control;
    if (menus.empty() || menus.back() != Path(command)) menus.push_back(Path(command));
    if (command.kind == frontend::ItemKind::Separator) {
      separators.push_back(Path(command) + ":" + command.control + " after " + previous);
    } else {
      actual.push_back(frontend::CommandListLine(command));
    }
    previous = command.control;
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(menus, (std::vector<std::string>{"ficheros", "importar/puntos2", "importar/ejes2", "importar/rasantes",
                                             "importar/transversales", "importar/peraltes",
                                             "importar/importarSuperficie", "Exportar/puntos", "Exportar/ejes",
                                             "Exportar/rasantes2", "Exportar/transver2", "Exportar",
                                             "Exportar/levantamiento", "ayuda"}));
  EXPECT_EQ(separators, (std::vector<std::string>{
                            "importar/transversales:sep2 after TraInRoadshtml",
                            "importar/transversales:sep90 after ClipSeccionSubrasante",
                            "importar/transversales:sep91 after importarTransversalesIspolRes",
                            "importar/transversales:sep9898 after importarTransverMXRoad",
                            "Exportar/transver2:sep98 after puntosTraClipTer",
                            "Exportar:sep after traTopSurv",
                        }));
}

TEST(CommandTable, CliListsTheGoldenCommandsAndReadmeShowsThem) {
  std::string output;
  ASSERT_EQ(testing_support::RunCommand(std::string(PASARELA_BINARY_DIR) + "/bin/pasarela-cli commands", output), 0);
  EXPECT_EQ(output, testing_support::ReadFile(testing_support::DataFile("frontend/commands.txt")));
  std::string check;
  EXPECT_EQ(testing_support::RunCommand("python3 " + std::string(PASARELA_SOURCE_DIR) +
                                            "/scripts/readme-commands.py --check 2>&1",
                                        check),
            0)
      << check;
}

TEST(CommandTable, CaptionsAndFiltersAsTheMenuShowsThem) {
  EXPECT_EQ(frontend::FindCommand("salir")->caption, "&Salir");
  EXPECT_EQ(frontend::FindCommand("puntosTraClipTer")->caption, "Exportar  a Clip (TER)...");
  EXPECT_EQ(frontend::FindCommand("importarTransversalesIspolRes")->caption, "Importar de Ispol (res) ...");
  EXPECT_EQ(frontend::FindCommand("exportarLevTopcalCod")->caption, "Exportar a Topcal con Códigos...");
  EXPECT_EQ(frontend::FindCommand("importarTopsurv")->targetFilter, "Archivo de puntos (*.pun))|*.pun");
  EXPECT_EQ(frontend::FindCommand("importarSuperficieCaras3D")->menu.caption, "Importar");
  EXPECT_EQ(frontend::FindCommand("importarSuperficieCaras3D")->submenu.caption, "Superficies");
  EXPECT_EQ(frontend::FindCommand("sep2"), nullptr);
  EXPECT_EQ(frontend::CaptionWithoutAccelerator("&Salir"), "Salir");
  EXPECT_EQ(frontend::CaptionWithoutAccelerator("A && B"), "A & B");

  std::set<std::string> controls;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    EXPECT_TRUE(controls.insert(command.control).second) << "twice: " << command.control;
    if (command.kind != frontend::ItemKind::Command || command.sourceFilter.empty()) continue;
    // Description and pattern pairs: an odd number of bars.
    for (const std::string* filter : {&command.sourceFilter, &command.targetFilter}) {
      std::size_t bars = 0;
      for (char c : *filter) bars += c == '|';
      EXPECT_EQ(bars % 2, 1u) << command.control << ": " << *filter;
    }
  }
}

// Lists every export a command calls that is not in the export table or not in its library.
TEST(CommandTable, EveryExportOfTheMenuResolvesInItsLibrary) {
  frontend::LibraryLoader loader(std::string(PASARELA_BINARY_DIR) + "/lib");
  std::vector<std::string> missing;
  auto check = [&](const frontend::MenuCommand& command, const std::string& library, const std::string& name) {
    std::string error;
    if (frontend::FindExport(name, library) == nullptr) {
      missing.push_back(command.control + ": " + library + " " + name + " (no está en la tabla de exportaciones)");
    } else if (loader.Resolve(library, name, error) == nullptr) {
      missing.push_back(command.control + ": " + error);
    }
  };
  int checked = 0;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    if (!command.exportName.empty()) check(command, command.library, command.exportName);
    if (!command.selectionExport.empty()) check(command, command.selectionLibrary, command.selectionExport);
    for (const frontend::ExportByExtension& byExtension : command.byExtension) {
      check(command, command.library, byExtension.exportName);
    }
    checked += !command.exportName.empty() + !command.selectionExport.empty() +
               static_cast<int>(command.byExtension.size());
  }
  EXPECT_EQ(checked, 82);  // with the IFC commands' ten
  // The registry's other exports: a source's own reader, and the conversions without a menu
  // item.
  int others = 0;
  for (const frontend::MenuCommand* conversion : frontend::Conversions()) {
    if (!conversion->inMenu) {
      check(*conversion, conversion->library, conversion->exportName);
      ++others;
    }
    for (const frontend::SourceFormat& source : conversion->sources) {
      if (!source.exportName.empty() && source.extension.empty()) {
        check(*conversion, conversion->library, source.exportName);
        ++others;
      }
    }
  }
  EXPECT_EQ(others, 14 + 16);  // with the IFC export's readers of listings and IFC to LandXML, and the georeferencing rows
  std::string list;
  for (const std::string& line : missing) list += "\n  " + line;
  EXPECT_TRUE(missing.empty()) << missing.size() << " exports of the menu cannot be called:" << list;
}

// Every row that converts says what it reads and writes, and no two rows read one format into
// one target: `convert` could not choose between them.
TEST(CommandTable, EveryConversionNamesItsSourcesTargetAndData) {
  std::set<std::string> pairs;
  int conversions = 0;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    const bool converts = command.kind == frontend::ItemKind::Command && command.variant != frontend::Variant::Quit &&
                          command.variant != frontend::Variant::About;
    EXPECT_EQ(converts, !command.sources.empty()) << command.control;
  }
  for (const frontend::MenuCommand* conversion : frontend::Conversions()) {
    ++conversions;
    EXPECT_FALSE(conversion->target.empty()) << conversion->control;
    EXPECT_NE(conversion->reads, frontend::DataKind::None) << conversion->control;
    EXPECT_FALSE(frontend::TargetExtension(*conversion).empty()) << conversion->control;
    for (const frontend::SourceFormat& source : conversion->sources) {
      const std::string pair = std::string(detect::InfoOf(source.format).key) + " -> " + conversion->target;
      EXPECT_TRUE(pairs.insert(pair).second) << "two conversions of " << pair;
      // The commands that choose their export by the source name one for each format.
      if (conversion->variant == frontend::Variant::ExportLandXmlBySource ||
          conversion->variant == frontend::Variant::ExportIfcBySource) {
        EXPECT_FALSE(source.exportName.empty()) << conversion->control << ": " << pair;
      }
    }
  }
  EXPECT_EQ(conversions, 64 + 16);  // with the four IFC conversions and the georeferencing rows
  // Not in the menu: the alignment listings only their exports convert.
  EXPECT_EQ(frontend::FindCommand("Calzada_Eje_Importa_Plroad"), nullptr);
  EXPECT_EQ(frontend::ConversionsReading(detect::Format::kPlRoadAlignment).size(), 2u);  // and to IFC
}
