#include "files/dxf_curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lumora {
namespace {

constexpr double kTinyBulge = 1e-9;
constexpr double kMinStep = std::numbers::pi / 180.0; // one degree
constexpr int kSplineSamplesPerSpan = 16;

// The angle step whose chords stay within the accuracy of a circle of the radius.
double StepFor(double radius, double accuracy) {
  if (!(radius > accuracy) || !(accuracy > 0)) return kMinStep * 10;
  return std::max(kMinStep, 2.0 * std::acos(1.0 - accuracy / radius));
}

} // namespace

bool BulgeArc(const Point& p, const Point& q, double bulge, Point out[3]) {
  const double dx = q.x - p.x;
  const double dy = q.y - p.y;
  const double chord = std::hypot(dx, dy);
  if (!(std::fabs(bulge) > kTinyBulge) || !(chord > 0) || !std::isfinite(bulge)) return false;
  // The centre lies on the chord's left normal (right for a negative bulge) at this distance.
  const double along = (1.0 - bulge * bulge) / (4.0 * bulge);
  const Point centre{p.x + dx / 2 - dy * along, p.y + dy / 2 + dx * along};
  out[0] = centre;
  out[1] = bulge > 0 ? p : q;
  out[2] = bulge > 0 ? q : p;
  return true;
}

namespace {

// An ellipse's parameters brought within a turn of each other, t2 after t1; false when they
// are not numbers.
bool EllipseRange(double& t1, double& t2) {
  if (!std::isfinite(t1) || !std::isfinite(t2)) return false;
  // Parameters far beyond a turn are taken modulo it first: adding turns to a huge number would
  // never move it.
  constexpr double kTurn = 2 * std::numbers::pi;
  t1 = std::fmod(t1, kTurn);
  t2 = std::fmod(t2, kTurn);
  while (t2 <= t1) t2 += kTurn;
  if (t2 - t1 > kTurn) t2 = t1 + kTurn;
  return true;
}

std::vector<Point> EllipseChords(const Point& centre, const Point& major, double ratio, double t1,
                                 double t2, int count) {
  std::vector<Point> points;
  const Point minor{-major.y * ratio, major.x * ratio};
  for (int k = 0; k <= count; ++k) {
    const double t = t1 + (t2 - t1) * k / count;
    points.push_back({centre.x + major.x * std::cos(t) + minor.x * std::sin(t),
                      centre.y + major.y * std::cos(t) + minor.y * std::sin(t)});
  }
  return points;
}

} // namespace

std::vector<Point> EllipsePoints(const Point& centre, const Point& major, double ratio, double t1,
                                 double t2, double accuracy) {
  const double radius = std::hypot(major.x, major.y);
  if (!std::isfinite(radius) || !std::isfinite(ratio) || !EllipseRange(t1, t2)) return {};
  const int count = std::clamp(static_cast<int>(std::ceil((t2 - t1) / StepFor(radius, accuracy))),
                               4, kMaxCurvePoints - 1);
  return EllipseChords(centre, major, ratio, t1, t2, count);
}

namespace {

// Whether the counts of a B-spline fit together.
bool SplineFits(int degree, std::span<const double> knots, std::span<const Point> control,
                std::span<const double> weights) {
  const auto n = static_cast<int>(control.size());
  if (degree < 1 || degree > 10 || n <= degree ||
      knots.size() != static_cast<std::size_t>(n + degree + 1) ||
      (!weights.empty() && weights.size() != control.size()))
    return false;
  const double lo = knots[static_cast<std::size_t>(degree)];
  const double hi = knots[static_cast<std::size_t>(n)];
  return hi > lo && std::is_sorted(knots.begin(), knots.end());
}

// The spline at `samples` + 1 parameters evenly over its range (`half`: at the middles of
// those steps instead, one fewer), by de Boor's algorithm on homogeneous points. Empty where a
// weight makes it no point.
std::vector<Point> SplineSamples(int degree, std::span<const double> knots,
                                 std::span<const Point> control, std::span<const double> weights,
                                 int samples, bool half = false) {
  std::vector<Point> points;
  const auto n = static_cast<int>(control.size());
  const double lo = knots[static_cast<std::size_t>(degree)];
  const double hi = knots[static_cast<std::size_t>(n)];
  std::vector<double> wx(static_cast<std::size_t>(degree + 1));
  std::vector<double> wy(wx.size());
  std::vector<double> ww(wx.size());
  for (int s = 0; s <= samples - (half ? 1 : 0); ++s) {
    const double t = half           ? lo + (hi - lo) * (s + 0.5) / samples
                     : s == samples ? hi
                                    : lo + (hi - lo) * s / samples;
    int span = degree;
    while (span < n - 1 && knots[static_cast<std::size_t>(span + 1)] <= t) ++span;
    for (int j = 0; j <= degree; ++j) {
      const auto i = static_cast<std::size_t>(span - degree + j);
      const double w = weights.empty() ? 1.0 : weights[i];
      wx[static_cast<std::size_t>(j)] = control[i].x * w;
      wy[static_cast<std::size_t>(j)] = control[i].y * w;
      ww[static_cast<std::size_t>(j)] = w;
    }
    for (int r = 1; r <= degree; ++r) {
      for (int j = degree; j >= r; --j) {
        const auto i = static_cast<std::size_t>(span - degree + j);
        const double a0 = knots[i];
        const double a1 = knots[i + static_cast<std::size_t>(degree - r + 1)];
        const double alpha = a1 > a0 ? (t - a0) / (a1 - a0) : 0.0;
        const auto uj = static_cast<std::size_t>(j);
        wx[uj] = (1 - alpha) * wx[uj - 1] + alpha * wx[uj];
        wy[uj] = (1 - alpha) * wy[uj - 1] + alpha * wy[uj];
        ww[uj] = (1 - alpha) * ww[uj - 1] + alpha * ww[uj];
      }
    }
    const auto top = static_cast<std::size_t>(degree);
    if (!(std::fabs(ww[top]) > 0)) return {};
    points.push_back({wx[top] / ww[top], wy[top] / ww[top]});
  }
  return points;
}

// How far a point lies from the chord between a and b.
double FromChord(const Point& p, const Point& a, const Point& b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = dx * dx + dy * dy;
  const double t =
      length > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

} // namespace

std::vector<Point> SplinePoints(int degree, std::span<const double> knots,
                                std::span<const Point> control, std::span<const double> weights,
                                double accuracy) {
  if (!SplineFits(degree, knots, control, weights)) return {};
  const auto spans = static_cast<int>(control.size()) - degree;
  int samples = std::min(kMaxCurvePoints - 1, kSplineSamplesPerSpan * spans);
  std::vector<Point> points = SplineSamples(degree, knots, control, weights, samples);
  if (points.empty() || !(accuracy > 0)) return points;
  // A curve that bends more than its samples follow within the accuracy is sampled finer: the
  // chords' distance from the curve falls with the square of their number.
  const std::vector<Point> middles = SplineSamples(degree, knots, control, weights, samples, true);
  double worst = 0;
  for (std::size_t k = 0; k < middles.size() && k + 1 < points.size(); ++k)
    worst = std::max(worst, FromChord(middles[k], points[k], points[k + 1]));
  if (!(worst > accuracy) || samples >= kMaxCurvePoints - 1) return points;
  constexpr double kMargin = 1.1;
  samples = static_cast<int>(std::min<double>(
      kMaxCurvePoints - 1, std::ceil(samples * std::sqrt(worst / accuracy) * kMargin)));
  return SplineSamples(degree, knots, control, weights, samples);
}

namespace {

// The curve through fit points, in about `segments` chords (0: the usual number per span).
std::vector<Point> FitChords(std::span<const Point> fit, const Point& startTangent,
                             const Point& endTangent, int segments) {
  // Repeated points give a span of no length: they are one point.
  std::vector<Point> p;
  std::vector<double> t;
  for (const Point& q : fit) {
    const double step = p.empty() ? 0.0 : std::hypot(q.x - p.back().x, q.y - p.back().y);
    if (!p.empty() && !(step > 0)) continue;
    t.push_back(p.empty() ? 0.0 : t.back() + step);
    p.push_back(q);
  }
  const std::size_t n = p.size();
  if (n < 2 || !std::isfinite(t.back())) return {};
  if (n == 2) return p;
  // The second derivatives at the points (x and y at once) from the tridiagonal system of a
  // cubic spline; an end with a tangent is held to it, one without bends freely.
  const auto unit = [](const Point& v) {
    const double length = std::hypot(v.x, v.y);
    return length > 0 && std::isfinite(length) ? Point{v.x / length, v.y / length} : Point{0, 0};
  };
  const Point d0 = unit(startTangent);
  const Point dn = unit(endTangent);
  const bool clamp0 = d0.x != 0 || d0.y != 0;
  const bool clampN = dn.x != 0 || dn.y != 0;
  std::vector<double> diag(n), upper(n), lower(n);
  std::vector<Point> rhs(n);
  const auto slope = [&](std::size_t k) {
    const double h = t[k + 1] - t[k];
    return Point{(p[k + 1].x - p[k].x) / h, (p[k + 1].y - p[k].y) / h};
  };
  for (std::size_t k = 1; k + 1 < n; ++k) {
    const double h0 = t[k] - t[k - 1];
    const double h1 = t[k + 1] - t[k];
    lower[k] = h0;
    diag[k] = 2 * (h0 + h1);
    upper[k] = h1;
    const Point s0 = slope(k - 1);
    const Point s1 = slope(k);
    rhs[k] = {6 * (s1.x - s0.x), 6 * (s1.y - s0.y)};
  }
  const double hFirst = t[1] - t[0];
  const double hLast = t[n - 1] - t[n - 2];
  diag[0] = clamp0 ? 2 * hFirst : 1;
  upper[0] = clamp0 ? hFirst : 0;
  rhs[0] = clamp0 ? Point{6 * (slope(0).x - d0.x), 6 * (slope(0).y - d0.y)} : Point{0, 0};
  diag[n - 1] = clampN ? 2 * hLast : 1;
  lower[n - 1] = clampN ? hLast : 0;
  rhs[n - 1] =
      clampN ? Point{6 * (dn.x - slope(n - 2).x), 6 * (dn.y - slope(n - 2).y)} : Point{0, 0};
  // Forward elimination and back substitution (the system is diagonally dominant).
  for (std::size_t k = 1; k < n; ++k) {
    const double f = lower[k] / diag[k - 1];
    diag[k] -= f * upper[k - 1];
    rhs[k] = {rhs[k].x - f * rhs[k - 1].x, rhs[k].y - f * rhs[k - 1].y};
  }
  std::vector<Point> m(n);
  m[n - 1] = {rhs[n - 1].x / diag[n - 1], rhs[n - 1].y / diag[n - 1]};
  for (std::size_t k = n - 1; k-- > 0;)
    m[k] = {(rhs[k].x - upper[k] * m[k + 1].x) / diag[k],
            (rhs[k].y - upper[k] * m[k + 1].y) / diag[k]};
  const int spans = static_cast<int>(n - 1);
  const int perSpan = std::max(1, std::min(segments > 0 ? segments / spans : kSplineSamplesPerSpan,
                                           (kMaxCurvePoints - 1) / spans));
  std::vector<Point> out;
  out.reserve((n - 1) * static_cast<std::size_t>(perSpan) + 1);
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const double h = t[k + 1] - t[k];
    for (int s = 0; s < perSpan; ++s) {
      const double b = static_cast<double>(s) / perSpan;
      const double a = 1 - b;
      const double c = (a * a * a - a) * h * h / 6;
      const double d = (b * b * b - b) * h * h / 6;
      out.push_back({a * p[k].x + b * p[k + 1].x + c * m[k].x + d * m[k + 1].x,
                     a * p[k].y + b * p[k + 1].y + c * m[k].y + d * m[k + 1].y});
    }
  }
  out.push_back(p.back());
  return out;
}

} // namespace

std::vector<Point> FitPointCurve(std::span<const Point> fit, const Point& startTangent,
                                 const Point& endTangent, double accuracy) {
  std::vector<Point> points = FitChords(fit, startTangent, endTangent, 0);
  const auto segments = static_cast<int>(points.size()) - 1;
  if (!(accuracy > 0) || segments < 2 || 2 * segments > kMaxCurvePoints - 1) return points;
  // As a spline is: finer where the usual number of chords strays beyond the accuracy.
  const std::vector<Point> halves = FitChords(fit, startTangent, endTangent, 2 * segments);
  if (halves.size() != 2 * points.size() - 1) return points;
  double worst = 0;
  for (std::size_t k = 0; k + 1 < points.size(); ++k)
    worst = std::max(worst, FromChord(halves[2 * k + 1], points[k], points[k + 1]));
  if (!(worst > accuracy)) return points;
  constexpr double kMargin = 1.1;
  const double finer = std::ceil(segments * std::sqrt(worst / accuracy) * kMargin);
  return FitChords(fit, startTangent, endTangent,
                   static_cast<int>(std::min<double>(kMaxCurvePoints - 1, finer)));
}

int SegmentsWhenLarger(int segments, double larger) {
  if (!(larger > 1)) return segments;
  const double finer = std::ceil(segments * std::sqrt(larger));
  return std::max(segments, static_cast<int>(std::min<double>(kMaxCurvePoints - 1, finer)));
}

std::vector<Point> CutLarger(const DxfCurve& curve, double larger) {
  const int segments = SegmentsWhenLarger(curve.segments, larger);
  if (segments < 1) return {};
  switch (curve.kind) {
  case DxfCurve::Kind::kEllipse: {
    double t1 = curve.t1;
    double t2 = curve.t2;
    if (!EllipseRange(t1, t2)) return {};
    std::vector<Point> points =
        EllipseChords(curve.centre, curve.major, curve.ratio, t1, t2, segments);
    if (curve.whole && points.size() > 2) points.pop_back();
    return points;
  }
  case DxfCurve::Kind::kSpline:
    if (!SplineFits(curve.degree, curve.knots, curve.control, curve.weights)) return {};
    return SplineSamples(curve.degree, curve.knots, curve.control, curve.weights, segments);
  case DxfCurve::Kind::kFit:
    return FitChords(curve.control, curve.startTangent, curve.endTangent, segments);
  }
  return {};
}

} // namespace lumora
