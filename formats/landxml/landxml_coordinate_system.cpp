#include "formats/landxml/landxml_coordinate_system.h"

namespace viaducto {
namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return std::string();
  return std::string(text.substr(start, text.find_last_not_of(" \t\r\n") - start + 1));
}

class CoordinateSystemHandler : public common::LandXmlHandler {
 public:
  explicit CoordinateSystemHandler(LandXmlCoordinateSystem& system) : system_(system) {}
  void StartElement(std::string_view name, const common::LandXmlAttributes& attributes) override {
    TakeCoordinateSystem(name, attributes, system_);
  }
  void EndElement(std::string_view) override {}

 private:
  LandXmlCoordinateSystem& system_;
};

}  // namespace

void TakeCoordinateSystem(std::string_view name, const common::LandXmlAttributes& attributes,
                          LandXmlCoordinateSystem& into) {
  if (into.seen || !common::NameIs(name, "CoordinateSystem")) return;
  into.seen = true;
  const auto text = [&](std::string_view attribute) {
    const auto value = common::GetAttribute(attributes, attribute);
    return value ? Trimmed(*value) : std::string();
  };
  into.epsgCode = text("epsgCode");
  into.ogcWkt = text("ogcWktCode");
  into.name = text("name");
}

LandXmlCoordinateSystem ReadLandXmlCoordinateSystem(const common::LandXmlSource& source) {
  LandXmlCoordinateSystem system;
  CoordinateSystemHandler handler(system);
  source.Parse(handler);
  return system;
}

}  // namespace viaducto
