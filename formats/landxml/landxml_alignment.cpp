#include "formats/landxml/landxml_alignment.h"
#include "common/spanish_numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/conversion.h"
#include "common/export_guard.h"
#include "common/outcome.h"
#include "common/geometry.h"
#include "common/message_hook.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/temp_files.h"
#include "common/text_case.h"
#include "common/tokens.h"
#include "viaducto.h"
#include "formats/native/native_alignment_file.h"

namespace viaducto {

using common::AlignmentElement;
using common::Point2;

namespace {

constexpr double kTwoPi = 6.283185307179586;

constexpr char kClothoidFirstMessage[] =
    "El eje no puede empezar con una clotoide con radio inicial distinto de infinito. \nLa importacion no es "
    "correcta";
constexpr char kClothoidAfterStraightMessage[] =
    "Hay una recta antes de una clotoide con radio inicial distinto de infinito. \nLa importacion no es correcta";

// ---- Listing -----------------------------------------------------------------------------------

class AlignmentListHandler : public LandXmlHandler {
 public:
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (!NameIs(name, "Alignment")) return;
    std::string entry;
    if (const auto alignmentName = GetAttribute(attributes, "name")) {
      entry = *alignmentName;
    } else if (!attributes.empty()) {
      entry = attributes.front().value;
    }
    // A line end inside a name would shift every later entry of the list.
    for (char& c : entry) {
      if (c == '\n' || c == '\r') c = ' ';
    }
    entries.push_back(std::move(entry));
  }
  void EndElement(std::string_view) override {}

  std::vector<std::string> entries;
};

// ---- Import ------------------------------------------------------------------------------------

enum PointSlot { kStart = 0, kCenter, kPi, kEnd, kSlotCount };

// One `Line`, `Curve` or `Spiral` while it is read.
struct LandXmlElement {
  int32_t kind = common::kStraight;
  std::optional<double> station;
  std::optional<double> length;
  double radius = 0;       // signed
  bool hasRadius = true;   // a `Curve` may lack it
  std::string spiralType;  // a spiral that is not a clothoid: its `spiType`
  std::optional<double> rotation;  // -1 for "ccw", 1 for "cw"; none without `rot`
  std::optional<double> dir;       // `dir` of a line, as written
  bool directionPending = false;   // a line too short to give its own direction
  double radiusStart = 0;  // spirals: 0 is infinite
  double radiusEnd = 0;
  Point2 points[kSlotCount];
  bool given[kSlotCount] = {false, false, false, false};
  double azimuth = 0;
  double endAzimuth = 0;
};

double Distance(const Point2& a, const Point2& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// Direction of a radius in radians, clockwise from north, in [0, 2 pi).
double RadiusDirection(const Point2& center, const Point2& p) {
  double angle = std::atan2(p.x - center.x, p.y - center.y);
  if (angle < 0) angle += kTwoPi;
  return angle;
}

// A radius of a spiral end: "INF", a value of 1e20 or more (some programs write 5.9e300 for
// infinite) or no value at all is infinite, kept as 0.
double SpiralRadius(std::optional<double> value) {
  if (!value || !std::isfinite(*value) || std::fabs(*value) >= 1e20) return 0.0;
  return std::fabs(*value);
}

// The smaller angle between the radii to a and b, in radians, [0, pi].
double AngleBetweenRadii(const Point2& center, const Point2& a, const Point2& b) {
  double turn = std::fabs(RadiusDirection(center, b) - RadiusDirection(center, a));
  if (turn > kTwoPi / 2.0) turn = kTwoPi - turn;
  return turn;
}

// The centre of an arc given without one: on the side it turns to, at its radius from both
// ends; beyond the chord from it when the arc is longer than half a circle.
Point2 CenterFromChord(const Point2& start, const Point2& end, double radius, std::optional<double> length) {
  const double halfChord = Distance(start, end) / 2.0;
  const double rise = std::sqrt(std::max(0.0, radius * radius - halfChord * halfChord));
  const bool major = length && *length > std::fabs(radius) * kTwoPi / 2.0;
  const bool right = (radius > 0) != major;
  const Point2 middle{(start.x + end.x) / 2.0, (start.y + end.y) / 2.0};
  return common::PointAlong(middle, rise, common::AzimuthBetween(start, end) + (right ? 100.0 : -100.0));
}

int RadiusSign(double radius) {
  if (std::fabs(radius) < 0.0001) return 0;
  return radius > 0 ? 1 : -1;
}

// The clothoid parameter from the radii at both ends (0 meaning infinite) and the length.
double ClothoidParameter(double radiusStart, double radiusEnd, double length) {
  const double r1 = std::fabs(radiusStart);
  const double r2 = std::fabs(radiusEnd);
  double g;
  if (r1 == 0) {
    g = length * r2;
  } else if (r2 == 0) {
    g = r1 * length;
  } else {
    const double rMin = std::min(r1, r2);
    const double rMax = std::max(r1, r2);
    // Equal radii make no clothoid; take the parameter of one leading into that radius.
    g = rMin == rMax ? length * r2 : std::fabs(rMax * length / (rMin - rMax)) * rMin;
  }
  return g > 0 && std::isfinite(g) ? std::sqrt(g) : 0.0;
}

class AlignmentImportHandler : public LandXmlHandler {
 public:
  explicit AlignmentImportHandler(int selec) : selec_(selec) {}

  // Reads every alignment of the document, each as the one selected would be read, and says
  // nothing through the message hook (a summary reads them, not an import).
  static AlignmentImportHandler Every() {
    AlignmentImportHandler handler(-1);
    handler.every_ = true;
    return handler;
  }

  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (NameIs(name, "Metric") || NameIs(name, "Imperial")) {
      if (const double foot = common::FeetInMetres(name, attributes)) feet_ = foot;
      if (const auto unit = GetAttribute(attributes, "directionUnit")) directionUnit_ = common::LowerAscii(*unit);
      return;
    }
    if (NameIs(name, "Alignment")) {
      ++alignmentIndex_;
      active_ = every_ || alignmentIndex_ == selec_;
      if (every_) BeginAlignment();
      if (active_) {
        staStart_ = GetNumber(attributes, "staStart").value_or(0.0);
        alignmentLength_ = GetNumber(attributes, "length");
      }
      return;
    }
    if (!active_) return;
    if (NameIs(name, "Line")) {
      BeginElement(common::kStraight, attributes);
      current_->dir = GetNumber(attributes, "dir");
    } else if (NameIs(name, "StaEquation")) {
      equations_.push_back(GetNumber(attributes, "staAhead"));
    } else if (NameIs(name, "Curve")) {
      BeginElement(common::kArc, attributes);
      const std::optional<double> radius = GetNumber(attributes, "radius");
      current_->hasRadius = radius.has_value();
      current_->radius = std::fabs(radius.value_or(0.0)) * RotationSign(attributes);
      current_->rotation = Rotation(attributes);
    } else if (NameIs(name, "Spiral")) {
      BeginElement(common::kClothoid, attributes);
      current_->radiusStart = SpiralRadius(GetNumber(attributes, "radiusStart"));
      current_->radiusEnd = SpiralRadius(GetNumber(attributes, "radiusEnd"));
      current_->radius = current_->radiusEnd * RotationSign(attributes);
      const std::optional<std::string_view> type = GetAttribute(attributes, "spiType");
      if (type && !NameIs(*type, "clothoid")) current_->spiralType = std::string(*type);
      if (current_->radiusStart != 0) CheckClothoidStart();
    } else if (current_) {
      for (int slot = 0; slot < kSlotCount; ++slot) {
        if (NameIs(name, kSlotNames[slot])) collecting_ = slot;
      }
    }
  }

  void EndElement(std::string_view name) override {
    if (!active_) {
      if (NameIs(name, "Alignment")) collecting_ = -1;
      return;
    }
    if (collecting_ >= 0 && NameIs(name, kSlotNames[collecting_])) {
      collecting_ = -1;
    } else if (current_ && (NameIs(name, "Line") || NameIs(name, "Curve") || NameIs(name, "Spiral"))) {
      FinishElement();
    } else if (NameIs(name, "Alignment")) {
      active_ = false;
      if (every_) imports_.push_back(Finish(ParseResult::kComplete));
    }
  }

  // Every alignment read, once the document has been: one cut short by an error is finished
  // with what was read of it.
  std::vector<LandXmlAlignmentImport> FinishEvery(ParseResult parse) {
    if (active_) imports_.push_back(Finish(parse));
    active_ = false;
    for (LandXmlAlignmentImport& imported : imports_) {
      if (parse != ParseResult::kComplete) imported.parse = parse;
      imported.alignments = alignmentIndex_ + 1;
    }
    return std::move(imports_);
  }

  bool WantsText() const override { return collecting_ >= 0; }

  // A point holds the northing first, then the easting (a third number, the elevation, is
  // not used).
  void Characters(std::string_view text) override {
    if (collecting_ < 0 || !current_) return;
    common::Tokenizer tokenizer(text);
    std::string_view northing;
    std::string_view easting;
    if (!tokenizer.Next(" \t\r\n", northing)) return;
    tokenizer.Next(" \t\r\n", easting);
    Point2& point = current_->points[collecting_];
    point.y = common::LenientDouble(northing);
    point.x = common::LenientDouble(easting);
    current_->given[collecting_] = true;
  }

  LandXmlAlignmentImport Finish(ParseResult parse) {
    LandXmlAlignmentImport result;
    result.parse = parse;
    result.clothoidsSound = sound_;
    result.alignments = alignmentIndex_ + 1;
    if (feet_ != 0) result.notes.push_back(common::FeetMessage(feet_));
    if (elements_.empty()) return result;
    ResolveEndStation();
    ResolveSpiralLengths();
    ResolveShortLineDirections();

    std::vector<AlignmentElement>& out = result.elements;
    out.reserve(elements_.size() + 1);
    for (const LandXmlElement& e : elements_) {
      AlignmentElement record;
      record.kind = e.kind;
      record.station = e.station.value_or(kNoStation);
      record.x = e.points[kStart].x;
      record.y = e.points[kStart].y;
      record.azimuth = e.azimuth;
      record.radius = e.radius;
      record.length = e.length.value_or(0.0);
      if (e.kind == common::kClothoid) record.parameter = ClothoidParameter(e.radiusStart, e.radiusEnd, record.length);
      out.push_back(record);
    }
    const LandXmlElement& last = elements_.back();
    const double endStation = endStation_ ? *endStation_ : out.back().station + out.back().length;
    if (std::fabs(endStation - out.back().station) > 0.0001) {
      AlignmentElement end;
      end.station = endStation;
      const Point2 endPoint = last.given[kEnd] ? last.points[kEnd] : last.points[kStart];
      end.x = endPoint.x;
      end.y = endPoint.y;
      end.azimuth = last.endAzimuth;
      out.push_back(end);
    }
    out[0].station = staStart_;
    for (std::size_t i = 0; i + 1 < out.size(); ++i) out[i + 1].station = out[i].station + out[i].length;
    if (feet_ != 0) {
      // Every length in metres: stations, coordinates, lengths, radii and parameters.
      for (AlignmentElement& record : out) {
        record.station *= feet_;
        record.x *= feet_;
        record.y *= feet_;
        record.length *= feet_;
        record.radius *= feet_;
        record.parameter *= feet_;
      }
    }
    AddNotes(out, result.notes);
    return result;
  }

 private:
  static constexpr const char* kSlotNames[kSlotCount] = {"Start", "Center", "PI", "End"};
  static constexpr double kNoStation = -987654.0;

  static std::optional<double> Rotation(const LandXmlAttributes& attributes) {
    const std::optional<std::string_view> rot = GetAttribute(attributes, "rot");
    if (!rot) return std::nullopt;
    return NameIs(*rot, "ccw") ? -1.0 : 1.0;
  }

  // 1 for a turn to the right (clockwise) from start to end about the centre, -1 to the left.
  static double TurnSign(const Point2& center, const Point2& start, const Point2& end) {
    const double cross = (start.x - center.x) * (end.y - center.y) - (start.y - center.y) * (end.x - center.x);
    return cross > 0 ? -1.0 : 1.0;
  }

  // The alignment's `length` is its length, so the end lies at `staStart` + `length`; files
  // written by earlier versions of the export carry the end station there instead. The one
  // nearer the sum of the element lengths is taken.
  void ResolveEndStation() {
    if (!alignmentLength_) return;
    double sum = staStart_;
    for (const LandXmlElement& e : elements_) sum += e.length.value_or(0.0);
    const double asLength = staStart_ + *alignmentLength_;
    const double asEnd = *alignmentLength_;
    endStation_ = std::fabs(asEnd - sum) < std::fabs(asLength - sum) ? asEnd : asLength;
  }

  // A direction `dir` in grads clockwise from north, by the way this file writes directions:
  // learnt from its longer lines, whose ends give their direction. None when no longer line
  // tells the way.
  std::optional<double> DirectionFromDir(double dir) const {
    double factor = 1.0;
    if (directionUnit_.find("degree") != std::string::npos) {
      factor = 400.0 / 360.0;
    } else if (directionUnit_.find("radian") != std::string::npos) {
      factor = 200.0 / M_PI;
    } else if (directionUnit_.find("dd.mm.ss") != std::string::npos) {
      factor = 0;  // sexagesimal: converted below
    }
    const auto toGrads = [&](double value) {
      if (factor != 0) return value * factor;
      const double degrees = std::trunc(value);
      const double minutes = std::trunc((value - degrees) * 100.0 + 1e-9);
      const double seconds = ((value - degrees) * 100.0 - minutes) * 100.0;
      return (degrees + minutes / 60.0 + seconds / 3600.0) * 400.0 / 360.0;
    };
    // Clockwise from north, counter-clockwise from east, counter-clockwise from north.
    const auto convert = [&](int way, double value) {
      const double grads = toGrads(value);
      return common::NormalizeGrads(way == 0 ? grads : way == 1 ? 100.0 - grads : 400.0 - grads);
    };
    for (int way = 0; way < 3; ++way) {
      if (directionSamples_.empty()) break;
      bool fits = true;
      for (const auto& [sampleDir, azimuth] : directionSamples_) {
        double difference = std::fabs(convert(way, sampleDir) - azimuth);
        difference = std::min(difference, 400.0 - difference);
        if (difference > 0.01) fits = false;
      }
      if (fits) return convert(way, dir);
    }
    return std::nullopt;
  }

  // A line shorter than the coincident-point tolerance has no direction of its own: its `dir`
  // when the file's way of writing directions is known, else the direction the next element
  // starts with (or the one the previous ends with).
  void ResolveShortLineDirections() {
    for (std::size_t i = elements_.size(); i-- > 0;) {
      LandXmlElement& e = elements_[i];
      if (!e.directionPending) continue;
      std::optional<double> direction;
      if (e.dir) direction = DirectionFromDir(*e.dir);
      if (!direction && i + 1 < elements_.size()) direction = elements_[i + 1].azimuth;
      if (!direction && i > 0) direction = elements_[i - 1].endAzimuth;
      if (direction) e.azimuth = e.endAzimuth = *direction;
    }
  }

  // What the native file cannot hold, element by element at its imported station.
  void AddNotes(const std::vector<AlignmentElement>& out, std::vector<std::string>& notes) const {
    char text[256];
    for (std::size_t i = 0; i < elements_.size(); ++i) {
      const LandXmlElement& e = elements_[i];
      if (e.kind != common::kClothoid) continue;
      if (!e.spiralType.empty()) {
        std::snprintf(text, sizeof text, "espiral de tipo \"%s\" en el p.k. %0.3lf: importada como clotoide",
                      e.spiralType.substr(0, 64).c_str(), out[i].station);
        notes.emplace_back(text);
      }
      if (e.radiusStart != 0 && e.radiusEnd != 0) {
        std::snprintf(text, sizeof text,
                      "clotoide entre dos radios en el p.k. %0.3lf (de %0.3lf a %0.3lf m): se guarda con su "
                      "parámetro %0.3lf y el radio final",
                      out[i].station, e.radiusStart, e.radiusEnd, out[i].parameter);
        notes.emplace_back(text);
      }
    }
    for (const std::optional<double>& ahead : equations_) {
      if (ahead) {
        std::snprintf(text, sizeof text, "ecuación de p.k. (adelante %0.3lf) no conservada: los p.k. siguen la longitud del eje",
                      *ahead);
      } else {
        std::snprintf(text, sizeof text, "ecuación de p.k. no conservada: los p.k. siguen la longitud del eje");
      }
      notes.emplace_back(text);
    }
  }

  static double RotationSign(const LandXmlAttributes& attributes) {
    const std::optional<std::string_view> rot = GetAttribute(attributes, "rot");
    return rot && NameIs(*rot, "ccw") ? -1.0 : 1.0;
  }

  void BeginElement(int32_t kind, const LandXmlAttributes& attributes) {
    current_.emplace();
    current_->kind = kind;
    current_->station = GetNumber(attributes, "staStart");
    current_->length = GetNumber(attributes, "length");
    collecting_ = -1;
  }

  // A clothoid that starts on a finite radius must follow an arc.
  void CheckClothoidStart() {
    if (elements_.empty()) {
      if (!every_) common::ShowMessage("Error", kClothoidFirstMessage);
      sound_ = false;
    } else if (elements_.back().kind == common::kStraight) {
      if (!every_) common::ShowMessage("Error", kClothoidAfterStraightMessage);
      sound_ = false;
    }
  }

  // What one alignment's reading gathers starts anew at each alignment of the document.
  void BeginAlignment() {
    alignmentLength_.reset();
    endStation_.reset();
    directionSamples_.clear();
    equations_.clear();
    elements_.clear();
    current_.reset();
    collecting_ = -1;
    sound_ = true;
  }

  void FinishElement() {
    LandXmlElement& e = *current_;
    const Point2& start = e.points[kStart];
    const Point2& end = e.points[kEnd];
    if (e.kind == common::kArc && e.given[kCenter] && (!e.hasRadius || !e.rotation)) {
      // The turn follows `rot`, or, without it, the side of the chord the centre lies on.
      const double sign = e.rotation ? *e.rotation : TurnSign(e.points[kCenter], start, end);
      if (!e.hasRadius) {
        // Without a radius the curve is measured on its centre, the short way round unless
        // its `length` says otherwise.
        e.radius = Distance(e.points[kCenter], start) * sign;
        if (!e.length) e.length = std::fabs(e.radius) * AngleBetweenRadii(e.points[kCenter], start, end);
      } else {
        e.radius = std::fabs(e.radius) * sign;
      }
    } else if (e.kind == common::kArc && !e.hasRadius) {
      // Without radius and centre the curve is taken as its chord.
      e.kind = common::kStraight;
      e.radius = 0;
    }
    if (e.kind == common::kArc && !e.given[kCenter]) {
      e.points[kCenter] = CenterFromChord(start, end, e.radius, e.length);
      e.given[kCenter] = true;
    }

    switch (e.kind) {
      case common::kStraight:
        e.azimuth = common::AzimuthBetween(start, end);
        if (!e.length) e.length = Distance(start, end);
        e.endAzimuth = e.azimuth;
        if (common::PointsCoincide(start, end)) {
          e.directionPending = true;
        } else if (e.dir && directionSamples_.size() < 8) {
          directionSamples_.push_back({*e.dir, e.azimuth});
        }
        break;
      case common::kArc: {
        const Point2& center = e.points[kCenter];
        const int s = RadiusSign(e.radius);
        e.azimuth = common::NormalizeGrads(common::AzimuthBetween(center, start) + 100.0 * s);
        if (!e.length) {
          double turn = s >= 0 ? RadiusDirection(center, end) - RadiusDirection(center, start)
                               : RadiusDirection(center, start) - RadiusDirection(center, end);
          if (turn < 0) turn += kTwoPi;
          e.length = std::fabs(e.radius) * turn;
        }
        e.endAzimuth = common::NormalizeGrads(common::AzimuthBetween(center, end) + 100.0 * s);
        break;
      }
      default:
        if (e.given[kPi]) {
          e.azimuth = common::AzimuthBetween(start, e.points[kPi]);
          e.endAzimuth = common::AzimuthBetween(e.points[kPi], end);
        } else {
          // Without its tangent point a spiral continues the element before it.
          e.azimuth = elements_.empty() ? common::AzimuthBetween(start, end) : elements_.back().endAzimuth;
          e.endAzimuth = common::AzimuthBetween(start, end);
        }
        break;
    }
    elements_.push_back(e);
    current_.reset();
    collecting_ = -1;
  }

  // A spiral without `length` spans to the station of the element after it, or, failing
  // that, its chord.
  void ResolveSpiralLengths() {
    for (std::size_t i = 0; i < elements_.size(); ++i) {
      LandXmlElement& e = elements_[i];
      if (e.length) continue;
      std::optional<double> nextStation;
      if (i + 1 < elements_.size()) {
        nextStation = elements_[i + 1].station;
      } else if (endStation_) {
        nextStation = endStation_;
      }
      if (e.station && nextStation && *nextStation > *e.station) {
        e.length = *nextStation - *e.station;
      } else {
        e.length = Distance(e.points[kStart], e.points[kEnd]);
      }
    }
  }

  int selec_;
  bool every_ = false;
  std::vector<LandXmlAlignmentImport> imports_;  // every alignment read, when reading them all
  int alignmentIndex_ = -1;
  bool active_ = false;
  double staStart_ = 0;
  std::optional<double> alignmentLength_;
  std::optional<double> endStation_;
  double feet_ = 0;  // the metres in the document's foot; 0 in a document in metres
  std::string directionUnit_;
  std::vector<std::pair<double, double>> directionSamples_;  // `dir` and direction of longer lines
  std::vector<std::optional<double>> equations_;             // `staAhead` of station equations
  std::vector<LandXmlElement> elements_;
  std::optional<LandXmlElement> current_;
  int collecting_ = -1;
  bool sound_ = true;
};

// ---- Export ------------------------------------------------------------------------------------

Point2 PointOf(const AlignmentElement& e) { return Point2{e.x, e.y}; }

void WritePoint(LandXmlWriter& writer, const char* name, const Point2& p) {
  // A coordinate that rounds to zero is written without a sign.
  const auto unsignedZero = [](double v) { return std::fabs(v) < 0.0000005 ? 0.0 : v; };
  char text[128];
  std::snprintf(text, sizeof text, "%0.6lf %0.6lf", unsignedZero(p.y), unsignedZero(p.x));
  writer.StartElement(name);
  writer.Characters(text);
  writer.EndElement(name);
}

// Where the lines from a and b in the given directions meet (each drawn 1000 m long).
std::optional<Point2> MeetingPoint(const Point2& a, double azimuthA, const Point2& b, double azimuthB) {
  return common::TangentIntersection(a, common::PointAlong(a, 1000.0, azimuthA), b,
                                     common::PointAlong(b, 1000.0, azimuthB));
}

struct ClothoidTangents {
  double tanLong = 0;
  double tanShort = 0;
  bool finite = false;
};

ClothoidTangents TangentsOf(double length, double parameter, double radius) {
  ClothoidTangents result;
  const double tau = (length == 0 || parameter == 0) ? 0.0 : length * length / (2.0 * parameter * parameter);
  if (tau == 0 || radius == 0) return result;
  const double l = parameter * std::sqrt(2.0 * tau);
  const double t2 = tau * tau;
  const double x = l * (1 - t2 / 10 + t2 * t2 / 216 - t2 * t2 * t2 / 9360 + t2 * t2 * t2 * t2 / 685440 -
                        t2 * t2 * t2 * t2 * t2 / 7620480);
  const double y = l * (tau / 3 - tau * t2 / 42 + tau * t2 * t2 / 1320 - tau * t2 * t2 * t2 / 75600 +
                        tau * t2 * t2 * t2 * t2 / 6894720);
  result.tanShort = y / std::sin(tau);
  result.tanLong = x - result.tanShort * std::cos(tau);
  result.finite = std::isfinite(result.tanShort) && std::isfinite(result.tanLong);
  return result;
}

}  // namespace

std::vector<std::string> ListLandXmlAlignments(const common::LandXmlSource& source) {
  AlignmentListHandler handler;
  source.Parse(handler);
  return handler.entries;
}

LandXmlAlignmentImport ImportLandXmlAlignment(const common::LandXmlSource& source, int selec) {
  AlignmentImportHandler handler(selec);
  const ParseResult parse = source.Parse(handler);
  return handler.Finish(parse);
}

namespace {

// The `StaEquation` elements of one alignment.
class StationEquationHandler : public LandXmlHandler {
 public:
  explicit StationEquationHandler(int selec) : selec_(selec) {}
  void StartElement(std::string_view name, const LandXmlAttributes& attributes) override {
    if (NameIs(name, "Alignment")) {
      ++index_;
      return;
    }
    if (index_ != selec_ || !NameIs(name, "StaEquation")) return;
    const std::optional<double> internal = GetNumber(attributes, "staInternal");
    const std::optional<double> ahead = GetNumber(attributes, "staAhead");
    if (!internal || !ahead) return;
    equations.push_back({*internal, *ahead, GetNumber(attributes, "staBack")});
  }
  void EndElement(std::string_view) override {}

  std::vector<LandXmlStationEquation> equations;

 private:
  int selec_;
  int index_ = -1;
};

}  // namespace

std::vector<LandXmlStationEquation> ReadLandXmlStationEquations(const common::LandXmlSource& source,
                                                                int alignmentIndex) {
  StationEquationHandler handler(alignmentIndex);
  source.Parse(handler);
  return handler.equations;
}

struct LandXmlAlignmentsReader::Reading {
  AlignmentImportHandler handler = AlignmentImportHandler::Every();
};

LandXmlAlignmentsReader::LandXmlAlignmentsReader() : reading_(std::make_unique<Reading>()) {}
LandXmlAlignmentsReader::~LandXmlAlignmentsReader() = default;

void LandXmlAlignmentsReader::StartElement(std::string_view name, const LandXmlAttributes& attributes) {
  reading_->handler.StartElement(name, attributes);
}
void LandXmlAlignmentsReader::EndElement(std::string_view name) { reading_->handler.EndElement(name); }
void LandXmlAlignmentsReader::Characters(std::string_view text) { reading_->handler.Characters(text); }
bool LandXmlAlignmentsReader::WantsText() const { return reading_->handler.WantsText(); }

std::vector<LandXmlAlignmentImport> LandXmlAlignmentsReader::Finish(ParseResult parse) {
  return reading_->handler.FinishEvery(parse);
}

std::vector<LandXmlAlignmentImport> ImportLandXmlAlignments(const common::LandXmlSource& source) {
  LandXmlAlignmentsReader reader;
  const ParseResult parse = source.Parse(reader);
  return reader.Finish(parse);
}

void FormatImportedAlignment(const std::vector<AlignmentElement>& elements, common::TextWriter& writer) {
  for (const AlignmentElement& e : elements) {
    writer.Printf("%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\t%0.8lf\n", e.station, e.x, e.y, e.azimuth, e.parameter,
                  e.radius);
  }
}

bool FormatLandXmlAlignmentAsNative(const std::string& entrada, int selec, LandXmlAlignmentImport& imported,
                                    common::TextWriter& native) {
  imported = ImportLandXmlAlignment(entrada, selec);
  if (imported.parse == ParseResult::kCannotOpen) return false;
  if (imported.elements.empty()) {
    if (imported.alignments == 0) {
      common::RecordNothingToWrite(entrada, "ningún eje");
    } else if (selec >= imported.alignments) {
      common::RecordFailure("El fichero " + entrada + " no contiene el eje número " + common::SpanishCount(selec + 1) +
                            ": tiene " + common::SpanishCount(imported.alignments));
    } else {
      common::RecordFailure("El eje número " + common::SpanishCount(selec + 1) + " del fichero " + entrada +
                            " no tiene ningún elemento");
    }
    return false;
  }
  FormatImportedAlignment(imported.elements, native);
  return true;
}

int ImportLandXmlAlignmentToNative(const std::string& entrada, int selec, const std::string& salida) {
  LandXmlAlignmentImport imported;
  common::TextWriter writer;
  if (!FormatLandXmlAlignmentAsNative(entrada, selec, imported, writer)) return 0;
  // A document cut short is refused (the reader has said where it breaks), never said to be
  // approximated.
  if (imported.parse != ParseResult::kComplete) return 0;
  if (!writer.SaveTo(salida)) return 0;
  // Said once the target is written: a failure's reason must not be hidden behind it.
  ShowImportNotes(imported.notes);
  return imported.clothoidsSound ? 1 : 0;
}

void WriteLandXmlAlignment(std::vector<AlignmentElement> e, const std::string& name, LandXmlWriter& writer) {
  const std::size_t n = e.size();
  if (n == 0) return;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    e[i].kind = common::KindFromValues(e[i].parameter, e[i].radius);
    if (e[i].length == 0) e[i].length = e[i + 1].station - e[i].station;
  }
  e[n - 1].kind = common::KindFromValues(e[n - 1].parameter, e[n - 1].radius);

  writer.StartElement("Alignments");
  writer.AddText("name", name);
  writer.AddNumber("staStart", e[0].station, 3);
  writer.AddNumber("length", e[n - 1].station - e[0].station, 3);
  writer.StartElement("Alignment");
  writer.StartElement("CoordGeom");
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Point2 start = PointOf(e[i]);
    const Point2 end = PointOf(e[i + 1]);
    const std::optional<Point2> pi = MeetingPoint(start, e[i].azimuth, end, e[i + 1].azimuth);
    if (e[i].kind == common::kStraight) {
      writer.AddNumber("length", e[i].length, 6);
      writer.AddNumber("dir", e[i].azimuth, 8);
      writer.StartElement("Line");
      WritePoint(writer, "Start", start);
      WritePoint(writer, "End", end);
      writer.EndElement("Line");
    } else if (e[i].kind == common::kArc) {
      writer.AddText("rot", e[i].radius > 0 ? "cw" : "ccw");
      writer.AddNumber("radius", std::fabs(e[i].radius), 6);
      writer.AddNumber("length", e[i].length, 6);
      writer.AddText("crvType", "arc");
      writer.AddNumber("chord", Distance(start, end), 8);
      writer.AddNumber("dirStart", e[i].azimuth, 8);
      writer.AddNumber("dirEnd", e[i + 1].azimuth, 8);
      writer.StartElement("Curve");
      WritePoint(writer, "Start", start);
      const std::optional<Point2> center =
          MeetingPoint(start, common::NormalizeGrads(e[i].azimuth + 100.0), end,
                       common::NormalizeGrads(e[i + 1].azimuth + 100.0));
      if (center) WritePoint(writer, "Center", *center);
      WritePoint(writer, "End", end);
      if (pi) WritePoint(writer, "PI", *pi);
      writer.EndElement("Curve");
    } else {
      // An exit clothoid (radius 0) leaves the radius of the element before it.
      const bool entry = e[i].radius != 0;
      const double radius = entry ? e[i].radius : (i > 0 ? e[i - 1].radius : 0.0);
      if (entry) {
        writer.AddText("radiusStart", "INF");
        writer.AddNumber("radiusEnd", std::fabs(radius), 6);
      } else {
        writer.AddNumber("radiusStart", std::fabs(radius), 6);
        writer.AddText("radiusEnd", "INF");
      }
      writer.AddText("rot", radius > 0 ? "cw" : "ccw");
      writer.AddText("spiType", "clothoid");
      writer.AddNumber("length", e[i].length, 6);
      const ClothoidTangents tangents = TangentsOf(e[i].length, e[i].parameter, radius);
      if (tangents.finite) {
        writer.AddNumber("tanLong", tangents.tanLong, 8);
        writer.AddNumber("tanShort", tangents.tanShort, 8);
      }
      writer.StartElement("Spiral");
      WritePoint(writer, "Start", start);
      WritePoint(writer, "End", end);
      if (pi) WritePoint(writer, "PI", *pi);
      writer.EndElement("Spiral");
    }
  }
  writer.EndElement("CoordGeom");
  writer.EndElement("Alignment");
  writer.EndElement("Alignments");
}

namespace {

int ExportWith(const std::string& entrada, const std::string& salida, LandXmlWriter& writer) {
  common::ConversionRule rule;
  rule.source = "un fichero de ejes";
  rule.nothing = "ningún eje";
  if (!common::CheckConversionTarget(entrada, salida)) return 0;
  std::string text;
  if (!common::LoadConversionSource(entrada, rule, text)) return 0;
  NativeAlignment alignment = ParseNativeAlignment(text, kLandXmlExportReader);
  if (!common::RequireSomething(alignment.elements.empty(), entrada, rule)) return 0;
  writer.BeginDocument();
  WriteLandXmlAlignment(std::move(alignment.elements), common::SplitPath(salida).name, writer);
  return writer.EndDocument(salida) ? 1 : 0;
}

}  // namespace

int ExportNativeToLandXml(const std::string& entrada, const std::string& salida) {
  LandXmlWriter writer;
  return ExportWith(entrada, salida, writer);
}

int ExportNativeToLandXml(const std::string& entrada, const std::string& salida, const std::tm& when) {
  LandXmlWriter writer;
  writer.SetTimestamp(when);
  return ExportWith(entrada, salida, writer);
}

}  // namespace viaducto
