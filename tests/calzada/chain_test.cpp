// A user's chain through files: a foreign listing into the native alignment with libCalzada,
// then on to GTS and LandXML with libViaducto, both loaded as shared libraries.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "support/test_support.h"

using testing_support::DataFile;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

class SharedLibrary {
 public:
  explicit SharedLibrary(const std::string& name)
      : handle_(dlopen((std::string(PASARELA_BINARY_DIR) + "/lib/" + name).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
  ~SharedLibrary() {
    if (handle_ != nullptr) dlclose(handle_);
  }
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }
  template <typename Function>
  Function Get(const char* symbol) const {
    return reinterpret_cast<Function>(dlsym(handle_, symbol));
  }

 private:
  void* handle_;
};

// The kind, turn, radii and length of every element of a LandXML alignment: what the native
// file fixes whatever the decimals of its azimuths.
std::string ElementSkeleton(const std::string& xml) {
  std::string skeleton;
  std::size_t at = 0;
  while ((at = xml.find('<', at)) != std::string::npos) {
    ++at;
    const std::string_view tag(xml.c_str() + at, xml.find('>', at) - at);
    if (tag.rfind("Line ", 0) != 0 && tag.rfind("Curve ", 0) != 0 && tag.rfind("Spiral ", 0) != 0) continue;
    const std::size_t end = std::min({tag.find(" dir"), tag.find(" tan"), tag.find(" chord")});
    skeleton += std::string(tag.substr(0, end)) + "\n";
  }
  return skeleton;
}

using TwoPaths = int32_t (*)(const char*, const char*);
using ThreePaths = int32_t (*)(const char*, const char*, const char*);

}  // namespace

TEST(CalzadaChain, ImportedAlignmentGoesOnToGtsAndLandXml) {
  SharedLibrary calzada("libCalzada.so");
  SharedLibrary viaducto("libViaducto.so");
  ASSERT_TRUE(calzada.Loaded()) << dlerror();
  ASSERT_TRUE(viaducto.Loaded()) << dlerror();
  const auto importInroads = calzada.Get<TwoPaths>("Calzada_Eje_Importa_Inroads");
  const auto importPlt = calzada.Get<TwoPaths>("Calzada_Eje_Importa_ClipPlt");
  const auto toGts = viaducto.Get<ThreePaths>("MyDll_azemta2gts");
  const auto toLandXml = viaducto.Get<TwoPaths>("MyDll_aTerrex2LandXML");
  ASSERT_TRUE(importInroads && importPlt && toGts && toLandXml);

  TempDir dir;
  const std::string settings = std::string(PASARELA_SOURCE_DIR) + "/samples/ejes";
  const std::string original = settings + "/variante.eje";
  ASSERT_EQ(toGts(original.c_str(), dir.File("original.gts").c_str(), settings.c_str()), 1);
  ASSERT_EQ(toLandXml(original.c_str(), dir.File("original.xml").c_str()), 1);

  for (const auto& [import, listing] : {std::pair{importInroads, "inroads/variante-inroads.txt"},
                                        std::pair{importPlt, "clip/variante.plt"}}) {
    SCOPED_TRACE(listing);
    ASSERT_EQ(import(DataFile(listing).c_str(), dir.File("eje.eje").c_str()), 1);
    ASSERT_EQ(toGts(dir.File("eje.eje").c_str(), dir.File("eje.gts").c_str(), settings.c_str()), 1);
    EXPECT_EQ(ReadFile(dir.File("eje.gts")), ReadFile(dir.File("original.gts")));
    ASSERT_EQ(toLandXml(dir.File("eje.eje").c_str(), dir.File("eje.xml").c_str()), 1);
    const std::string skeleton = ElementSkeleton(ReadFile(dir.File("eje.xml")));
    EXPECT_EQ(skeleton, ElementSkeleton(ReadFile(dir.File("original.xml"))));
    EXPECT_NE(skeleton.find("Spiral radiusStart=\"500.000000\" radiusEnd=\"INF\""), std::string::npos) << skeleton;
  }
}

namespace {

// The document without its time of writing.
std::string WithoutTime(std::string xml) {
  const std::size_t at = xml.find(" time=\"");
  if (at != std::string::npos) xml.erase(at, xml.find('"', at + 7) + 1 - at);
  return xml;
}

}  // namespace

TEST(CalzadaChain, ImportedCrossSectionsGoOnToLandXml) {
  SharedLibrary calzada("libCalzada.so");
  SharedLibrary viaducto("libViaducto.so");
  ASSERT_TRUE(calzada.Loaded()) << dlerror();
  ASSERT_TRUE(viaducto.Loaded()) << dlerror();
  const auto toLandXml = viaducto.Get<TwoPaths>("MyDll_traterrex2landxml");
  ASSERT_TRUE(toLandXml);

  TempDir original;
  TempDir imported;
  ASSERT_EQ(toLandXml(DataFile("native/tramo.tra").c_str(), original.File("tramo.xml").c_str()), 1);
  const std::string expected = WithoutTime(ReadFile(original.File("tramo.xml")));
  ASSERT_NE(expected.find("<CrossSect sta=\"1240.000\">"), std::string::npos) << expected;

  for (const auto& [name, listing] : {std::pair{"Calzada_inroads2gts", "inroads/tramo-inroads.soe"},
                                      std::pair{"Calzada_Transver_Importa_Cliptrv", "clip/tramo.trv"}}) {
    SCOPED_TRACE(name);
    const auto import = calzada.Get<TwoPaths>(name);
    ASSERT_TRUE(import);
    ASSERT_EQ(import(DataFile(listing).c_str(), imported.File("tramo.tra").c_str()), 1);
    ASSERT_EQ(toLandXml(imported.File("tramo.tra").c_str(), imported.File("tramo.xml").c_str()), 1);
    EXPECT_EQ(WithoutTime(ReadFile(imported.File("tramo.xml"))), expected);
  }
}
