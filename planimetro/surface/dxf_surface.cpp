#include "planimetro/surface/dxf_surface.h"

#include <array>
#include <vector>

#include "common/text_case.h"
#include "planimetro/dxf/dxf_reader.h"
#include "planimetro/surface/surface_model.h"

namespace planimetro::surface {

long ImportDxfSurface(const std::string& drawing, const std::string& layer, const std::string& target) {
  // The corners of the faces on the layer, four per face.
  ListaPuntosSup corners;
  {
    dxf::DxfFile file;
    if (!file.OpenStreamed(drawing)) return 0;
    if (dxf::BuscarEntidades(file)) {
      dxf::DxfGroup group;
      dxf::DxfFace face;
      while (dxf::LeerGrupoDxf(file, group)) {
        if (group.code != 0 || !dxf::IsKeyword(group.value, "3DFACE")) continue;
        if (!dxf::LeerCara3D(file, face) || !common::EqualsIgnoringCase(face.layer, layer)) continue;
        for (const dxf::DxfVertex& corner : face.corners) corners.Anadir(PuntoSup{corner.x, corner.y, corner.z});
      }
    }
    // A drawing that could not be read to its end is not taken for a smaller one.
    if (file.failed()) return 0;
  }
  if (corners.Empty()) return 0;

  ListaPuntosSup cleaned;
  cleaned.Points() = corners.Points();
  cleaned.Depurar(SuperficieTin::kTolerance);

  std::vector<std::array<int32_t, 3>> triangles;
  triangles.reserve(corners.Size() / 4);
  const std::vector<PuntoSup>& all = corners.Points();
  for (std::size_t face = 0; face + 4 <= all.size(); face += 4) {
    std::array<int32_t, 4> found{};
    int distinct = 0;
    bool lost = false;
    for (std::size_t k = 0; k < 4 && !lost; ++k) {
      const long index = cleaned.Buscar(all[face + k].x, all[face + k].y);
      if (index < 0) {
        lost = true;
        break;
      }
      bool seen = false;
      for (int j = 0; j < distinct; ++j) seen = seen || found[static_cast<std::size_t>(j)] == index;
      if (!seen) found[static_cast<std::size_t>(distinct++)] = static_cast<int32_t>(index);
    }
    if (!lost && distinct == 3) triangles.push_back({found[0], found[1], found[2]});
  }
  // The corners are no longer needed while the model is built.
  corners.Points() = std::vector<PuntoSup>();

  SuperficieTin model;
  BuildFromTriangles(model, cleaned.Points(), triangles);
  model.name = target;
  return GuardarSup(model, target);
}

}  // namespace planimetro::surface
