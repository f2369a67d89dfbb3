#include "frontend/core/coordinate_systems.h"

#include <stdlib.h>
#include <unistd.h>

#include "common/paths.h"
#include "common/temp_files.h"
#include "frontend/detect/named_system.h"

namespace frontend {
namespace {

// A scratch file in the temporary directory with `extension` ("pun"); empty when none can be made.
std::string ScratchNamed(const std::string& extension) {
  std::string scratch = common::JoinPath(common::TempDirectory(), "pasarela-sistema-XXXXXX." + extension);
  const int descriptor = ::mkstemps(scratch.data(), static_cast<int>(extension.size()) + 1);
  if (descriptor < 0) return std::string();
  ::close(descriptor);
  return scratch;
}

}  // namespace

std::string NamedSystemOfSource(const std::string& source, detect::Format format) {
  if (format == detect::Format::kLandXml) return detect::NamedSystemOfFile(source, "landxml").definition;
  if (format == detect::Format::kShapefile) return detect::NamedSystemOfFile(source, "shapefile").definition;
  if (format == detect::Format::kIfc) return detect::NamedSystemOfFile(source, "ifc").definition;
  return std::string();
}

SystemUse SystemUseOf(const MenuCommand& command, detect::Format format) {
  if (command.library == kGeorefLibrary) return SystemUse::kOwn;
  if (format == detect::Format::kUnknown && !command.sources.empty()) format = command.sources.front().format;
  if (command.reads == DataKind::Points && format == detect::Format::kNativePoints) return SystemUse::kSourcePoints;
  if (command.reads == DataKind::Points && command.targetFormat == detect::Format::kNativePoints) {
    return SystemUse::kTargetPoints;
  }
  if (command.reads == DataKind::Surfaces && command.targetFormat == detect::Format::kNativeSurface) {
    return SystemUse::kTargetSurface;
  }
  return SystemUse::kNone;
}

SystemStep::~SystemStep() {
  if (!scratch.empty()) ::unlink(scratch.c_str());
}

bool PrepareSystems(const SystemOptions& options, const MenuCommand& command, detect::Format format,
                    const std::string& source, const GeorefCall& call, SystemStep& step, std::string& reason) {
  step.use = SystemUseOf(command, format);
  if (step.use != SystemUse::kOwn && !options.Given()) {
    step.use = SystemUse::kNone;
    return true;
  }
  if (step.use != SystemUse::kOwn) {
    if (options.target.empty()) {
      reason = source + ": falta el sistema de coordenadas de destino (--t_srs)";
      return false;
    }
    if (command.reads == DataKind::Alignments) {
      reason = source + ": un eje no se transforma elemento a elemento entre proyecciones (arcos y clotoides dejan de "
                        "serlo); conviértalo a un mapa (GeoJSON, KML, KMZ o GeoPackage), donde va densificado con sus PK";
      return false;
    }
    if (step.use == SystemUse::kNone) {
      reason = source + ": " + command.control + " no lleva coordenadas que transformar (los sistemas de coordenadas "
                        "son para puntos, superficies y mapas)";
      return false;
    }
    step.shapefileTarget = command.targetFormat == detect::Format::kShapefile;
    step.landXmlTarget = command.targetFormat == detect::Format::kLandXml;
  }
  std::string sourceSystem = options.source;
  if (sourceSystem.empty()) sourceSystem = NamedSystemOfSource(source, format);
  if (!call("Georref_Sistemas", {sourceSystem, options.target, options.allowBallpark ? "1" : "0"}, reason)) {
    return false;
  }
  if (step.use != SystemUse::kSourcePoints) return true;
  step.scratch = ScratchNamed("pun");
  if (step.scratch.empty()) {
    reason = source + ": no se puede crear un fichero temporal en " + common::TempDirectory();
    return false;
  }
  return call("Georref_Puntos_Transforma", {source, step.scratch}, reason);
}

bool FinishSystems(const SystemStep& step, const std::string& target, const GeorefCall& call, std::string& reason) {
  // The target's system named beside it or in it; the coordinates it holds are already right.
  if (step.shapefileTarget) return call("Georref_Prj", {target}, reason);
  if (step.landXmlTarget) return call("Georref_LandXml_Sistema", {target}, reason);
  const char* name = step.use == SystemUse::kTargetPoints    ? "Georref_Puntos_Transforma"
                     : step.use == SystemUse::kTargetSurface ? "Georref_Sup_Transforma"
                                                             : nullptr;
  if (name == nullptr) return true;
  if (call(name, {target, target}, reason)) return true;
  // A target left in the source's system would look like a result.
  ::unlink(target.c_str());
  reason = target + ": no se ha transformado; se borra" + (reason.empty() ? std::string() : " (" + reason + ")");
  return false;
}

}  // namespace frontend
