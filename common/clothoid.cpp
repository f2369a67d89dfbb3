#include "common/clothoid.h"

#include <cmath>
#include <complex>

namespace common {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Power series, used where its terms stay small enough not to cancel badly.
void FresnelSeries(double x, double& c, double& s) {
  const double x2 = x * x;
  const double t = 0.5 * kPi * x2;  // the argument of cos and sin at x
  const double t2 = t * t;
  // Term n of C: (-1)^n t^(2n) x / ((2n)! (4n+1)); of S: (-1)^n t^(2n+1) x / ((2n+1)! (4n+3)).
  double powerC = x;      // (-1)^n t^(2n) x / (2n)!
  double powerS = x * t;  // (-1)^n t^(2n+1) x / (2n+1)!
  c = 0;
  s = 0;
  for (int n = 0; n < 60; ++n) {
    const double termC = powerC / (4 * n + 1);
    const double termS = powerS / (4 * n + 3);
    c += termC;
    s += termS;
    if (std::fabs(termC) < 1e-17 * std::fabs(c) && std::fabs(termS) < 1e-17 * std::fabs(s)) break;
    powerC *= -t2 / ((2.0 * n + 1) * (2.0 * n + 2));
    powerS *= -t2 / ((2.0 * n + 2) * (2.0 * n + 3));
  }
}

// C + iS = (1 + i)/2 - x e^(iπx²/2) / K, with K the continued fraction of the complementary
// error function b0 - 1·2/(b1 - 3·4/(b2 - ...)), b_n = 1 - iπx² + 4n (modified Lentz).
void FresnelContinuedFraction(double x, double& c, double& s) {
  using Complex = std::complex<double>;
  const Complex b0(1.0, -kPi * x * x);
  Complex f = b0;
  Complex cc = b0;
  Complex d = 0.0;
  for (int n = 1; n < 1000; ++n) {
    const double a = -(2.0 * n - 1) * (2.0 * n);
    const Complex b = b0 + 4.0 * n;
    d = b + a * d;
    if (std::abs(d) < 1e-300) d = 1e-300;
    d = 1.0 / d;
    cc = b + a / cc;
    if (std::abs(cc) < 1e-300) cc = 1e-300;
    const Complex delta = cc * d;
    f *= delta;
    if (std::abs(delta - 1.0) < 1e-16) break;
  }
  const Complex phase = std::polar(1.0, 0.5 * kPi * x * x);
  const Complex result = Complex(0.5, 0.5) - x * phase / f;
  c = result.real();
  s = result.imag();
}

// ∫₀ᵗ (cos(κu²/2), sin(κu²/2)) du for a rate κ ≠ 0: along the tangent at the inflection point
// and to its right (for κ > 0).
void StandardClothoid(double t, double rate, double& along, double& lateral) {
  const double scale = std::sqrt(kPi / std::fabs(rate));
  double c = 0;
  double s = 0;
  FresnelIntegrals(t / scale, c, s);
  along = scale * c;
  lateral = (rate > 0 ? scale : -scale) * s;
}

}  // namespace

void FresnelIntegrals(double x, double& c, double& s) {
  const double ax = std::fabs(x);
  if (ax < 1.6) {
    FresnelSeries(ax, c, s);
  } else {
    FresnelContinuedFraction(ax, c, s);
  }
  if (x < 0) {
    c = -c;
    s = -s;
  }
}

ClothoidPoint PointOnClothoid(const Clothoid& clothoid, double distance) {
  const double k0 = clothoid.startCurvature;
  const double rate = clothoid.curvatureRate;
  const double heading0 = clothoid.azimuth * kRadiansPerGrad;
  ClothoidPoint result;
  const double turn = k0 * distance + 0.5 * rate * distance * distance;
  result.azimuth = NormalizeGrads((heading0 + turn) * kGradsPerRadian);
  if (rate == 0.0) {
    if (k0 == 0.0) {
      result.point = PointAlong(clothoid.start, distance, clothoid.azimuth);
    } else {
      // An arc: the chord at half the turn.
      const double chord = 2.0 * std::sin(0.5 * turn) / k0;
      result.point = PointAlong(clothoid.start, chord, (heading0 + 0.5 * turn) * kGradsPerRadian);
    }
    return result;
  }
  // The curve is a stretch of the clothoid through its inflection point, which lies t0 before
  // the start: shift to that point, where the heading is heading0 - rate·t0²/2.
  const double t0 = k0 / rate;
  const double headingInflection = heading0 - 0.5 * rate * t0 * t0;
  double alongStart = 0;
  double lateralStart = 0;
  double alongEnd = 0;
  double lateralEnd = 0;
  StandardClothoid(t0, rate, alongStart, lateralStart);
  StandardClothoid(t0 + distance, rate, alongEnd, lateralEnd);
  const double along = alongEnd - alongStart;
  const double lateral = lateralEnd - lateralStart;
  // Forward (sin h, cos h); to the right (cos h, -sin h).
  const double sinH = std::sin(headingInflection);
  const double cosH = std::cos(headingInflection);
  result.point.x = clothoid.start.x + along * sinH + lateral * cosH;
  result.point.y = clothoid.start.y + along * cosH - lateral * sinH;
  return result;
}

Clothoid ClothoidOfElement(const AlignmentElement& element, double previousRadius) {
  Clothoid clothoid;
  clothoid.start = Point2{element.x, element.y};
  clothoid.azimuth = element.azimuth;
  const double a2 = element.parameter * element.parameter;
  if (a2 == 0.0) return clothoid;
  if (element.radius != 0.0) {
    clothoid.curvatureRate = (element.radius > 0 ? 1.0 : -1.0) / a2;
  } else if (previousRadius != 0.0) {
    clothoid.startCurvature = 1.0 / previousRadius;
    clothoid.curvatureRate = (previousRadius > 0 ? -1.0 : 1.0) / a2;
  }
  return clothoid;
}

}  // namespace common
