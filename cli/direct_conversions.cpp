#include "cli/direct_conversions.h"

#include <algorithm>
#include <string>

#include "frontend/core/command_formats.h"

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

std::string TargetKeysOf(detect::Format format) {
  std::vector<std::string> keys;
  const auto add = [&](const std::string& key) {
    if (std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
  };
  for (const frontend::MenuCommand* command : frontend::CommandsReading(format)) {
    add(frontend::FormatsOfCommand(command->control)->target);
  }
  for (const DirectConversion* direct : DirectConversionsReading(format)) add(direct->target);
  std::string text;
  for (const std::string& key : keys) text += (text.empty() ? "" : " ") + key;
  return text;
}

}  // namespace cli
