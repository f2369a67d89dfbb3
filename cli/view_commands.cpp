// pasarela-cli check FILE                 the checks of what the file holds (exit 1 on an error)
// pasarela-cli view FILE -o DRAWING.png|svg [--size WxH] [--section N]
// pasarela-cli report FILE -o REPORT.pdf
// The drawing commands need Qt's GUI libraries; a build without them keeps `check`.
#include "cli/view_commands.h"

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

constexpr int kUsageError = 2;

int Fail(const std::string& message) {
  std::fprintf(stderr, "pasarela-cli: %s\n", message.c_str());
  return kUsageError;
}

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

bool ParseDrawingArguments(int argc, char** argv, DrawingArguments& arguments, int& status) {
  for (int k = 2; k < argc; ++k) {
    const std::string word = argv[k];
    if (word == "-o" && k + 1 < argc) {
      arguments.target = argv[++k];
    } else if (word == "--size" && k + 1 < argc) {
      if (std::sscanf(argv[++k], "%dx%d", &arguments.width, &arguments.height) != 2 || arguments.width < 16 ||
          arguments.height < 16 || arguments.width > 20000 || arguments.height > 20000) {
        status = Fail(std::string("tamaño no válido: ") + argv[k] + " (ANCHOxALTO, de 16 a 20000 píxeles)");
        return false;
      }
    } else if (word == "--section" && k + 1 < argc) {
      arguments.section = std::atoi(argv[++k]);
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
QGuiApplication& Application(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int count = argc;
  static QGuiApplication application(count, argv);
  return application;
}

int Draw(int argc, char** argv, bool report) {
  DrawingArguments arguments;
  int status = 0;
  if (!ParseDrawingArguments(argc, argv, arguments, status)) return status;
  view::ViewModel model;
  if (!Load(arguments.source, model, status)) return status;
  Application(argc, argv);
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
int Draw(int, char**, bool) {
  return Fail("esta pasarela-cli se compiló sin Qt: los dibujos y los informes no están disponibles");
}
#endif

}  // namespace

const char* ViewCommandsUsage() {
  return "     pasarela-cli check FICHERO\n"
         "     pasarela-cli view FICHERO -o DIBUJO.png|svg [--size ANCHOxALTO] [--section N]\n"
         "     pasarela-cli report FICHERO -o INFORME.pdf\n";
}

bool RunViewCommand(int argc, char** argv, int& status) {
  if (argc < 2) return false;
  const std::string command = argv[1];
  if (command == "check") {
    status = argc == 3 ? Check(argv[2]) : Fail("uso: pasarela-cli check FICHERO");
    return true;
  }
  if (command == "view" || command == "report") {
    status = Draw(argc, argv, command == "report");
    return true;
  }
  return false;
}

}  // namespace cli
