// The DXF exports: layer list, DXF points to the native file, native points to DXF.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <vector>

#include "planimetro.h"
#include "planimetro/dxf/current_drawing.h"
#include "common/segmented_array.h"
#include "support/test_support.h"

namespace {

using testing_support::CrLf;
using testing_support::DataFile;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// The reasons shown through the library's message hook while `work` runs, each shown with the
// caption of a failed conversion.
template <typename Work>
std::vector<std::string> MessagesOf(Work&& work) {
  static std::vector<std::string> shown;
  shown.clear();
  Planimetro_SetMessageHook([](const char* caption, const char* text) {
    shown.push_back(std::string(caption) == "Error en la conversión" ? text : std::string(caption) + "|" + text);
  });
  work();
  Planimetro_SetMessageHook(nullptr);
  return shown;
}

TEST(DxfLayers, TheLayerTableInTableOrder) {
  TempDir dir;
  const std::string drawing = DataFile("dxf/Leica_Disto_S910.dxf");
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("capas.cap").c_str(), drawing.c_str()), 3);
  EXPECT_EQ(ReadFile(dir.File("capas.cap")), CrLf("LEICA_DISTO_ID\nLEICA_DISTO_3D\nLEICA_DISTO_POINT_ENTITY\n"));
  EXPECT_EQ(planimetro::dxf::CurrentDrawing(), drawing);

  // Padded group codes and subclass markers of a newer drawing.
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("caras.cap").c_str(), DataFile("dxf/3dface.dxf").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("caras.cap")), CrLf("0\n"));
}

TEST(DxfLayers, NoLayerTableOrNoDrawingGivesAnEmptyList) {
  TempDir dir;
  WriteFile(dir.File("sin-tabla.dxf"), "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n");
  WriteFile(dir.File("capas.cap"), "vieja\n");
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("capas.cap").c_str(), dir.File("sin-tabla.dxf").c_str()), 0);
  EXPECT_EQ(ReadFile(dir.File("capas.cap")), "");
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("otra.cap").c_str(), dir.File("no-existe.dxf").c_str()), 0);
  EXPECT_TRUE(testing_support::FileExists(dir.File("otra.cap")));
  EXPECT_EQ(planimetro::dxf::CurrentDrawing(), dir.File("no-existe.dxf"));
  // The layers are still counted when the list cannot be written.
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("no/hay/capas.cap").c_str(), DataFile("dxf/Leica_Disto_S910.dxf").c_str()), 3);
}

TEST(DxfPointImport, EveryPointInFileOrderAsShortLines) {
  TempDir dir;
  const std::string target = dir.File("puntos.pun");
  EXPECT_EQ(Calzada_Puntos_Importa_Dxf(DataFile("dxf/Leica_Disto_S910.dxf").c_str(), target.c_str()), 1);
  const std::string written = ReadFile(target);
  const std::string head = "\r\n1 0.000 0.000 -1.078\r\n2 -0.029 0.001 -1.057\r\n3 -0.048 0.016 -0.288\r\n";
  EXPECT_EQ(written.substr(0, head.size()), head);
  EXPECT_EQ(written.substr(written.size() - 24), "\r\n11 0.761 -0.587 -0.674");
}

TEST(DxfPointImport, OnlyEntityNamesCountAndLowerCaseIsRead) {
  TempDir dir;
  // A text and a layer called "point" are not points; a lower-case entity is.
  WriteFile(dir.File("d.dxf"), "0\nsection\n2\nentities\n0\nTEXT\n8\npoint\n10\n5\n20\n5\n1\nPOINT\n"
                               "0\npoint\n8\n0\n10\n1.25\n20\n-2.5\n30\n3.0006\n0\nendsec\n0\neof\n");
  EXPECT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("d.dxf").c_str(), dir.File("p.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("p.pun")), "\r\n1 1.250 -2.500 3.001");
}

TEST(DxfPointImport, NoPointsOrNoDrawingGiveNoFileAndZero) {
  TempDir dir;
  const std::vector<std::string> reasons = MessagesOf([&] {
    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(DataFile("dxf/POLI-ALL210_12.DXF").c_str(), dir.File("a.pun").c_str()), 0);
    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("no-existe.dxf").c_str(), dir.File("b.pun").c_str()), 0);
    WriteFile(dir.File("puntos.pun"), "1 100 200 30\n");
    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("puntos.pun").c_str(), dir.File("c.pun").c_str()), 0);
    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(DataFile("dxf/Leica_Disto_S910.dxf").c_str(), dir.File("no/b.pun").c_str()), 0);
    EXPECT_EQ(Calzada_Puntos_Importa_Dxf(nullptr, nullptr), 0);
  });
  for (const char* name : {"a.pun", "b.pun", "c.pun", "no"}) EXPECT_FALSE(testing_support::FileExists(dir.File(name)));
  EXPECT_EQ(reasons, (std::vector<std::string>{
                         "El fichero " + DataFile("dxf/POLI-ALL210_12.DXF") + " no contiene ningún punto",
                         "No existe el fichero " + dir.File("no-existe.dxf"),
                         "El fichero " + dir.File("puntos.pun") + " no es un dibujo DXF: parece un fichero de texto",
                         "No se puede escribir el fichero " + dir.File("no/b.pun") + ": la carpeta no existe",
                         "No se ha indicado el fichero de destino",
                     }));
}

const char kPointWithoutCode[] =
    " 0\nPOINT\n 8\nPUNTOS-P\n10\n100.000\n20\n200.000\n30\n30.000\n"
    " 0\nTEXT\n 8\nPUNTOS-Z\n10\n101.000\n20\n199.000\n1\n30.00\n40\n1.000\n50\n0.0\n"
    " 0\nTEXT\n 8\nPUNTOS-N\n10\n101.000\n20\n201.000\n1\n12\n40\n1.000\n50\n0.0\n";

const char kPointWithCode[] =
    " 0\nPOINT\n 8\nARBOL-PUNTOS\n10\n-5.125\n20\n0.500\n30\n712.346\n"
    " 0\nTEXT\n 8\nARBOL-Z\n10\n-4.125\n20\n-0.500\n1\n712.35\n40\n1.000\n50\n0.0\n"
    " 0\nTEXT\n 8\nARBOL-N\n10\n-4.125\n20\n1.500\n1\nP7\n40\n1.000\n50\n0.0\n"
    " 0\nTEXT\n 8\nARBOL-CODIGOS\n10\n-4.125\n20\n-2.000\n1\nARBOL\n40\n1.000\n50\n0.0\n";

TEST(DxfPointExport, ThreeEntitiesWithoutCodeFourWithOne) {
  TempDir dir;
  // Commas separate; the number is written as it stands; a two-word code gives its first word.
  WriteFile(dir.File("p.pun"), CrLf("12,100,200,30\n\n1 2 3\nP7 -5.125 0.5 712.3456 ARBOL GRANDE\n"));
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("p.dxf").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("p.dxf")),
            CrLf(std::string(" 0\nSECTION\n 2\nENTITIES\n") + kPointWithoutCode + kPointWithCode + " 0\nENDSEC\n 0\nEOF\n"));
}

TEST(DxfPointExport, NumbersUseADecimalPointWhateverTheLocale) {
  if (std::setlocale(LC_ALL, "es_ES.UTF-8") == nullptr) GTEST_SKIP() << "sin locale es_ES.UTF-8";
  TempDir dir;
  WriteFile(dir.File("p.pun"), "12 100 200 30\n");
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("p.dxf").c_str()), 1);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(ReadFile(dir.File("p.dxf")),
            CrLf(std::string(" 0\nSECTION\n 2\nENTITIES\n") + kPointWithoutCode + " 0\nENDSEC\n 0\nEOF\n"));
}

TEST(DxfPointExport, UnreadableSourceOrTargetGivesZeroAndNoFile) {
  TempDir dir;
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("no-existe.pun").c_str(), dir.File("a.dxf").c_str()), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("a.dxf")));
  WriteFile(dir.File("p.pun"), "1 1 1 1\n");
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("no/a.dxf").c_str()), 0);
  // A point file without a single point gives no drawing.
  WriteFile(dir.File("vacio.pun"), "\n");
  const std::vector<std::string> reasons = MessagesOf([&] {
    EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("vacio.pun").c_str(), dir.File("v.dxf").c_str()), 0);
  });
  EXPECT_FALSE(testing_support::FileExists(dir.File("v.dxf")));
  EXPECT_EQ(reasons, (std::vector<std::string>{"El fichero " + dir.File("vacio.pun") + " no contiene ningún punto"}));
}

TEST(DxfPointExport, ExportedPointsImportBack) {
  TempDir dir;
  WriteFile(dir.File("p.pun"), "7 10.5 20.25 -3.125 A\n9 1 2 3\n");
  ASSERT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("p.pun").c_str(), dir.File("p.dxf").c_str()), 1);
  ASSERT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("p.dxf").c_str(), dir.File("q.pun").c_str()), 1);
  EXPECT_EQ(ReadFile(dir.File("q.pun")), "\r\n1 10.500 20.250 -3.125\r\n2 1.000 2.000 3.000");
}

std::vector<std::string> shownMessages;
void RecordMessage(const char* caption, const char* text) { shownMessages.push_back(std::string(caption) + "|" + text); }

TEST(ContainerMessages, ABadIndexIsShownThroughTheHookAndReadsABlankRecord) {
  shownMessages.clear();
  Planimetro_SetMessageHook(&RecordMessage);
  planimetro::SegmentedArray<std::string> table;
  table.Append("capa");
  table.At(3) = "escrito en el registro en blanco";
  EXPECT_EQ(table.At(-1), "");
  EXPECT_EQ(table.At(0), "capa");
  planimetro::SegmentedArray<int> edges(planimetro::kElementoNoExiste);
  EXPECT_EQ(edges.At(0), 0);
  Planimetro_SetMessageHook(nullptr);
  EXPECT_EQ(shownMessages, (std::vector<std::string>{"Planimetro|Subíndice invalido", "Planimetro|Subíndice invalido",
                                                     "Planimetro|Elemento no existe"}));
}

}  // namespace

namespace {

TEST(DxfPointImport, BinaryOrTruncatedInputNeverCrashes) {
  testing_support::TempDir dir;
  const std::string drawing = testing_support::ReadFile(testing_support::DataFile("dxf/3dface.dxf"));
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 7919) % 256);
  // Bytes that are no drawing are refused: nothing written but the (empty) layer list.
  testing_support::WriteFile(dir.File("d.dxf"), binary);
  EXPECT_EQ(Calzada_Puntos_Importa_Dxf(dir.File("d.dxf").c_str(), dir.File("p.pun").c_str()), 0);
  EXPECT_EQ(Calzada_getCapasDxf(dir.File("c.cap").c_str(), dir.File("d.dxf").c_str()), 0);
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("d.dxf").c_str(), dir.File("e.dxf").c_str()), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("p.pun")));
  EXPECT_FALSE(testing_support::FileExists(dir.File("e.dxf")));
  EXPECT_EQ(testing_support::ReadFile(dir.File("c.cap")), "");
  // A drawing cut short reads as far as it goes: a result of 0 never leaves a file, and a
  // result of 1 always does.
  testing_support::WriteFile(dir.File("d.dxf"), drawing.substr(0, drawing.size() / 3));
  const int points = Calzada_Puntos_Importa_Dxf(dir.File("d.dxf").c_str(), dir.File("p.pun").c_str());
  EXPECT_EQ(testing_support::FileExists(dir.File("p.pun")), points == 1);
  EXPECT_GE(Calzada_getCapasDxf(dir.File("c.cap").c_str(), dir.File("d.dxf").c_str()), 0);
  EXPECT_EQ(Calzada_Puntos_Exporta_Dxf(dir.File("d.dxf").c_str(), dir.File("e.dxf").c_str()), 0);
  EXPECT_FALSE(testing_support::FileExists(dir.File("e.dxf")));
}

}  // namespace
