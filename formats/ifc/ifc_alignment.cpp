#include "formats/ifc/ifc_alignment.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>

#include "common/geometry.h"
#include "formats/ifc/ifc_geometry.h"

namespace ifc {
namespace {

constexpr double kPi = 3.14159265358979323846;

double DirectionOfAzimuth(double azimuth) {
  double d = (100.0 - azimuth) * common::kRadiansPerGrad;
  d = std::fmod(d, 2 * kPi);
  if (d < 0) d += 2 * kPi;
  return d;
}

double AzimuthOfDirection(double direction) { return common::NormalizeGrads(100.0 - direction * common::kGradsPerRadian); }

double RadiusOf(double curvature) { return curvature == 0 ? 0.0 : 1.0 / curvature; }
double CurvatureOf(double radius) { return radius == 0 ? 0.0 : 1.0 / radius; }

// Two curvatures that differ by less than this share of the larger are one.
bool SameCurvature(double a, double b) { return std::fabs(a - b) <= 1e-4 * std::max(std::fabs(a), std::fabs(b)) + 1e-12; }

}  // namespace

PlanePose EndOfSegment(const HorizontalSegment& segment) {
  PlanePose start{segment.x, segment.y, segment.direction};
  return EndOfCurve(start, CurvatureOf(segment.startRadius), CurvatureOf(segment.endRadius), segment.length);
}

// ---- Records ------------------------------------------------------------------------------------

AlignmentLayouts LayoutsFromRecords(std::string name, const std::vector<common::AlignmentElement>& elements,
                                    const common::Profile* profile) {
  AlignmentLayouts layouts;
  layouts.name = std::move(name);
  if (elements.empty()) return layouts;
  layouts.startStation = elements[0].station;
  double previousEnd = 0;  // curvature where the element before ends, + left
  for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
    const common::AlignmentElement& e = elements[i];
    HorizontalSegment segment;
    segment.x = e.x;
    segment.y = e.y;
    segment.direction = DirectionOfAzimuth(e.azimuth);
    segment.length = elements[i + 1].station - e.station;
    if (segment.length < 0) segment.length = 0;
    const int32_t kind = common::KindFromValues(e.parameter, e.radius);
    double k1 = 0, k2 = 0;
    if (kind == common::kArc) {
      segment.type = HorizontalType::kCircularArc;
      k1 = k2 = -1.0 / e.radius;
    } else if (kind == common::kClothoid) {
      segment.type = HorizontalType::kClothoid;
      const double rate = segment.length / (e.parameter * e.parameter);  // change of curvature over the element
      k2 = e.radius != 0 ? -1.0 / e.radius : 0.0;
      const double a = k2 - rate, b = k2 + rate;
      k1 = std::fabs(a - previousEnd) <= std::fabs(b - previousEnd) ? a : b;
      // A start that continues the element before within rounding is that element's end.
      if (SameCurvature(k1, previousEnd) || std::fabs(k1 - previousEnd) < 1e-4 * std::fabs(k2)) k1 = previousEnd;
    }
    segment.startRadius = RadiusOf(k1);
    segment.endRadius = RadiusOf(k2);
    previousEnd = k2;
    layouts.horizontal.push_back(segment);
  }
  const common::AlignmentElement& last = elements.back();
  HorizontalSegment end;
  end.x = last.x;
  end.y = last.y;
  end.direction = DirectionOfAzimuth(last.azimuth);
  layouts.horizontal.push_back(end);

  if (profile != nullptr && profile->size() >= 2) {
    const common::Profile& p = *profile;
    const double origin = layouts.startStation;
    std::vector<double> grades;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
      const double run = p[i + 1].station - p[i].station;
      grades.push_back(run != 0 ? (p[i + 1].elevation - p[i].elevation) / run : 0.0);
    }
    double cursor = p[0].station;
    double height = p[0].elevation;
    const auto straight = [&](double to, double grade) {
      if (to - cursor <= 1e-9) return;
      VerticalSegment v;
      v.startDistAlong = cursor - origin;
      v.length = to - cursor;
      v.startHeight = height;
      v.startGradient = v.endGradient = grade;
      layouts.vertical.push_back(v);
      height += grade * (to - cursor);
      cursor = to;
    };
    for (std::size_t i = 1; i + 1 < p.size(); ++i) {
      const double t = p[i].tangent;
      const double g0 = grades[i - 1], g1 = grades[i];
      if (t <= 0 || g0 == g1) {
        // A vertex without a curve ends one grade and starts the next.
        straight(p[i].station, g0);
        height = p[i].elevation;
        continue;
      }
      straight(p[i].station - t, g0);
      VerticalSegment v;
      v.type = VerticalType::kParabolicArc;
      v.startDistAlong = p[i].station - t - origin;
      v.length = 2 * t;
      v.startHeight = p[i].elevation - g0 * t;
      v.startGradient = g0;
      v.endGradient = g1;
      v.radius = v.length / (g1 - g0);
      layouts.vertical.push_back(v);
      cursor = p[i].station + t;
      height = p[i].elevation + g1 * t;
    }
    straight(p.back().station, grades.back());
    VerticalSegment end;
    end.startDistAlong = p.back().station - origin;
    end.startHeight = p.back().elevation;
    end.startGradient = end.endGradient = grades.back();
    layouts.vertical.push_back(end);
  }
  return layouts;
}

std::vector<common::AlignmentElement> RecordsFromLayouts(const AlignmentLayouts& layouts) {
  std::vector<common::AlignmentElement> out;
  const std::vector<HorizontalSegment>& h = layouts.horizontal;
  if (h.empty()) return out;
  double station = layouts.startStation;
  const bool closed = h.back().length == 0;
  const std::size_t count = closed ? h.size() - 1 : h.size();
  for (std::size_t i = 0; i < count; ++i) {
    const HorizontalSegment& s = h[i];
    common::AlignmentElement e;
    e.station = station;
    e.x = s.x;
    e.y = s.y;
    e.azimuth = AzimuthOfDirection(s.direction);
    e.length = s.length;
    const double k1 = CurvatureOf(s.startRadius), k2 = CurvatureOf(s.endRadius);
    if (s.type == HorizontalType::kCircularArc && k1 != 0) {
      e.kind = common::kArc;
      e.radius = -1.0 / k1;
    } else if (s.type == HorizontalType::kClothoid && k1 != k2 && s.length > 0) {
      e.kind = common::kClothoid;
      e.parameter = std::sqrt(s.length / std::fabs(k2 - k1));
      e.radius = k2 != 0 ? -1.0 / k2 : 0.0;
    }
    out.push_back(e);
    station += s.length;
  }
  common::AlignmentElement end;
  end.station = station;
  if (closed) {
    end.x = h.back().x;
    end.y = h.back().y;
    end.azimuth = AzimuthOfDirection(h.back().direction);
  } else {
    const PlanePose pose = EndOfSegment(h.back());
    end.x = pose.x;
    end.y = pose.y;
    end.azimuth = AzimuthOfDirection(pose.direction);
  }
  out.push_back(end);
  return out;
}

common::Profile ProfileFromLayouts(const AlignmentLayouts& layouts) {
  common::Profile profile;
  std::vector<VerticalSegment> v;
  for (const VerticalSegment& s : layouts.vertical) {
    if (s.length > 0) v.push_back(s);
  }
  if (v.empty()) return profile;
  const double origin = layouts.startStation;
  std::vector<bool> circular;
  const auto add = [&](double station, double elevation, double tangent, bool circle) {
    common::ProfileVertex vertex;
    vertex.station = station;
    vertex.elevation = elevation;
    vertex.tangent = tangent;
    profile.push_back(vertex);
    circular.push_back(circle);
  };
  add(v[0].startDistAlong + origin, v[0].startHeight, 0, false);
  for (std::size_t i = 0; i < v.size(); ++i) {
    const VerticalSegment& s = v[i];
    const double s0 = s.startDistAlong + origin;
    const double s1 = s0 + s.length;
    if (s.type == VerticalType::kConstantGradient) {
      // Two grades that meet without a curve meet at a vertex.
      if (i + 1 < v.size() && v[i + 1].type == VerticalType::kConstantGradient) {
        add(s1, s.startHeight + s.startGradient * s.length, 0, false);
      }
      continue;
    }
    // The vertex where the tangents at both ends meet.
    double station = s0 + s.length / 2;
    double elevation = s.startHeight + s.startGradient * s.length / 2;
    if (s.type == VerticalType::kCircularArc && s.startGradient != s.endGradient) {
      // The circle's end height from the angles of its gradients.
      const double r = s.radius;
      const double t0 = std::atan(s.startGradient), t1 = std::atan(s.endGradient);
      const double endHeight = s.startHeight + r * (std::cos(t0) - std::cos(t1));
      station = s0 + (endHeight - s.startHeight - s.endGradient * s.length) / (s.startGradient - s.endGradient);
      elevation = s.startHeight + s.startGradient * (station - s0);
    }
    add(station, elevation, s.length / 2, s.type == VerticalType::kCircularArc);
  }
  const VerticalSegment& last = v.back();
  double endHeight = last.startHeight + 0.5 * (last.startGradient + last.endGradient) * last.length;
  if (last.type == VerticalType::kCircularArc && last.radius != 0) {
    endHeight = last.startHeight + last.radius * (std::cos(std::atan(last.startGradient)) - std::cos(std::atan(last.endGradient)));
  }
  add(last.startDistAlong + origin + last.length, endHeight, 0, false);
  for (std::size_t i = 1; i + 1 < profile.size(); ++i) {
    common::CurveCompletion how;
    how.circular = circular[i];
    how.first = i;
    how.end = i + 1;
    common::CompleteCurves(profile, how);
  }
  return profile;
}

// ---- Writing ------------------------------------------------------------------------------------

namespace {

// Identifiers that are the same on every run for the same content, so that files compare.
class GlobalIds {
 public:
  std::string Next() {
    static const char kChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
    uint64_t a = Mix(++counter_ * 2), b = Mix(counter_ * 2 + 1);
    std::string id(22, '0');
    id[0] = kChars[a & 3];
    a >>= 2;
    for (int i = 1; i < 22; ++i) {
      uint64_t& source = i < 11 ? a : b;
      id[static_cast<std::size_t>(i)] = kChars[source & 63];
      source >>= 6;
    }
    return "'" + id + "'";
  }

 private:
  static uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
  }
  uint64_t counter_ = 0;
};

std::string R(double v) { return StepReal(v); }
std::string Length(double v) { return "IFCLENGTHMEASURE(" + R(v) + ")"; }

const char* HorizontalName(HorizontalType t) {
  switch (t) {
    case HorizontalType::kCircularArc: return ".CIRCULARARC.";
    case HorizontalType::kClothoid: return ".CLOTHOID.";
    default: return ".LINE.";
  }
}

const char* VerticalName(VerticalType t) {
  switch (t) {
    case VerticalType::kParabolicArc: return ".PARABOLICARC.";
    case VerticalType::kCircularArc: return ".CIRCULARARC.";
    default: return ".CONSTANTGRADIENT.";
  }
}

class FileBuilder {
 public:
  explicit FileBuilder(const WriteOptions& options)
      : options_(options), w_(options.fileName, options.timeStamp, "Pasarela") {}

  std::string Build(const std::vector<AlignmentLayouts>& alignments) {
    Frame();
    std::vector<uint32_t> ids;
    for (const AlignmentLayouts& a : alignments) ids.push_back(Alignment(a));
    std::string list;
    for (uint32_t id : ids) list += (list.empty() ? "" : ",") + W::Ref(id);
    if (!ids.empty()) w_.Add("IFCRELAGGREGATES", guid_.Next() + "," + oh_ + ",$,$," + project_ + ",(" + list + ")");
    return w_.Finish();
  }

 private:
  using W = StepWriter;

  std::string Add(std::string_view type, const std::string& args) { return W::Ref(w_.Add(type, args)); }

  void Frame() {
    const std::string person = Add("IFCPERSON", "$,$,'',$,$,$,$,$");
    const std::string organization = Add("IFCORGANIZATION", "$,'Pasarela',$,$,$");
    const std::string both = Add("IFCPERSONANDORGANIZATION", person + "," + organization + ",$");
    const std::string application = Add("IFCAPPLICATION", organization + ",'1.0','Pasarela','Pasarela'");
    oh_ = Add("IFCOWNERHISTORY",
              both + "," + application + ",$,.ADDED.,$,$,$," + std::to_string(options_.unixTime));
    const std::string metre = Add("IFCSIUNIT", "*,.LENGTHUNIT.,$,.METRE.");
    const std::string radian = Add("IFCSIUNIT", "*,.PLANEANGLEUNIT.,$,.RADIAN.");
    const std::string units = Add("IFCUNITASSIGNMENT", "(" + metre + "," + radian + ")");
    origin3_ = Add("IFCCARTESIANPOINT", "(0.,0.,0.)");
    origin2_ = Add("IFCCARTESIANPOINT", "(0.,0.)");
    xAxis2_ = Add("IFCDIRECTION", "(1.,0.)");
    const std::string world = Add("IFCAXIS2PLACEMENT3D", origin3_ + ",$,$");
    const std::string north = Add("IFCDIRECTION", "(0.,1.)");
    const std::string context = Add("IFCGEOMETRICREPRESENTATIONCONTEXT", "$,'Model',3,1.E-5," + world + "," + north);
    axis_ = Add("IFCGEOMETRICREPRESENTATIONSUBCONTEXT", "'Axis','Model',*,*,*,*," + context + ",$,.MODEL_VIEW.,$");
    project_ = Add("IFCPROJECT", guid_.Next() + "," + oh_ + ",'Proyecto',$,$,$,$,(" + context + ")," + units);
    identity2_ = Add("IFCAXIS2PLACEMENT2D", origin2_ + "," + xAxis2_);
    line_ = Add("IFCLINE", origin2_ + "," + Add("IFCVECTOR", xAxis2_ + ",1."));
    placement_ = Add("IFCLOCALPLACEMENT", "$," + world);
    if (!options_.crs.empty()) {
      const std::string crs = Add("IFCPROJECTEDCRS", W::Str(options_.crs) + ",$,$,$,$,$," + metre);
      Add("IFCMAPCONVERSION", context + "," + crs + ",0.,0.,0.,1.,0.,1.,$,$");
    }
  }

  // A representation of one curve for a product.
  std::string Shape(const std::string& identifier, const std::string& type, const std::string& item) {
    const std::string rep = Add("IFCSHAPEREPRESENTATION", axis_ + ",'" + identifier + "','" + type + "',(" + item + ")");
    return Add("IFCPRODUCTDEFINITIONSHAPE", "$,$,(" + rep + ")");
  }

  std::string Placement2D(double x, double y, double dx, double dy) {
    const std::string point = Add("IFCCARTESIANPOINT", "(" + R(x) + "," + R(y) + ")");
    const std::string direction = Add("IFCDIRECTION", "(" + R(dx) + "," + R(dy) + ")");
    return Add("IFCAXIS2PLACEMENT2D", point + "," + direction);
  }

  std::string CurveSegment(const std::string& transition, const std::string& placement, double start, double length,
                           const std::string& parent) {
    return Add("IFCCURVESEGMENT", transition + "," + placement + "," + Length(start) + "," + Length(length) + "," + parent);
  }

  // The segment and its curve for a horizontal segment.
  std::string HorizontalCurve(const HorizontalSegment& s, const std::string& transition) {
    const std::string placement = Placement2D(s.x, s.y, std::cos(s.direction), std::sin(s.direction));
    const double k1 = CurvatureOf(s.startRadius), k2 = CurvatureOf(s.endRadius);
    if (s.type == HorizontalType::kCircularArc && k1 != 0) {
      // The circle passes through the origin heading along +x; run backwards to turn right.
      const double r = std::fabs(s.startRadius);
      const bool left = k1 > 0;
      const std::string center = Add("IFCCARTESIANPOINT", "(0.," + R(left ? r : -r) + ")");
      const std::string toStart = Add("IFCDIRECTION", left ? "(0.,-1.)" : "(0.,1.)");
      const std::string circle = Add("IFCCIRCLE", Add("IFCAXIS2PLACEMENT2D", center + "," + toStart) + "," + R(r));
      return CurveSegment(transition, placement, 0, left ? s.length : -s.length, circle);
    }
    if (s.type == HorizontalType::kClothoid && k1 != k2 && s.length > 0) {
      // Curvature s / (A·|A|) along the clothoid: the segment starts where it is k1.
      const double scale = s.length / (k2 - k1);  // A·|A|
      const double a = (scale < 0 ? -1.0 : 1.0) * std::sqrt(std::fabs(scale));
      const std::string clothoid = Add("IFCCLOTHOID", identity2_ + "," + R(a));
      return CurveSegment(transition, placement, k1 * scale, s.length, clothoid);
    }
    return CurveSegment(transition, placement, 0, s.length, line_);
  }

  std::string VerticalCurve(const VerticalSegment& s, const std::string& transition) {
    const double norm = std::sqrt(1 + s.startGradient * s.startGradient);
    const std::string placement = Placement2D(s.startDistAlong, s.startHeight, 1 / norm, s.startGradient / norm);
    if (s.type == VerticalType::kParabolicArc && s.length > 0) {
      const double c = (s.endGradient - s.startGradient) / (2 * s.length);
      const std::string curve = Add("IFCPOLYNOMIALCURVE", identity2_ + ",(0.,1.),(" + R(s.startHeight) + "," +
                                                              R(s.startGradient) + "," + R(c) + "),$");
      // Lengths along the curve, as for every parent curve.
      const double along = PolynomialArcLength({0.0, 1.0}, {s.startHeight, s.startGradient, c}, 0, s.length);
      return CurveSegment(transition, placement, 0, along, curve);
    }
    return CurveSegment(transition, placement, 0, s.length * norm, line_);
  }

  std::string Segment(const std::string& name, const std::string& shape, const std::string& design) {
    return Add("IFCALIGNMENTSEGMENT", guid_.Next() + "," + oh_ + "," + W::Str(name) + ",$,$," + layoutPlacement_ + "," +
                                          shape + "," + design);
  }

  uint32_t Alignment(const AlignmentLayouts& a) {
    const std::string placement = Add("IFCLOCALPLACEMENT", placement_ + "," + Add("IFCAXIS2PLACEMENT3D", origin3_ + ",$,$"));
    layoutPlacement_ = Add("IFCLOCALPLACEMENT", placement + "," + Add("IFCAXIS2PLACEMENT3D", origin3_ + ",$,$"));

    // Horizontal.
    std::vector<std::string> hSegments, hCurves;
    for (std::size_t i = 0; i < a.horizontal.size(); ++i) {
      const HorizontalSegment& s = a.horizontal[i];
      std::string transition = ".DISCONTINUOUS.";
      if (i + 1 < a.horizontal.size()) {
        // What the segments share where they meet: a listing whose elements do not meet (points
        // of a string, clothoids read without their parameter) is written as it is, and says so.
        const HorizontalSegment& next = a.horizontal[i + 1];
        const PlanePose end = EndOfSegment(s);
        double turn = std::fmod(std::fabs(end.direction - next.direction), 2 * kPi);
        turn = std::min(turn, 2 * kPi - turn);
        if (std::hypot(end.x - next.x, end.y - next.y) > 1e-3) {
          transition = ".DISCONTINUOUS.";
        } else if (turn > 1e-4) {
          transition = ".CONTINUOUS.";
        } else {
          transition = SameCurvature(CurvatureOf(s.endRadius), CurvatureOf(next.startRadius))
                           ? ".CONTSAMEGRADIENTSAMECURVATURE."
                           : ".CONTSAMEGRADIENT.";
        }
      }
      const std::string curve = HorizontalCurve(s, transition);
      hCurves.push_back(curve);
      const std::string point = Add("IFCCARTESIANPOINT", "(" + R(s.x) + "," + R(s.y) + ")");
      const std::string design = Add("IFCALIGNMENTHORIZONTALSEGMENT", "$,$," + point + "," + R(s.direction) + "," +
                                                                          R(s.startRadius) + "," + R(s.endRadius) + "," +
                                                                          R(s.length) + ",$," + HorizontalName(s.type));
      hSegments.push_back(Segment("H" + std::to_string(i + 1), Shape("Axis", "Segment", curve), design));
    }
    const std::string composite = Add("IFCCOMPOSITECURVE", "(" + Join(hCurves) + "),.F.");
    const std::string horizontal = Add("IFCALIGNMENTHORIZONTAL", guid_.Next() + "," + oh_ + ",$,$,$," + layoutPlacement_ +
                                                                     "," + Shape("Axis", "Curve2D", composite));
    Add("IFCRELNESTS", guid_.Next() + "," + oh_ + ",$,$," + horizontal + ",(" + Join(hSegments) + ")");

    std::string layouts = horizontal;
    std::string axis = Shape("Axis", "Curve2D", composite);
    if (!a.vertical.empty()) {
      std::vector<std::string> vSegments, vCurves;
      for (std::size_t i = 0; i < a.vertical.size(); ++i) {
        const VerticalSegment& s = a.vertical[i];
        std::string transition = ".DISCONTINUOUS.";
        if (i + 1 < a.vertical.size()) {
          // A profile whose curves overlap does not meet itself: written as it is, and said so.
          const VerticalSegment& next = a.vertical[i + 1];
          const double endHeight = s.startHeight + 0.5 * (s.startGradient + s.endGradient) * s.length;
          if (std::fabs(s.startDistAlong + s.length - next.startDistAlong) > 1e-3 ||
              std::fabs(endHeight - next.startHeight) > 1e-3) {
            transition = ".DISCONTINUOUS.";
          } else {
            transition = std::fabs(s.endGradient - next.startGradient) > 1e-4 ? ".CONTINUOUS." : ".CONTSAMEGRADIENT.";
          }
        }
        const std::string curve = VerticalCurve(s, transition);
        vCurves.push_back(curve);
        const bool curved = s.type != VerticalType::kConstantGradient;
        const std::string design =
            Add("IFCALIGNMENTVERTICALSEGMENT", "$,$," + R(s.startDistAlong) + "," + R(s.length) + "," + R(s.startHeight) +
                                                   "," + R(s.startGradient) + "," + R(s.endGradient) + "," +
                                                   (curved ? R(s.radius) : std::string("$")) + "," + VerticalName(s.type));
        vSegments.push_back(Segment("V" + std::to_string(i + 1), Shape("Axis", "Segment", curve), design));
      }
      const std::string gradient = Add("IFCGRADIENTCURVE", "(" + Join(vCurves) + "),.F.," + composite + ",$");
      const std::string vertical = Add("IFCALIGNMENTVERTICAL", guid_.Next() + "," + oh_ + ",$,$,$," + layoutPlacement_ +
                                                                   "," + Shape("Axis", "Curve3D", gradient));
      Add("IFCRELNESTS", guid_.Next() + "," + oh_ + ",$,$," + vertical + ",(" + Join(vSegments) + ")");
      layouts += "," + vertical;
      axis = Shape("Axis", "Curve3D", gradient);
    }

    const uint32_t alignment = w_.Add("IFCALIGNMENT", guid_.Next() + "," + oh_ + "," + W::Str(a.name) + ",$,$," +
                                                          placement + "," + axis + ",.NOTDEFINED.");
    // The station at the start, as a referent placed at the start point.
    const HorizontalSegment& first = a.horizontal.front();
    const std::string at = Add("IFCCARTESIANPOINT", "(" + R(first.x) + "," + R(first.y) + ",0.)");
    const std::string referentPlacement =
        Add("IFCLOCALPLACEMENT", placement + "," + Add("IFCAXIS2PLACEMENT3D", at + ",$,$"));
    const std::string referent =
        Add("IFCREFERENT", guid_.Next() + "," + oh_ + ",'P.K. inicial',$,$," + referentPlacement + ",$,.STATION.");
    const std::string station = Add("IFCPROPERTYSINGLEVALUE", "'Station',$," + Length(a.startStation) + ",$");
    const std::string pset = Add("IFCPROPERTYSET", guid_.Next() + "," + oh_ + ",'Pset_Stationing',$,(" + station + ")");
    Add("IFCRELDEFINESBYPROPERTIES", guid_.Next() + "," + oh_ + ",$,$,(" + referent + ")," + pset);
    std::string referents = referent;
    for (std::size_t i = 0; i < a.equations.size(); ++i) referents += "," + EquationReferent(a, i, composite, placement);
    Add("IFCRELNESTS", guid_.Next() + "," + oh_ + ",$,$," + W::Ref(alignment) + ",(" + layouts + "," + referents + ")");
    return alignment;
  }

  // A station equation as a referent placed along the horizontal curve at its distance, with
  // the point it falls on as the placement's cartesian position, and its stations ahead and back.
  std::string EquationReferent(const AlignmentLayouts& a, std::size_t index, const std::string& curve,
                               const std::string& placement) {
    const StationEquation& q = a.equations[index];
    PlanePose at{a.horizontal.front().x, a.horizontal.front().y, a.horizontal.front().direction};
    double left = q.distAlong;
    for (const HorizontalSegment& s : a.horizontal) {
      at = PlanePose{s.x, s.y, s.direction};
      if (left <= s.length || &s == &a.horizontal.back()) {
        const double k1 = CurvatureOf(s.startRadius), k2 = CurvatureOf(s.endRadius);
        const double d = std::max(0.0, std::min(left, s.length));
        at = EndOfCurve(at, k1, s.length > 0 ? k1 + (k2 - k1) * d / s.length : k1, d);
        break;
      }
      left -= s.length;
    }
    const std::string along = Add("IFCPOINTBYDISTANCEEXPRESSION", "IFCNONNEGATIVELENGTHMEASURE(" + R(std::max(0.0, q.distAlong)) +
                                                                     "),$,$,$," + curve);
    const std::string linear = Add("IFCAXIS2PLACEMENTLINEAR", along + ",$,$");
    const std::string point = Add("IFCCARTESIANPOINT", "(" + R(at.x) + "," + R(at.y) + ",0.)");
    const std::string direction = Add("IFCDIRECTION", "(" + R(std::cos(at.direction)) + "," + R(std::sin(at.direction)) + ",0.)");
    const std::string position = Add("IFCAXIS2PLACEMENT3D", point + ",$," + direction);
    const std::string linearPlacement = Add("IFCLINEARPLACEMENT", placement + "," + linear + "," + position);
    const std::string referent = Add("IFCREFERENT", guid_.Next() + "," + oh_ + "," +
                                                        W::Str("Ecuación de p.k. " + std::to_string(index + 1)) +
                                                        ",$,$," + linearPlacement + ",$,.STATION.");
    std::string properties = Add("IFCPROPERTYSINGLEVALUE", "'Station',$," + Length(q.station) + ",$");
    if (q.hasIncoming) properties += "," + Add("IFCPROPERTYSINGLEVALUE", "'IncomingStation',$," + Length(q.incoming) + ",$");
    const std::string pset = Add("IFCPROPERTYSET", guid_.Next() + "," + oh_ + ",'Pset_Stationing',$,(" + properties + ")");
    Add("IFCRELDEFINESBYPROPERTIES", guid_.Next() + "," + oh_ + ",$,$,(" + referent + ")," + pset);
    return referent;
  }

  static std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) {
      if (!out.empty()) out += ',';
      out += item;
    }
    return out;
  }

  const WriteOptions& options_;
  StepWriter w_;
  GlobalIds guid_;
  std::string oh_, project_, axis_, origin2_, origin3_, xAxis2_, identity2_, line_, placement_, layoutPlacement_;
};

}  // namespace

std::string WriteAlignmentsFile(const std::vector<AlignmentLayouts>& alignments, const WriteOptions& options) {
  FileBuilder builder(options);
  return builder.Build(alignments);
}

// ---- Reading ------------------------------------------------------------------------------------

namespace {

struct Relations {
  std::map<uint32_t, std::vector<uint32_t>> nests;  // relating -> related, in file order
  std::map<uint32_t, std::vector<uint32_t>> properties;  // object -> property sets
};

Relations GatherRelations(const StepFile& file) {
  Relations r;
  for (const StepEntity& e : file.entities) {
    if (e.type == "IFCRELNESTS") {
      const StepValue* relating = e.Arg(4);
      const StepValue* related = e.Arg(5);
      if (relating == nullptr || relating->kind != StepValue::kRef || related == nullptr || related->kind != StepValue::kList) continue;
      std::vector<uint32_t>& list = r.nests[relating->ref];
      for (const StepValue& v : related->items) {
        if (v.kind == StepValue::kRef) list.push_back(v.ref);
      }
    } else if (e.type == "IFCRELDEFINESBYPROPERTIES") {
      const StepValue* objects = e.Arg(4);
      const StepValue* set = e.Arg(5);
      if (objects == nullptr || objects->kind != StepValue::kList || set == nullptr || set->kind != StepValue::kRef) continue;
      for (const StepValue& v : objects->items) {
        if (v.kind == StepValue::kRef) r.properties[v.ref].push_back(set->ref);
      }
    }
  }
  return r;
}

bool Num(const StepValue* v, double& out) { return v != nullptr && v->AsNumber(out); }

std::string Text(const StepValue* v) { return v != nullptr && v->kind == StepValue::kString ? v->text : std::string(); }

// Length and angle units of the project, as factors to metres and radians.
void UnitFactors(const StepFile& file, double& length, double& angle) {
  length = 1;
  angle = 1;
  for (const StepEntity* project : file.OfType("IFCPROJECT")) {
    const StepEntity* assignment = file.Resolve(project->Arg(8));
    if (assignment == nullptr || assignment->Arg(0) == nullptr) continue;
    for (const StepValue& u : assignment->Arg(0)->items) {
      const StepEntity* unit = file.Resolve(&u);
      if (unit == nullptr) continue;
      std::string kind;
      double factor = 1;
      if (unit->type == "IFCSIUNIT") {
        if (unit->Arg(1) != nullptr) kind = unit->Arg(1)->text;
        const std::string prefix = unit->Arg(2) != nullptr ? unit->Arg(2)->text : "";
        if (prefix == "MILLI") factor = 1e-3;
        else if (prefix == "CENTI") factor = 1e-2;
        else if (prefix == "DECI") factor = 1e-1;
        else if (prefix == "KILO") factor = 1e3;
      } else if (unit->type == "IFCCONVERSIONBASEDUNIT") {
        if (unit->Arg(1) != nullptr) kind = unit->Arg(1)->text;
        const StepEntity* measure = file.Resolve(unit->Arg(3));
        double value = 0;
        if (measure != nullptr && Num(measure->Arg(0), value) && value > 0) factor = value;
      }
      if (kind == "LENGTHUNIT") length = factor;
      if (kind == "PLANEANGLEUNIT") angle = factor;
    }
    break;
  }
}

HorizontalType HorizontalTypeOf(const std::string& name, std::vector<std::string>& notes, std::size_t index) {
  if (name == "LINE") return HorizontalType::kLine;
  if (name == "CIRCULARARC") return HorizontalType::kCircularArc;
  if (name != "CLOTHOID") {
    notes.push_back("tramo " + std::to_string(index + 1) + " de tipo " + name + ": leído como clotoide");
  }
  return HorizontalType::kClothoid;
}

const StepEntity* RepresentationItem(const StepFile& file, const StepEntity* product, const char* type) {
  const StepEntity* shape = file.Resolve(product->Arg(6));
  if (shape == nullptr || shape->Arg(2) == nullptr) return nullptr;
  for (const StepValue& r : shape->Arg(2)->items) {
    const StepEntity* rep = file.Resolve(&r);
    if (rep == nullptr || rep->Arg(3) == nullptr) continue;
    for (const StepValue& item : rep->Arg(3)->items) {
      const StepEntity* curve = file.Resolve(&item);
      if (curve != nullptr && curve->type == type) return curve;
    }
  }
  return nullptr;
}

std::vector<const StepEntity*> SegmentsOf(const StepFile& file, const StepEntity* curve) {
  std::vector<const StepEntity*> out;
  if (curve == nullptr || curve->Arg(0) == nullptr) return out;
  for (const StepValue& v : curve->Arg(0)->items) {
    if (const StepEntity* s = file.Resolve(&v)) out.push_back(s);
  }
  return out;
}

// The distance along its curve of a referent placed linearly (IfcLinearPlacement over an
// IfcAxis2PlacementLinear at an IfcPointByDistanceExpression).
bool DistanceAlongOf(const StepFile& file, const StepEntity* referent, double& along) {
  const StepEntity* placement = file.Resolve(referent->Arg(5));
  if (placement == nullptr || placement->type != "IFCLINEARPLACEMENT") return false;
  const StepEntity* linear = file.Resolve(placement->Arg(1));
  if (linear == nullptr || linear->type != "IFCAXIS2PLACEMENTLINEAR") return false;
  const StepEntity* point = file.Resolve(linear->Arg(0));
  if (point == nullptr || point->type != "IFCPOINTBYDISTANCEEXPRESSION") return false;
  return Num(point->Arg(0), along);
}

}  // namespace

AlignmentsRead ReadAlignments(const StepFile& file) {
  AlignmentsRead read;
  double lengthFactor = 1, angleFactor = 1;
  UnitFactors(file, lengthFactor, angleFactor);
  const Relations relations = GatherRelations(file);
  const auto nested = [&](uint32_t id) {
    const auto it = relations.nests.find(id);
    return it == relations.nests.end() ? std::vector<uint32_t>() : it->second;
  };
  for (const StepEntity* alignment : file.OfType("IFCALIGNMENT")) {
    AlignmentLayouts layouts;
    layouts.name = Text(alignment->Arg(2));
    if (layouts.name.empty()) layouts.name = "Eje " + std::to_string(read.alignments.size() + 1);
    const StepEntity* horizontal = nullptr;
    const StepEntity* vertical = nullptr;
    for (uint32_t id : nested(alignment->id)) {
      const StepEntity* child = file.Find(id);
      if (child == nullptr) continue;
      if (child->type == "IFCALIGNMENTHORIZONTAL" && horizontal == nullptr) horizontal = child;
      if (child->type == "IFCALIGNMENTVERTICAL" && vertical == nullptr) vertical = child;
      if (child->type == "IFCREFERENT") {
        const auto it = relations.properties.find(child->id);
        if (it == relations.properties.end()) continue;
        bool hasStation = false, hasIncoming = false;
        double station = 0, incoming = 0;
        for (uint32_t setId : it->second) {
          const StepEntity* set = file.Find(setId);
          if (set == nullptr || set->Arg(4) == nullptr) continue;
          for (const StepValue& p : set->Arg(4)->items) {
            const StepEntity* property = file.Resolve(&p);
            if (property == nullptr) continue;
            const std::string name = Text(property->Arg(0));
            double value = 0;
            if (!Num(property->Arg(2), value)) continue;
            if (name == "Station" && !hasStation) {
              hasStation = true;
              station = value * lengthFactor;
            } else if (name == "IncomingStation" && !hasIncoming) {
              hasIncoming = true;
              incoming = value * lengthFactor;
            }
          }
        }
        if (!hasStation) continue;
        // A referent with the station coming in is a station equation, placed by its distance
        // along the alignment; any other gives the start station.
        if (hasIncoming) {
          double along = 0;
          if (DistanceAlongOf(file, child, along)) {
            layouts.equations.push_back({along * lengthFactor, station, true, incoming});
          } else {
            read.notes.push_back("ecuación de p.k. #" + std::to_string(child->id) + " de " + layouts.name +
                                 " sin distancia a lo largo del eje: no leída");
          }
        } else if (layouts.startStation == 0) {
          layouts.startStation = station;
        }
      }
    }
    // From the design parameters.
    if (horizontal != nullptr) {
      for (uint32_t id : nested(horizontal->id)) {
        const StepEntity* segment = file.Find(id);
        const StepEntity* design = segment != nullptr ? file.Resolve(segment->Arg(7)) : nullptr;
        if (design == nullptr || design->type != "IFCALIGNMENTHORIZONTALSEGMENT") continue;
        HorizontalSegment s;
        const StepEntity* point = file.Resolve(design->Arg(2));
        const StepValue* coordinates = point != nullptr ? point->Arg(0) : nullptr;
        if (coordinates == nullptr || coordinates->kind != StepValue::kList || coordinates->items.size() < 2 ||
            !coordinates->items[0].AsNumber(s.x) || !coordinates->items[1].AsNumber(s.y) ||
            !Num(design->Arg(3), s.direction) || !Num(design->Arg(6), s.length)) {
          read.notes.push_back("tramo " + std::to_string(layouts.horizontal.size() + 1) + " de " + layouts.name +
                               " sin punto, dirección o longitud: no leído");
          continue;
        }
        Num(design->Arg(4), s.startRadius);
        Num(design->Arg(5), s.endRadius);
        s.x *= lengthFactor;
        s.y *= lengthFactor;
        s.length *= lengthFactor;
        s.startRadius *= lengthFactor;
        s.endRadius *= lengthFactor;
        s.direction *= angleFactor;
        const StepValue* type = design->Arg(8);
        s.type = HorizontalTypeOf(type != nullptr ? type->text : "", read.notes, layouts.horizontal.size());
        layouts.horizontal.push_back(s);
      }
    }
    if (vertical != nullptr) {
      for (uint32_t id : nested(vertical->id)) {
        const StepEntity* segment = file.Find(id);
        const StepEntity* design = segment != nullptr ? file.Resolve(segment->Arg(7)) : nullptr;
        if (design == nullptr || design->type != "IFCALIGNMENTVERTICALSEGMENT") continue;
        VerticalSegment s;
        if (!Num(design->Arg(2), s.startDistAlong) || !Num(design->Arg(3), s.length) || !Num(design->Arg(4), s.startHeight) ||
            !Num(design->Arg(5), s.startGradient) || !Num(design->Arg(6), s.endGradient)) {
          continue;
        }
        Num(design->Arg(7), s.radius);
        s.startDistAlong *= lengthFactor;
        s.length *= lengthFactor;
        s.startHeight *= lengthFactor;
        s.radius *= lengthFactor;
        const std::string type = design->Arg(8) != nullptr ? design->Arg(8)->text : "";
        s.type = type == "PARABOLICARC" ? VerticalType::kParabolicArc
                 : type == "CIRCULARARC" ? VerticalType::kCircularArc
                                         : VerticalType::kConstantGradient;
        layouts.vertical.push_back(s);
      }
    }
    // From the geometry, when the layouts have no segments.
    if (layouts.horizontal.empty()) {
      const StepEntity* gradient = RepresentationItem(file, alignment, "IFCGRADIENTCURVE");
      const StepEntity* composite = RepresentationItem(file, alignment, "IFCCOMPOSITECURVE");
      if (composite == nullptr && gradient != nullptr) composite = file.Resolve(gradient->Arg(2));
      for (const StepEntity* segment : SegmentsOf(file, composite)) {
        const CurveSegmentTrace t = TraceCurveSegment(file, *segment);
        if (!t.ok) {
          read.notes.push_back("curva de " + layouts.name + " de tipo " + segment->type + ": no leída");
          continue;
        }
        HorizontalSegment s;
        s.x = t.start.x * lengthFactor;
        s.y = t.start.y * lengthFactor;
        s.direction = t.start.direction;
        s.length = t.travel * lengthFactor;
        s.startRadius = RadiusOf(t.k1) * lengthFactor;
        s.endRadius = RadiusOf(t.k2) * lengthFactor;
        s.type = t.parentType == "IFCCIRCLE" ? HorizontalType::kCircularArc
                 : t.parentType == "IFCCLOTHOID" ? HorizontalType::kClothoid
                                                 : HorizontalType::kLine;
        layouts.horizontal.push_back(s);
        layouts.fromGeometry = true;
      }
      if (layouts.vertical.empty() && gradient != nullptr) {
        for (const StepEntity* segment : SegmentsOf(file, gradient)) {
          const CurveSegmentTrace t = TraceCurveSegment(file, *segment);
          if (!t.ok) continue;
          VerticalSegment s;
          s.startDistAlong = t.start.x * lengthFactor;
          s.startHeight = t.start.y * lengthFactor;
          s.startGradient = std::tan(t.start.direction);
          s.endGradient = std::tan(t.end.direction);
          s.length = (t.end.x - t.start.x) * lengthFactor;
          if (t.parentType == "IFCPOLYNOMIALCURVE") {
            s.type = VerticalType::kParabolicArc;
            if (s.endGradient != s.startGradient) s.radius = s.length / (s.endGradient - s.startGradient);
          } else if (t.parentType == "IFCCIRCLE") {
            s.type = VerticalType::kCircularArc;
            s.radius = RadiusOf(t.k1) * lengthFactor;
          }
          layouts.vertical.push_back(s);
        }
      }
    }
    if (layouts.horizontal.empty()) {
      read.notes.push_back("el eje " + layouts.name + " no tiene trazado en planta: no leído");
      continue;
    }
    read.alignments.push_back(std::move(layouts));
  }
  read.ok = true;
  return read;
}

AlignmentsRead ReadAlignmentsText(std::string_view text) {
  StepFile file;
  const StepReadResult parsed = ParseStep(text, file);
  if (!parsed.ok) {
    AlignmentsRead read;
    read.error = "El fichero IFC está mal formado (" + parsed.error + ")";
    return read;
  }
  AlignmentsRead read = ReadAlignments(file);
  read.projectedCrs = ProjectedCrsName(file);
  return read;
}

double LengthUnitFactor(const StepFile& file) {
  double length = 1, angle = 1;
  UnitFactors(file, length, angle);
  return length;
}

std::string ProjectedCrsName(const StepFile& file) {
  for (const StepEntity* crs : file.OfType("IFCPROJECTEDCRS")) {
    const std::string name = Text(crs->Arg(0));
    if (!name.empty()) return name;
  }
  return std::string();
}

}  // namespace ifc
