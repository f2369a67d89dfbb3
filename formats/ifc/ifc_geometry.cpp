#include "formats/ifc/ifc_geometry.h"

#include <cmath>

#include "common/clothoid.h"

namespace ifc {
namespace {

bool Numbers(const StepFile& file, const StepEntity* entity, std::size_t arg, double* out, std::size_t count) {
  (void)file;
  if (entity == nullptr) return false;
  const StepValue* list = entity->Arg(arg);
  if (list == nullptr || list->kind != StepValue::kList || list->items.size() < count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!list->items[i].AsNumber(out[i])) return false;
  }
  return true;
}

bool Number(const StepValue* value, double& out) { return value != nullptr && value->AsNumber(out); }

double Polynomial(const std::vector<double>& c, double t) {
  double v = 0;
  for (std::size_t i = c.size(); i-- > 0;) v = v * t + c[i];
  return v;
}

double Derivative(const std::vector<double>& c, double t) {
  double v = 0;
  for (std::size_t i = c.size(); i-- > 1;) v = v * t + c[i] * static_cast<double>(i);
  return v;
}

bool Coefficients(const StepValue* value, std::vector<double>& out) {
  out.clear();
  if (value == nullptr || value->kind == StepValue::kNull) return true;  // no coefficients: the zero polynomial
  if (value->kind != StepValue::kList) return false;
  for (const StepValue& item : value->items) {
    double v = 0;
    if (!item.AsNumber(v)) return false;
    out.push_back(v);
  }
  return true;
}

// Length along the polynomial curve from t0 to t1 (Gauss-Legendre on 32 pieces).
double ArcLength(const std::vector<double>& cx, const std::vector<double>& cy, double t0, double t1) {
  static const double kNodes[] = {-0.861136311594053, -0.339981043584856, 0.339981043584856, 0.861136311594053};
  static const double kWeights[] = {0.347854845137454, 0.652145154862546, 0.652145154862546, 0.347854845137454};
  const int pieces = 32;
  const double h = (t1 - t0) / pieces;
  double sum = 0;
  for (int i = 0; i < pieces; ++i) {
    const double mid = t0 + (i + 0.5) * h;
    for (int k = 0; k < 4; ++k) {
      const double t = mid + 0.5 * h * kNodes[k];
      sum += kWeights[k] * std::hypot(Derivative(cx, t), Derivative(cy, t));
    }
  }
  return sum * 0.5 * h;
}

// The parameter at `length` along the curve from t0 (Newton's method on the arc length).
double ParameterAtLength(const std::vector<double>& cx, const std::vector<double>& cy, double t0, double length) {
  double t = t0 + length;
  for (int i = 0; i < 30; ++i) {
    const double speed = std::hypot(Derivative(cx, t), Derivative(cy, t));
    if (speed < 1e-12) break;
    const double step = (ArcLength(cx, cy, t0, t) - length) / speed;
    t -= step;
    if (std::fabs(step) < 1e-11 * (1 + std::fabs(t))) break;
  }
  return t;
}

}  // namespace

double PolynomialArcLength(const std::vector<double>& cx, const std::vector<double>& cy, double t0, double t1) {
  return ArcLength(cx, cy, t0, t1);
}

bool ReadPlacement2D(const StepFile& file, const StepEntity* placement, PlanePose& pose) {
  if (placement == nullptr) return false;
  if (placement->type != "IFCAXIS2PLACEMENT2D" && placement->type != "IFCAXIS2PLACEMENT3D") return false;
  const StepEntity* point = file.Resolve(placement->Arg(0));
  double xy[2];
  if (point == nullptr || !Numbers(file, point, 0, xy, 2)) return false;
  pose.x = xy[0];
  pose.y = xy[1];
  pose.direction = 0;
  const std::size_t refArg = placement->type == "IFCAXIS2PLACEMENT2D" ? 1 : 2;
  const StepEntity* direction = file.Resolve(placement->Arg(refArg));
  if (direction != nullptr) {
    double d[2];
    if (!Numbers(file, direction, 0, d, 2) || (d[0] == 0 && d[1] == 0)) return false;
    pose.direction = std::atan2(d[1], d[0]);
  }
  return true;
}

CurveSegmentTrace TraceCurveSegment(const StepFile& file, const StepEntity& segment) {
  CurveSegmentTrace trace;
  if (segment.type != "IFCCURVESEGMENT") return trace;
  if (const StepValue* t = segment.Arg(0); t != nullptr && t->kind == StepValue::kEnum) trace.transition = t->text;
  if (!ReadPlacement2D(file, file.Resolve(segment.Arg(1)), trace.start)) return trace;
  const StepValue* s0 = segment.Arg(2);
  const StepValue* sl = segment.Arg(3);
  if (!Number(s0, trace.startParameter) || !Number(sl, trace.lengthParameter)) return trace;
  trace.lengthMeasures = s0->kind == StepValue::kTyped && s0->text == "IFCLENGTHMEASURE" &&
                         sl->kind == StepValue::kTyped && sl->text == "IFCLENGTHMEASURE";
  const StepEntity* parent = file.Resolve(segment.Arg(4));
  if (parent == nullptr) return trace;
  trace.parentType = parent->type;
  const double s = trace.startParameter;
  const double L = trace.lengthParameter;
  trace.travel = std::fabs(L);
  if (parent->type == "IFCLINE") {
    trace.k1 = trace.k2 = 0;
  } else if (parent->type == "IFCCIRCLE") {
    double radius = 0;
    if (!Number(parent->Arg(1), radius) || radius <= 0) return trace;
    trace.k1 = trace.k2 = (L >= 0 ? 1.0 : -1.0) / radius;
  } else if (parent->type == "IFCCLOTHOID") {
    double a = 0;
    if (!Number(parent->Arg(1), a)) return trace;
    if (a == 0) {
      trace.k1 = trace.k2 = 0;
    } else {
      const double scale = a * std::fabs(a);
      const double sign = L >= 0 ? 1.0 : -1.0;
      trace.k1 = sign * s / scale;
      trace.k2 = sign * (s + L) / scale;
    }
  } else if (parent->type == "IFCPOLYNOMIALCURVE") {
    std::vector<double> cx, cy;
    if (!Coefficients(parent->Arg(1), cx) || !Coefficients(parent->Arg(2), cy)) return trace;
    // Alignments use polynomials of a low degree; a longer list is not evaluated.
    if (cx.size() > 8 || cy.size() > 8) return trace;
    // Lengths along the curve: the parameters where they fall.
    const double t0 = ParameterAtLength(cx, cy, 0, s);
    const double t1 = ParameterAtLength(cx, cy, t0, L);
    const double x0 = Polynomial(cx, t0), y0 = Polynomial(cy, t0);
    const double x1 = Polynomial(cx, t1), y1 = Polynomial(cy, t1);
    double d0 = std::atan2(Derivative(cy, t0), Derivative(cx, t0));
    double d1 = std::atan2(Derivative(cy, t1), Derivative(cx, t1));
    if (L < 0) {
      d0 += M_PI;
      d1 += M_PI;
    }
    trace.polynomialHorizontal = x1 - x0;
    // The run in the frame of the direction of travel at the start, then placed.
    const double dx = x1 - x0, dy = y1 - y0;
    const double lx = std::cos(d0) * dx + std::sin(d0) * dy;
    const double ly = -std::sin(d0) * dx + std::cos(d0) * dy;
    const double c = std::cos(trace.start.direction), sn = std::sin(trace.start.direction);
    trace.end.x = trace.start.x + c * lx - sn * ly;
    trace.end.y = trace.start.y + sn * lx + c * ly;
    trace.end.direction = trace.start.direction + (d1 - d0);
    trace.ok = true;
    return trace;
  } else {
    return trace;
  }
  trace.end = EndOfCurve(trace.start, trace.k1, trace.k2, trace.travel);
  trace.ok = true;
  return trace;
}

PlanePose EndOfCurve(const PlanePose& start, double k1, double k2, double length) {
  if (length == 0) return start;
  common::Clothoid curve;
  curve.start = common::Point2{0, 0};
  curve.azimuth = 100.0;  // east: the local x axis
  curve.startCurvature = -k1;
  curve.curvatureRate = -(k2 - k1) / length;
  const common::ClothoidPoint p = common::PointOnClothoid(curve, length);
  const double lx = p.point.x, ly = p.point.y;
  const double c = std::cos(start.direction), s = std::sin(start.direction);
  PlanePose end;
  end.x = start.x + c * lx - s * ly;
  end.y = start.y + s * lx + c * ly;
  end.direction = start.direction + 0.5 * (k1 + k2) * length;
  return end;
}

}  // namespace ifc
