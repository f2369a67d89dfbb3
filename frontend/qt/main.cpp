// Pasarela: the desktop program. "--captura FICHERO.png" opens the menu Importar > Ejes and
// saves a picture of the screen (for the documentation), then ends.
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <string>

#include "calzada.h"
#include "frontend/core/about_box.h"
#include "frontend/core/library_messages.h"
#include "frontend/qt/principal.h"
#include "frontend/qt/views/view_panel.h"
#include "planimetro.h"
#include "viaducto.h"

namespace {

// --help and --version answer on the terminal, before any window (or display) is needed.
bool AnswerOnTerminal(int argc, char** argv, int& status) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("pasarela %s\n", frontend::AboutBoxText().version.c_str());
    status = 0;
    return true;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    std::printf(
        "uso: pasarela [FICHERO]\n"
        "    El programa de escritorio: cada conversión es una orden de los menús Importar y Exportar.\n"
        "    Con FICHERO, lo muestra (dibujo, resumen y comprobaciones) al abrirse.\n\n"
        "  pasarela --help | -h      esta ayuda\n"
        "  pasarela --version       la versión\n\n"
        "Desde un terminal, sin ventana: pasarela-cli --help\n");
    status = 0;
    return true;
  }
  if (argv[1][0] == '-' && argv[1][1] != '\0' && std::strcmp(argv[1], "--captura") != 0 &&
      std::strcmp(argv[1], "--captura-vista") != 0 && std::strcmp(argv[1], "--medir-vista") != 0) {
    std::fprintf(stderr, "pasarela: opción desconocida: %s (véase pasarela --help)\n", argv[1]);
    status = 2;
    return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswerOnTerminal(argc, argv, status)) return status;
  QApplication application(argc, argv);
  QApplication::setApplicationName(frontend::kProgramTitle);
  view_widgets::InstallSpanishQtTranslations(application);
  // The road libraries are bound at start-up. Their messages are collected while a command
  // runs (the command shows a failure's reason with its own message); any other message
  // appears as a message box.
  frontend::SetUncollectedMessageHandler(&frontend::ShowLibraryMessage);
  Viaducto_SetMessageHook(&frontend::DeliverLibraryMessage);
  Calzada_SetMessageHook(&frontend::DeliverLibraryMessage);
  Planimetro_SetMessageHook(&frontend::DeliverLibraryMessage);

  frontend::Principal window;
  window.resize(1100, 720);
  window.show();
  // A file named on the command line is shown in the views; "--captura-vista FICHERO
  // IMAGEN.png [ENTRADA]" shows it (the entry of a file of several by name or number) and
  // saves a picture of the window, then ends.
  if (argc == 2) window.views().Open(QString::fromLocal8Bit(argv[1]));
  if ((argc == 4 || argc == 5) && std::strcmp(argv[1], "--captura-vista") == 0) {
    window.views().Open(QString::fromLocal8Bit(argv[2]));
    std::string error;
    if (argc == 5 && !window.views().panel()->OpenFile(argv[2], argv[4], error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return 2;
    }
    const QString picture = QString::fromLocal8Bit(argv[3]);
    QTimer::singleShot(800, &window, [&window, picture] { QApplication::exit(window.grab().save(picture, "PNG") ? 0 : 1); });
  }

  // "--medir-vista FICHERO": how long the view takes to open the file and to follow a pan,
  // for bench/views.sh; then ends.
  if (argc == 3 && std::strcmp(argv[1], "--medir-vista") == 0) {
    return view_widgets::MeasureView(window.views(), QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--captura") == 0) {
    const QString picture = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(500, &window, [&window] { window.OpenMenu("importar", "ejes2"); });
    QTimer::singleShot(1500, &window, [&window, picture] {
      const bool saved = QGuiApplication::primaryScreen()->grabWindow(0).save(picture, "PNG");
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return application.exec();
}
