#include "formats/dxf/dxf_reader.h"

#include <cerrno>
#include <cstddef>
#include <utility>

#include "common/numbers.h"
#include "common/outcome.h"

namespace planimetro::dxf {
namespace {

constexpr int kEntityStart = 0;
constexpr int kLayerCode = 8;
constexpr int kNameCode = 2;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }


// Searches for (0, `opener`) followed by (2, `name`) before (0, `closer`).
bool FindNamedBlock(DxfFile& file, std::string_view opener, std::string_view name, std::string_view closer) {
  DxfGroup group;
  bool armed = false;
  while (LeerGrupoDxf(file, group)) {
    if (group.code == kEntityStart && IsKeyword(group.value, opener)) {
      armed = true;
    } else if (armed && group.code == kNameCode && IsKeyword(group.value, name)) {
      return true;
    } else if (group.code == kEntityStart && IsKeyword(group.value, closer)) {
      armed = false;
    }
  }
  return false;
}

}  // namespace

DxfFile::DxfFile(std::string text) : text_(std::move(text)), lines_(std::string_view()) {
  common::NormalizeLineEnds(text_);
  lines_ = common::LineReader(text_);
}

bool DxfFile::Open(const std::string& path) {
  streamed_ = false;
  held_ = false;
  haveLast_ = false;
  if (!common::LoadTextFile(path, text_)) return false;
  lines_ = common::LineReader(text_);
  return true;
}

bool DxfFile::OpenStreamed(const std::string& path) {
  text_.clear();
  lines_ = common::LineReader(text_);
  held_ = false;
  haveLast_ = false;
  streamed_ = true;
  path_ = path;
  failureRecorded_ = false;
  return stream_.Open(path);
}

bool DxfFile::NoteStreamEnd() {
  if (stream_.failed() && !failureRecorded_) {
    common::RecordSourceFailure(path_, EIO);
    failureRecorded_ = true;
  }
  return false;
}

bool ReadEntityGroup(DxfFile& file, DxfGroup& group, bool& atEnd) {
  if (!LeerGrupoDxf(file, group)) {
    atEnd = true;
    return false;
  }
  if (group.code == kEntityStart) {
    file.UnreadGroup();
    return false;
  }
  return true;
}

bool IsKeyword(std::string_view value, std::string_view keyword) {
  if (value.size() != keyword.size()) return false;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (Upper(value[i]) != Upper(keyword[i])) return false;
  }
  return true;
}

bool BuscarTablaCapas(DxfFile& file) { return FindNamedBlock(file, "TABLE", "LAYER", "ENDTAB"); }

bool BuscarEntidades(DxfFile& file) { return FindNamedBlock(file, "SECTION", "ENTITIES", "ENDSEC"); }

bool LeerPunto(DxfFile& file, DxfVertex& point) {
  point = DxfVertex();
  bool haveX = false;
  bool haveY = false;
  bool haveZ = false;
  DxfGroup group;
  bool atEnd = false;
  while (ReadEntityGroup(file, group, atEnd)) {
    if (group.code == 10 && !haveX) {
      point.x = common::LenientDouble(group.value);
      haveX = true;
    } else if (group.code == 20 && haveX && !haveY) {
      point.y = common::LenientDouble(group.value);
      haveY = true;
    } else if (group.code == 30 && haveY && !haveZ) {
      point.z = common::LenientDouble(group.value);
      haveZ = true;
    }
  }
  return haveX && haveY;
}

bool LeerCara3D(DxfFile& file, DxfFace& face) {
  // Emptied in place: the layer keeps its storage from one face to the next.
  face.layer.clear();
  for (DxfVertex& corner : face.corners) corner = DxfVertex();
  bool stored[4][3] = {};
  DxfGroup group;
  bool atEnd = false;
  while (ReadEntityGroup(file, group, atEnd)) {
    if (group.code == kLayerCode) {
      face.layer.assign(group.value.data(), group.value.size());
    } else if (group.code >= 10 && group.code <= 33 && group.code % 10 <= 3) {
      const int corner = group.code % 10;
      const int axis = group.code / 10 - 1;
      const double value = common::LenientDouble(group.value);
      DxfVertex& target = face.corners[corner];
      (axis == 0 ? target.x : axis == 1 ? target.y : target.z) = value;
      stored[corner][axis] = true;
    }
  }
  for (int corner = 0; corner < 3; ++corner) {
    if (!stored[corner][0] || !stored[corner][1] || !stored[corner][2]) return false;
  }
  if (!stored[3][0] && !stored[3][1] && !stored[3][2]) face.corners[3] = face.corners[2];
  return true;
}

bool LeerPolilineaLigera(DxfFile& file, DxfPolyline& polyline) {
  polyline.layer.clear();
  polyline.vertices.clear();
  long declared = -1;
  double third = 0;
  DxfVertex vertex;
  DxfGroup group;
  bool atEnd = false;
  while (declared < 0 || static_cast<long>(polyline.vertices.size()) < declared) {
    if (!ReadEntityGroup(file, group, atEnd)) break;
    switch (group.code) {
      case kLayerCode:
        polyline.layer.assign(group.value.data(), group.value.size());
        break;
      case 90:
        declared = common::LenientInt(group.value);
        if (declared < 0) declared = 0;
        break;
      case 43:
        third = common::LenientDouble(group.value);
        break;
      case 10:
        vertex.x = common::LenientDouble(group.value);
        break;
      case 20:
        vertex.y = common::LenientDouble(group.value);
        vertex.z = third;
        polyline.vertices.push_back(vertex);
        break;
      default:
        break;
    }
  }
  // Running into the end of the file is only right for a polyline that declared nothing.
  return !atEnd || (declared < 0 && polyline.vertices.empty());
}

bool LeerPolilinea(DxfFile& file, DxfPolyline& polyline) {
  polyline.layer.clear();
  polyline.vertices.clear();
  DxfGroup group;
  // The header groups of the polyline itself, up to its first VERTEX.
  while (LeerGrupoDxf(file, group)) {
    if (group.code == kLayerCode) {
      polyline.layer.assign(group.value.data(), group.value.size());
    } else if (group.code == kEntityStart) {
      if (IsKeyword(group.value, "SEQEND")) return true;
      if (!IsKeyword(group.value, "VERTEX")) {
        // A polyline left without SEQEND ends where another entity begins.
        file.UnreadGroup();
        return true;
      }
      DxfVertex vertex;
      int flags = 0;
      bool atEnd = false;
      while (ReadEntityGroup(file, group, atEnd)) {
        if (group.code == 10) vertex.x = common::LenientDouble(group.value);
        else if (group.code == 20) vertex.y = common::LenientDouble(group.value);
        else if (group.code == 30) vertex.z = common::LenientDouble(group.value);
        else if (group.code == 70) flags = common::LenientInt(group.value);
      }
      // In a polyface mesh, a record flagged 128 without 64 lists the corners of a face.
      const bool faceRecord = (flags & 128) != 0 && (flags & 64) == 0;
      if (!faceRecord) polyline.vertices.push_back(vertex);
      if (atEnd) return false;
    }
  }
  return false;
}

}  // namespace planimetro::dxf
