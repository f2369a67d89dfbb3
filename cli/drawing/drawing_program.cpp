// pasarela-view: the drawings of pasarela-cli, the one program of the command line that links
// Qt's GUI libraries. pasarela-cli runs it for its `view` and `report` verbs with the same
// arguments, so its messages and exit status are those of pasarela-cli.
//   pasarela-view view FILE -o DRAWING.png|svg [--size WxH] [--section N] [--exaggeration X] [--entry E]
//                      [--terrain PROFILE]
//   pasarela-view report FILE -o REPORT.pdf [--entry E] [--terrain PROFILE]
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/cli.h"
#include "frontend/qt/views/drawing.h"
#include "frontend/view/checks.h"
#include "frontend/view/view_model.h"

namespace {

using cli::Arguments;
using cli::UsageError;

struct DrawingArguments {
  std::string source;
  std::string target;
  int width = 1600;
  int height = 1000;
  int section = -1;
  double exaggeration = 0;  // of the long section; 0 fills the drawing
  std::string entry;  // of a LandXML document: a name or a number from 1
  std::string terrain;  // a second profile drawn as the ground under the one shown
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
        status = UsageError("tamaño no válido: " + words[k] + " (ANCHOxALTO, de 16 a 20000 píxeles)");
        return false;
      }
    } else if (word == "--section" && k + 1 < count) {
      arguments.section = std::atoi(words[++k].c_str());
    } else if (word == "--exaggeration" && k + 1 < count) {
      ++k;
      char* end = nullptr;
      arguments.exaggeration = std::strtod(words[k].c_str(), &end);
      if (end == words[k].c_str() || *end != '\0' || !(arguments.exaggeration >= 0.1 && arguments.exaggeration <= 10000)) {
        status = UsageError("exageración no válida: " + words[k] + " (un número de 0.1 a 10000)");
        return false;
      }
    } else if (word == "--entry" && k + 1 < count) {
      arguments.entry = words[++k];
    } else if (word == "--terrain" && k + 1 < count) {
      arguments.terrain = words[++k];
    } else if (arguments.source.empty() && word.rfind("-", 0) != 0) {
      arguments.source = word;
    } else {
      status = UsageError("argumento no esperado: " + word);
      return false;
    }
  }
  if (arguments.source.empty()) {
    status = UsageError("falta el fichero que mostrar");
    return false;
  }
  if (arguments.target.empty()) {
    status = UsageError("falta el fichero destino (-o)");
    return false;
  }
  return true;
}

// The drawings are made offscreen unless the caller chose a platform.
QGuiApplication& Application() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int count = 1;
  static char name[] = "pasarela-view";
  static char* words[] = {name, nullptr};
  static QGuiApplication application(count, words);
  return application;
}

int Draw(const Arguments& words, bool report) {
  DrawingArguments arguments;
  int status = 0;
  if (!ParseDrawingArguments(words, arguments, status)) return status;
  view::ViewModel model;
  std::string error;
  if (!view::LoadViewFile(arguments.source, arguments.entry, model, error)) return UsageError(error);
  if (!arguments.terrain.empty() && !view::AddTerrainProfile(arguments.terrain, model, error)) return UsageError(error);
  Application();
  bool written = false;
  if (report) {
    written = view_drawing::WriteReport(model, view::CheckModel(model), arguments.target, error);
  } else {
    view_drawing::DrawOptions options;
    options.section = arguments.section;
    options.exaggeration = arguments.exaggeration;
    written = view_drawing::SaveDrawing(model, arguments.target, QSize(arguments.width, arguments.height), options, error);
  }
  if (!written) return UsageError(error);
  std::printf("Generado correctamente fichero %s\n", arguments.target.c_str());
  return cli::kDone;
}

}  // namespace

int main(int argc, char** argv) {
  const Arguments words(argv + 1, argv + argc);
  if (words.empty() || (words[0] != "view" && words[0] != "report")) {
    std::fprintf(stderr, "uso: %s view|report FICHERO -o DESTINO [OPCIONES...] (lo ejecuta pasarela-cli)\n",
                 cli::kDrawingProgramName);
    return cli::kUsageError;
  }
  return Draw(Arguments(words.begin() + 1, words.end()), words[0] == "report");
}
