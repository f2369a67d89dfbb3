// `info` and `formats`: what a file is and what it holds; what every format converts to.
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/cli.h"
#include "frontend/core/conversions.h"
#include "frontend/detect/contents.h"

namespace cli {
namespace {

nlohmann::ordered_json ContentsJson(const detect::Contents& contents) {
  nlohmann::ordered_json json;
  json["file"] = contents.path;
  json["format"] = detect::InfoOf(contents.detection.format).key;
  if (contents.detection.possible.size() > 1) {
    nlohmann::ordered_json possible = nlohmann::ordered_json::array();
    for (detect::Format format : contents.detection.possible) possible.push_back(detect::InfoOf(format).key);
    json["possible_formats"] = possible;
  }
  if (!contents.detection.note.empty()) json["note"] = contents.detection.note;
  if (!contents.error.empty()) json["error"] = contents.error;
  if (!contents.alignments.empty()) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const detect::AlignmentSummary& a : contents.alignments) {
      list.push_back({{"name", a.name},
                      {"elements", a.elements},
                      {"length", a.length},
                      {"start_station", a.startStation},
                      {"end_station", a.endStation}});
    }
    json["alignments"] = list;
  }
  if (!contents.profiles.empty()) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const detect::ProfileSummary& p : contents.profiles) list.push_back({{"name", p.name}, {"vertices", p.vertices}});
    json["profiles"] = list;
  }
  if (!contents.crossSections.empty()) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const detect::CrossSectionSummary& s : contents.crossSections) {
      list.push_back({{"name", s.name}, {"sections", s.sections}, {"points", s.points}});
    }
    json["cross_sections"] = list;
  }
  if (!contents.surfaces.empty()) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const detect::SurfaceSummary& s : contents.surfaces) {
      list.push_back({{"name", s.name}, {"points", s.points}, {"faces", s.faces}});
    }
    json["surfaces"] = list;
  }
  if (contents.points >= 0) json["points"] = contents.points;
  if (contents.detection.format == detect::Format::kDxf && contents.read) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const detect::LayerSummary& layer : contents.layers) {
      nlohmann::ordered_json entities = nlohmann::ordered_json::object();
      for (const auto& [type, count] : layer.entities) entities[type] = count;
      list.push_back({{"name", layer.name}, {"entities", entities}});
    }
    json["layers"] = list;
  }
  if (const detect::NamedSystem& system = contents.system; !system.definition.empty()) {
    json["crs"] = {{"name", system.name}, {"definition", system.definition}};
  }
  return json;
}

bool Unreadable(const detect::Contents& contents) {
  return contents.detection.format == detect::Format::kMissing || (!contents.error.empty() && !contents.read);
}

}  // namespace

int ShowInfo(const Arguments& arguments) {
  bool json = false;
  std::vector<std::string> files;
  for (const std::string& argument : arguments) {
    if (argument == "--json") {
      json = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError("opción desconocida: " + argument);
    } else {
      files.push_back(argument);
    }
  }
  if (files.empty()) return UsageError("info: falta el fichero");
  int status = kDone;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const detect::Contents contents = detect::ReadContents(files[i]);
    if (Unreadable(contents)) status = kFailed;
    if (json) {
      std::printf("%s\n", ContentsJson(contents).dump().c_str());
      continue;
    }
    if (i > 0) std::printf("\n");
    std::printf("%s\n", files[i].c_str());
    for (const std::string& line : detect::DescriptionLines(contents)) std::printf("  %s\n", line.c_str());
    if (const detect::NamedSystem& system = contents.system; !system.definition.empty()) {
      std::printf("  Sistema de coordenadas: %s\n", system.name.c_str());
    }
    // Only the conversions whose data the file holds.
    for (const frontend::MenuCommand* conversion : frontend::ConversionsFor(contents)) {
      std::printf("  Se convierte con: %s (a %s)\n", conversion->control.c_str(), conversion->target.c_str());
    }
  }
  return status;
}

int ListFormats(const Arguments& arguments) {
  if (!arguments.empty()) return UsageError("formats no lleva argumentos");
  for (const detect::FormatInfo& info : detect::Formats()) {
    std::string targets;
    for (const std::string& key : frontend::TargetKeysOf(info.format)) targets += (targets.empty() ? "" : " ") + key;
    // Padded by characters: an accented name takes two bytes per letter but one column.
    std::printf("%s %s %s\n", PadRight(info.key, 24).c_str(), PadRight(info.name, 52).c_str(),
                targets.empty() ? "-" : targets.c_str());
  }
  return kDone;
}

}  // namespace cli
