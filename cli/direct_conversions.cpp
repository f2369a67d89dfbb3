#include "cli/direct_conversions.h"

namespace cli {
namespace {

DirectConversion AlignmentListing(detect::Format source, const char* exportName, const char* caption,
                                  const char* filter) {
  DirectConversion conversion{source, "eje", {}};
  frontend::MenuCommand& command = conversion.command;
  command.control = exportName;
  command.caption = caption;
  command.sourceFilter = filter;
  command.extension = "eje";
  command.targetFilter = "Eje Zemta (*.eje)|*.eje";
  command.exportName = exportName;
  command.library = "Calzada";
  return conversion;
}

}  // namespace

const std::vector<DirectConversion>& DirectConversions() {
  static const std::vector<DirectConversion> conversions = {
      AlignmentListing(detect::Format::kPlRoadAlignment, "Calzada_Eje_Importa_Plroad", "Importar eje de PL-Road",
                       "Eje PL-Road (*.txt)|*.txt"),
      AlignmentListing(detect::Format::kAsotecAlignment, "Calzada_Eje_Importa_Asotec", "Importar eje de Asotec",
                       "Eje Asotec (*.txt)|*.txt"),
  };
  return conversions;
}

std::vector<const DirectConversion*> DirectConversionsReading(detect::Format source) {
  std::vector<const DirectConversion*> found;
  for (const DirectConversion& conversion : DirectConversions()) {
    if (conversion.source == source) found.push_back(&conversion);
  }
  return found;
}

}  // namespace cli
