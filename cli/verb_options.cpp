// The options of every verb, one row each: `help VERB` and `VERB --help` list them under the
// verb's usage. A new option of a verb is one more row here (in the order the help lists it).
#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/cli.h"

namespace cli {

const std::vector<VerbOption>& VerbOptions() {
  static const std::vector<VerbOption> rows = {
      {"info", "--json", "un objeto JSON por fichero (claves en inglés; números con punto)"},

      {"convert", "-o DESTINO", "el fichero que se escribe (un solo origen); su extensión dice el formato si no hay --to"},
      {"convert", "-d CARPETA", "la carpeta donde se escriben los destinos, con el nombre del origen (se crea si no existe)"},
      {"convert", "--to FORMATO", "el formato que se escribe: eje, gts, landxml, dxf, shp, sup, ras, tra, pun... (véase formats)"},
      {"convert", "--alignment EJE", "el eje de un documento LandXML o de un fichero IFC (su nombre o su número desde 1)"},
      {"convert", "--profile RASANTE", "la rasante de un documento LandXML (\"eje: rasante\" o su número desde 1)"},
      {"convert", "--surface SUPERFICIE", "la superficie o el conjunto de transversales de un documento LandXML"},
      {"convert", "--layer CAPA", "la capa de un dibujo donde están las caras 3D de una superficie"},
      {"convert", "--entry NOMBRE|N", "la entrada de la lista, sea eje, rasante, superficie o capa (como en check, view y report)"},
      {"convert", "--all", "un destino por cada entrada de la lista, con el nombre del origen y el de la entrada"},
      {"convert", "--axis FICHERO.eje", "el eje que pide la orden de la libreta de campo (puntosTraClipTer)"},
      {"convert", "--overwrite, -f", "escribe encima de un destino que ya existe"},
      {"convert", "--with-profile FICHERO.ras", "la rasante que acompaña a un eje nativo en el fichero IFC que se escribe, o que da las cotas de un eje en un mapa (geojson, kml, kmz, gpkg)"},
      {"convert", "--crs EPSG:n", "el sistema de coordenadas que el fichero IFC que se escribe declara (IfcProjectedCRS)"},
      {"convert", "--s_srs SISTEMA", "el sistema de coordenadas del origen (EPSG:n, cadena PROJ o WKT) si el fichero no lo nombra"},
      {"convert", "--t_srs SISTEMA", "el sistema de coordenadas del destino: los puntos y las superficies se transforman con PROJ"},
      {"convert", "--allow-ballpark", "acepta una transformación aproximada o un cambio de altura sin su rejilla de geoide"},

      {"run", "--all", "ejecuta la orden una vez por cada entrada de su lista"},
      {"run", "--overwrite, -f", "escribe encima de un destino que ya existe"},

      {"check", "--entry NOMBRE|N", "el eje, la rasante o la superficie de un documento LandXML (la primera si no se da)"},

      {"view", "-o DIBUJO.png|svg", "el dibujo que se escribe (PNG o SVG)"},
      {"view", "--size ANCHOxALTO", "el tamaño del dibujo en píxeles (1600x1000 si no se da)"},
      {"view", "--section N", "el perfil transversal que se dibuja, desde 1"},
      {"view", "--exaggeration X", "la exageración vertical del perfil longitudinal (si no se da, la que lo hace llenar el dibujo)"},
      {"view", "--entry NOMBRE|N", "el eje, la rasante o la superficie de un documento LandXML (la primera si no se da)"},
      {"view", "--terrain RASANTE", "otra rasante que se dibuja como terreno bajo la mostrada, donde ambas comparten P.K."},

      {"report", "-o INFORME.pdf", "el informe que se escribe"},
      {"report", "--entry NOMBRE|N", "el eje, la rasante o la superficie de un documento LandXML (la primera si no se da)"},
      {"report", "--terrain RASANTE", "otra rasante que se dibuja como terreno bajo la mostrada, donde ambas comparten P.K."},
  };
  return rows;
}

std::size_t TextWidth(const std::string& text) {
  std::size_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return characters;
}

std::string PadRight(const std::string& text, std::size_t width) {
  const std::size_t shown = TextWidth(text);
  return shown >= width ? text : text + std::string(width - shown, ' ');
}

void PrintVerbHelp(const Verb& verb, std::FILE* out) {
  std::fprintf(out, "uso: pasarela-cli %s%s%s\n    %s\n", verb.name, *verb.usage ? " " : "", verb.usage,
               verb.description);
  std::size_t width = 0;
  for (const VerbOption& option : VerbOptions()) {
    if (verb.name == std::string(option.verb)) width = std::max(width, TextWidth(option.option));
  }
  if (width == 0) return;
  std::fprintf(out, "\nOpciones:\n");
  for (const VerbOption& option : VerbOptions()) {
    if (verb.name != std::string(option.verb)) continue;
    std::fprintf(out, "  %s  %s\n", PadRight(option.option, width).c_str(), option.text);
  }
}

}  // namespace cli
