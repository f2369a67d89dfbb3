// pasarela-cli check FILE                 the checks of what the file holds (exit 1 on an error)
// pasarela-cli view FILE -o DRAWING.png|svg [--size WxH] [--section N]
// pasarela-cli report FILE -o REPORT.pdf
// The drawing commands need Qt's GUI libraries; a build without them keeps `check`.
#include "cli/cli.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "frontend/view/checks.h"
#include "frontend/view/view_model.h"

#ifdef PASARELA_DRAWINGS
#include <QGuiApplication>

#include "frontend/qt/views/drawing.h"
#endif

namespace cli {
namespace {

int Fail(const std::string& message) { return UsageError(message); }

bool Load(const std::string& path, view::ViewModel& model, int& status) {
  std::string error;
  if (view::LoadViewFile(path, model, error)) return true;
  status = Fail(error);
  return false;
}

int Check(const std::string& path) {
  view::ViewModel model;
  int status = 0;
  if (!Load(path, model, status)) return status;
  const std::vector<view::Finding> findings = view::CheckModel(model);
  std::size_t errors = 0;
  for (const auto& finding : findings) errors += finding.level == view::Level::kError ? 1 : 0;
  for (const std::string& line : view::Summary(model)) std::printf("%s\n", line.c_str());
  std::printf("Comprobaciones: %zu errores, %zu avisos\n", errors, findings.size() - errors);
  for (const auto& finding : findings) std::printf("%s\n", view::FormatFinding(finding).c_str());
  return view::HasError(findings) ? 1 : 0;
}

#ifdef PASARELA_DRAWINGS
struct DrawingArguments {
  std::string source;
  std::string target;
  int width = 1600;
  int height = 1000;
  int section = -1;
};

bool ParseDrawingArguments(const Arguments& words, DrawingArguments& arguments, int& status) {
  const std::size_t count = words.size();
  for (std::size_t k = 0; k < count; ++k) {
    const std::string& word = words[k];
    if (word == "-o" && k + 1 < count) {
      arguments.target = words[++k];
    } else if (word == "--size" && k + 1 < count) {
      ++k;
      if (std::sscanf(words[k].c_str(), "%dx%d", &arguments.width, &arguments.height) != 2 || arguments.width < 16 ||
          arguments.height < 16 || arguments.width > 20000 || arguments.height > 20000) {
        status = Fail("tamaño no válido: " + words[k] + " (ANCHOxALTO, de 16 a 20000 píxeles)");
        return false;
      }
    } else if (word == "--section" && k + 1 < count) {
      arguments.section = std::atoi(words[++k].c_str());
    } else if (arguments.source.empty() && word.rfind("-", 0) != 0) {
      arguments.source = word;
    } else {
      status = Fail("argumento no esperado: " + word);
      return false;
    }
  }
  if (arguments.source.empty()) {
    status = Fail("falta el fichero que mostrar");
    return false;
  }
  if (arguments.target.empty()) {
    status = Fail("falta el fichero destino (-o)");
    return false;
  }
  return true;
}

// The drawings are made offscreen unless the caller chose a platform.
QGuiApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int count = 1;
  static char name[] = "pasarela-cli";
  static char* words[] = {name, nullptr};
  static QGuiApplication application(count, words);
  return application;
}

int Draw(const Arguments& words, bool report) {
  DrawingArguments arguments;
  int status = 0;
  if (!ParseDrawingArguments(words, arguments, status)) return status;
  view::ViewModel model;
  if (!Load(arguments.source, model, status)) return status;
  Application();
  std::string error;
  bool written = false;
  if (report) {
    written = view_drawing::WriteReport(model, view::CheckModel(model), arguments.target, error);
  } else {
    view_drawing::DrawOptions options;
    options.section = arguments.section;
    written = view_drawing::SaveDrawing(model, arguments.target, QSize(arguments.width, arguments.height), options, error);
  }
  if (!written) return Fail(error);
  std::printf("Generado correctamente fichero %s\n", arguments.target.c_str());
  return 0;
}
#else
int Draw(const Arguments&, bool) {
  return Fail("esta pasarela-cli se compiló sin Qt: los dibujos y los informes no están disponibles");
}
#endif

}  // namespace

int CheckFile(const Arguments& arguments) {
  return arguments.size() == 1 ? Check(arguments[0]) : Fail("uso: pasarela-cli check FICHERO");
}

int DrawFile(const Arguments& arguments) { return Draw(arguments, false); }

int ReportFile(const Arguments& arguments) { return Draw(arguments, true); }

}  // namespace cli
