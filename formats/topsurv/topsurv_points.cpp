#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "formats/topsurv/jet_database.h"
#include "common/conversion.h"
#include "formats/topsurv/topsurv.h"
#include "common/message_hook.h"
#include "common/numbers.h"
#include "formats/native/point_file.h"
#include "common/text_case.h"
#include "common/text_output.h"

namespace calzada {
namespace {

constexpr char kTituloErrores[] = "Calzada::ADO";
constexpr common::ConversionRule kBaseDeDatosTopsurv{"una base de datos de TopSurv", "ningún punto"};

// The points of the job: the rows of tblSoPoints whose dataset (fkeyDataset = keyDataset of
// tblDatasets) is in the LOCAL coordinate system, as an inner join gives them: in the order of
// tblSoPoints. keyDataset is the key of tblDatasets, so a point joins at most one dataset; a
// damaged file that repeats a key still gives each point once (never a product of the two
// tables). Names that do not start
// with a non-zero number, and rows without coordinates, give no point. Returns the count.
int EscribePuntosLocales(const std::string& entrada, common::TextWriter& salida) {
  std::string error;
  std::vector<std::vector<FilaJet>> tablas;
  if (!LeeTablasJet(entrada,
                    {{"tblDatasets", {"keyDataset", "CsName"}}, {"tblSoPoints", {"fkeyDataset", "Name", "C1", "C2", "C3"}}},
                    tablas, error)) {
    throw std::runtime_error(error);
  }
  const std::vector<FilaJet>& datasets = tablas[0];
  const std::vector<FilaJet>& puntos = tablas[1];
  // Text comparisons of the database ignore letter case.
  std::unordered_set<std::string> locales;
  for (const FilaJet& d : datasets) {
    if (!d[0].nulo && !d[1].nulo && common::EqualsIgnoringCase(d[1].texto, "LOCAL")) locales.insert(d[0].texto);
  }
  int escritos = 0;
  for (const FilaJet& p : puntos) {
    if (p[0].nulo) continue;
    if (locales.count(p[0].texto) == 0) continue;
    const int numero = common::LenientInt(p[1].texto);
    if (numero == 0 || p[2].nulo || p[3].nulo || p[4].nulo) continue;
    common::WriteFullPointLine(salida, numero, p[2].numero, p[3].numero, p[4].numero, "");
    ++escritos;
  }
  return escritos;
}

}  // namespace

int ImportTopsurvPoints(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  common::TextWriter puntos;
  int escritos = 0;
  // The tables are read whole before anything is written, so a database that cannot be read
  // gives no point at all: nothing is written then.
  try {
    escritos = EscribePuntosLocales(entrada, puntos);
  } catch (const std::runtime_error& error) {
    common::RecordFailure(error.what());
    common::ShowMessage(kTituloErrores, error.what());
    return 0;
  } catch (...) {
    common::RecordFailure("Error desconocido");
    common::ShowMessage(kTituloErrores, "Error desconocido");
    return 0;
  }
  if (!common::RequireSomething(escritos == 0, entrada, kBaseDeDatosTopsurv)) return 0;
  return puntos.SaveTo(salida) ? escritos : 0;
}

}  // namespace calzada
