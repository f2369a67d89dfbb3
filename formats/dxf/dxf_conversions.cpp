#include "formats/dxf/dxf_conversions.h"
#include "common/spanish_numbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/conversion.h"
#include "common/numbers.h"
#include "formats/landxml/xml_reader.h"
#include "formats/dxf/dxf_point_entities.h"
#include "formats/native/point_file.h"
#include "common/text_input.h"
#include "common/text_output.h"
#include "formats/dxf/dxf_reader.h"
#include "common/segmented_array.h"

namespace planimetro::dxf {

namespace {

constexpr common::ConversionRule kDrawing{"un dibujo DXF", "ningún punto", common::FileKind::kDxf};
constexpr common::ConversionRule kPointFile{"un fichero de puntos", "ningún punto"};

}  // namespace

std::vector<std::string> ParseLayerTable(DxfFile& file) {
  SegmentedArray<std::string> layers;
  if (BuscarTablaCapas(file)) {
    DxfGroup group;
    bool inLayerRecord = false;
    while (LeerGrupoDxf(file, group)) {
      if (group.code == 0) {
        if (IsKeyword(group.value, "ENDTAB")) break;
        inLayerRecord = IsKeyword(group.value, "LAYER");
      } else if (group.code == 2 && inLayerRecord) {
        // The first name of the record is the layer's; a later code 2 is something else.
        layers.Append(std::string(group.value));
        inLayerRecord = false;
      }
    }
  }
  return layers.Records();
}

std::vector<std::string> ParseEntityLayers(DxfFile& file) {
  std::vector<std::string> layers;
  if (!BuscarEntidades(file)) return layers;
  DxfGroup group;
  bool inEntity = false;
  while (LeerGrupoDxf(file, group)) {
    if (group.code == 0) {
      if (IsKeyword(group.value, "ENDSEC")) break;
      inEntity = true;
    } else if (group.code == 8 && inEntity) {
      // The first layer of each entity is its own.
      inEntity = false;
      if (std::find(layers.begin(), layers.end(), group.value) == layers.end()) layers.emplace_back(group.value);
    }
  }
  return layers;
}

int ListDxfLayers(const std::string& layerFile, const std::string& drawing) {
  std::vector<std::string> layers;
  // Read as a stream up to the end of the layer table: a drawing of any size lists its layers
  // with the memory of one chunk.
  DxfFile file;
  if (common::CheckConversionSourceKind(drawing, kDrawing) && file.OpenStreamed(drawing)) {
    layers = ParseLayerTable(file);
    if (!file.failed() && layers.empty()) {
      // A drawing written without a layer table has the layers its entities name.
      DxfFile again;
      if (again.OpenStreamed(drawing)) {
        layers = ParseEntityLayers(again);
        if (again.failed()) layers.clear();
      }
    }
    // A drawing that could not be read is no drawing without layers.
    if (file.failed()) {
      layers.clear();
    } else if (layers.empty() && !common::HasRecordedFailure()) {
      common::RecordNothingToWrite(drawing, "ninguna capa");
    }
  }
  common::TextWriter out;
  for (const std::string& layer : layers) {
    out.Write(layer);
    out.Write("\n");
  }
  // The list is read by the front end whatever the drawing held, so it is no target: a failure
  // leaves it (empty) in place. A list that cannot be written does not change what the drawing
  // holds.
  common::WriteFileReplacing(layerFile, out.Bytes());
  return static_cast<int>(layers.size());
}

namespace {

// What an attribute tag of a survey block says, by its name (letter case ignored).
enum class TagMeaning { kNone, kNumber, kElevation, kCode };

TagMeaning MeaningOf(std::string_view tag) {
  static const char* const kNumber[] = {"NUMERO", "NUM", "NUMBER", "N", "NO", "PUNTO", "PT", "ID"};
  static const char* const kElevation[] = {"COTA", "Z", "ELEV", "ELEVACION", "ELEVATION", "ALTITUD"};
  static const char* const kCode[] = {"CODIGO", "COD", "CODE", "DESC", "DESCRIPCION", "DESCRIPTION"};
  for (const char* name : kNumber) {
    if (IsKeyword(tag, name)) return TagMeaning::kNumber;
  }
  for (const char* name : kElevation) {
    if (IsKeyword(tag, name)) return TagMeaning::kElevation;
  }
  for (const char* name : kCode) {
    if (IsKeyword(tag, name)) return TagMeaning::kCode;
  }
  return TagMeaning::kNone;
}

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return std::string();
  const std::size_t last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// A whole number written alone ("12", "-3"); "P-12" or "12a" is no number.
bool WholeNumber(const std::string& text, int32_t& number) {
  if (text.empty()) return false;
  std::size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (i == text.size() || text.size() - i > 9) return false;
  for (std::size_t k = i; k < text.size(); ++k) {
    if (text[k] < '0' || text[k] > '9') return false;
  }
  number = static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
  return true;
}

// An elevation written with a decimal point or a decimal comma; false when it is no number.
bool Elevation(std::string text, double& value) {
  if (text.find('.') == std::string::npos) {
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) text[comma] = '.';
  }
  char* end = nullptr;
  const double read = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || !std::isfinite(read)) return false;
  value = read;
  return true;
}

// The groups of the entity just named, up to the next entity: its point (10, 20, 30), whether
// it is drawn in paper space (67 = 1) and, for a block reference, whether attributes follow
// (66 = 1).
struct EntityHead {
  DxfVertex at;
  bool haveX = false;
  bool haveY = false;
  bool paperSpace = false;
  bool attributesFollow = false;
};

EntityHead ReadEntityHead(DxfFile& file) {
  EntityHead head;
  DxfGroup group;
  bool atEnd = false;
  bool haveZ = false;
  while (ReadEntityGroup(file, group, atEnd)) {
    if (group.code == 10 && !head.haveX) {
      head.at.x = common::LenientDouble(group.value);
      head.haveX = true;
    } else if (group.code == 20 && head.haveX && !head.haveY) {
      head.at.y = common::LenientDouble(group.value);
      head.haveY = true;
    } else if (group.code == 30 && head.haveY && !haveZ) {
      head.at.z = common::LenientDouble(group.value);
      haveZ = true;
    } else if (group.code == 67) {
      head.paperSpace = common::LenientInt(group.value) == 1;
    } else if (group.code == 66) {
      head.attributesFollow = common::LenientInt(group.value) == 1;
    }
  }
  return head;
}

// The attributes of a block reference, up to its SEQEND: the meaningful ones go into `point`,
// and their tags into `tags`. Whether any tag said something.
bool ReadPointAttributes(DxfFile& file, DxfSurveyPoint& point, std::vector<std::string>& tags) {
  bool meaningful = false;
  DxfGroup group;
  while (LeerGrupoDxf(file, group)) {
    if (group.code != 0) continue;
    if (!IsKeyword(group.value, "ATTRIB")) {
      if (!IsKeyword(group.value, "SEQEND")) file.UnreadGroup();
      break;
    }
    std::string tag;
    std::string value;
    bool atEnd = false;
    while (ReadEntityGroup(file, group, atEnd)) {
      if (group.code == 2) tag = Trimmed(group.value);
      else if (group.code == 1) value = Trimmed(group.value);
    }
    const TagMeaning meaning = MeaningOf(tag);
    bool used = false;
    if (meaning == TagMeaning::kNumber && !point.hasNumber) {
      used = point.hasNumber = WholeNumber(value, point.number);
      if (!used && !value.empty() && point.code.empty()) {
        // A name that is no number ("P-12") is kept as the code when the point has none.
        point.code = value;
        used = true;
      }
    } else if (meaning == TagMeaning::kElevation) {
      used = Elevation(value, point.at.z);
    } else if (meaning == TagMeaning::kCode && !value.empty()) {
      point.code = value;
      used = true;
    }
    if (used) {
      meaningful = true;
      std::string upper = tag;
      for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (std::find(tags.begin(), tags.end(), upper) == tags.end()) tags.push_back(upper);
    }
    if (atEnd) break;
  }
  return meaningful;
}

}  // namespace

DxfSurveyPoints ReadDxfSurveyPoints(DxfFile& file) {
  DxfSurveyPoints read;
  DxfGroup group;
  bool expectSectionName = false;
  bool inBlocks = false;
  while (LeerGrupoDxf(file, group)) {
    if (expectSectionName && group.code == 2) {
      inBlocks = IsKeyword(group.value, "BLOCKS");
      expectSectionName = false;
      continue;
    }
    // Only a group that starts an entity names one: a text or a layer called "POINT" is not
    // a point.
    if (group.code != 0) continue;
    if (IsKeyword(group.value, "SECTION")) {
      expectSectionName = true;
      continue;
    }
    if (IsKeyword(group.value, "ENDSEC")) {
      inBlocks = false;
      continue;
    }
    // The entities of a block definition are drawn wherever the block is inserted, or not at
    // all (the definition points of dimensions): they are no points of the survey.
    if (inBlocks) continue;
    const bool isPoint = IsKeyword(group.value, "POINT");
    if (!isPoint && !IsKeyword(group.value, "INSERT")) continue;
    const EntityHead head = ReadEntityHead(file);
    DxfSurveyPoint point;
    point.at = head.at;
    if (!isPoint) {
      if (!head.attributesFollow) continue;
      std::vector<std::string> tags = read.tags;
      const bool meaningful = ReadPointAttributes(file, point, tags);
      if (!meaningful || head.paperSpace || !head.haveX || !head.haveY) continue;
      read.tags = std::move(tags);
      point.fromBlock = true;
      ++read.fromBlocks;
    } else if (head.paperSpace || !head.haveX || !head.haveY) {
      continue;
    }
    read.points.push_back(std::move(point));
  }
  return read;
}

std::vector<DxfVertex> ParseDxfPoints(std::string_view text) {
  DxfFile file{std::string(text)};
  std::vector<DxfVertex> points;
  for (const DxfSurveyPoint& point : ReadDxfSurveyPoints(file).points) points.push_back(point.at);
  return points;
}

void FormatShortPointFile(const std::vector<DxfVertex>& points, common::TextWriter& out) {
  int32_t number = 0;
  for (const DxfVertex& point : points) common::WriteShortPointLine(out, ++number, point.x, point.y, point.z);
}

void FormatDxfPointFile(const DxfSurveyPoints& read, common::TextWriter& out) {
  int32_t place = 0;
  if (read.fromBlocks == 0) {
    for (const DxfSurveyPoint& point : read.points) {
      common::WriteShortPointLine(out, ++place, point.at.x, point.at.y, point.at.z);
    }
    return;
  }
  for (const DxfSurveyPoint& point : read.points) {
    ++place;
    common::WriteFullPointLine(out, point.hasNumber ? point.number : place, point.at.x, point.at.y, point.at.z,
                               point.code);
  }
}

std::string BlockPointsNote(const DxfSurveyPoints& read) {
  if (read.fromBlocks == 0) return std::string();
  std::string tags;
  for (const std::string& tag : read.tags) tags += (tags.empty() ? "" : ", ") + tag;
  return common::SpanishCount(read.fromBlocks) + (read.fromBlocks == 1 ? " punto se ha leído" : " puntos se han leído") +
         " de bloques con atributos (etiquetas " + tags + "), en el punto de inserción del bloque";
}

int ImportDxfPoints(const std::string& drawing, const std::string& pointFile) {
  if (!common::CheckConversionTarget(drawing, pointFile)) return 0;
  if (!common::CheckConversionSourceKind(drawing, kDrawing)) return 0;
  // The drawing is streamed in one pass; only its points are kept.
  DxfFile file;
  if (!file.OpenStreamed(drawing)) return 0;
  const DxfSurveyPoints read = ReadDxfSurveyPoints(file);
  // A drawing that could not be read to its end is not taken for one with fewer points.
  if (file.failed()) return 0;
  if (!common::RequireSomething(read.points.empty(), drawing, kDrawing)) return 0;
  common::TextWriter out;
  FormatDxfPointFile(read, out);
  if (!out.SaveTo(pointFile)) return 0;
  std::string note = BlockPointsNote(read);
  common::DegreesCheck degrees;
  for (const DxfSurveyPoint& point : read.points) degrees.Add(point.at.x, point.at.y);
  const std::string loss = degrees.Note(false);
  if (!loss.empty()) note += (note.empty() ? "" : "\n") + loss;
  if (!note.empty()) common::ShowApproximation(note);
  return 1;
}

namespace {

// The layer of an entity: the code followed by `suffix`, or the fixed name used without code.
std::string LayerOf(std::string_view code, const char* suffix, const char* withoutCode) {
  if (code.empty()) return withoutCode;
  std::string layer(code);
  layer += suffix;
  return layer;
}

void WritePointEntities(common::TextWriter& out, const common::PointLine& point) {
  common::WriteDxfPoint(out, LayerOf(point.code, "-PUNTOS", "PUNTOS-P"), point.x, point.y, point.z);
  common::WriteDxfLabel(out, LayerOf(point.code, "-Z", "PUNTOS-Z"), point.x + 1, point.y - 1,
                        common::ElevationLabel(point.z));
  common::WriteDxfLabel(out, LayerOf(point.code, "-N", "PUNTOS-N"), point.x + 1, point.y + 1, point.number);
  if (!point.code.empty()) {
    common::WriteDxfLabel(out, LayerOf(point.code, "-CODIGOS", ""), point.x + 1, point.y - 2.5, point.code);
  }
}

}  // namespace

std::vector<common::PointLine> ParsePointLines(std::string_view text) {
  std::vector<common::PointLine> points;
  common::ForEachPointLine(text, common::PointCodeRule::kFirstWord,
                           [&](const common::PointLine& point) { points.push_back(point); });
  return points;
}

void FormatPointDrawing(const std::vector<common::PointLine>& points, common::TextWriter& out) {
  common::WriteDxfEntitiesHead(out);
  for (const common::PointLine& point : points) WritePointEntities(out, point);
  common::WriteDxfEntitiesTail(out);
}

int ExportPointsToDxf(const std::string& pointFile, const std::string& drawing) {
  return common::ConvertFile(pointFile, drawing, kPointFile, ParsePointLines, FormatPointDrawing);
}

}  // namespace planimetro::dxf
