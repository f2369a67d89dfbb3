#include "formats/dxf/dxf_point_entities.h"

#include <cstdio>

#include "common/export_guard.h"

namespace common {

void WriteDxfEntitiesHead(TextWriter& out) { out.Write(" 0\nSECTION\n 2\nENTITIES\n"); }

void WriteDxfPoint(TextWriter& out, std::string_view layer, double x, double y, double z) {
  out.Printf(" 0\nPOINT\n 8\n%.*s\n10\n%0.3lf\n20\n%0.3lf\n30\n%0.3lf\n", static_cast<int>(layer.size()), layer.data(),
             x, y, z);
}

void WriteDxfLabel(TextWriter& out, std::string_view layer, double x, double y, std::string_view text) {
  out.Printf(" 0\nTEXT\n 8\n%.*s\n10\n%0.3lf\n20\n%0.3lf\n1\n%.*s\n40\n1.000\n50\n0.0\n", static_cast<int>(layer.size()),
             layer.data(), x, y, static_cast<int>(text.size()), text.data());
}

std::string ElevationLabel(double z) {
  CLocaleScope cLocale;
  char text[400];  // the widest double printed with two decimals fits
  const int size = std::snprintf(text, sizeof text, "%0.2lf", z);
  return std::string(text, size > 0 ? static_cast<std::size_t>(size) : 0);
}

void WriteDxfEntitiesTail(TextWriter& out) { out.Write(" 0\nENDSEC\n 0\nEOF\n"); }

}  // namespace common
