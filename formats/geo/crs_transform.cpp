#include "formats/geo/crs_transform.h"
#include "formats/geo/proj_handles.h"
#include "common/spanish_numbers.h"

#include <proj.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace geo {

std::string SpanishAccuracy(double metres) {
  if (metres < 0) return "exactitud desconocida";
  // Millimetres at most, without the zeros a person would not write ("1,5 m", "0 m").
  std::string value = common::SpanishNumber(metres, 3);
  while (!value.empty() && value.back() == '0') value.pop_back();
  if (!value.empty() && value.back() == ',') value.pop_back();
  return value + " m";
}

std::string DescribeOperation(const OperationChoice& choice) {
  return choice.name + ", " + SpanishAccuracy(choice.accuracy);
}

namespace {

// The folders where PROJ looks for grids, for the note that asks for one.
std::string GridFolders(PJ_CONTEXT* context) {
  std::string data;
  if (const char* env = std::getenv("PROJ_DATA"); env != nullptr && *env != '\0') data = env;
  else if (const char* old = std::getenv("PROJ_LIB"); old != nullptr && *old != '\0') data = old;
  else data = "/usr/share/proj";
  std::string user;
  if (context != nullptr) {
    if (const char* folder = proj_context_get_user_writable_directory(context, 0); folder != nullptr) user = folder;
  }
  std::string text = "la carpeta de datos de PROJ (" + data + ", o la que diga PROJ_DATA)";
  if (!user.empty()) text += " o la carpeta de PROJ del usuario (" + user + ")";
  return text;
}

std::string GridList(const std::vector<MissingGrid>& grids, bool withUrl) {
  std::string text;
  for (std::size_t i = 0; i < grids.size(); ++i) {
    if (i > 0) text += (i + 1 == grids.size()) ? " y " : ", ";
    text += grids[i].name;
    if (withUrl && !grids[i].url.empty()) text += " (" + grids[i].url + ")";
  }
  return text;
}

std::string MissingNote(const OperationChoice& choice, PJ_CONTEXT* context) {
  if (choice.better.empty() || choice.missing.empty()) return std::string();
  return "Falta la rejilla " + GridList(choice.missing, true) + ": con ella se usaría «" + choice.better + "», " +
         SpanishAccuracy(choice.betterAccuracy) + ". Póngala en " + GridFolders(context) + ".";
}


bool IsCrs(PJ* object) { return object != nullptr && proj_is_crs(object) != 0; }

std::string SystemName(PJ* system) {
  std::string name = proj_get_name(system) != nullptr ? proj_get_name(system) : "?";
  const char* authority = proj_get_id_auth_name(system, 0);
  const char* code = proj_get_id_code(system, 0);
  if (authority != nullptr && code != nullptr) name += std::string(" (") + authority + ":" + code + ")";
  return name;
}

// Whether the system carries heights of its own kind (a vertical or compound system).
bool HasVerticalPart(PJ* system) {
  const PJ_TYPE type = proj_get_type(system);
  return type == PJ_TYPE_VERTICAL_CRS || type == PJ_TYPE_COMPOUND_CRS;
}

// The data's rectangle in longitude and latitude of the source's own datum, for PROJ's choice
// by area. False when it cannot be worked out (the choice is then made without an area).
bool AreaInDegrees(PJ_CONTEXT* context, PJ* source, const Extent& area, double& west, double& south, double& east,
                   double& north) {
  if (area.empty) return false;
  Object geodetic(proj_crs_get_geodetic_crs(context, source));
  if (!geodetic) return false;
  Object toDegrees(proj_create_crs_to_crs_from_pj(context, source, geodetic.get(), nullptr, nullptr));
  if (!toDegrees) return false;
  Object normal(proj_normalize_for_visualization(context, toDegrees.get()));
  if (!normal) return false;
  // A point is widened to a small rectangle so that the area is never degenerate.
  const double pad = std::max({area.maxX - area.minX, area.maxY - area.minY, 0.0}) == 0.0 ? 1e-6 : 0.0;
  if (proj_trans_bounds(context, normal.get(), PJ_FWD, area.minX - pad, area.minY - pad, area.maxX + pad,
                        area.maxY + pad, &west, &south, &east, &north, 21) == 0) {
    return false;
  }
  return std::isfinite(west) && std::isfinite(south) && std::isfinite(east) && std::isfinite(north);
}

std::vector<MissingGrid> GridsMissing(PJ_CONTEXT* context, PJ* operation) {
  std::vector<MissingGrid> grids;
  const int count = proj_coordoperation_get_grid_used_count(context, operation);
  for (int i = 0; i < count; ++i) {
    const char* shortName = nullptr;
    const char* fullName = nullptr;
    const char* package = nullptr;
    const char* url = nullptr;
    int direct = 0, open = 0, available = 0;
    if (proj_coordoperation_get_grid_used(context, operation, i, &shortName, &fullName, &package, &url, &direct, &open,
                                          &available) == 0) {
      continue;
    }
    if (available != 0) continue;
    grids.push_back({shortName != nullptr ? shortName : "?", url != nullptr ? url : ""});
  }
  return grids;
}

// The name a surveyor knows an operation by: the datum changes it is made of ("ED50 to ETRS89
// (7)"), without the projections undone and redone around them; the whole name when it
// changes no datum.
std::string OperationName(PJ_CONTEXT* context, PJ* operation) {
  const std::string whole = proj_get_name(operation) != nullptr ? proj_get_name(operation) : "?";
  if (proj_get_type(operation) != PJ_TYPE_CONCATENATED_OPERATION) return whole;
  std::string name;
  const int steps = proj_concatoperation_get_step_count(context, operation);
  for (int i = 0; i < steps; ++i) {
    Object step(proj_concatoperation_get_step(context, operation, i));
    if (!step || proj_get_type(step.get()) == PJ_TYPE_CONVERSION) continue;
    std::string part = proj_get_name(step.get()) != nullptr ? proj_get_name(step.get()) : "?";
    if (part.rfind("Inverse of ", 0) == 0 && part.find(" + ") == std::string::npos) part = part.substr(11);
    name += (name.empty() ? "" : " + ") + part;
  }
  return name.empty() ? whole : name;
}

}  // namespace

Context NewContext() {
  Context context(proj_context_create());
  proj_context_set_enable_network(context.get(), 0);
  proj_log_level(context.get(), PJ_LOG_NONE);
  return context;
}

Object CreateSystem(PJ_CONTEXT* context, std::string definition, std::string& problem) {
  while (!definition.empty() && (definition.back() == ' ' || definition.back() == '\n' || definition.back() == '\r')) {
    definition.pop_back();
  }
  if (definition.empty()) {
    problem = "falta el sistema de coordenadas";
    return Object();
  }
  Object system(proj_create(context, definition.c_str()));
  if (!IsCrs(system.get()) && definition[0] == '+' && definition.find("type=crs") == std::string::npos) {
    system.reset(proj_create(context, (definition + " +type=crs").c_str()));
  }
  if (!IsCrs(system.get())) {
    const int error = proj_context_errno(context);
    problem = "PROJ no reconoce el sistema de coordenadas «" + definition + "»";
    if (error != 0) problem += std::string(" (") + proj_context_errno_string(context, error) + ")";
    return Object();
  }
  return system;
}


std::string MissingGridNote(const OperationChoice& choice) {
  Context context = NewContext();
  return MissingNote(choice, context.get());
}

bool DescribeSystem(const std::string& definition, std::string& description, std::string& problem) {
  Context context = NewContext();
  Object system = CreateSystem(context.get(), definition, problem);
  if (!system) return false;
  description = SystemName(system.get());
  return true;
}

struct CoordinateTransform::State {
  Context context = NewContext();
  Object operation;
};

CoordinateTransform::CoordinateTransform() : state_(std::make_unique<State>()) {}
CoordinateTransform::~CoordinateTransform() = default;

bool CoordinateTransform::Prepare(const std::string& sourceText, const std::string& targetText, const Extent& area,
                                  bool allowBallpark, std::string& problem) {
  choice_ = OperationChoice();
  state_->operation.reset();
  PJ_CONTEXT* context = state_->context.get();
  Object source = CreateSystem(context, sourceText, problem);
  if (!source) return false;
  Object target = CreateSystem(context, targetText, problem);
  if (!target) return false;

  PJ_OPERATION_FACTORY_CONTEXT* factory = proj_create_operation_factory_context(context, nullptr);
  if (factory == nullptr) {
    problem = "PROJ no puede buscar operaciones (¿falta proj.db?)";
    return false;
  }
  double west = 0, south = 0, east = 0, north = 0;
  if (AreaInDegrees(context, source.get(), area, west, south, east, north)) {
    proj_operation_factory_context_set_area_of_interest(context, factory, west, south, east, north);
  }
  proj_operation_factory_context_set_spatial_criterion(context, factory,
                                                        PROJ_SPATIAL_CRITERION_PARTIAL_INTERSECTION);
  // Operations whose grids are missing stay in the list, after the others: they are the
  // better ones the user is told about.
  proj_operation_factory_context_set_grid_availability_use(context, factory,
                                                           PROJ_GRID_AVAILABILITY_USED_FOR_SORTING);
  PJ_OBJ_LIST* list = proj_create_operations(context, source.get(), target.get(), factory);
  proj_operation_factory_context_destroy(factory);
  const int count = list != nullptr ? proj_list_get_count(list) : 0;

  Object chosen;
  Object better;
  double betterAccuracy = -1;
  for (int i = 0; i < count; ++i) {
    Object operation(proj_list_get(context, list, i));
    if (!operation) continue;
    const double accuracy = proj_coordoperation_get_accuracy(context, operation.get());
    if (proj_coordoperation_is_instantiable(context, operation.get()) == 0) {
      if (accuracy >= 0 && (betterAccuracy < 0 || accuracy < betterAccuracy)) {
        betterAccuracy = accuracy;
        better = std::move(operation);
      }
      continue;
    }
    if (!chosen) chosen = std::move(operation);
  }
  if (list != nullptr) proj_list_destroy(list);
  if (!chosen) {
    problem = "no hay ninguna operación de " + SystemName(source.get()) + " a " + SystemName(target.get()) +
              " con las rejillas instaladas";
    if (better) {
      choice_.better = OperationName(context, better.get());
      choice_.betterAccuracy = betterAccuracy;
      choice_.missing = GridsMissing(context, better.get());
      problem += ". " + MissingNote(choice_, context);
    }
    return false;
  }

  choice_.name = OperationName(context, chosen.get());
  choice_.accuracy = proj_coordoperation_get_accuracy(context, chosen.get());
  // A change of projection alone is exact.
  if (choice_.accuracy < 0 && proj_get_type(chosen.get()) == PJ_TYPE_CONVERSION) choice_.accuracy = 0;
  choice_.ballpark = proj_coordoperation_has_ballpark_transformation(context, chosen.get()) != 0;
  choice_.vertical = choice_.ballpark && (HasVerticalPart(source.get()) || HasVerticalPart(target.get()) ||
                                          choice_.name.find("vertical") != std::string::npos);
  // A missing grid counts only where it would do better than what is used.
  if (better && (choice_.accuracy < 0 || betterAccuracy < choice_.accuracy)) {
    choice_.better = OperationName(context, better.get());
    choice_.betterAccuracy = betterAccuracy;
    choice_.missing = GridsMissing(context, better.get());
  }

  if (choice_.ballpark && !allowBallpark) {
    const std::string pair = SystemName(source.get()) + " a " + SystemName(target.get());
    if (choice_.vertical) {
      problem = "de " + pair + " cambian las altitudes y no está la rejilla del geoide: la única operación disponible («" +
                choice_.name + "») dejaría las altitudes sin cambiar";
    } else {
      problem = "de " + pair + " solo hay una operación aproximada («" + choice_.name +
                "»), sin cambio de datum conocido: las coordenadas podrían salir con errores de metros";
    }
    const std::string note = MissingNote(choice_, context);
    if (!note.empty()) problem += ". " + note;
    problem += " (--allow-ballpark la acepta)";
    return false;
  }

  // Easting, northing (longitude, latitude) whatever the systems' axis order.
  state_->operation.reset(proj_normalize_for_visualization(context, chosen.get()));
  if (!state_->operation) {
    problem = "PROJ no puede preparar la operación «" + choice_.name + "»";
    return false;
  }
  return true;
}

bool CoordinateTransform::Transform(double* x, double* y, double* z, std::size_t count, std::string& problem) {
  PJ* operation = state_->operation.get();
  if (operation == nullptr) {
    problem = "no se ha elegido la operación";
    return false;
  }
  if (count == 0) return true;
  proj_errno_reset(operation);
  proj_trans_generic(operation, PJ_FWD, x, sizeof(double), count, y, sizeof(double), count, z,
                     z != nullptr ? sizeof(double) : 0, z != nullptr ? count : 0, nullptr, 0, 0);
  for (std::size_t i = 0; i < count; ++i) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || (z != nullptr && !std::isfinite(z[i]))) {
      problem = "PROJ no puede transformar el punto " + common::SpanishCount(i + 1) + " con «" + choice_.name +
                "» (¿fuera del área de la operación?)";
      return false;
    }
  }
  return true;
}

}  // namespace geo
