#include "cli/georef_options.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <exception>

#include "cli/cli.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "frontend/detect/named_system.h"

namespace cli {
namespace {

constexpr const char* kLibrary = "Georref";

bool CallLibrary(frontend::ExportCaller& exports, const char* name, const std::vector<std::string>& arguments) {
  try {
    return exports.Call(kLibrary, name, arguments) != 0;
  } catch (const std::exception& failure) {
    Note(failure.what());
    return false;
  }
}

}  // namespace

// The system the source names for itself, for the formats that carry one.
std::string NamedSystemOfSource(const std::string& source, detect::Format format) {
  if (format == detect::Format::kLandXml) return detect::NamedSystemOfFile(source, "landxml").definition;
  if (format == detect::Format::kShapefile) return detect::NamedSystemOfFile(source, "shapefile").definition;
  if (format == detect::Format::kIfc) return detect::NamedSystemOfFile(source, "ifc").definition;
  return std::string();
}

SystemStep::~SystemStep() {
  if (!scratch.empty()) ::unlink(scratch.c_str());
}

bool ParseSystemOption(const std::vector<std::string>& arguments, std::size_t& i, SystemOptions& options,
                       std::string& error) {
  const std::string& argument = arguments[i];
  if (argument == "--allow-ballpark") {
    options.allowBallpark = true;
    return true;
  }
  if (argument != "--s_srs" && argument != "--t_srs") return false;
  if (i + 1 >= arguments.size()) {
    error = argument + " necesita un valor";
    return true;
  }
  (argument == "--s_srs" ? options.source : options.target) = arguments[++i];
  return true;
}

bool PrepareSystems(const SystemOptions& options, const frontend::MenuCommand& command, detect::Format format,
                    const std::string& source, frontend::ExportCaller& exports, SystemStep& step) {
  const bool ownRow = command.library == kLibrary;
  if (!ownRow && !options.Given()) return true;
  if (!ownRow) {
    if (options.target.empty()) {
      Note(source + ": falta --t_srs, el sistema de coordenadas de destino");
      return false;
    }
    if (command.reads == frontend::DataKind::Alignments) {
      Note(source + ": un eje no se transforma elemento a elemento entre proyecciones (arcos y clotoides dejan de "
                    "serlo); conviértalo a un mapa (--to geojson, kml, kmz o gpkg), donde va densificado con sus PK");
      return false;
    }
    if (format == detect::Format::kNativePoints && command.reads == frontend::DataKind::Points) {
      step.kind = SystemStep::kSourcePoints;
      step.shapefileTarget = command.targetFormat == detect::Format::kShapefile;
    } else if (command.targetFormat == detect::Format::kNativePoints) {
      step.kind = SystemStep::kTargetPoints;
    } else if (command.targetFormat == detect::Format::kNativeSurface) {
      step.kind = SystemStep::kTargetSurface;
    } else {
      Note(source + ": " + command.control + " no lleva coordenadas que transformar (--s_srs, --t_srs son para "
                    "puntos, superficies y mapas)");
      return false;
    }
  }
  std::string sourceSystem = options.source;
  if (sourceSystem.empty()) sourceSystem = NamedSystemOfSource(source, format);
  if (!CallLibrary(exports, "Georref_Sistemas", {sourceSystem, options.target, options.allowBallpark ? "1" : "0"})) {
    return false;
  }
  if (step.kind != SystemStep::kSourcePoints) return true;
  std::string scratch = common::JoinPath(common::TempDirectory(), "pasarela-puntos-XXXXXX.pun");
  const int descriptor = ::mkstemps(scratch.data(), 4);
  if (descriptor < 0) {
    Note(source + ": no se puede crear un fichero temporal en " + common::TempDirectory());
    return false;
  }
  ::close(descriptor);
  step.scratch = scratch;
  return CallLibrary(exports, "Georref_Puntos_Transforma", {source, scratch});
}

bool FinishSystems(const SystemStep& step, const std::string& target, frontend::ExportCaller& exports) {
  const char* name = step.kind == SystemStep::kTargetPoints    ? "Georref_Puntos_Transforma"
                     : step.kind == SystemStep::kTargetSurface ? "Georref_Sup_Transforma"
                                                               : nullptr;
  if (step.shapefileTarget) return CallLibrary(exports, "Georref_Prj", {target});
  if (name == nullptr) return true;
  if (CallLibrary(exports, name, {target, target})) return true;
  // A target left in the source's system would look like a result.
  ::unlink(target.c_str());
  Note(target + ": no se ha transformado; se borra");
  return false;
}

}  // namespace cli
