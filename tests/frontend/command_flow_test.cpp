// The command flow driven through a scripted host and a recording export caller: the dialogs
// each command opens, the export it calls with which arguments, and what the user is told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/outcome.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "frontend/core/command_flow.h"
#include "frontend/core/library_messages.h"
#include "frontend/core/command_table.h"
#include "support/test_support.h"

using frontend::CommandOutcome;
using frontend::MessageIcon;
using testing_support::FileExists;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

const char* const kProgramDirectory = "/opt/pasarela/bin";

struct Message {
  std::string text;
  MessageIcon icon;
};

struct LibraryNote {
  std::string caption;
  std::string text;
};

// Answers the dialogs from a script and records what each dialog was shown.
class ScriptedHost : public frontend::CommandHost {
 public:
  std::deque<std::optional<std::string>> sources;  // nullopt: Cancel
  std::optional<std::string> target = std::string();  // empty: accept the proposal; nullopt: Cancel
  std::deque<int> choices;                          // index answered by each list dialog
  std::vector<std::string> dialogs;                 // "origen|filter|start", "destino|filter|proposal"
  std::vector<std::string> listCaptions;
  std::vector<std::vector<std::string>> lists;
  std::vector<Message> messages;
  int aboutShown = 0;
  int quitCalled = 0;

  bool AskSource(const std::string& filter, std::string& path) override {
    dialogs.push_back("origen|" + filter + "|" + path);
    if (sources.empty() || !sources.front()) return false;
    path = *sources.front();
    sources.pop_front();
    return true;
  }
  bool AskTarget(const std::string& filter, std::string& path) override {
    dialogs.push_back("destino|" + filter + "|" + path);
    if (!target) return false;
    if (!target->empty()) path = *target;
    return true;
  }
  int ChooseFromList(frontend::ListKind, const std::string& caption, const std::vector<std::string>& lines) override {
    listCaptions.push_back(caption);
    lists.push_back(lines);
    if (choices.empty()) return -1;
    const int choice = choices.front();
    choices.pop_front();
    return choice;
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override { messages.push_back({text, icon}); }
  void ShowLibraryMessage(const std::string& caption, const std::string& text) override {
    libraryMessages.push_back({caption, text});
  }
  std::vector<LibraryNote> libraryMessages;
  void ShowAbout() override { ++aboutShown; }
  void Quit() override { ++quitCalled; }
};

struct ExportCall {
  std::string library;
  std::string name;
  std::vector<std::string> arguments;
};

// Records every export call; the selection exports write the list the libraries would write.
class RecordingCaller : public frontend::ExportCaller {
 public:
  std::vector<ExportCall> calls;
  int32_t result = 1;
  bool fail = false;                     // the conversion export cannot be had
  std::optional<std::string> listText = "E1\nE2\n";  // nullopt: the selection export writes nothing
  std::vector<LibraryNote> messages;  // shown through the libraries' hook during each call

  int32_t Call(const std::string& library, const std::string& name, const std::vector<std::string>& arguments) override {
    calls.push_back({library, name, arguments});
    for (const LibraryNote& message : messages) frontend::DeliverLibraryMessage(message.caption.c_str(), message.text.c_str());
    std::string list;
    if (name.rfind("MyDll_selecciona", 0) == 0) list = common::SelectionListPath();
    if (name == "Calzada_SupSel_LandXML") list = arguments.at(1);
    if (name == "Calzada_getCapasDxf") list = arguments.at(0);
    if (!list.empty()) {
      if (listText) WriteFile(list, *listText);
      return 1;
    }
    if (fail) throw frontend::ConversionFailure("no exporta " + name);
    return result;
  }
};

// Stands for the look at the target: what it reports, and which paths it was asked about.
struct FakeTargets {
  frontend::TargetReport report{true, false, "", ""};
  std::vector<std::string> inspected;
  void Attach(frontend::CommandRunner& runner) {
    runner.SetTargetInspector([this](const std::string& path) {
      inspected.push_back(path);
      return report;
    });
  }
};

class CommandFlow : public testing::Test {
 protected:
  CommandFlow() { targets_.Attach(runner_); }

  void SetUp() override {
    const char* previous = std::getenv("TEMP");
    if (previous != nullptr) previousTemp_ = previous;
    ::setenv("TEMP", temp_.path().c_str(), 1);
  }
  void TearDown() override {
    if (previousTemp_) {
      ::setenv("TEMP", previousTemp_->c_str(), 1);
    } else {
      ::unsetenv("TEMP");
    }
  }

  CommandOutcome Run(const std::string& control) {
    const frontend::MenuCommand* command = frontend::FindCommand(control);
    EXPECT_NE(command, nullptr) << control;
    return command == nullptr ? CommandOutcome::Failed : runner_.Run(*command);
  }

  std::string Source(const std::string& name) { sources_.push_back(dir_.File(name)); return sources_.back(); }

  TempDir temp_;
  TempDir dir_;
  ScriptedHost host_;
  RecordingCaller exports_;
  frontend::CommandRunner runner_{host_, exports_, kProgramDirectory};
  FakeTargets targets_;
  std::vector<std::string> sources_;
  std::optional<std::string> previousTemp_;
};

std::string Generated(const std::string& target) { return frontend::GeneratedText(target, ""); }

void ExpectOnlyMessage(const ScriptedHost& host, const std::string& text, MessageIcon icon) {
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, text);
  EXPECT_EQ(host.messages[0].icon, icon);
}

}  // namespace

TEST(Paths, ProposedTargetKeepsDirectoryAndBaseName) {
  EXPECT_EQ(common::ChangeExtension("/obra/eje.xml", "eje"), "/obra/eje.eje");
  EXPECT_EQ(common::ChangeExtension("/obra/eje.v2.txt", "ras"), "/obra/eje.v2.ras");
  // No extension: the whole base name stays; a dot in a directory is not an extension.
  EXPECT_EQ(common::ChangeExtension("/obra/EJE", "eje"), "/obra/EJE.eje");
  EXPECT_EQ(common::ChangeExtension("/obra.2024/eje", "gts"), "/obra.2024/eje.gts");
  EXPECT_EQ(common::ChangeExtension("/eje.res", "eje"), "/eje.eje");
  EXPECT_EQ(common::ChangeExtension("eje.res", "eje"), "eje.eje");
}

TEST_F(CommandFlow, EveryPlainRowCallsItsExportWithSourceAndProposedTarget) {
  int rows = 0;
  for (const frontend::MenuCommand& command : frontend::CommandTable()) {
    const bool plain = command.variant == frontend::Variant::Standard ||
                       command.variant == frontend::Variant::ResultNotChecked ||
                       command.variant == frontend::Variant::SilentSuccess;
    if (command.kind != frontend::ItemKind::Command || !plain) continue;
    ++rows;
    ScriptedHost host;
    RecordingCaller exports;
    frontend::CommandRunner runner(host, exports, kProgramDirectory);
    FakeTargets targets;
    targets.Attach(runner);
    const std::string source = "/obra/entrada.dat";
    host.sources = {source};
    const std::string proposal = command.extension.empty() ? "" : "/obra/entrada." + command.extension;
    host.target = command.extension.empty() ? "/obra/elegido.dat" : "";
    const std::string target = command.extension.empty() ? "/obra/elegido.dat" : proposal;

    EXPECT_EQ(runner.Run(command), CommandOutcome::Converted) << command.control;
    EXPECT_EQ(host.dialogs, (std::vector<std::string>{"origen|" + command.sourceFilter + "|",
                                                      "destino|" + command.targetFilter + "|" + proposal}))
        << command.control;
    ASSERT_EQ(exports.calls.size(), 1u) << command.control;
    EXPECT_EQ(exports.calls[0].library, command.library);
    EXPECT_EQ(exports.calls[0].name, command.exportName);
    EXPECT_EQ(exports.calls[0].arguments, (std::vector<std::string>{source, target})) << command.control;
    EXPECT_EQ(targets.inspected.at(0), frontend::WrittenTargets(command, target).at(0)) << command.control;
    if (command.variant == frontend::Variant::SilentSuccess) {
      EXPECT_TRUE(host.messages.empty()) << command.control;
    } else {
      ExpectOnlyMessage(host, Generated(target), MessageIcon::None);
    }
  }
  EXPECT_EQ(rows, 48);
}

TEST_F(CommandFlow, SameFileIsRefusedOnlyWhenSpelledTheSame) {
  const std::string source = Source("eje.EJE");
  host_.sources = {source};
  host_.target = source;
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::SameFile);
  EXPECT_TRUE(exports_.calls.empty());
  ExpectOnlyMessage(host_, frontend::kSameFileMessage, MessageIcon::Exclamation);

  host_.messages.clear();
  host_.sources = {source};
  host_.target = dir_.File("eje.eje");  // another spelling is not detected
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Converted);
  ASSERT_EQ(exports_.calls.size(), 1u);
}

TEST_F(CommandFlow, CancelAtAnyDialogStopsSilently) {
  // Source dialog.
  host_.sources = {std::nullopt};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Stopped);
  // Target dialog.
  host_.sources = {Source("a.eje")};
  host_.target = std::nullopt;
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Stopped);
  // The list of a LandXML document: cancelled, or an index past its end.
  for (int choice : {-1, 5}) {
    host_.sources = {Source("a.xml")};
    host_.choices = {choice};
    EXPECT_EQ(Run("importarEjeLandXML"), CommandOutcome::Stopped);
  }
  // The layer list.
  host_.sources = {Source("a.dxf")};
  host_.choices = {-1};
  EXPECT_EQ(Run("importarSuperficieCaras3D"), CommandOutcome::Stopped);
  // Each of the three dialogs of the field-book command.
  host_.target = "";
  host_.sources = {std::nullopt};
  EXPECT_EQ(Run("puntosTraClipTer"), CommandOutcome::Stopped);
  host_.sources = {Source("p.pun"), std::nullopt};
  EXPECT_EQ(Run("puntosTraClipTer"), CommandOutcome::Stopped);
  host_.sources = {Source("p.pun"), Source("e.eje")};
  host_.target = std::nullopt;
  EXPECT_EQ(Run("puntosTraClipTer"), CommandOutcome::Stopped);

  EXPECT_TRUE(host_.messages.empty());
  for (const ExportCall& call : exports_.calls) {
    EXPECT_TRUE(call.name.rfind("MyDll_selecciona", 0) == 0 || call.name == "Calzada_getCapasDxf") << call.name;
  }
  // The selection was refused before the target was asked for.
  int targetDialogs = 0;
  for (const std::string& dialog : host_.dialogs) targetDialogs += dialog.rfind("destino|", 0) == 0;
  EXPECT_EQ(targetDialogs, 2);
  EXPECT_TRUE(targets_.inspected.empty());
}

TEST_F(CommandFlow, ListAcceptedWithoutALineSaysSo) {
  for (const char* control : {"importarEjeLandXML", "importarSuperficieCaras3D"}) {
    host_.messages.clear();
    host_.sources = {Source("a.xml")};
    host_.choices = {frontend::kNothingChosen};
    EXPECT_EQ(Run(control), CommandOutcome::Stopped) << control;
    ExpectOnlyMessage(host_, frontend::kNothingChosenMessage, MessageIcon::Exclamation);
  }
  EXPECT_EQ(exports_.calls.size(), 2u);  // only the two selection exports
}

TEST_F(CommandFlow, BlankListLinesAreNotOffered) {
  exports_.listText = "E1\n\nE3\n";
  host_.sources = {Source("a.xml")};
  host_.choices = {1};
  EXPECT_EQ(Run("importarRasanteLandXML"), CommandOutcome::Converted);
  EXPECT_EQ(host_.lists[0], (std::vector<std::string>{"E1", "E3"}));
  EXPECT_EQ(exports_.calls.back().arguments[0], "E3");
}

TEST_F(CommandFlow, AnEmptyListIsNeverOfferedTheUserIsToldWhy) {
  // The library said why: its reason is the message.
  exports_.listText = "";
  exports_.messages = {{common::kFailureCaption, "El fichero a.dxf no es un documento LandXML: parece un dibujo DXF"}};
  host_.sources = {Source("a.dxf")};
  EXPECT_EQ(Run("importarEjeLandXML"), CommandOutcome::Failed);
  EXPECT_TRUE(host_.lists.empty());
  ExpectOnlyMessage(host_,
                    "Error en la conversión\r\nEl fichero a.dxf no es un documento LandXML: parece un dibujo DXF",
                    MessageIcon::Exclamation);
  EXPECT_EQ(runner_.lastFailure(), "El fichero a.dxf no es un documento LandXML: parece un dibujo DXF");

  // No reason from the library: what the document lacks, for each kind of list.
  exports_.messages.clear();
  const struct {
    const char* control;
    const char* lacks;
  } cases[] = {{"importarEjeLandXML", "ningún eje"},
               {"importarRasanteLandXML", "ninguna rasante"},
               {"importarTransversalesLandXML", "ningún conjunto de transversales"},
               {"importarSuperficieLandXML", "ninguna superficie"},
               {"importarSuperficieCaras3D", "ninguna capa"}};
  for (const auto& c : cases) {
    host_.messages.clear();
    const std::string source = Source("b.xml");
    host_.sources = {source};
    EXPECT_EQ(Run(c.control), CommandOutcome::Failed) << c.control;
    ExpectOnlyMessage(host_, "Error en la conversión\r\nEl fichero " + source + " no contiene " + c.lacks,
                      MessageIcon::Exclamation);
  }
  EXPECT_TRUE(host_.lists.empty());
}

TEST_F(CommandFlow, ResultsAndFailuresGiveTheirMessages) {
  exports_.result = 0x10000;  // only the low 16 bits count
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, frontend::kConversionError, MessageIcon::Exclamation);

  // The Shapeline rows return nothing to judge: their target tells.
  host_.messages.clear();
  exports_.result = 0;
  host_.sources = {Source("a.shp")};
  EXPECT_EQ(Run("importarShapeline"), CommandOutcome::Converted);
  ExpectOnlyMessage(host_, Generated(dir_.File("a.pun")), MessageIcon::None);
  host_.messages.clear();
  targets_.report.exists = false;
  host_.sources = {Source("a.shp")};
  EXPECT_EQ(Run("importarShapeline"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, "Error en la conversión\r\nNo se ha generado el fichero " + dir_.File("a.pun"),
                    MessageIcon::Exclamation);
  targets_.report.exists = true;

  // Ispol cross sections: failure as usual, success left to the library's own message.
  host_.messages.clear();
  host_.sources = {Source("s.res")};
  EXPECT_EQ(Run("importarTransversalesIspolRes"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, frontend::kConversionError, MessageIcon::Exclamation);
  host_.messages.clear();
  exports_.result = 7;
  host_.sources = {Source("s.res")};
  EXPECT_EQ(Run("importarTransversalesIspolRes"), CommandOutcome::Converted);
  EXPECT_TRUE(host_.messages.empty());

  // A library or export that cannot be had: the error without icon; the program goes on.
  exports_.fail = true;
  host_.sources = {Source("a.shp")};
  EXPECT_EQ(Run("importarShapeline"), CommandOutcome::Failed);
  ASSERT_EQ(host_.messages.size(), 1u);
  EXPECT_EQ(host_.messages[0].text, "Error en la conversión\r\nno exporta ImportarPuntosDeShapeline");
  EXPECT_EQ(host_.messages[0].icon, MessageIcon::None);
  EXPECT_NE(runner_.lastFailure().find("ImportarPuntosDeShapeline"), std::string::npos);
  exports_.fail = false;
  host_.messages.clear();
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Converted);
  EXPECT_TRUE(runner_.lastFailure().empty());
}

TEST_F(CommandFlow, LandXmlAlignmentIsChosenByIndex) {
  const std::string source = Source("via.xml");
  host_.sources = {source};
  host_.choices = {1};
  EXPECT_EQ(Run("importarEjeLandXML"), CommandOutcome::Converted);
  ASSERT_EQ(exports_.calls.size(), 2u);
  EXPECT_EQ(exports_.calls[0].name, "MyDll_seleccionaEjeLandXML");
  EXPECT_EQ(exports_.calls[0].arguments, std::vector<std::string>{source});
  EXPECT_EQ(host_.listCaptions, std::vector<std::string>{frontend::kEntrySelectionCaption});
  EXPECT_EQ(host_.lists[0], (std::vector<std::string>{"E1", "E2"}));
  EXPECT_FALSE(FileExists(common::SelectionListPath()));  // read and deleted
  EXPECT_EQ(exports_.calls[1].name, "MyDll_alandxml2gtsWCE");
  EXPECT_EQ(exports_.calls[1].arguments,
            (std::vector<std::string>{"1", source, dir_.File("via.eje"), kProgramDirectory}));
  ExpectOnlyMessage(host_, Generated(dir_.File("via.eje")), MessageIcon::None);
}

TEST_F(CommandFlow, LandXmlProfileAndCrossSectionsPassTheChosenLine) {
  exports_.listText = "Eje 1: Rasante\r\nEje 1: Terreno: 2\r\nSinSeparador";  // CR LF, last line open
  host_.sources = {Source("a.xml")};
  host_.choices = {0};
  EXPECT_EQ(Run("importarRasanteLandXML"), CommandOutcome::Converted);
  EXPECT_EQ(host_.lists[0], (std::vector<std::string>{"Eje 1: Rasante", "Eje 1: Terreno: 2", "SinSeparador"}));
  EXPECT_EQ(exports_.calls.back().name, "MyDll_rlandxml2gtsWCE");
  EXPECT_EQ(exports_.calls.back().arguments, (std::vector<std::string>{"Eje 1: Rasante", sources_.back(), dir_.File("a.ras")}));

  // Cross sections: alignment and surface, split at the first ": " (the rest stays whole).
  host_.sources = {Source("b.xml")};
  host_.choices = {1};
  EXPECT_EQ(Run("importarTransversalesLandXML"), CommandOutcome::Converted);
  EXPECT_EQ(exports_.calls.back().name, "MyDll_tralandxml2gtsWCE");
  EXPECT_EQ(exports_.calls.back().arguments,
            (std::vector<std::string>{"Eje 1", "Terreno: 2", sources_.back(), dir_.File("b.tra")}));

  // A line without the separator fails after the dialogs, calling nothing.
  host_.messages.clear();
  const std::size_t callsBefore = exports_.calls.size();
  host_.sources = {Source("c.xml")};
  host_.choices = {2};
  EXPECT_EQ(Run("importarTransversalesLandXML"), CommandOutcome::Failed);
  EXPECT_EQ(exports_.calls.size(), callsBefore + 1);  // only the selection export
  ExpectOnlyMessage(host_, "Error en la conversión\r\nla línea elegida no tiene \": \": SinSeparador",
                    MessageIcon::None);
}

TEST_F(CommandFlow, SelectionListThatIsMissingOrStale) {
  // The library wrote no list: a list of an earlier run is not offered; nothing converted.
  exports_.listText.reset();
  WriteFile(common::SelectionListPath(), "Lista de otra consulta\n");
  host_.sources = {Source("a.xml")};
  host_.choices = {0};
  EXPECT_EQ(Run("importarEjeLandXML"), CommandOutcome::Failed);
  EXPECT_TRUE(host_.lists.empty());
  ExpectOnlyMessage(host_, std::string("Error en la conversión\r\n") + frontend::kEmptyListMessage,
                    MessageIcon::Exclamation);
  EXPECT_EQ(exports_.calls.size(), 1u);
}

TEST_F(CommandFlow, SurfaceFromLandXmlAndFromDxfLayer) {
  exports_.listText = "Terreno\nProyecto\n";
  const std::string xml = Source("sup.xml");
  host_.sources = {xml};
  host_.choices = {1};
  EXPECT_EQ(Run("importarSuperficieLandXML"), CommandOutcome::Converted);
  EXPECT_EQ(exports_.calls[0].name, "Calzada_SupSel_LandXML");
  EXPECT_EQ(exports_.calls[0].library, "Planimetro");
  EXPECT_EQ(exports_.calls[0].arguments, (std::vector<std::string>{xml, common::SelectionListPath()}));
  EXPECT_EQ(host_.listCaptions.back(), frontend::kSurfaceSelectionCaption);
  EXPECT_EQ(exports_.calls[1].arguments, (std::vector<std::string>{xml, "Proyecto", dir_.File("sup.sup")}));

  // Two drawings in one run: each shows its own layers. The layer list is a scratch file of the
  // temporary directory, removed once read: nothing is written beside the drawing, whose
  // folder the user may not be able to write.
  for (const char* layers : {"0\nCARAS\n", "TERRENO\n"}) {
    exports_.listText = layers;
    exports_.calls.clear();
    const std::string dxf = Source(std::string("dib") + layers[0] + ".dxf");
    host_.sources = {dxf};
    host_.choices = {layers[0] == '0' ? 1 : 0};
    EXPECT_EQ(Run("importarSuperficieCaras3D"), CommandOutcome::Converted);
    EXPECT_EQ(exports_.calls[0].name, "Calzada_getCapasDxf");
    ASSERT_EQ(exports_.calls[0].arguments.size(), 2u);
    const std::string layerList = exports_.calls[0].arguments[0];
    EXPECT_EQ(exports_.calls[0].arguments[1], dxf);
    EXPECT_EQ(layerList.rfind(common::TempDirectory() + "/", 0), 0u) << layerList;
    EXPECT_FALSE(FileExists(layerList));
    EXPECT_FALSE(FileExists(common::ChangeExtension(dxf, "cap")));
    EXPECT_EQ(host_.listCaptions.back(), frontend::kLayerSelectionCaption);
    EXPECT_EQ(exports_.calls[1].name, "Calzada_Sup_Importa_Dxf");
    EXPECT_EQ(exports_.calls[1].arguments[1], layers[0] == '0' ? "CARAS" : "TERRENO");
  }
  EXPECT_EQ(host_.lists.back(), std::vector<std::string>{"TERRENO"});
}

TEST_F(CommandFlow, LandXmlExportIsChosenByTheSourceExtension) {
  const struct {
    const char* control;
    const char* file;
    const char* exportName;
  } cases[] = {
      {"ejeLandXML", "a.eje", "MyDll_aTerrex2LandXML"},      {"ejeLandXML", "a.PLT", "MyDll_aclipplt2LandXML"},
      {"ejeLandXML", "a.asc", "MyDll_aistram2LandXML"},      {"ejeLandXML", "a.Txt", "MyDll_aistramList2LandXML"},
      {"ejeLandXML", "a.res", "MyDll_aispol2LandXML"},       {"rasLandXML", "r.ras", "MyDll_rterrex2landxml"},
      {"rasLandXML", "r.txt", "MyDll_ristram2landxml"},      {"transverLandXML", "t.ter", "MyDll_traclip2landxml"},
      {"transverLandXML", "t.rep", "MyDll_tracliptrv2landxml"}, {"transverLandXML", "t.tra", "MyDll_traterrex2landxml"},
      {"transverLandXML", "t.trm", "MyDll_traistram2landxml"},  {"transverLandXML", "t.per", "MyDll_trahtrazado2lamdxml"},
      {"transverLandXML", "t.mxr", "MyDll_tramxroad2landxml"},
  };
  for (const auto& c : cases) {
    host_.messages.clear();
    const std::string source = Source(c.file);
    host_.sources = {source};
    EXPECT_EQ(Run(c.control), CommandOutcome::Converted) << c.file;
    EXPECT_EQ(exports_.calls.back().name, c.exportName);
    EXPECT_EQ(exports_.calls.back().arguments, (std::vector<std::string>{source, common::ChangeExtension(source, "xml")}));
    ExpectOnlyMessage(host_, Generated(common::ChangeExtension(source, "xml")), MessageIcon::None);
  }

  // No export for the extension (or none at all): the error without icon, nothing called.
  const std::size_t calls = exports_.calls.size();
  for (const char* file : {"a.dxf", "sin_extension"}) {
    host_.messages.clear();
    const std::string source = Source(file);
    host_.sources = {source};
    EXPECT_EQ(Run("ejeLandXML"), CommandOutcome::Failed) << file;
    ExpectOnlyMessage(host_,
                      "Error en la conversión\r\nEl fichero " + source +
                          " no tiene una extensión que se pueda convertir a LandXML con esta orden",
                      MessageIcon::None);
  }
  EXPECT_EQ(exports_.calls.size(), calls);

  host_.messages.clear();
  exports_.result = 0;
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeLandXML"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, frontend::kConversionError, MessageIcon::None);
}

// A source whose format is known (convert and "Abrir..." detect it) gets the reader of that
// format, whatever its extension: every source format of the registry's rows has its export.
// A format the command does not read leaves the choice to the extension, as in the menu.
TEST_F(CommandFlow, LandXmlExportIsChosenByTheSourceFormatWhenKnown) {
  int checked = 0;
  for (const frontend::MenuCommand* command : frontend::Conversions()) {
    if (command->variant != frontend::Variant::ExportLandXmlBySource) continue;
    for (const frontend::SourceFormat& format : command->sources) {
      ASSERT_FALSE(format.exportName.empty()) << command->control;
      const std::string source = Source("fuente.zzz");
      EXPECT_EQ(runner_.RunWithSource(*command, source, format.format), CommandOutcome::Converted)
          << command->control << " " << detect::InfoOf(format.format).key;
      EXPECT_EQ(exports_.calls.back().name, format.exportName);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 14);
  // The Clip TRV listing (menu pattern .rep) and an HTrazado alignment (menu pattern .res,
  // which names the Ispol reader).
  EXPECT_EQ(runner_.RunWithSource(*frontend::FindCommand("transverLandXML"), Source("x.trv"), detect::Format::kClipTrv),
            CommandOutcome::Converted);
  EXPECT_EQ(exports_.calls.back().name, "MyDll_tracliptrv2landxml");
  EXPECT_EQ(runner_.RunWithSource(*frontend::FindCommand("ejeLandXML"), Source("v.res"), detect::Format::kHTrazadoAlignment),
            CommandOutcome::Converted);
  EXPECT_EQ(exports_.calls.back().name, "MyDll_ahtrazado2LandXML");
  EXPECT_EQ(runner_.RunWithSource(*frontend::FindCommand("ejeLandXML"), Source("v.res"), detect::Format::kLandXml),
            CommandOutcome::Converted);
  EXPECT_EQ(exports_.calls.back().name, "MyDll_aispol2LandXML");
  // The format holds for that run only: the menu's next run chooses by extension again.
  host_.sources = {Source("y.trv")};
  EXPECT_EQ(Run("transverLandXML"), CommandOutcome::Failed);
}

TEST_F(CommandFlow, FieldBookTakesPointsAlignmentAndTargetWithoutSameFileCheck) {
  const std::string points = Source("campo.pun");
  const std::string alignment = Source("eje.eje");
  host_.sources = {points, alignment};
  host_.target = points;
  EXPECT_EQ(Run("puntosTraClipTer"), CommandOutcome::Converted);
  EXPECT_EQ(host_.dialogs[1], "origen|Eje Zemta (*.eje)|*.eje|" + points);  // the dialog remembers the name
  EXPECT_EQ(host_.dialogs[2], "destino|Transversales Clip TER (*.ter)|*.ter|" + dir_.File("campo.ter"));
  ASSERT_EQ(exports_.calls.size(), 1u);
  EXPECT_EQ(exports_.calls[0].name, "Calzada_Transver_Libreta2ClipTer");
  EXPECT_EQ(exports_.calls[0].arguments, (std::vector<std::string>{points, alignment, points}));
}

TEST_F(CommandFlow, FileDialogStartsWithTheLastChosenName) {
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Converted);
  host_.sources = {Source("b.ras")};
  EXPECT_EQ(Run("rasGTS"), CommandOutcome::Converted);
  EXPECT_EQ(host_.dialogs[2], "origen|Transversales Zemta (*.ras)|*.ras|" + dir_.File("a.gts"));
  // A cancelled dialog is never taken for a choice, even with a name remembered.
  host_.sources = {std::nullopt};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Stopped);
  EXPECT_EQ(exports_.calls.size(), 2u);
}

TEST_F(CommandFlow, QuitAndAboutConvertNothing) {
  EXPECT_EQ(Run("acercade"), CommandOutcome::Done);
  EXPECT_EQ(Run("salir"), CommandOutcome::Done);
  EXPECT_EQ(host_.aboutShown, 1);
  EXPECT_EQ(host_.quitCalled, 1);
  EXPECT_TRUE(host_.dialogs.empty());
  EXPECT_TRUE(exports_.calls.empty());
}

TEST_F(CommandFlow, LibraryMessagesReachTheUserWithTheOutcome) {
  // A failure's reasons, in order, on the lines after the failure message; other messages
  // shown as the library's own.
  exports_.result = 0;
  exports_.messages = {{common::kFailureCaption, "No existe el fichero a.eje"},
                       {"Aviso", "Clotoide con radio inicial"},
                       {common::kFailureCaption, "El fichero a.eje no contiene ningún eje"}};
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_,
                    "Error en la conversión\r\nNo existe el fichero a.eje\r\nEl fichero a.eje no contiene ningún eje",
                    MessageIcon::Exclamation);
  ASSERT_EQ(host_.libraryMessages.size(), 1u);
  EXPECT_EQ(host_.libraryMessages[0].caption, "Aviso");
  EXPECT_EQ(host_.libraryMessages[0].text, "Clotoide con radio inicial");

  // Outside a command nothing is collected: the message goes to the program's own handler.
  static std::vector<std::string> uncollected;
  frontend::SetUncollectedMessageHandler([](const char* caption, const char* text) {
    uncollected.push_back(std::string(caption) + "|" + text);
  });
  frontend::DeliverLibraryMessage("Aviso", "fuera de una orden");
  frontend::SetUncollectedMessageHandler(nullptr);
  EXPECT_EQ(uncollected, std::vector<std::string>{"Aviso|fuera de una orden"});
}

TEST_F(CommandFlow, SuccessOnlyWhenTheTargetHoldsSomething) {
  // The export says it worked, but wrote nothing.
  targets_.report = {false, false, "", ""};
  host_.sources = {Source("a.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, "Error en la conversión\r\nNo se ha generado el fichero " + dir_.File("a.gts"),
                    MessageIcon::Exclamation);

  // It wrote a file that holds nothing: said so, not success.
  host_.messages.clear();
  targets_.report = {true, true, "", "ninguna rasante"};
  const std::string xml = Source("r.xml");
  host_.sources = {xml};
  host_.choices = {0};
  EXPECT_EQ(Run("importarRasanteLandXML"), CommandOutcome::Failed);
  ExpectOnlyMessage(host_, "No se ha encontrado ninguna rasante en el fichero " + xml, MessageIcon::Exclamation);

  // Success names the target and what it holds; the Ispol row stays silent.
  host_.messages.clear();
  targets_.report = {true, false, "12 elementos, 1\u202F660,000 m", ""};
  host_.sources = {Source("b.eje")};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Converted);
  ExpectOnlyMessage(host_, "Generado correctamente fichero \r\n" + dir_.File("b.gts") + "\r\n12 elementos, 1\u202F660,000 m",
                    MessageIcon::None);
  EXPECT_EQ(runner_.lastSummary(), "12 elementos, 1\u202F660,000 m");
  host_.messages.clear();
  targets_.inspected.clear();
  host_.sources = {Source("s.res")};
  EXPECT_EQ(Run("importarTransversalesIspolRes"), CommandOutcome::Converted);
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_EQ(targets_.inspected, std::vector<std::string>{dir_.File("sSub.tra")});
}

TEST(TargetInspection, ReportsWhatARealTargetHolds) {
  TempDir dir;
  EXPECT_FALSE(frontend::InspectTarget(dir.File("no.eje")).exists);
  WriteFile(dir.File("vacio.eje"), "");
  EXPECT_FALSE(frontend::InspectTarget(dir.File("vacio.eje")).exists);
  EXPECT_FALSE(frontend::InspectTarget(dir.path()).exists);

  WriteFile(dir.File("v.eje"), "0.000 0.000 0.000 100.000000 0.000 0.000\n1660.000 1660.000 0.000 100.000000 0.000 0.000\n");
  const frontend::TargetReport alignment = frontend::InspectTarget(dir.File("v.eje"));
  EXPECT_TRUE(alignment.exists);
  EXPECT_FALSE(alignment.holdsNothing);
  EXPECT_EQ(alignment.summary, "1 elemento, 1\u202F660,000 m");

  WriteFile(dir.File("p.pun"), "1 10.0 20.0 5.0 A\n2 11.0 21.0 5.5 B\n");
  EXPECT_EQ(frontend::InspectTarget(dir.File("p.pun")).summary, "2 puntos");

  // A LandXML document written with no profile in it.
  WriteFile(dir.File("r.xml"), "<?xml version=\"1.0\"?><LandXML><Alignments/></LandXML>");
  const frontend::TargetReport empty = frontend::InspectTarget(dir.File("r.xml"));
  EXPECT_TRUE(empty.exists);
  EXPECT_TRUE(empty.holdsNothing);
}

TEST_F(CommandFlow, ACommandCanStartWithItsSourceChosen) {
  const std::string source = Source("ya.eje");
  EXPECT_EQ(runner_.RunWithSource(*frontend::FindCommand("ejeGTS"), source), CommandOutcome::Converted);
  ASSERT_EQ(host_.dialogs.size(), 1u);  // only the save dialog
  EXPECT_EQ(host_.dialogs[0].rfind("destino|", 0), 0u);
  EXPECT_EQ(exports_.calls.at(0).arguments, (std::vector<std::string>{source, dir_.File("ya.gts")}));
  // The next command asks for its source again.
  host_.sources = {std::nullopt};
  EXPECT_EQ(Run("ejeGTS"), CommandOutcome::Stopped);
}
