// pasarela-cli check FILE [--entry E]      the checks of what the file holds (exit 1 on an error)
// pasarela-cli view FILE -o DRAWING.png|svg [--size WxH] [--section N] [--entry E]
// pasarela-cli report FILE -o REPORT.pdf [--entry E]
// --terrain PROFILE (view and report): a second profile drawn as the ground under the one shown.
// --entry: which alignment, profile or surface of a LandXML document, by name or number from 1
// (the first when not given).
// `check` needs only the view model. The drawings need Qt's GUI libraries, which this program
// never loads: `view` and `report` hand their arguments to the drawing program installed beside
// it (pasarela-view), which prints the same messages and ends with the status this one would.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "frontend/detect/spanish_numbers.h"
#include "frontend/core/library_export_caller.h"
#include "frontend/view/checks.h"
#include "frontend/view/view_model.h"
#include "formats/ifc/ifc_check.h"
#include "frontend/detect/detect.h"

namespace cli {
namespace {

// The rules of an IFC model's alignments, each finding an error that names its rule.
std::vector<view::Finding> IfcRuleFindings(const std::string& path) {
  std::vector<view::Finding> findings;
  if (detect::DetectFile(path).format != detect::Format::kIfc) return findings;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  ifc::StepFile file;
  if (!ifc::ParseStep(text.str(), file).ok) return findings;
  for (const ifc::RuleFinding& rule : ifc::CheckAlignmentRules(file)) {
    findings.push_back({view::Level::kError, rule.rule, rule.message});
  }
  return findings;
}

int Check(const std::string& path, const std::string& entry) {
  view::ViewModel model;
  std::string error;
  if (!view::LoadViewFile(path, entry, model, error)) return UsageError(error);
  std::vector<view::Finding> findings = view::CheckModel(model);
  for (view::Finding& rule : IfcRuleFindings(path)) findings.push_back(std::move(rule));
  std::size_t errors = 0;
  for (const auto& finding : findings) errors += finding.level == view::Level::kError ? 1 : 0;
  for (const std::string& line : view::Summary(model)) std::printf("%s\n", line.c_str());
  std::printf("Comprobaciones: %s errores, %s avisos\n", detect::SpanishCount(static_cast<long long>(errors)).c_str(),
              detect::SpanishCount(static_cast<long long>(findings.size() - errors)).c_str());
  for (const auto& finding : findings) std::printf("%s\n", view::FormatFinding(finding).c_str());
  return view::HasError(findings) ? kFailed : kDone;
}

// Replaces this process with the drawing program, `verb` and the arguments after it. Returns
// only when the program is missing or cannot be started, with the usage status the drawing
// commands give for what they cannot do.
int RunDrawingProgram(const char* verb, const Arguments& arguments) {
  const std::string program = DrawingProgramPath();
  if (::access(program.c_str(), X_OK) != 0) {
    return UsageError(std::string(verb) + ": no está el programa de dibujo " + program +
                      " (se construye con la interfaz de Qt): los dibujos y los informes no están disponibles");
  }
  std::vector<std::string> words{kDrawingProgramName, verb};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::fflush(stdout);
  std::fflush(stderr);
  ::execv(program.c_str(), argv.data());
  return UsageError(std::string(verb) + ": no se puede ejecutar " + program + ": " + std::strerror(errno));
}

}  // namespace

std::string DrawingProgramPath() { return frontend::ProgramDirectory() + "/" + kDrawingProgramName; }

int CheckFile(const Arguments& arguments) {
  if (arguments.size() == 1) return Check(arguments[0], "");
  if (arguments.size() == 3 && arguments[1] == "--entry") return Check(arguments[0], arguments[2]);
  return UsageError("uso: pasarela-cli check FICHERO [--entry NOMBRE|N]");
}

int DrawFile(const Arguments& arguments) { return RunDrawingProgram("view", arguments); }

int ReportFile(const Arguments& arguments) { return RunDrawingProgram("report", arguments); }

}  // namespace cli
