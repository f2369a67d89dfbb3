#include "formats/landxml/landxml_points.h"
#include "common/spanish_numbers.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "common/conversion.h"
#include "formats/landxml/landxml_writer.h"
#include "common/numbers.h"
#include "common/outcome.h"
#include "common/paths.h"
#include "formats/native/point_file.h"
#include "common/text_case.h"
#include "common/text_output.h"
#include "common/tokens.h"

namespace planimetro::landxml {
namespace {

using common::LandXmlAttributes;
using common::NameIs;

constexpr std::string_view kSeparators = " \t\r\n";
constexpr std::size_t kLongestCode = 255;

// A whole number written as digits only (blanks around allowed), within 32 bits.
bool WholeNumber(std::string_view text, int32_t& number) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 9) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  number = common::LenientInt(text);
  return true;
}

// A code holds no line end: it would split the point line.
std::string CodeOf(std::string_view text) {
  std::string code(text.substr(0, kLongestCode));
  for (char& c : code) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return code;
}

struct PendingPoint {
  common::NativePoint point;
  std::string name;
  std::string reference;  // pntRef, lower case; empty when the point has its own coordinates
  bool located = false;
};

class PointsHandler : public common::LandXmlHandler {
 public:
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (const double foot = common::FeetInMetres(name, attributes)) feet = foot;
    if (!NameIs(name, "CgPoint")) return;
    PendingPoint pending;
    if (const auto pointName = common::GetAttribute(attributes, "name")) pending.name = std::string(*pointName);
    if (const auto code = common::GetAttribute(attributes, "code")) {
      pending.point.code = CodeOf(*code);
    } else if (const auto desc = common::GetAttribute(attributes, "desc")) {
      pending.point.code = CodeOf(*desc);
    }
    if (const auto reference = common::GetAttribute(attributes, "pntRef")) {
      pending.reference = common::LowerAscii(*reference);
    }
    points_.push_back(std::move(pending));
    text_.clear();
    open_ = true;
  }

  void EndElement(std::string_view name) override {
    if (!open_ || !NameIs(name, "CgPoint")) return;
    open_ = false;
    PendingPoint& pending = points_.back();
    common::Tokenizer tokenizer(text_);
    std::string_view northing, easting, elevation;
    if (tokenizer.Next(kSeparators, northing) && tokenizer.Next(kSeparators, easting)) {
      pending.point.y = common::LenientDouble(northing);
      pending.point.x = common::LenientDouble(easting);
      if (tokenizer.Next(kSeparators, elevation)) pending.point.z = common::LenientDouble(elevation);
      pending.located = true;
      pending.reference.clear();
    }
    text_.clear();
  }

  bool WantsText() const override { return open_; }
  void Characters(std::string_view text) override { text_.append(text); }

  LandXmlPointsImport Finish(common::ParseResult parse) {
    LandXmlPointsImport result;
    result.parse = parse;
    result.feet = feet != 0;
    result.feetInMetres = feet;
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < points_.size(); ++i) {
      if (points_[i].located) byName.emplace(common::LowerAscii(points_[i].name), i);
    }
    int32_t highest = 0;
    for (PendingPoint& pending : points_) {
      if (!pending.located) {
        const auto found = byName.find(pending.reference);
        if (pending.reference.empty() || found == byName.end()) {
          ++result.unresolved;
          continue;
        }
        const common::NativePoint& named = points_[found->second].point;
        pending.point.x = named.x;
        pending.point.y = named.y;
        pending.point.z = named.z;
      }
      int32_t number = 0;
      if (!WholeNumber(pending.name, number)) {
        number = highest < INT32_MAX ? highest + 1 : highest;
        // A name that is no number ("LC-134") is kept as the code of a point without one.
        if (!pending.name.empty()) {
          ++result.renumbered;
          if (pending.point.code.empty()) pending.point.code = CodeOf(pending.name);
        }
      }
      highest = std::max(highest, number);
      pending.point.number = number;
      if (feet != 0) {
        pending.point.x *= feet;
        pending.point.y *= feet;
        pending.point.z *= feet;
      }
      result.points.push_back(std::move(pending.point));
    }
    return result;
  }

  double feet = 0;  // the metres in the document's foot; 0 in a document in metres

 private:
  std::vector<PendingPoint> points_;
  std::string text_;
  bool open_ = false;
};

// The three numbers of a point text, northing first.
std::string PointText(const common::NativePoint& point) {
  char text[128];
  std::snprintf(text, sizeof text, "%0.3lf %0.3lf %0.3lf", point.y, point.x, point.z);
  return text;
}

}  // namespace

LandXmlPointsImport ReadLandXmlPoints(const common::LandXmlSource& source) {
  PointsHandler handler;
  const common::ParseResult parse = source.Parse(handler);
  return handler.Finish(parse);
}

std::string FormatLandXmlPoints(const std::vector<common::NativePoint>& points, const std::string& name,
                                const std::tm* when) {
  common::LandXmlWriter writer;
  if (when != nullptr) writer.SetTimestamp(*when);
  writer.BeginDocument();
  writer.AddText("name", name);
  writer.StartElement("CgPoints");
  for (const common::NativePoint& point : points) {
    writer.AddText("name", std::to_string(point.number));
    writer.AddText("code", point.code);
    writer.StartElement("CgPoint");
    writer.Characters(PointText(point));
    writer.EndElement("CgPoint");
  }
  writer.EndElement("CgPoints");
  return writer.EndDocumentBytes();
}

int ImportLandXmlPoints(const std::string& entrada, const std::string& salida) {
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  if (!common::CheckLandXmlSource(entrada)) return 0;
  const LandXmlPointsImport imported = ReadLandXmlPoints(entrada);
  // A document cut short is refused: the reader has said where it breaks.
  if (imported.parse != common::ParseResult::kComplete) return 0;
  std::string notes;
  if (imported.feet) notes = common::FeetMessage(imported.feetInMetres);
  if (imported.renumbered > 0) {
    notes += (notes.empty() ? "" : "\n") + common::SpanishCount(imported.renumbered) +
             (imported.renumbered == 1 ? " punto cuyo nombre no es un número entero se ha renumerado"
                                       : " puntos cuyo nombre no es un número entero se han renumerado") +
             "; su nombre queda como código donde no tenían otro";
  }
  if (imported.unresolved > 0) {
    char text[160];
    std::snprintf(text, sizeof text, "%ld puntos sin coordenadas que remiten a un punto que no existe no se han importado",
                  imported.unresolved);
    notes += (notes.empty() ? "" : "\n") + std::string(text);
  }
  if (imported.points.empty()) {
    common::RecordNothingToWrite(entrada, "ningún punto");
    return 0;
  }
  common::TextWriter writer;
  common::DegreesCheck degrees;
  for (const common::NativePoint& point : imported.points) {
    common::WriteFullPointLine(writer, point);
    degrees.Add(point.x, point.y);
  }
  if (!writer.SaveTo(salida)) return 0;
  const std::string loss = degrees.Note(false);
  if (!loss.empty()) notes += (notes.empty() ? "" : "\n") + loss;
  // Said once the target is written: a failure's reason must not be hidden behind it.
  if (!notes.empty()) common::ShowApproximation(notes);
  return 1;
}

int ExportLandXmlPoints(const std::string& entrada, const std::string& salida) {
  common::ConversionRule rule;
  rule.source = "un fichero de puntos";
  rule.nothing = "ningún punto";
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, rule, text)) return 0;
  std::vector<common::NativePoint> points;
  common::ForEachPointLine(text, common::PointCodeRule::kRestOfLine,
                           [&](const common::PointLine& line) { points.push_back(common::ToNativePoint(line)); });
  if (!common::RequireSomething(points.empty(), entrada, rule)) return 0;
  for (common::NativePoint& point : points) {
    // The rest of the line after z is the code; its line end is not part of it.
    while (!point.code.empty() && (point.code.back() == '\n' || point.code.back() == '\r')) point.code.pop_back();
  }
  return common::WriteFileBytes(salida, FormatLandXmlPoints(points, common::SplitPath(salida).name)) ? 1 : 0;
}

}  // namespace planimetro::landxml
