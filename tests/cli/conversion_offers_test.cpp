// What `info` offers for a file is what `convert` does with it: the export of the LandXML
// export commands follows the source's format, a LandXML document or a drawing offers only the
// conversions whose data it holds, --all is accepted by every conversion, and a folder's files
// of other kinds are left out of a batch.
#include <gtest/gtest.h>

#include <string>

#include "cli/cli_outcome.h"
#include "support/test_support.h"

namespace {

using cli_testing::Cli;
using cli_testing::Outcome;
using testing_support::DataFile;
using testing_support::FileExists;
using testing_support::Quoted;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

const std::string kSamples = std::string(PASARELA_SOURCE_DIR) + "/samples/";

std::string Copy(const TempDir& dir, const std::string& sample, const std::string& name) {
  WriteFile(dir.File(name), ReadFile(kSamples + sample));
  return dir.File(name);
}

// The "Se convierte con" lines of `info`.
std::string Offers(const TempDir& dir, const std::string& file) {
  const Outcome info = Cli(dir, "info " + Quoted(file));
  std::string offers;
  for (std::size_t at = info.out.find("Se convierte con: "); at != std::string::npos;
       at = info.out.find("Se convierte con: ", at + 1)) {
    offers += info.out.substr(at + 18, info.out.find('\n', at) - at - 18) + "\n";
  }
  return offers;
}

}  // namespace

TEST(ConversionOffers, TheLandXmlExportFollowsTheSourceFormat) {
  TempDir dir;
  // A Clip TRV listing (the menu's pattern for it is .rep) and the MxRoad CROSS SECTIONS listing.
  const std::string trv = Copy(dir, "transversales/clip.trv", "x.trv");
  EXPECT_NE(Offers(dir, trv).find("transverLandXML (a landxml)\n"), std::string::npos);
  const Outcome fromTrv = Cli(dir, "convert " + Quoted(trv) + " --to landxml -d " + Quoted(dir.path()));
  ASSERT_EQ(fromTrv.status, 0) << fromTrv.err;
  EXPECT_NE(fromTrv.out.find(dir.File("x.xml") + ": 3 secciones, 27 puntos\n"), std::string::npos) << fromTrv.out;

  const std::string mxroad = Copy(dir, "transversales/mxroad.txt", "mxroad.txt");
  EXPECT_EQ(Offers(dir, mxroad), "importarTransverMXRoad (a tra)\ntransverLandXML (a landxml)\n");
  const Outcome toLandXml = Cli(dir, "convert " + Quoted(mxroad) + " -o " + Quoted(dir.File("m.xml")));
  ASSERT_EQ(toLandXml.status, 0) << toLandXml.err;
  EXPECT_NE(toLandXml.out.find(": 3 secciones, 27 puntos\n"), std::string::npos) << toLandXml.out;
  // To the native sections: three sections of nine points, as the LandXML export reads them
  // (the same file the block listing of those sections gives).
  const Outcome toTra = Cli(dir, "convert " + Quoted(mxroad) + " -o " + Quoted(dir.File("m.tra")));
  ASSERT_EQ(toTra.status, 0) << toTra.err;
  EXPECT_EQ(toTra.out, dir.File("m.tra") + ": 3 secciones, 27 puntos\n");
  EXPECT_EQ(ReadFile(dir.File("m.tra")), ReadFile(DataFile("mxroad/tramo-mos.tra")));

  // MxRoad's other two listings are other formats: the numbered points under "P.K." lines only
  // Calzada reads (the LandXML export wrote one section of every point from it), and the string
  // listing of an alignment only Viaducto reads, into the GTS road file.
  const std::string numbered = Copy(dir, "calzada/tramo-mxroad.txt", "numerados.txt");
  EXPECT_EQ(Offers(dir, numbered), "importarTransverMXRoad (a tra)\n");
  const Outcome numberedToLandXml = Cli(dir, "convert " + Quoted(numbered) + " -o " + Quoted(dir.File("n.xml")));
  EXPECT_EQ(numberedToLandXml.status, 1);
  EXPECT_FALSE(FileExists(dir.File("n.xml")));
  const std::string string = Copy(dir, "ejes/variante-mxroad.txt", "cadena.txt");
  EXPECT_EQ(Offers(dir, string), "ejeIFC (a ifc)\nMyDll_amxroad2gts (a gts)\n");
  const Outcome stringToEje = Cli(dir, "convert " + Quoted(string) + " -o " + Quoted(dir.File("c.eje")));
  EXPECT_EQ(stringToEje.status, 1);
  const Outcome stringToGts = Cli(dir, "convert " + Quoted(string) + " -o " + Quoted(dir.File("c.gts")));
  ASSERT_EQ(stringToGts.status, 0) << stringToGts.err;
  EXPECT_EQ(ReadFile(dir.File("c.gts")).substr(0, 6), "START ");

  // An HTrazado alignment (.res, a pattern the menu gives the Ispol reader) gets its own reader.
  const std::string htrazado = Copy(dir, "ejes/variante-htrazado.res", "h.res");
  const Outcome fromRes = Cli(dir, "convert " + Quoted(htrazado) + " -o " + Quoted(dir.File("h.xml")));
  ASSERT_EQ(fromRes.status, 0) << fromRes.err;
  EXPECT_EQ(fromRes.out, dir.File("h.xml") + ": 1 eje\n");
  // The menu command keeps its choice by extension.
  const Outcome run = Cli(dir, "run transverLandXML " + Quoted(trv) + " " + Quoted(dir.File("r.xml")));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no tiene una extensión que se pueda convertir a LandXML"), std::string::npos) << run.err;
}

TEST(ConversionOffers, ADocumentOffersOnlyWhatItHolds) {
  TempDir dir;
  EXPECT_EQ(Offers(dir, kSamples + "superficies/terreno.xml"), "importarSuperficieLandXML (a sup)\n");
  EXPECT_EQ(Offers(dir, kSamples + "ejes/variante.xml"), "importarEjeLandXML (a eje)\nejeIFC (a ifc)\n");
  EXPECT_EQ(Offers(dir, kSamples + "rasantes/variante-landxml.xml"), "importarRasanteLandXML (a ras)\n");
  EXPECT_EQ(Offers(dir, kSamples + "puntos/levantamiento.xml"), "importarPuntosLandXML (a pun)\n");
  EXPECT_EQ(Offers(dir, kSamples + "transversales/tramo-landxml.xml"), "importarTransversalesLandXML (a tra)\n");
  // Sections given point by point, on an alignment without geometry.
  EXPECT_EQ(Offers(dir, kSamples + "transversales/tramo-inroads-landxml.xml"),
            "importarTransversalesInroadsLandXML (a tra-inroads)\n");
  // A drawing: points, and 3D faces for a surface.
  EXPECT_EQ(Offers(dir, kSamples + "dxf/levantamiento.dxf"),
            "importarDXF (a pun)\nimportarSuperficieCaras3D (a sup)\n");
  EXPECT_EQ(Offers(dir, kSamples + "superficies/terreno-caras.dxf"), "importarSuperficieCaras3D (a sup)\n");
  // A document with nothing of one kind: the conversion says what it lacks; where no
  // conversion of the format makes the target, the refusal names what the document holds.
  const Outcome points = Cli(dir, "convert " + Quoted(kSamples + "superficies/terreno.xml") + " -d " +
                                      Quoted(dir.path()) + " --to pun");
  EXPECT_EQ(points.status, 1);
  EXPECT_NE(points.err.find("no contiene ningún punto"), std::string::npos) << points.err;
  EXPECT_FALSE(FileExists(dir.File("terreno.pun")));
  const Outcome gts = Cli(dir, "convert " + Quoted(kSamples + "superficies/terreno.xml") + " -d " +
                                   Quoted(dir.path()) + " --to gts");
  EXPECT_EQ(gts.status, 1);
  EXPECT_NE(gts.err.find("no se convierte a gts; se puede convertir a: sup\n"), std::string::npos) << gts.err;
}

TEST(ConversionOffers, AllIsAcceptedByEveryConversion) {
  TempDir dir;
  const std::string drawing = Copy(dir, "dxf/levantamiento.dxf", "levantamiento.dxf");
  const Outcome points = Cli(dir, "convert " + Quoted(drawing) + " -d " + Quoted(dir.path()) + " --to pun --all");
  ASSERT_EQ(points.status, 0) << points.err;
  EXPECT_EQ(points.out, dir.File("levantamiento.pun") + ": 6 puntos\n");
  // Of a drawing's layers, --all takes those that hold 3D faces.
  const Outcome surfaces = Cli(dir, "convert " + Quoted(drawing) + " -d " + Quoted(dir.path()) + " --to sup --all");
  ASSERT_EQ(surfaces.status, 0) << surfaces.err;
  EXPECT_EQ(surfaces.out, dir.File("levantamiento_TERRENO.sup") + ": 1 triángulo\n");
  // The layer table names layers in another letter case than the faces do, and lists layers
  // without faces: only the two with faces are converted, and all is well.
  std::string table = "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nLAYER\n";
  for (const char* name : {"0", "Terreno", "Cotas", "Bordes", "Textos"}) table += "  0\nLAYER\n  2\n" + std::string(name) + "\n";
  const std::string face = " 10\n0\n 20\n0\n 30\n1\n 11\n10\n 21\n0\n 31\n2\n 12\n10\n 22\n10\n 32\n3\n 13\n0\n 23\n10\n 33\n4\n";
  WriteFile(dir.File("capas.dxf"), table + "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" +
                                       "  0\n3DFACE\n  8\nTERRENO\n" + face + "  0\n3DFACE\n  8\nbordes\n" + face +
                                       "  0\nTEXT\n  8\nTextos\n 10\n0\n 20\n0\n  1\nA\n  0\nENDSEC\n  0\nEOF\n");
  const Outcome layers = Cli(dir, "convert " + Quoted(dir.File("capas.dxf")) + " -d " + Quoted(dir.path()) + " --to sup --all");
  ASSERT_EQ(layers.status, 0) << layers.err;
  EXPECT_EQ(layers.out, dir.File("capas_Terreno.sup") + ": 2 triángulos\n" + dir.File("capas_Bordes.sup") + ": 2 triángulos\n");
  // A drawing whose layers hold no face at all is no surface.
  WriteFile(dir.File("sin.dxf"), table + "  0\nENDTAB\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n" +
                                     "  0\nTEXT\n  8\nTextos\n 10\n0\n 20\n0\n  1\nA\n  0\nENDSEC\n  0\nEOF\n");
  const Outcome none = Cli(dir, "convert " + Quoted(dir.File("sin.dxf")) + " -d " + Quoted(dir.path()) + " --to sup --all");
  EXPECT_EQ(none.status, 1);
  EXPECT_NE(none.err.find("no se convierte a sup"), std::string::npos) << none.err;
  // A batch mixing conversions with and without a list.
  const std::string alignments = Copy(dir, "ejes/variante.xml", "variante.xml");
  const std::string listing = Copy(dir, "calzada/variante-plroad.txt", "plroad.txt");
  const Outcome mixed = Cli(dir, "convert " + Quoted(alignments) + " " + Quoted(listing) + " -d " + Quoted(dir.path()) +
                                     " --to eje --all");
  ASSERT_EQ(mixed.status, 0) << mixed.err;
  EXPECT_TRUE(FileExists(dir.File("variante_variante.eje")));
  EXPECT_TRUE(FileExists(dir.File("plroad.eje")));
}

TEST(ConversionOffers, AFoldersFilesOfOtherKindsAreLeft) {
  TempDir out;
  // README's example: the folder holds listings that convert to LandXML only, a field book,
  // sections given point by point and native sections.
  const Outcome folder = Cli(out, "convert " + Quoted(kSamples + "transversales") + " -d " + Quoted(out.path()) + " --to tra");
  EXPECT_EQ(folder.status, 0) << folder.err;
  EXPECT_NE(folder.out.find(out.File("mxroad.tra") + ": 3 secciones, 27 puntos\n"), std::string::npos) << folder.out;
  EXPECT_NE(folder.out.find(out.File("clip.tra") + ": 3 secciones, 27 puntos\n"), std::string::npos) << folder.out;
  EXPECT_NE(folder.err.find("istram.txt (Transversales Istram) no se convierte a tra; se puede convertir a: landxml (se omite)"),
            std::string::npos)
      << folder.err;
  EXPECT_NE(folder.err.find("tramo-inroads-landxml.xml (LandXML) no se convierte a tra; se puede convertir a: tra-inroads"),
            std::string::npos)
      << folder.err;
  // Named by itself, the same file is a failure; so is a file of no known format in a folder.
  TempDir dir;
  const Outcome named = Cli(dir, "convert " + Quoted(kSamples + "transversales/istram.txt") + " -d " +
                                     Quoted(dir.path()) + " --to tra");
  EXPECT_EQ(named.status, 1);
  EXPECT_EQ(named.err.find("se omite"), std::string::npos) << named.err;
}
