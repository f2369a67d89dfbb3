// The menu table: its items in menu order, its filters, and every export it names present in
// the export table and in the library the table names.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "frontend/core/command_table.h"
#include "frontend/core/export_table.h"
#include "frontend/core/library_loader.h"

namespace {

std::string Path(const frontend::MenuCommand& command) {
  return command.menu.control + (command.submenu.control.empty() ? "" : "/" + command.submenu.control);
}

}  // namespace

TEST(CommandTable, ItemsInMenuOrder) {
  const std::vector<std::string> expected = {
      "ficheros:salir",
      "importar/puntos2:importarTopsurv", "importar/puntos2:scannerSacyr", "importar/puntos2:importarDXF",
      "importar/puntos2:importarShapeline", "importar/puntos2:importarPuntosLandXML",
      "importar/ejes2:importarEjeInroads", "importar/ejes2:importarEjeClip", "importar/ejes2:importaEjeCartomap",
      "importar/ejes2:importarEjeIspol", "importar/ejes2:importarEjeLandXML", "importar/ejes2:importarEjeIstram",
      "importar/ejes2:importarEjeMxRoad", "importar/ejes2:importarEjeMDW", "importar/ejes2:importarEjeWTrazado",
      "importar/rasantes:importarRasanteInroads", "importar/rasantes:importarRasanteClip",
      "importar/rasantes:importaRasanteCartomap", "importar/rasantes:importarRasanteLandXML",
      "importar/rasantes:importarRasanteStSurvey", "importar/rasantes:importarRasanteMxRoad",
      "importar/rasantes:ImportarRasanteIspol", "importar/rasantes:ImportarRasanteMDW",
      "importar/rasantes:ImportarRasanteWTrazado",
      "importar/transversales:TraInRoads", "importar/transversales:TraInRoadshtml", "importar/transversales:sep2",
      "importar/transversales:importarTransversalesClipTrv", "importar/transversales:ClipSeccionPlataforma",
      "importar/transversales:ClipSeccionSubrasante", "importar/transversales:sep90",
      "importar/transversales:importarTransversalesIspolRes", "importar/transversales:sep91",
      "importar/transversales:importarTransversalesLandXML",
      "importar/transversales:importarTransversalesInroadsLandXML",
      "importar/transversales:importarTransversalesStSurvey", "importar/transversales:importarTransverCartomap",
      "importar/transversales:importarTransverMXRoad", "importar/transversales:sep9898",
      "importar/transversales:interpolaTransver",
      "importar/peraltes:importarPeraltesClip", "importar/peraltes:importarPeraltesIspol",
      "importar/importarSuperficie:importarSuperficieLandXML", "importar/importarSuperficie:importarSuperficieCaras3D",
      "Exportar/puntos:importarPuntos", "Exportar/puntos:exportarPuntosDXF", "Exportar/puntos:ExportarShapeline",
      "Exportar/puntos:exportarPuntosLandXML",
      "Exportar/ejes:ejeclip", "Exportar/ejes:ejeLandXML", "Exportar/ejes:ejeGTS",
      "Exportar/rasantes2:rasClip", "Exportar/rasantes2:rasIspol", "Exportar/rasantes2:rasLandXML",
      "Exportar/rasantes2:rasGTS",
      "Exportar/transver2:transverClipTRV", "Exportar/transver2:puntosTraClipTer", "Exportar/transver2:sep98",
      "Exportar/transver2:transverLandXML", "Exportar/transver2:traGTS", "Exportar/transver2:traTopSurv",
      "Exportar:sep",
      "Exportar/levantamiento:exportarLevTopcal", "Exportar/levantamiento:exportarLevTopcalCod",
      "ayuda:acercade",
  };
  std::vector<std::string> actual;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    actual.push_back(Path(command) + ":" + command.control);
    EXPECT_EQ(command.kind == frontend::ItemKind::Separator, command.caption == "-") << command.control;
  }
  EXPECT_EQ(actual, expected);
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
  EXPECT_EQ(checked, 72);
  std::string list;
  for (const std::string& line : missing) list += "\n  " + line;
  EXPECT_TRUE(missing.empty()) << missing.size() << " exports of the menu cannot be called:" << list;
}
