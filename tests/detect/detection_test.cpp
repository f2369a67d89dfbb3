// Format detection: every file of samples/, tests/data and the shared samples is told for what
// it is (one table; a file the table does not know fails, so a new sample needs its row), the
// detectors on small made-up contents, and what `info` reads out of the files.
#include <gtest/gtest.h>

#include <clocale>

#include <dirent.h>
#include <sys/stat.h>

#include <map>
#include <string>
#include <vector>

#include "common/text_case.h"
#include "frontend/detect/contents.h"
#include "frontend/detect/detect.h"
#include "frontend/detect/spanish_numbers.h"
#include "support/peer_tools.h"
#include "support/test_support.h"

using detect::Format;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// The format of every file, by its path from the repository's parent ("shared/samples/...")
// or from the repository ("samples/...", "tests/data/..."). Files that are no input of the
// suite (settings, reports it writes, lists) are "desconocido".
const std::map<std::string, std::string> kExpected = {
    {"samples/calzada/libreta.pun", "pun"},
    {"samples/calzada/libreta.ter", "clip-ter"},
    {"samples/calzada/scanner.txt", "escaner"},
    {"samples/calzada/tramo-clip-plataforma.txt", "clip-listado"},
    {"samples/calzada/tramo-clip-subrasante.txt", "clip-listado"},
    {"samples/calzada/tramo-dragados.txt", "dragados-transversales"},
    {"samples/calzada/tramo-inroads.soe", "inroads-transversales"},
    {"samples/calzada/tramo-inroads.txt", "inroads-informe"},
    {"samples/calzada/tramo-ispol.res", "ispol-transversales"},
    {"samples/calzada/tramo-mxroad-bloques.txt", "mxroad-bloques"},
    {"samples/calzada/tramo-mxroad.txt", "mxroad-secciones"},
    {"samples/calzada/tramo-sin-eje.tra", "tra"},
    {"samples/calzada/tramo.trv", "clip-trv"},
    {"samples/calzada/variante-asotec.txt", "asotec-eje"},
    {"samples/calzada/variante-dragados.txt", "dragados-eje"},
    {"samples/calzada/variante-inroads.txt", "inroads-eje"},
    {"samples/calzada/variante-ispol.txt", "ispol-eje"},
    {"samples/calzada/variante-mxroad.txt", "mxroad-eje"},
    {"samples/calzada/variante-plroad.txt", "plroad-eje"},
    {"samples/calzada/variante-rasante-dragados.txt", "dragados-rasante"},
    {"samples/calzada/variante-rasante-inroads.txt", "inroads-rasante"},
    {"samples/calzada/variante-rasante-ispol.txt", "ispol-rasante"},
    {"samples/calzada/variante-rasante-mxroad.txt", "mxroad-rasante"},
    {"samples/calzada/variante-rasante-wtrazado.txt", "wtrazado-rasante"},
    {"samples/calzada/variante-wtrazado.txt", "wtrazado-eje"},
    {"samples/calzada/variante.alz", "clip-alz"},
    {"samples/calzada/variante.plt", "clip-plt"},
    {"samples/dxf/bordes-capas.txt", "desconocido"},
    {"samples/dxf/bordes.dxf", "dxf"},
    {"samples/dxf/levantamiento.dxf", "dxf"},
    {"samples/ejes/jalonex.ini", "desconocido"},
    {"samples/ejes/variante-cartomap.txt", "cartomap-eje"},
    {"samples/ejes/variante-htrazado.res", "htrazado-eje"},
    {"samples/ejes/variante-ispol.txt", "ispol-eje"},
    {"samples/ejes/variante-istram-listado.txt", "istram-listado"},
    {"samples/ejes/variante-istram.asc", "istram-eje"},
    {"samples/ejes/variante-mxroad.txt", "mxroad-cadena"},
    {"samples/ejes/variante.eje", "eje"},
    {"samples/ejes/variante.plt", "clip-plt"},
    {"samples/ejes/variante.xml", "landxml"},
    {"samples/ejes/variante.ifc", "ifc"},
    {"samples/puntos/levantamiento.xml", "landxml"},
    {"samples/puntos/levantamiento.pun", "pun"},
    {"samples/rasantes/variante-ispol.txt", "ispol-rasante"},
    {"samples/rasantes/variante-istram.txt", "istram-rasante"},
    {"samples/rasantes/variante-landxml.xml", "landxml"},
    {"samples/rasantes/variante.gts", "gts-rasante"},
    {"samples/rasantes/variante.ras", "ras"},
    {"samples/shapefile/levantamiento.dbf", "dbf"},
    {"samples/shapefile/levantamiento.shp", "shp"},
    {"samples/shapefile/levantamiento.shx", "shx"},
    {"samples/superficies/terreno-caras.dxf", "dxf"},
    {"samples/superficies/terreno.xml", "landxml"},
    {"samples/survey/lecturas_topcal.txt", "topcal-lecturas"},
    {"samples/survey/levantamiento.lea", "lea"},
    {"samples/survey/nivel_dl100.txt", "dl100"},
    {"samples/survey/peraltes_clip.txt", "clip-peraltes"},
    {"samples/survey/peraltes_ispol.txt", "ispol-peraltes"},
    {"samples/survey/puntos_nivel.txt", "pun"},
    {"samples/survey/robotizada_lecturas.txt", "gts800-lecturas"},
    {"samples/survey/robotizada_puntos.txt", "gts800-puntos"},
    {"samples/topsurv/trabajo.mdb", "topsurv"},
    {"samples/topsurv/trabajo.pun", "pun"},
    {"samples/topsurv/tramo.xst", "topsurv-transversales"},
    {"samples/transversales/cartomap-distancias.txt", "cartomap-transversales"},
    {"samples/transversales/cartomap-pk.txt", "cartomap-pk"},
    {"samples/transversales/clip.ter", "clip-ter-listado"},
    {"samples/transversales/clip.trv", "clip-trv"},
    {"samples/transversales/htrazado.txt", "htrazado-transversales"},
    {"samples/transversales/istram.txt", "istram-transversales"},
    {"samples/transversales/mxroad.txt", "mxroad-transversales"},
    {"samples/transversales/puntos.txt", "pun"},
    {"samples/transversales/tramo-inroads-landxml.xml", "landxml"},
    {"samples/transversales/tramo-landxml.xml", "landxml"},
    {"samples/transversales/tramo.gts", "gts-transversales"},
    {"samples/transversales/tramo.tra", "tra"},
    {"tests/data/cartomap/variante-cartomap.txt", "cartomap-eje"},
    {"tests/data/gts/variante-elementos.gts", "gts-eje"},
    {"tests/data/htrazado/variante-htrazado.res", "htrazado-eje"},
    {"tests/data/ispol/variante-ispol.txt", "ispol-eje"},
    {"tests/data/istram/variante-istram-listado.txt", "istram-listado"},
    {"tests/data/istram/variante-istram.asc", "istram-eje"},
    {"tests/data/mxroad/variante-mxroad-cadena.txt", "mxroad-cadena"},
    {"tests/data/gts/variante-vertices.gts", "gts-eje"},
    {"tests/data/clip/variante-azimut-6-decimales.plt", "clip-plt"},
    {"tests/data/clip/tramo-clip-plataforma.txt", "clip-listado"},
    {"tests/data/clip/tramo-clip-subrasante.txt", "clip-listado"},
    {"tests/data/dragados/tramo-dragados.tra", "tra"},
    {"tests/data/dragados/tramo-dragados.txt", "dragados-transversales"},
    {"tests/data/native/tramo-eje-interpolado.tra", "tra"},
    {"tests/data/native/tramo-exportado.trv", "clip-trv"},
    {"tests/data/native/tramo-importado.tra", "tra"},
    {"tests/data/inroads/tramo-inroads.soe", "inroads-transversales"},
    {"tests/data/inroads/tramo-inroads.txt", "inroads-informe"},
    {"tests/data/ispol/tramo-ispol.res", "ispol-transversales"},
    {"tests/data/ispol/tramo-ispolFirme.tra", "tra"},
    {"tests/data/ispol/tramo-ispolSub.tra", "tra"},
    {"tests/data/mxroad/tramo-mos.tra", "tra"},
    {"tests/data/mxroad/tramo-mxroad-bloques.txt", "mxroad-bloques"},
    {"tests/data/mxroad/tramo-mxroad.txt", "mxroad-secciones"},
    {"tests/data/clip/tramo-plataforma.tra", "tra"},
    {"tests/data/native/tramo-sin-eje.tra", "tra"},
    {"tests/data/clip/tramo-subrasante.tra", "tra"},
    {"tests/data/native/tramo.tra", "tra"},
    {"tests/data/clip/tramo.trv", "clip-trv"},
    {"tests/data/clip/variante-alz.ras", "ras"},
    {"tests/data/asotec/variante-asotec.eje", "eje"},
    {"tests/data/asotec/variante-asotec.txt", "asotec-eje"},
    {"tests/data/dragados/variante-dragados.eje", "eje"},
    {"tests/data/dragados/variante-dragados.txt", "dragados-eje"},
    {"tests/data/native/variante-informe-ispol.txt", "desconocido"},
    {"tests/data/inroads/variante-inroads.ras", "ras"},
    {"tests/data/inroads/variante-inroads.txt", "inroads-eje"},
    {"tests/data/ispol/variante-ispol.ras", "ras"},
    {"tests/data/mxroad/variante-mxroad.txt", "mxroad-eje"},
    {"tests/data/plroad/variante-plroad.txt", "plroad-eje"},
    {"tests/data/clip/variante-plt.eje", "eje"},
    {"tests/data/dragados/variante-rasante-dragados.txt", "dragados-rasante"},
    {"tests/data/inroads/variante-rasante-inroads.txt", "inroads-rasante"},
    {"tests/data/ispol/variante-rasante-ispol.txt", "ispol-rasante"},
    {"tests/data/mxroad/variante-rasante-mxroad.txt", "mxroad-rasante"},
    {"tests/data/wtrazado/variante-rasante-wtrazado.txt", "wtrazado-rasante"},
    {"tests/data/wtrazado/variante-wtrazado.txt", "wtrazado-eje"},
    {"tests/data/clip/variante.alz", "clip-alz"},
    {"tests/data/native/variante.eje", "eje"},
    {"tests/data/geo/terreno.sup", "sup"},
    {"tests/data/geo/sistema.xml", "landxml"},
    {"tests/data/clip/variante.plt", "clip-plt"},
    {"tests/data/clip/clip.gts", "gts-transversales"},
    {"tests/data/clip/clip.ter", "clip-ter-listado"},
    {"tests/data/clip/cliptrv.gts", "gts-transversales"},
    {"tests/data/htrazado/htrazado.gts", "gts-transversales"},
    {"tests/data/htrazado/htrazado.txt", "htrazado-transversales"},
    {"tests/data/istram/istram.gts", "gts-transversales"},
    {"tests/data/istram/istram.txt", "istram-transversales"},
    {"tests/data/mxroad/mxroad.gts", "gts-transversales"},
    {"tests/data/mxroad/mxroad.txt", "mxroad-transversales"},
    {"tests/data/dxf/3dface.dxf", "dxf"},
    {"tests/data/dxf/Leica_Disto_S910.dxf", "dxf"},
    {"tests/data/dxf/POLI-ALL210_12.DXF", "dxf"},
    {"tests/data/dxf/PinkEggFromLW.dxf", "dxf"},
    {"tests/data/landxml/A Kolu Güzergah.xml", "landxml"},
    {"tests/data/landxml/M3_RS-CL.tg.xml", "landxml"},
    {"tests/data/landxml/M3_Terrain.mm.xml", "landxml"},
    {"tests/data/landxml/Partridge_Survey.xml", "landxml"},
    {"tests/data/landxml/subdivision-2.0.xml", "landxml"},
    {"tests/data/landxml/subdivision.xml", "landxml"},
    {"tests/data/shapefile/masspntz.dbf", "dbf"},
    {"tests/data/shapefile/masspntz.shp", "shp"},
    {"tests/data/shapefile/masspntz.shx", "shx"},
    {"tests/data/topcal/lecturas_topcal.txt", "topcal-lecturas"},
    {"tests/data/native/levantamiento.cod", "desconocido"},
    {"tests/data/native/levantamiento.lea", "lea"},
    {"tests/data/native/levantamiento.odb", "desconocido"},
    {"tests/data/dl100/nivel_dl100.ign", "desconocido"},
    {"tests/data/dl100/nivel_dl100.txt", "dl100"},
    {"tests/data/clip/peraltes_clip.per", "per"},
    {"tests/data/clip/peraltes_clip.txt", "clip-peraltes"},
    {"tests/data/ispol/peraltes_ispol.per", "per"},
    {"tests/data/ispol/peraltes_ispol.txt", "ispol-peraltes"},
    {"tests/data/native/puntos_nivel.txt", "pun"},
    {"tests/data/gts800/robotizada_informe.txt", "desconocido"},
    {"tests/data/gts800/robotizada_lecturas.txt", "gts800-lecturas"},
    {"tests/data/gts800/robotizada_puntos.txt", "gts800-puntos"},
    {"shared/samples/dxf/3dface.dxf", "dxf"},
    {"shared/samples/dxf/Leica_Disto_S910.dxf", "dxf"},
    {"shared/samples/dxf/POLI-ALL210_12.DXF", "dxf"},
    {"shared/samples/dxf/PinkEggFromLW.dxf", "dxf"},
    {"shared/samples/landxml/A Kolu Güzergah.xml", "landxml"},
    {"shared/samples/landxml/M3_RS-CL.tg.xml", "landxml"},
    {"shared/samples/landxml/M3_Terrain.mm.xml", "landxml"},
    {"shared/samples/landxml/Partridge_Survey.xml", "landxml"},
    {"shared/samples/landxml/subdivision-2.0.xml", "landxml"},
    {"shared/samples/landxml/subdivision.xml", "landxml"},
    {"shared/samples/shapefile/3dpoints.dbf", "dbf"},
    {"shared/samples/shapefile/3dpoints.shp", "shp"},
    {"shared/samples/shapefile/3dpoints.shx", "shx"},
    {"shared/samples/shapefile/masspntz.dbf", "dbf"},
    {"shared/samples/shapefile/masspntz.shp", "shp"},
    {"shared/samples/shapefile/masspntz.shx", "shx"},
    {"tests/data/ifc/rules/LICENSE", "desconocido"},
};

// Test expectations and fuzzing inputs are no samples of a format.
bool Skipped(const std::string& relative) {
  const auto endsWith = [&](const std::string& end) {
    return relative.size() >= end.size() && relative.compare(relative.size() - end.size(), end.size(), end) == 0;
  };
  return endsWith(".md") || endsWith(".expected") || relative.rfind("tests/data/frontend/", 0) == 0 ||
         relative.rfind("tests/data/fuzz/", 0) == 0;
}

void ListFiles(const std::string& directory, const std::string& relative, std::vector<std::string>& files) {
  DIR* dir = ::opendir(directory.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info {};
    const std::string path = directory + "/" + name;
    if (::stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      ListFiles(path, relative + "/" + name, files);
    } else if (!Skipped(relative + "/" + name)) {
      files.push_back(relative + "/" + name);
    }
  }
  ::closedir(dir);
}

std::string SharedSamples() { return std::string(PASARELA_SOURCE_DIR) + "/../shared/samples"; }

std::string Key(const std::string& path) { return detect::InfoOf(detect::DetectFile(path).format).key; }

std::string Made(const TempDir& dir, const std::string& name, const std::string& bytes) {
  WriteFile(dir.File(name), bytes);
  return dir.File(name);
}

}  // namespace

TEST(Detection, EveryFileOfTheSampleTreesIsToldForWhatItIs) {
  std::vector<std::string> files;
  ListFiles(std::string(PASARELA_SOURCE_DIR) + "/samples", "samples", files);
  ListFiles(std::string(PASARELA_SOURCE_DIR) + "/tests/data", "tests/data", files);
  struct stat info {};
  const bool shared = ::stat(SharedSamples().c_str(), &info) == 0;
  if (shared) ListFiles(SharedSamples(), "shared/samples", files);
  ASSERT_GT(files.size(), 100u);
  std::size_t checked = 0;
  for (const std::string& relative : files) {
    // Each of buildingSMART's alignment test files (and the copies the tests use) is an IFC model.
    const bool sharedIfc = relative.rfind("shared/samples/ifc/", 0) == 0;
    if ((sharedIfc || relative.rfind("tests/data/ifc/", 0) == 0) && relative.size() > 4 &&
        relative.compare(relative.size() - 4, 4, ".ifc") == 0) {
      EXPECT_EQ(Key(sharedIfc ? std::string(PASARELA_SOURCE_DIR) + "/../" + relative
                              : std::string(PASARELA_SOURCE_DIR) + "/" + relative),
                "ifc")
          << relative;
      ++checked;
      continue;
    }
    const auto expected = kExpected.find(relative);
    if (expected == kExpected.end()) {
      ADD_FAILURE() << relative << " has no row in the detection table";
      continue;
    }
    const std::string path = relative.rfind("shared/", 0) == 0
                                 ? std::string(PASARELA_SOURCE_DIR) + "/../" + relative
                                 : std::string(PASARELA_SOURCE_DIR) + "/" + relative;
    EXPECT_EQ(Key(path), expected->second) << relative;
    ++checked;
  }
  if (!shared) GTEST_SKIP() << "../shared/samples is not beside the repository; checked " << checked << " files";
}

TEST(Detection, ContainersAndTheirRemarks) {
  TempDir dir;
  const detect::Detection missing = detect::DetectFile(dir.File("no.eje"));
  EXPECT_EQ(missing.format, Format::kMissing);
  EXPECT_EQ(missing.note, "No existe el fichero " + dir.File("no.eje"));
  EXPECT_EQ(detect::DetectFile(dir.path()).format, Format::kMissing);
  EXPECT_EQ(Key(Made(dir, "vacio.txt", "")), "vacio");

  const detect::Detection binaryDxf = detect::DetectFile(Made(dir, "b.dxf", std::string("AutoCAD Binary DXF\r\n\x1a\0", 22)));
  EXPECT_EQ(binaryDxf.format, Format::kBinaryDxf);
  EXPECT_EQ(detect::DescribeDetection(binaryDxf), "DXF binario");
  EXPECT_NE(binaryDxf.note.find("no se leen"), std::string::npos);
  const detect::Contents refused = detect::ReadContents(dir.File("b.dxf"));
  EXPECT_FALSE(refused.read);
  EXPECT_EQ(refused.error, binaryDxf.note);

  // A shapefile without the files beside it says what is missing.
  std::string shp(100, '\0');
  shp[2] = 0x27;
  shp[3] = 0x0A;
  const detect::Detection alone = detect::DetectFile(Made(dir, "solo.shp", shp));
  EXPECT_EQ(alone.format, Format::kShapefile);
  EXPECT_EQ(alone.note, "falta .shx y .dbf junto al .shp");
  EXPECT_EQ(detect::DetectFile(Made(dir, "solo.shx", shp)).format, Format::kShapefileIndex);

  EXPECT_EQ(Key(Made(dir, "d.xml", "<?xml version=\"1.0\"?><Dibujo/>")), "xml");
  EXPECT_EQ(Key(Made(dir, "l.xml", "<?xml version=\"1.0\"?><LandXML/>")), "landxml");
}

TEST(Detection, LayoutsThatCannotBeToldApartAreAllNamedAndTheExtensionChooses) {
  TempDir dir;
  const std::string threeColumns = "0.000 -2.000 -2.000\n140.000 -2.000 -2.000\n";
  const detect::Detection asSections = detect::DetectFile(Made(dir, "a.tra", threeColumns));
  EXPECT_EQ(asSections.format, Format::kNativeCrossSections);
  EXPECT_EQ(asSections.possible, (std::vector<Format>{Format::kNativeCrossSections, Format::kNativeSuperelevation}));
  EXPECT_EQ(detect::DetectFile(Made(dir, "a.per", threeColumns)).format, Format::kNativeSuperelevation);
  EXPECT_EQ(detect::DescribeDetection(detect::DetectFile(Made(dir, "a.dat", threeColumns))),
            "Transversales nativas (también podría ser: Peraltes nativos)");

  // The comma layouts of the GTS file: a station per line is a profile; a station repeated
  // over its points is a cross section.
  EXPECT_EQ(Key(Made(dir, "r.gts", "0.000, 612.5, 0\n420.000, 618.3, 120\n")), "gts-rasante");
  EXPECT_EQ(Key(Made(dir, "t.gts", "1200.000,-12.5,614.1\n1200.000,-8.0,611.9\n")), "gts-transversales");

  // A point line with a code of several words is still a point line.
  EXPECT_EQ(Key(Made(dir, "p.pun", "  110  442360.000 4471805.000  713.950 ARBOL pino\n")), "pun");
  EXPECT_EQ(Key(Made(dir, "x.txt", "esto no es\nningún formato\n")), "desconocido");
}

TEST(Detection, ALargeFileIsToldFromItsFirstLines) {
  TempDir dir;
  std::string points;
  for (int i = 0; i < 20000; ++i) points += "  " + std::to_string(i + 1) + "  442360.000 4471805.000  713.950 BC\n";
  const std::string path = Made(dir, "grande.pun", points);
  EXPECT_EQ(detect::DetectFile(path).format, Format::kNativePoints);
  const detect::Contents contents = detect::ReadContents(path);
  EXPECT_EQ(contents.points, 20000);
  EXPECT_EQ(detect::SummaryLine(contents), "20\u202F000 puntos");
}

TEST(SpanishNumbers, ThousandsApartAndDecimalComma) {
  EXPECT_EQ(detect::SpanishCount(0), "0");
  EXPECT_EQ(detect::SpanishCount(815), "815");
  EXPECT_EQ(detect::SpanishCount(44094), "44\u202F094");
  EXPECT_EQ(detect::SpanishCount(1234567), "1\u202F234\u202F567");
  EXPECT_EQ(detect::SpanishCount(-1500), "-1\u202F500");
  EXPECT_EQ(detect::SpanishDecimal(1660, 3), "1\u202F660,000");
  EXPECT_EQ(detect::SpanishDecimal(-0.0004, 3), "0,000");
  EXPECT_EQ(detect::SpanishDecimal(-12.5, 1), "-12,5");
  EXPECT_EQ(detect::SpanishDecimal(4471820.3456, 2), "4\u202F471\u202F820,35");
  EXPECT_EQ(detect::SpanishNumber(23459893.00567, 3), "23\u202F459\u202F893,006");
  EXPECT_EQ(detect::SpanishNumber(999.9996, 3), "1\u202F000,000");
  EXPECT_EQ(detect::SpanishFormat("A = %.3f, R %.1f, 5 %%", {2118.9712, -797.44}), "A = 2\u202F118,971, R -797,4, 5 %");
}

// Under a locale whose decimal separator is a comma (the desktop program runs under es_ES) the
// numbers come out the same: the C library's own formatting would give "2118,971", which the
// grouping once cut into "21 18, 971".
TEST(SpanishNumbers, TheProcessLocaleChangesNothing) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "es_ES.UTF-8") == nullptr) GTEST_SKIP() << "no es_ES.UTF-8 locale on this machine";
  const std::string grouped = detect::SpanishNumber(2118.971, 3);
  const std::string negative = detect::SpanishNumber(-797.437, 3);
  std::setlocale(LC_ALL, before.c_str());
  EXPECT_EQ(grouped, "2\u202F118,971");
  EXPECT_EQ(negative, "-797,437");
}

TEST(Contents, WhatTheSamplesHold) {
  const std::string samples = std::string(PASARELA_SOURCE_DIR) + "/samples/";
  const detect::Contents alignment = detect::ReadContents(samples + "ejes/variante.eje");
  ASSERT_EQ(alignment.alignments.size(), 1u);
  EXPECT_EQ(alignment.alignments[0].elements, 8);
  EXPECT_EQ(alignment.alignments[0].elementsByKind, (std::map<std::string, long>{{"clotoide", 2}, {"curva", 3}, {"recta", 3}}));
  EXPECT_EQ(detect::SummaryLine(alignment), "8 elementos, 1\u202F660,000 m");

  const detect::Contents landXml = detect::ReadContents(samples + "ejes/variante.xml");
  ASSERT_EQ(landXml.alignments.size(), 1u);
  EXPECT_EQ(landXml.alignments[0].name, "variante");
  EXPECT_EQ(landXml.alignments[0].elements, 8);
  EXPECT_DOUBLE_EQ(landXml.alignments[0].endStation, 1660.0);

  const detect::Contents profile = detect::ReadContents(samples + "rasantes/variante-landxml.xml");
  ASSERT_EQ(profile.profiles.size(), 1u);
  EXPECT_EQ(profile.profiles[0].name, "variante: variante");  // the entry the selection list offers
  EXPECT_EQ(profile.profiles[0].vertices, 4);
  EXPECT_DOUBLE_EQ(profile.profiles[0].endStation, 1660.0);

  const detect::Contents sections = detect::ReadContents(samples + "transversales/tramo-landxml.xml");
  ASSERT_EQ(sections.crossSections.size(), 1u);
  EXPECT_EQ(sections.crossSections[0].name, "variante: terreno");
  EXPECT_EQ(sections.crossSections[0].sections, 3);
  EXPECT_EQ(sections.crossSections[0].points, 27);
  const detect::Contents native = detect::ReadContents(samples + "transversales/tramo.tra");
  EXPECT_EQ(detect::SummaryLine(native), "3 secciones, 27 puntos");

  const detect::Contents surface = detect::ReadContents(samples + "superficies/terreno.xml");
  ASSERT_EQ(surface.surfaces.size(), 1u);
  EXPECT_EQ(surface.surfaces[0].name, "Terreno");
  EXPECT_EQ(surface.surfaces[0].points, 12);

  const detect::Contents drawing = detect::ReadContents(samples + "dxf/levantamiento.dxf");
  std::map<std::string, std::map<std::string, long>> layers;
  for (const detect::LayerSummary& layer : drawing.layers) layers[layer.name] = layer.entities;
  EXPECT_EQ(layers["TERRENO"], (std::map<std::string, long>{{"3DFACE", 1}, {"POINT", 2}}));
  EXPECT_EQ(layers["EJE"], (std::map<std::string, long>{{"POINT", 2}, {"POLYLINE", 1}}));
  EXPECT_TRUE(layers["0"].empty());
  EXPECT_GT(drawing.extents.minX, 400000.0);  // a polyline's placeholder point is no vertex

  const detect::Contents shapefile = detect::ReadContents(samples + "shapefile/levantamiento.shp");
  EXPECT_EQ(shapefile.points, 12);
}

// What `info --json` says the real files hold, against counts made by other readers
// (xml.etree, ezdxf, the shapefile index).
TEST(Contents, InfoAgreesWithIndependentCountsOnTheSharedSamples) {
  struct stat info {};
  if (::stat(SharedSamples().c_str(), &info) != 0) GTEST_SKIP() << "../shared/samples is not beside the repository";
  REQUIRE_PEER_TOOL(std::string(testing_support::kSystemPython) + " -c 'import ezdxf'", "python3-ezdxf");
  std::vector<std::string> files;
  ListFiles(SharedSamples(), SharedSamples(), files);
  std::string arguments;
  int counted = 0;
  for (const std::string& file : files) {
    const std::string extension = common::LowerAscii(file.substr(file.find_last_of('.') + 1));
    if (extension != "xml" && extension != "dxf" && extension != "shp") continue;
    arguments += " '" + file + "'";
    ++counted;
  }
  ASSERT_GT(counted, 5);
  std::string output;
  EXPECT_EQ(testing_support::RunCommand(std::string(testing_support::kSystemPython) + " " + PASARELA_SOURCE_DIR +
                                            "/tests/detect/independent_counts.py " + PASARELA_BINARY_DIR +
                                            "/bin/pasarela-cli" + arguments + " 2>&1",
                                        output),
            0)
      << output;
}

// A file's bytes held in memory are told and read as the file itself: every sample (a
// shapefile aside, whose .shx is another file), a text with CR LF line ends and a last line
// cut short, and a file larger than the part detection looks at.
TEST(Contents, BytesInMemoryReadAsTheirFile) {
  std::vector<std::string> files;
  ListFiles(std::string(PASARELA_SOURCE_DIR) + "/samples", "samples", files);
  ListFiles(std::string(PASARELA_SOURCE_DIR) + "/tests/data", "tests/data", files);
  TempDir dir;
  std::string large;
  for (int i = 0; i < 3000; ++i) {
    large += std::to_string(i * 20) + ".000 " + std::to_string(-10 + i % 21) + ".000 600." + std::to_string(i % 9) +
             " T\r\n";
  }
  files.push_back(Made(dir, "grande.tra", large));
  files.push_back(Made(dir, "cortado.pun", "1 10 20 30 A\r\n2 11 21 31 B\r\n3 12 2"));
  ASSERT_GT(large.size(), 64u * 1024);
  std::size_t shapefiles = 0;
  for (const std::string& file : files) {
    const std::string path = file[0] == '/' ? file : std::string(PASARELA_SOURCE_DIR) + "/" + file;
    SCOPED_TRACE(file);
    const std::string bytes = testing_support::ReadFile(path);
    const detect::Contents onDisk = detect::ReadContents(path);
    const detect::Contents inMemory = detect::ReadContentsInMemory(bytes, path);
    if (onDisk.detection.format == Format::kShapefile) {
      ++shapefiles;
      EXPECT_FALSE(inMemory.read);
      EXPECT_NE(inMemory.error.find("No se puede abrir el shapefile"), std::string::npos) << inMemory.error;
      continue;
    }
    EXPECT_EQ(detect::DescriptionLines(inMemory), detect::DescriptionLines(onDisk));
    EXPECT_EQ(detect::SummaryLine(inMemory), detect::SummaryLine(onDisk));
    EXPECT_EQ(inMemory.read, onDisk.read);
  }
  EXPECT_GT(shapefiles, 0u);
}
