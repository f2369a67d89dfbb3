// pasarela-cli: the conversions of the four libraries from a terminal. `pasarela-cli --help`
// lists the verbs; `pasarela-cli help ORDEN` tells what a menu command asks for.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "frontend/core/about_box.h"

namespace cli {

const std::vector<Verb>& Verbs() {
  static const std::vector<Verb> verbs = {
      {"info", "[--json] FICHERO...", "qué formato tiene cada fichero y qué contiene", &ShowInfo},
      {"convert",
       "ORIGEN... (-o DESTINO | -d CARPETA) [--to FORMATO] [--all] [--overwrite] [--alignment NOMBRE] "
       "[--with-profile RASANTE.ras] [--crs EPSG:n]",
       "convierte cada origen al formato pedido con la orden que corresponde", &ConvertFiles},
      {"formats", "", "los formatos que se reconocen y a qué se pueden convertir", &ListFormats},
      {"commands", "", "las órdenes del menú del programa de escritorio", &ListCommands},
      {"run", "ORDEN ORIGEN [DESTINO|-] [RESPUESTA...] [--all] [--overwrite|-f]",
       "ejecuta una orden del menú respondiendo a sus diálogos", &RunMenuCommand},
      {"exports", "", "las funciones de las cuatro bibliotecas con sus parámetros", &ListExports},
      {"call", "[BIBLIOTECA:]FUNCION ARGUMENTO...", "llama a una función y escribe su resultado", &CallExport},
      {"check", "FICHERO [--entry NOMBRE|N]", "las comprobaciones de lo que contiene el fichero (1 si hay algún error)", &CheckFile},
      {"view", "FICHERO -o DIBUJO.png|svg [--size ANCHOxALTO] [--section N] [--entry NOMBRE|N]", "dibuja lo que contiene el fichero",
       &DrawFile},
      {"report", "FICHERO -o INFORME.pdf [--entry NOMBRE|N]", "informe en PDF: resumen, dibujo, comprobaciones y tabla", &ReportFile},
      {"help", "[ORDEN|VERBO]", "qué pide una orden del menú y en qué orden, o el uso de un verbo", &ShowHelp},
  };
  return verbs;
}

}  // namespace cli

namespace {

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "uso: pasarela-cli VERBO [ARGUMENTOS...]\n\n");
  for (const cli::Verb& verb : cli::Verbs()) {
    std::fprintf(out, "  pasarela-cli %s%s%s\n      %s\n", verb.name, *verb.usage ? " " : "", verb.usage,
                 verb.description);
  }
  std::fprintf(out,
               "\n  pasarela-cli --help | -h      esta ayuda\n"
               "  pasarela-cli --version       la versión\n");
}

}  // namespace

int main(int argc, char** argv) {
  const cli::Arguments arguments(argv + 1, argv + argc);
  if (arguments.empty()) {
    PrintUsage(stderr);
    return cli::kUsageError;
  }
  const std::string& verb = arguments[0];
  if (verb == "--help" || verb == "-h") {
    PrintUsage(stdout);
    return cli::kDone;
  }
  if (verb == "--version") {
    std::printf("pasarela-cli %s\n", frontend::AboutBoxText().version.c_str());
    return cli::kDone;
  }
  for (const cli::Verb& candidate : cli::Verbs()) {
    if (verb == candidate.name) return candidate.run(cli::Arguments(arguments.begin() + 1, arguments.end()));
  }
  cli::Note("verbo desconocido: " + verb);
  PrintUsage(stderr);
  return cli::kUsageError;
}
