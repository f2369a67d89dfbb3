#include "frontend/core/about_box.h"

namespace frontend {

const AboutText& AboutBoxText() {
  static const AboutText text = {
      "Acerca de Conversiones",
      std::to_string(PASARELA_VERSION_MAJOR) + "." + std::to_string(PASARELA_VERSION_MINOR) + "." +
          std::to_string(PASARELA_VERSION_PATCH),
      "Zemta-I.T.",
      "https://www.zemta.example  -  soporte@zemta.example",
      "Teléfono: +34 910 000 000",
      "Fax: +34 910 000 001",
  };
  return text;
}

}  // namespace frontend
